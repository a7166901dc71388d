#include "exports/PaginaTV.h"
#include "platform/Controles.h"

namespace Pagina_TV {

namespace {

const char* const Antes[] = {
    "<html>",
    "<body style='color: white; background-color: black;'>",
    "<div>",
    nullptr,  // the title
    "</div>",
    "<div>",
    "<marquee direction='up' scrollamount='2' width='100%' height='80%'>",
    "<h1>",
    "<ul type='square'>",
};
const char* const Depois[] = {
    "</ul>",
    "</h1>",
    "</marquee>",
    "</div>",
    "<div align='right'>",
    "<h3>Tavrelo&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;</h3>",
    "</div>",
    "</body>",
    "</html>",
};

void Fim_Linha(QByteArray& saida) { saida += "\r\n"; }

// A text of the program in the page: in Windows-1252, its composed form
// first so that an accent typed apart still is one letter of the code page.
void Texto(QByteArray& saida, const QString& texto) {
    const QString composto = texto.normalized(QString::NormalizationForm_C);
    for (const char32_t c : composto.toUcs4()) {
        switch (c) {
        case U'&': saida += "&amp;"; continue;
        case U'<': saida += "&lt;"; continue;
        case U'>': saida += "&gt;"; continue;
        default: break;
        }
        // NUL has no reference of its own: a reader shows the replacement
        // character for it, so the page says so.
        if (c == 0) {
            saida += "&#65533;";
            continue;
        }
        // A control character would break the page's lines. DEL and the C1
        // controls are references too: five of them would otherwise go out
        // as the bytes the code page leaves without a character.
        if (!Caractere_Controle(c) && c < 0x10000) {
            const int codigo = Codigo_Ansi(QChar(char16_t(c)));
            if (codigo != '?' || c == U'?') {
                saida += char(codigo);
                continue;
            }
        }
        saida += "&#" + QByteArray::number(uint(c)) + ';';
    }
}

}  // namespace

QByteArray Monta(const QString& mesAno, const QStringList& linhas) {
    QByteArray saida;
    qsizetype tamanho = 400;
    for (const QString& l : linhas) tamanho += l.size() + 16;
    saida.reserve(tamanho);
    for (const char* linha : Antes) {
        if (linha) {
            saida += linha;
        } else {
            // "RELAÇÃO" in Windows-1252.
            saida += "<center><h1><u>RELA\xC7\xC3O DE DIZIMISTAS EM ";
            Texto(saida, mesAno);
            saida += "</u></h1></center>";
        }
        Fim_Linha(saida);
    }
    for (const QString& l : linhas) {
        saida += "<li>";
        Texto(saida, l.trimmed());
        saida += "<br>";
        Fim_Linha(saida);
    }
    for (const char* linha : Depois) {
        saida += linha;
        Fim_Linha(saida);
    }
    return saida;
}

QString Arquivo(const QString& pasta, const QString& codIg, const QString& mes, const QString& ano) {
    const QString nome = codIg + QLatin1Char('-') + QStringLiteral("%1").arg(mes.toInt(), 2, 10, QLatin1Char('0')) + ano +
                         QStringLiteral(".html");
    return pasta.endsWith(QLatin1Char('/')) ? pasta + nome : pasta + QLatin1Char('/') + nome;
}

}  // namespace Pagina_TV
