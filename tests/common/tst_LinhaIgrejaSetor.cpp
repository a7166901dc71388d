// The congregation row: its amount by calculation type, its columns read
// back, a type outside 1 to 6, and a name block too wide.
#include "common/LinhaIgrejaSetor.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace LIS = Linha_Igreja_Setor;

namespace {
Dinheiro R(double v) { return Dinheiro::DeNumero(v); }

// Entries, outflows, rent, water, light, stipend; the type; the amount shown.
struct Calculo { QVariant tipo; double e, s, aluguel, agua, luz, prebenda; QString valor; };

LIS::Igreja igreja(const QVariant& tipo, double e, double s, double aluguel = 0, double agua = 0, double luz = 0,
                   double prebenda = 0) {
    return {"VILA NOVA", 12, tipo, R(e), R(s), R(aluguel), R(agua), R(luz), R(prebenda)};
}
}  // namespace

class tst_LinhaIgrejaSetor : public QObject {
    Q_OBJECT

private slots:
    void valorPorCalculo_data() {
        Tabela<Calculo>({
            {"1 entradas", {1, 1500, 300, 10, 20, 30, 40, "1.500,00"}},
            {"2 entradas menos saídas", {2, 1500, 300, 10, 20, 30, 40, "1.200,00"}},
            {"2 negativo", {2, 100, 250, 0, 0, 0, 0, "-150,00"}},
            {"3 menos aluguel, água e luz", {3, 1500, 300, 10, 20, 30, 40, "1.440,00"}},
            {"4 menos também a prebenda", {4, 1500, 300, 10, 20, 30, 40, "1.400,00"}},
            {"5 sempre zero", {5, 1500, 300, 10, 20, 30, 40, "0,00"}},
            {"6 com 1.000,00", {6, 1000, 100, 1, 1, 1, 1, "0,00"}},
            {"6 com 1.000,01", {6, 1000.01, 50, 1, 1, 1, 1, "0,01"}},
            {"6 com 800,00", {6, 800, 50, 1, 1, 1, 1, "-200,00"}},
            {"6 acima do limite como o 4", {6, 1500, 300, 100, 50, 25, 325, "1.000,00"}},
            {"6 em 1.000,02", {6, 1000.02, 0, 0.01, 0, 0, 0, "1.000,01"}},
            {"0 fora da tabela", {0, 1500, 300, 0, 0, 0, 0, "0,00"}},
            {"7 fora da tabela", {7, 1500, 300, 0, 0, 0, 0, "0,00"}},
            {"sem tipo", {QVariant(), 1500, 300, 0, 0, 0, 0, "0,00"}},
            {"tipo fracionário", {2.5, 1500, 300, 0, 0, 0, 0, "0,00"}},
            {"tipo em texto", {QString("3"), 1500, 0, 100, 0, 0, 0, "1.400,00"}},
        });
    }
    // Columns 44-53 hold the amount; whatever the type, the row keeps its
    // 76 columns with the entries at 56 and the outflows at 67.
    void valorPorCalculo() {
        QFETCH(Calculo, caso);
        const LIS::Igreja ig = igreja(caso.tipo, caso.e, caso.s, caso.aluguel, caso.agua, caso.luz, caso.prebenda);
        const QString linha = LIS::Monta(ig);
        QCOMPARE(linha.size(), 76);
        QCOMPARE(linha.mid(43, 10), caso.valor.rightJustified(10));
        QCOMPARE(linha.mid(55, 10), R(caso.e).Formata().rightJustified(10));
        QCOMPARE(linha.mid(66, 10), R(caso.s).Formata().rightJustified(10));
        const LIS::Linha lida = LIS::Le(linha);
        QCOMPARE(lida.valor.Formata(), caso.valor);
        QCOMPARE(lida.entrada, R(caso.e));
        QCOMPARE(lida.saida, R(caso.s));
        // The same row with the values it was built from.
        const Linha_Lista::Linha l = LIS::De_Igreja(ig);
        QCOMPARE(l.linha, linha);
        QCOMPARE(l.tipo + QString::number(l.dia) + "|" + QString::number(l.codigo) + "|" + l.historico,
                 QString("I1|12|VILA NOVA"));
        QCOMPARE(l.calculado.Formata() + "|" + l.entrada.Formata() + "|" + l.saida.Formata(),
                 caso.valor + "|" + R(caso.e).Formata() + "|" + R(caso.s).Formata());
    }

    // A name of 30 characters with its block fits; a longer block keeps its
    // first 38 characters, accented letters counted as one.
    void blocoLongo() {
        LIS::Igreja ig = igreja(1, 10, 0);
        ig.nome = QString("CONGREGAÇÃO DO JARDIM SÃO JOÃO");  // 30 characters
        ig.codCongrega = 7;
        QCOMPARE(LIS::Monta(ig).mid(5, 38), QString("CONGREGAÇÃO DO JARDIM SÃO JOÃO(0007~1)"));
        ig.nome += "ZZ";
        QCOMPARE(LIS::Monta(ig).mid(5, 38), QString("CONGREGAÇÃO DO JARDIM SÃO JOÃOZZ(0007~"));
        QCOMPARE(LIS::Monta(ig).size(), 76);
    }
};

REGISTRA_TESTE(tst_LinhaIgrejaSetor)
#include "tst_LinhaIgrejaSetor.moc"
