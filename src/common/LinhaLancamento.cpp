#include "common/LinhaLancamento.h"
#include "common/Dizimo.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "platform/Erro.h"
#include <algorithm>

namespace Linha_Lancamento {

namespace {
const QString Traco = QStringLiteral("----");
const QString Brancos(Largura, QLatin1Char(' '));

QString Dia_Texto(int dia) {
    const QString d = QStringLiteral("%1").arg(dia < 0 ? -qint64(dia) : qint64(dia), 2, 10, QLatin1Char('0'));
    return dia < 0 ? QLatin1Char('-') + d : d;
}

// An amount as Dinheiro::Formata writes it ("-1.234,56"), written
// backwards so that it ends just before `fim`; returns where it starts.
// Rows are built by the thousand, and this needs no allocation.
char16_t* Formata_Antes(char16_t* fim, qint64 centavos) {
    quint64 a = centavos < 0 ? 0 - quint64(centavos) : quint64(centavos);
    char16_t* p = fim;
    *--p = char16_t(u'0' + a % 10);
    a /= 10;
    *--p = char16_t(u'0' + a % 10);
    a /= 10;
    *--p = u',';
    int grupo = 0;
    do {
        if (grupo == 3) {
            *--p = u'.';
            grupo = 0;
        }
        *--p = char16_t(u'0' + a % 10);
        a /= 10;
        ++grupo;
    } while (a != 0);
    if (centavos < 0) *--p = u'-';
    return p;
}
constexpr int MaxFormatado = 32;  // 19 digits, 6 points, comma and sign fit

// Units below U+0300 other than CR are characters of their own and already
// in their composed form: such a text needs no normalisation or counting.
using Caracteres::Simples;

// Formata_Texto(texto, largura, "E") appended to r, for a Simples text.
void Esquerda_Em(QString& r, const QString& texto, int largura) {
    const qsizetype n = std::min<qsizetype>(texto.size(), largura);
    r += QStringView(texto).first(n);
    r += QStringView(Brancos).first(largura - n);
}

void Celula_Em(QString& r, std::optional<Dinheiro> valor) {
    if (!valor) {
        r += QStringView(Brancos).first(LarguraValor - Traco.size());
        r += Traco;
        return;
    }
    char16_t buf[MaxFormatado];
    const char16_t* p = Formata_Antes(buf + MaxFormatado, valor->Centavos());
    const qsizetype n = buf + MaxFormatado - p;
    if (n > LarguraValor) {
        r += CelulaCheia;
        return;
    }
    r += QStringView(Brancos).first(LarguraValor - n);
    r += QStringView(p, n);
}

QStringView Aparada(QStringView s) {
    qsizetype i = 0, j = s.size();
    while (i < j && s[i] == QLatin1Char(' ')) ++i;
    while (j > i && s[j - 1] == QLatin1Char(' ')) --j;
    return s.mid(i, j - i);
}
}  // namespace

bool Cabe(Dinheiro valor) {
    char16_t buf[MaxFormatado];
    return buf + MaxFormatado - Formata_Antes(buf + MaxFormatado, valor.Centavos()) <= LarguraValor;
}

QString Monta(const QString& tipo, int dia, const QString& historico, std::optional<Dinheiro> entrada,
              std::optional<Dinheiro> saida) {
    QString r;
    r.reserve(Largura);
    if (!Simples(tipo) || !Simples(historico)) {
        // Texts whose characters may join one another across the columns:
        // the row is measured once joined.
        QString entradaTexto, saidaTexto;
        Celula_Em(entradaTexto, entrada);
        Celula_Em(saidaTexto, saida);
        return Monta_Linha({{tipo, 2}, {Dia_Texto(dia), 3}, {historico, LarguraHistorico}, {entradaTexto},
                            {QStringLiteral(" ")}, {saidaTexto}});
    }
    Esquerda_Em(r, tipo, 2);
    if (dia >= 0 && dia <= 99) {
        r += QChar(u'0' + dia / 10);
        r += QChar(u'0' + dia % 10);
        r += QLatin1Char(' ');
    } else {
        r += Formata_Texto(Dia_Texto(dia), 3, QStringLiteral("E"));
    }
    Esquerda_Em(r, historico, LarguraHistorico);
    Celula_Em(r, entrada);
    r += QLatin1Char(' ');
    Celula_Em(r, saida);
    return r;
}

QString Monta(const QString& tipo, int dia, const QString& historico, Dinheiro valor) {
    if (tipo == QLatin1String("S")) return Monta(tipo, dia, historico, std::nullopt, valor);
    return Monta(tipo, dia, historico, valor, std::nullopt);
}

QString De_Registro(const QString& tipo, int dia, const QString& historicoArmazenado, Dinheiro valor) {
    if (tipo == QLatin1String("D")) {
        const QStringView h = Aparada(historicoArmazenado);
        if (!Simples(h)) return Monta(tipo, dia, Historico_Dizimo::Exibido(historicoArmazenado), valor);
        // Historico_Dizimo::Exibido where each unit is a character: the
        // position, a blank, the rest; a month holds thousands of these.
        const qsizetype n = h.size();
        QString exibido;
        exibido.reserve(n + 1);
        exibido += h.last(std::min<qsizetype>(2, n));
        exibido += QLatin1Char(' ');
        exibido += h.first(std::max<qsizetype>(0, n - 2));
        const QStringView e = Aparada(exibido);
        return Monta(tipo, dia, e.size() == exibido.size() ? exibido : e.toString(), valor);
    }
    return Monta(tipo, dia, historicoArmazenado, valor);
}

Dinheiro Valor(const QString& linha, int coluna) {
    const QStringView resto = QStringView(linha).mid(Caracteres::Posicao(linha, coluna - 1));
    const QStringView celula = Aparada(resto.first(Caracteres::Posicao(resto, LarguraValor)));
    if (celula.isEmpty() || celula == Traco) return {};
    if (celula.startsWith(QLatin1Char('#')))
        Levanta_Erro(13, QStringLiteral("Tipo Incompatível: o valor não cabe na coluna (##########)."));
    if (const auto v = Dinheiro::Le(celula)) return *v;
    Levanta_Erro(13, QStringLiteral("Tipo Incompatível."));
}

Linha Le(const QString& linha) {
    Linha l;
    l.tipo = Caracteres::Esquerda(linha, 1);
    l.dia = Caracteres::Meio(linha, 2, 2);
    l.historico = Apara(Caracteres::Meio(linha, 5, LarguraHistorico));
    l.cargo = Caracteres::Meio(linha, 5, 2);
    l.nome = Apara(Caracteres::Meio(linha, 8, LarguraHistorico - 3));
    l.entrada = Valor(linha, ColunaEntrada);
    l.saida = Valor(linha, ColunaSaida);
    return l;
}

QString Historico_Dizimo(const Linha& l) { return Historico_Dizimo::Armazenado(l.cargo + QLatin1Char(' ') + l.nome); }

void Soma(const QString& linha, Dinheiro& entradas, Dinheiro& saidas) {
    const QChar tipo = linha.isEmpty() ? QChar() : linha[0];
    if (tipo == QLatin1Char('S')) {
        saidas += Valor(linha, ColunaSaida);
    } else if (tipo == QLatin1Char('I')) {
        entradas += Valor(linha, ColunaEntrada);
        saidas += Valor(linha, ColunaSaida);
    } else {
        entradas += Valor(linha, ColunaEntrada);
    }
}

}  // namespace Linha_Lancamento
