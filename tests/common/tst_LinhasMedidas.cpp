// Rows whose texts hold characters that join their neighbours (a combining
// mark that begins a history, a sign that ends it, marks a script counts
// otherwise among other letters): every row still has its width, every
// column stands where it belongs, and every amount reads back as built.
#include "common/Dizimo.h"
#include "common/LinhaIgrejaSetor.h"
#include "common/LinhaLancamento.h"
#include "common/LinhaLancamentoDepto.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
Dinheiro D(qint64 centavos) { return Dinheiro::DeCentavos(centavos); }
QString U(char32_t c) { return QString::fromUcs4(&c, 1); }

// What the fuzzing of the row builders turned up, beside plain letters.
const char32_t Pecas[] = {
    U'A', U'Ç', U' ', U' ', U'1', U':', U'R', U'I',
    0x0301, 0x2DF0,                  // combining marks: join what stands before
    0x0600, 0x0605, 0x06DD,          // prepended signs: join what follows
    0x0903, 0x094D, 0x0915,          // a script that counts its marks by its own rules
    0x200D, 0x1100, 0x1161, 0xAC00,  // joiner, conjoining letters
    0x1F1E6, 0x1F600, 0x1F3FB,       // flag letter, emoji, its skin tone
    U'\r', U'\n', U'\t', 0x01, 0x7F,
};

QString Texto_Aleatorio(QRandomGenerator& g, int maximo) {
    QString t;
    const int n = g.bounded(maximo + 1);
    for (int i = 0; i < n; ++i) t += U(Pecas[g.bounded(int(std::size(Pecas)))]);
    return t;
}

qint64 Centavos_Aleatorios(QRandomGenerator& g) {
    // Amounts that fit the 10-character cell: -99.999,99 to 999.999,99.
    return g.bounded(2) ? g.bounded(qint64(-9'999'999), qint64(100'000'000)) : g.bounded(qint64(0), qint64(100'000));
}

struct Caso { QString historico; qint64 centavos; };

// What a tither's name may bring from the register download or an older
// file at the width limit: marks that join what stands before, signs that
// join what follows, replacement characters, controls, NULs.
const char32_t PecasNome[] = {
    U'A', U'Ç', U' ', U'.', U'%', U'0', U'\\', 0x0301, 0x0B63, 0x2DF0, 0x0600, 0x0605, 0x06DD, 0x0D4E,
    0xFFFD, 0xFFFD, 0x00, 0x01, 0x07, 0x0C, 0x16, 0x7F, U'\r', U'\n', 0x200D, 0x1100, 0x1161, 0x1F600,
};
const QString Posicoes[] = {"PR", "EV", "MS", "MB", "PB", "DC", "CP", "CG"};
}  // namespace

class tst_LinhasMedidas : public QObject {
    Q_OBJECT

private slots:
    // The cases as they were seen: each amount once read one column left.
    void casosVistos_data() {
        Tabela<Caso>({
            {"acento que abre o histórico", {U(0x0301) + "JOAO", 25059155}},
            {"marca que abre o histórico", {U(0x2DF0) + "MARIA", 54966050}},
            {"sinal que fecha o histórico", {"JOSE" + U(0x0600), 25059155}},
            {"sinal no fim de 50 colunas", {QString(49, 'X') + U(0x06DD), 99999999}},
            {"letra e marca de outra escrita", {"1" + U(0x0903) + U(0x007F) + "RA", 1}},
        });
    }
    void casosVistos() {
        QFETCH(Caso, caso);
        for (const QString& tipo : {QStringLiteral("O"), QStringLiteral("S")}) {
            const QString l = Linha_Lancamento::Monta(tipo, 5, caso.historico, D(caso.centavos));
            QCOMPARE(Caracteres::Conta(l), qsizetype(76));
            const auto lida = Linha_Lancamento::Le(l);
            QCOMPARE((tipo == "S" ? lida.saida : lida.entrada).Centavos(), caso.centavos);
            QCOMPARE(lida.dia, QString("05"));
        }
        const QString d = Linha_Lancamento_Depto::Monta(5, "E", caso.historico, D(caso.centavos));
        QCOMPARE(Caracteres::Conta(d), qsizetype(76));
        QCOMPARE(Linha_Lancamento_Depto::Le(d).entrada.Centavos(), caso.centavos);

        Linha_Igreja_Setor::Igreja ig;
        ig.nome = caso.historico;
        ig.codCongrega = 12;
        ig.calculo = 1;
        ig.entradas = D(caso.centavos);
        ig.saidas = D(54966050);
        const QString s = Linha_Igreja_Setor::Monta(ig);
        QCOMPARE(Caracteres::Conta(s), qsizetype(76));
        const auto lidaSetor = Linha_Igreja_Setor::Le(s);
        QCOMPARE(lidaSetor.valor.Centavos(), caso.centavos);
        QCOMPARE(lidaSetor.entrada.Centavos(), caso.centavos);
        QCOMPARE(lidaSetor.saida.Centavos(), qint64(54966050));
    }

    // A tithe's history at the width limit whose characters join in the
    // shown form and count apart once the position goes last: the name
    // gives way in the stored form, never the membership tag.
    void dizimoNoLimite() {
        static const char16_t visto[] =
            u"\u0001.\u0B63\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\u0000%\u0000\u0000\u0000\u0000\u0000\u0000\u007F\u0007\uFFFD"
            u"\u000C\uFFFD0\uFFFD\uFFFD\uFFFD\uFFFD\u0000\u0000\uFFFD\u0016\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\\";
        const QString nome = QString::fromUtf16(visto, qsizetype(std::size(visto)) - 1);
        const auto exibido = Historico_Dizimo::Exibido_Do_Digitado(nome + " RI:00000000");
        QCOMPARE(exibido.value_or(QString()), "CG " + nome + " RI:00000000");
        const QString armazenado = Historico_Dizimo::Armazenado(*exibido);
        QVERIFY(Caracteres::Conta(armazenado) <= 50);
        QVERIFY2(armazenado.endsWith(" RI:00000000 CG"), qPrintable(armazenado.right(16)));

        // Any such name at the limit, with its own number and position.
        QRandomGenerator g = Gerador_Semeado();
        for (int i = 0; i < 3000; ++i) {
            QString outro;
            for (int n = 40 + g.bounded(20); n > 0; --n) outro += U(PecasNome[g.bounded(int(std::size(PecasNome)))]);
            const QString ri = QString::number(g.bounded(100'000'000)).rightJustified(8, '0');
            const QString cargo = Posicoes[g.bounded(int(std::size(Posicoes)))];
            const auto s = Historico_Dizimo::Exibido_Do_Digitado(outro + " RI:" + ri + " " + cargo);
            QVERIFY(s);
            QVERIFY(Caracteres::Conta(*s) <= 50);
            const QString h = Historico_Dizimo::Armazenado(*s);
            QVERIFY(Caracteres::Conta(h) <= 50);
            QVERIFY2(h.endsWith(" RI:" + ri + " " + cargo), qPrintable(h.right(16)));
        }
    }

    // Padding alone keeps the width too, in every alignment.
    void formataTextoComMarcas() {
        for (const QString& alinhamento : {QStringLiteral("D"), QStringLiteral("C"), QStringLiteral("E")}) {
            QCOMPARE(Caracteres::Conta(Formata_Texto(U(0x2DF0), 4, alinhamento)), qsizetype(4));
            QCOMPARE(Caracteres::Conta(Formata_Texto(U(0x0301) + "B", 6, alinhamento)), qsizetype(6));
            QCOMPARE(Caracteres::Conta(Formata_Texto("AB" + U(0x0600), 6, alinhamento)), qsizetype(6));
        }
        // A plain text is never touched: accents, emoji and all.
        QCOMPARE(Formata_Texto("AÇÃO" + U(0x1F600), 7, "D"), "  AÇÃO" + U(0x1F600));
        QCOMPARE(Formata_Texto("A" + U(0x0301), 3, "E"), QString("Á  "));
    }

    // Any text, any amount: the three rows of the month keep 76 characters
    // and every cell reads back the amount it was built from; a tithe's
    // stored history never passes 50 characters.
    void textosAleatorios() {
        QRandomGenerator g = Gerador_Semeado();
        for (int i = 0; i < 3000; ++i) {
            const QString texto = Texto_Aleatorio(g, 60);
            const qint64 a = Centavos_Aleatorios(g), b = Centavos_Aleatorios(g);
            const QString tipo = QString("ODS").at(g.bounded(3));
            const QString l = Linha_Lancamento::Monta(tipo, 1 + g.bounded(31), texto, D(a));
            QCOMPARE(Caracteres::Conta(l), qsizetype(76));
            const auto lida = Linha_Lancamento::Le(l);
            QCOMPARE((tipo == "S" ? lida.saida : lida.entrada).Centavos(), a);
            QCOMPARE((tipo == "S" ? lida.entrada : lida.saida).Centavos(), qint64(0));

            const QString d = Linha_Lancamento_Depto::Monta(1 + g.bounded(31), tipo == "S" ? "S" : "E", texto, D(a));
            QCOMPARE(Caracteres::Conta(d), qsizetype(76));
            const auto lidaDepto = Linha_Lancamento_Depto::Le(d);
            QCOMPARE((tipo == "S" ? lidaDepto.saida : lidaDepto.entrada).Centavos(), a);

            Linha_Igreja_Setor::Igreja ig;
            ig.nome = texto;
            ig.codCongrega = g.bounded(10000);
            ig.calculo = 1;
            ig.entradas = D(a);
            ig.saidas = D(b);
            const QString s = Linha_Igreja_Setor::Monta(ig);
            QCOMPARE(Caracteres::Conta(s), qsizetype(76));
            const auto lidaSetor = Linha_Igreja_Setor::Le(s);
            QCOMPARE(lidaSetor.valor.Centavos(), a);
            QCOMPARE(lidaSetor.entrada.Centavos(), a);
            QCOMPARE(lidaSetor.saida.Centavos(), b);

            if (const auto exibido = Historico_Dizimo::Exibido_Do_Digitado(texto + " RI:00012345")) {
                QVERIFY(Caracteres::Conta(*exibido) <= 50);
                QVERIFY2(Caracteres::Conta(Historico_Dizimo::Armazenado(*exibido)) <= 50, qPrintable(texto));
            }
        }
    }
};

REGISTRA_TESTE(tst_LinhasMedidas)
#include "tst_LinhasMedidas.moc"
