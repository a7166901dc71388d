// Money from the typed text to the stored REAL, the central DECIMAL and the
// shown cell: one reading, exact to the cent, and every path agreeing.
#include "common/Banco.h"
#include "common/Numeros.h"
#include "common/ParametroConsulta.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>
#include <limits>

namespace {
constexpr qint64 Recusado = std::numeric_limits<qint64>::min();
// erroParametro -1: the Currency parameter refuses exactly what Le refuses.
struct Lido { QString texto; qint64 centavos; long erroParametro = -1; };
struct Campo { QVariant campo; qint64 centavos; long erro; };
}

class tst_Dinheiro : public QObject {
    Q_OBJECT

private slots:
    // Typed amounts and Currency parameters read the same way.
    void leValor_data() {
        Tabela<Lido>({
            {"agrupado", {"1.234,56", 123456}}, {"sem pontos, com brancos", {" 1234,56 ", 123456}},
            {"inteiro negativo", {"-50", -5000}}, {"uma decimal", {"0,5", 50}}, {"so decimais", {",05", 5}},
            {"milhar sem decimais", {"1.234", 123400}},
            // The file's REAL holds every cent up to 2^46 whole units; a
            // parameter beyond that would be stored as another amount.
            {"dezesseis digitos", {"9.999.999.999.999.999,99", 999999999999999999, 3421}},
            {"maior exato no arquivo", {"70.368.744.177.664,00", 7036874417766400}},
            {"um centavo além", {"70.368.744.177.664,01", 7036874417766401, 3421}},
            {"negativo além", {"-90.071.992.547.409,91", -9007199254740991, 3421}},
            {"vinte noves", {"99999999999999999999", Recusado}}, {"vinte noves agrupados", {"99.999.999.999.999.999.999", Recusado}},
            {"zeros à esquerda não contam", {"000000000000000000001,00", 100}},
            {"ponto decimal", {"1234.56", Recusado}}, {"grupo curto", {"1.23,4", Recusado}},
            {"tres decimais", {"1,234", Recusado}}, {"virgula sem decimais", {"10,", Recusado}}, {"vazio", {"", Recusado}},
            {"sinal separado", {"- 5", Recusado}}, {"dezessete digitos", {"12345678901234567", Recusado}},
            {"simbolo", {"R$ 5", Recusado}},
        });
    }
    void leValor() {
        QFETCH(Lido, caso);
        const auto v = Dinheiro::Le(caso.texto);
        QCOMPARE(v ? v->Centavos() : Recusado, caso.centavos);
        const long erro = ErroDe([&] { ParametroConsulta::Converte(ParametroConsulta::Tipo::Currency, caso.texto); });
        QCOMPARE(erro, caso.erroParametro >= 0 ? caso.erroParametro : caso.centavos == Recusado ? 3421L : 0L);
    }

    // A stored REAL, a central DECIMAL sent as text, a whole number: each
    // to cents by one rule, never by way of a double for the texts.
    void deCampo_data() {
        Tabela<Campo>({
            {"nulo", {QVariant(), 0, 0}}, {"real meio centavo", {1234.565, 123457, 0}},
            {"real negativo", {-1.005, -101, 0}}, {"inteiro", {qlonglong(12), 1200, 0}},
            // Beyond 2^53 cents a double cannot hold every cent.
            {"decimal central", {QString("90071992547409.93"), 9007199254740993, 0}},
            {"decimal em bytes", {QByteArray("-0.10"), -10, 0}}, {"decimal de media", {QString("2.345"), 235, 0}},
            {"decimal inteiro", {QString("7"), 700, 0}}, {"texto regional", {QString("1234,56"), 0, 13}},
            {"arredondado além de 16 dígitos", {QString("9999999999999999.995"), 0, 13}},
            {"arredondado nos 16 dígitos", {QString("-9999999999999999.994"), -999999999999999999, 0}},
            {"decimal sem inteiro", {QString(".5"), 0, 13}},
            {"infinito", {std::numeric_limits<double>::infinity(), 0, 6}}, {"grande demais", {1e17, 0, 6}},
        });
    }
    void deCampo() {
        QFETCH(Campo, caso);
        Dinheiro v;
        QCOMPARE(ErroDe([&] { v = Dinheiro::DeCampo(caso.campo); }), caso.erro);
        QCOMPARE(v.Centavos(), caso.centavos);
    }

    // The ends of 64 bits are shown whole, the smallest one too (it has no
    // positive counterpart to format).
    void extremos() {
        constexpr qint64 menor = std::numeric_limits<qint64>::min(), maior = std::numeric_limits<qint64>::max();
        QCOMPARE(Dinheiro::DeCentavos(menor).Formata(), QString("-92.233.720.368.547.758,08"));
        QCOMPARE(Dinheiro::DeCentavos(menor).Texto(), QString("-92233720368547758,08"));
        QCOMPARE(Dinheiro::DeCentavos(maior).Formata(), QString("92.233.720.368.547.758,07"));
    }

    void somaExata() {
        Dinheiro soma;
        for (int i = 0; i < 10; ++i) soma += *Dinheiro::Le("0,10");
        QCOMPARE((soma - *Dinheiro::Le("1.234,56")).Formata(), QString("-1.233,56"));
    }

    // Any amount, shown and typed back, stays the same number of cents; one
    // the file can hold does too when bound, stored and read back.
    void idaEVoltaPeloArquivo() {
        QRandomGenerator r = Gerador_Semeado();
        Ambiente amb;
        QList<qint64> esperados;
        for (int i = 0; i < 300; ++i) {
            const Dinheiro grande = Dinheiro::DeCentavos(r.bounded(qint64(-1e18), qint64(1e18)));
            QCOMPARE(Dinheiro::Le(grande.Formata())->Centavos(), grande.Centavos());
            QCOMPARE(Dinheiro::Le(grande.Texto())->Centavos(), grande.Centavos());
            const qint64 c = r.bounded(qint64(-99'999'999'999), qint64(99'999'999'999'999));
            const Dinheiro d = Dinheiro::DeCentavos(c);
            Executa_Query("ProcInsLivroCaixa", {QString::number(i + 1), "12", "2021", "8", "1", "O", "X", d.Texto()});
            esperados << c;
        }
        QList<qint64> lidos;
        for (auto rs = Abre_Query("ProcPesqLivroCaixa", {"12", "2021", "8"}); !rs->Eof(); rs->MoveNext())
            lidos << Dinheiro::DeCampo(rs->Fields("Valor")).Centavos();
        QCOMPARE(lidos, esperados);
    }
};

REGISTRA_TESTE(tst_Dinheiro)
#include "tst_Dinheiro.moc"
