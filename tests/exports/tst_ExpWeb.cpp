// The TV page: its bytes pinned (the fixed lines, the title's month, one
// item per line, Windows-1252, CR LF), the escaping of HTML's special
// characters and the numeric references of characters the code page lacks.
#include "exports/PaginaTV.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
// The page's lines for a title and items, as bytes, CR LF after each.
QByteArray Pagina(const QByteArray& titulo, const QList<QByteArray>& itens) {
    QList<QByteArray> l = {"<html>",
                           "<body style='color: white; background-color: black;'>",
                           "<div>",
                           "<center><h1><u>RELA\xC7\xC3O DE DIZIMISTAS EM " + titulo + "</u></h1></center>",
                           "</div>",
                           "<div>",
                           "<marquee direction='up' scrollamount='2' width='100%' height='80%'>",
                           "<h1>",
                           "<ul type='square'>"};
    for (const QByteArray& i : itens) l << "<li>" + i + "<br>";
    l << "</ul>" << "</h1>" << "</marquee>" << "</div>" << "<div align='right'>"
      << "<h3>Tavrelo&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;</h3>" << "</div>" << "</body>" << "</html>";
    return l.join("\r\n") + "\r\n";
}

struct Caso {
    QString mes;
    QStringList linhas;
    QByteArray titulo;
    QList<QByteArray> itens;
};
}  // namespace

class tst_ExpWeb : public QObject {
    Q_OBJECT
private slots:
    void pagina_data() {
        Tabela<Caso>({
            {"o mês de agosto", {"AGOSTO / 2021", {"JOAO DA SILVA RI:00012345", "MB. MARIA SOUZA RI:00000451"},
                                 "AGOSTO / 2021", {"JOAO DA SILVA RI:00012345", "MB. MARIA SOUZA RI:00000451"}}},
            {"acentos na página de código", {"MARÇO / 2022", {"JOSÉ CONCEIÇÃO RI:00000001", "ÀÉÎÕÜ ÿ €"},
                                            "MAR\xC7O / 2022", {"JOS\xC9 CONCEI\xC7\xC3O RI:00000001", "\xC0\xC9\xCE\xD5\xDC \xFF \x80"}}},
            {"acento digitado à parte", {"AGOSTO / 2021", {QString("JOSE") + QChar(0x301) + " RI:1"},
                                         "AGOSTO / 2021", {"JOS\xC9 RI:1"}}},
            {"especiais do HTML", {"A & B <2021>", {"A & B RI:1", "<script>alert(1)</script>"},
                                  "A &amp; B &lt;2021&gt;", {"A &amp; B RI:1", "&lt;script&gt;alert(1)&lt;/script&gt;"}}},
            {"fora da página de código", {"AGOSTO / 2021", {QString("ANA ") + QString::fromUcs4(U"\U0001F600") + " RI:1", "ΩMEGA?", "A\tB"},
                                          "AGOSTO / 2021", {"ANA &#128512; RI:1", "&#937;MEGA?", "A&#9;B"}}},
            {"linhas aparadas", {"AGOSTO / 2021", {"   ANA RI:1   ", ""}, "AGOSTO / 2021", {"ANA RI:1", ""}}},
            {"sem parâmetros, sem mês", {"", {"ANA RI:1"}, "", {"ANA RI:1"}}},
        });
    }
    void pagina() {
        QFETCH(Caso, caso);
        const QByteArray bytes = Pagina_TV::Monta(caso.mes, caso.linhas);
        QCOMPARE(bytes, Pagina(caso.titulo, caso.itens));
        QCOMPARE(bytes.count("\r\n"), 18 + caso.linhas.size());
        QCOMPARE(bytes.count('\n'), 18 + caso.linhas.size());
    }

    void nomeDoArquivo() {
        QCOMPARE(Pagina_TV::Arquivo("/home/ana/TV", "0123", "8", "2021"), QString("/home/ana/TV/0123-082021.html"));
        QCOMPARE(Pagina_TV::Arquivo("/", "0123", "12", "2021"), QString("/0123-122021.html"));
    }
};

REGISTRA_TESTE(tst_ExpWeb)
#include "tst_ExpWeb.moc"
