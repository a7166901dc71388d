// Money from the typed text to the stored REAL, the central DECIMAL and the
// shown cell: one reading, exact to the cent, and every path agreeing.
#include "common/Banco.h"
#include "common/Numeros.h"
#include "common/ParametroConsulta.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QRandomGenerator>
#include <QtTest>
#include <limits>

namespace {
constexpr qint64 Recusado = std::numeric_limits<qint64>::min();
}

class tst_Dinheiro : public QObject {
    Q_OBJECT

private slots:
    void leValor_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<qint64>("centavos");
        QTest::newRow("agrupado") << "1.234,56" << qint64(123456);
        QTest::newRow("sem pontos") << " 1234,56 " << qint64(123456);
        QTest::newRow("inteiro negativo") << "-50" << qint64(-5000);
        QTest::newRow("uma decimal") << "0,5" << qint64(50);
        QTest::newRow("so decimais") << ",05" << qint64(5);
        QTest::newRow("milhar sem decimais") << "1.234" << qint64(123400);
        QTest::newRow("dezesseis digitos") << "9.999.999.999.999.999,99" << qint64(999999999999999999);
        QTest::newRow("ponto decimal") << "1234.56" << Recusado;
        QTest::newRow("grupo curto") << "1.23,4" << Recusado;
        QTest::newRow("tres decimais") << "1,234" << Recusado;
        QTest::newRow("virgula sem decimais") << "10," << Recusado;
        QTest::newRow("vazio") << "" << Recusado;
        QTest::newRow("sinal separado") << "- 5" << Recusado;
        QTest::newRow("dezessete digitos") << "12345678901234567" << Recusado;
        QTest::newRow("simbolo") << "R$ 5" << Recusado;
    }
    // Typed amounts, Currency parameters and row cells read the same way.
    void leValor() {
        QFETCH(QString, texto);
        QFETCH(qint64, centavos);
        const auto v = Dinheiro::Le(texto);
        QCOMPARE(v ? v->Centavos() : Recusado, centavos);
        const long erro = ErroDe([&] { ParametroConsulta::Converte(ParametroConsulta::Tipo::Currency, texto); });
        QCOMPARE(erro, centavos == Recusado ? 3421L : 0L);
    }

    void deCampo_data() {
        QTest::addColumn<QVariant>("campo");
        QTest::addColumn<qint64>("centavos");
        QTest::addColumn<long>("erro");
        QTest::newRow("nulo") << QVariant() << qint64(0) << 0L;
        QTest::newRow("real meio centavo") << QVariant(1234.565) << qint64(123457) << 0L;
        QTest::newRow("real negativo") << QVariant(-1.005) << qint64(-101) << 0L;
        QTest::newRow("real somado") << QVariant(0.1 + 0.2) << qint64(30) << 0L;
        QTest::newRow("inteiro") << QVariant(qlonglong(12)) << qint64(1200) << 0L;
        // Beyond 2^53 cents a double cannot hold every cent.
        QTest::newRow("decimal central") << QVariant(QString("90071992547409.93")) << qint64(9007199254740993) << 0L;
        QTest::newRow("decimal em bytes") << QVariant(QByteArray("-0.10")) << qint64(-10) << 0L;
        QTest::newRow("decimal de media") << QVariant(QString("2.345")) << qint64(235) << 0L;
        QTest::newRow("decimal inteiro") << QVariant(QString("7")) << qint64(700) << 0L;
        QTest::newRow("texto regional") << QVariant(QString("1234,56")) << qint64(0) << 13L;
        QTest::newRow("texto vazio") << QVariant(QString("")) << qint64(0) << 13L;
        QTest::newRow("decimal sem inteiro") << QVariant(QString(".5")) << qint64(0) << 13L;
        QTest::newRow("infinito") << QVariant(std::numeric_limits<double>::infinity()) << qint64(0) << 6L;
        QTest::newRow("grande demais") << QVariant(1e17) << qint64(0) << 6L;
    }
    // A stored REAL, a central DECIMAL sent as text, a whole number: each
    // to cents by one rule, never by way of a double for the texts.
    void deCampo() {
        QFETCH(QVariant, campo);
        QFETCH(qint64, centavos);
        QFETCH(long, erro);
        Dinheiro v;
        QCOMPARE(ErroDe([&] { v = Dinheiro::DeCampo(campo); }), erro);
        QCOMPARE(v.Centavos(), centavos);
    }

    // Any amount, shown, typed back, bound as a parameter, stored in the
    // file and read back, stays the same number of cents.
    void idaEVoltaPeloArquivo() {
        const quint32 semente = QRandomGenerator::global()->generate();
        qInfo("semente %u", semente);
        QRandomGenerator r(semente);
        Ambiente amb;
        QList<qint64> esperados;
        for (int i = 0; i < 300; ++i) {
            const qint64 c = r.bounded(qint64(-99'999'999'999), qint64(99'999'999'999'999));
            const Dinheiro d = Dinheiro::DeCentavos(c);
            QCOMPARE(Dinheiro::Le(d.Formata())->Centavos(), c);
            QCOMPARE(Dinheiro::Le(d.Texto())->Centavos(), c);
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
