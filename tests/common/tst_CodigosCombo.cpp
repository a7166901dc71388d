// Register codes are 64-bit: a combo loaded from the file carries them
// whole, and selecting by code finds exactly that item.
#include "common/Formularios.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QTest>

namespace {
constexpr qint64 Acima_2_40 = (qint64(1) << 40) + 3;
constexpr qint64 Acima_2_53 = (qint64(1) << 53) + 1;  // a double holds only its neighbours
const QString Consulta = "SELECT Nome, Codigo FROM TesteCombo ORDER BY Ordem";
}  // namespace

class tst_CodigosCombo : public QObject {
    Q_OBJECT

private slots:
    void codigosDe64Bits_data() {
        QTest::addColumn<QVariant>("valor");
        QTest::addColumn<int>("indice");
        QTest::newRow("numero acima de 2^40") << QVariant(Acima_2_40) << 1;
        QTest::newRow("texto acima de 2^53") << QVariant(QString::number(Acima_2_53)) << 2;
        QTest::newRow("vizinho de 2^53") << QVariant(QString::number(Acima_2_53 - 1)) << 3;
        QTest::newRow("texto com milhar") << QVariant(QString("1.099.511.627.779")) << 1;
        QTest::newRow("fracao nao e codigo") << QVariant(QString("7,5")) << -1;
    }
    void codigosDe64Bits() {
        QFETCH(QVariant, valor);
        QFETCH(int, indice);
        Ambiente amb;
        amb.Sql("CREATE TABLE TesteCombo (Ordem INTEGER, Codigo, Nome TEXT)");
        amb.Sql("INSERT INTO TesteCombo VALUES (1, 7, 'SETE'), (2, ?, 'GRANDE'), (3, ?, 'ENORME'), (4, ?, 'VIZINHO')",
                {Acima_2_40, QString::number(Acima_2_53), Acima_2_53 - 1});
        ComboBox c(nullptr, 0);
        Carrega_Combo(&c, Consulta, "Nome", "Codigo");
        QCOMPARE(c.ListCount(), 4);
        QCOMPARE(c.ItemData(1), Acima_2_40);
        QCOMPARE(c.ItemData(2), Acima_2_53);  // stored as text, read exactly
        QCOMPARE(c.ItemData(3), Acima_2_53 - 1);
        QVERIFY(Roteiro::Caixas().empty());
        Seleciona_Item_Combo(&c, valor);
        QCOMPARE(c.ListIndex(), indice);
    }

    // A code that is not a number is an error the user sees, and No keeps
    // the items loaded before it.
    void codigoQueNaoENumero() {
        Ambiente amb;
        amb.Sql("CREATE TABLE TesteCombo (Ordem INTEGER, Codigo, Nome TEXT)");
        amb.Sql("INSERT INTO TesteCombo VALUES (1, 7, 'SETE'), (2, 'X7', 'OITO'), (3, 9, 'NOVE')");
        ComboBox c(nullptr, 0);
        Roteiro::Responde(vbNo);
        Carrega_Combo(&c, Consulta, "Nome", "Codigo");
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("<<< Ocorrência de Erro 13 >>>"));
        QCOMPARE(c.ListCount(), 2);
        QCOMPARE(c.ItemData(0), qint64(7));
    }
};

REGISTRA_TESTE(tst_CodigosCombo)
#include "tst_CodigosCombo.moc"
