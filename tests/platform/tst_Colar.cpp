// Pasting into a text box with a maximum length: the pasted text keeps its
// first characters up to the limit, wherever it goes and whatever it
// replaces, and an emoji is pasted whole or not at all. (The context
// menu's paste: tst_Traducao.)
#include "platform/Controles.h"
#include "support/Registro.h"
#include <QClipboard>
#include <QTest>
#include <memory>

namespace {
const QString Emoji = QString::fromUcs4(U"\U0001F600");
}

class tst_Colar : public QObject {
    Q_OBJECT

private slots:
    void cortaNoLimite_data() {
        QTest::addColumn<QString>("inicial");
        QTest::addColumn<int>("limite");
        QTest::addColumn<int>("inicio");   // cursor, or start of the selection
        QTest::addColumn<int>("selecao");  // characters selected from there
        QTest::addColumn<QString>("colado");
        QTest::addColumn<QString>("esperado");

        QTest::newRow("caixa vazia") << "" << 5 << 0 << 0 << "ABCDEFGH" << "ABCDE";
        QTest::newRow("cabe inteiro") << "AB" << 5 << 2 << 0 << "CDE" << "ABCDE";
        QTest::newRow("no meio do texto") << "AB" << 5 << 1 << 0 << "XYZW" << "AXYZB";
        QTest::newRow("troca a seleção") << "ABCDE" << 5 << 1 << 3 << "123456" << "A123E";
        QTest::newRow("caixa cheia") << "ABCDE" << 5 << 5 << 0 << "X" << "ABCDE";
        QTest::newRow("sem limite") << "AB" << 0 << 2 << 0 << "CDEFGHIJ" << "ABCDEFGHIJ";
        QTest::newRow("emoji inteiro no corte") << "ABC" << 5 << 3 << 0 << "D" + Emoji + "X" << "ABCD" + Emoji;
        QTest::newRow("emoji depois do corte") << "ABC" << 5 << 3 << 0 << "DE" + Emoji << "ABCDE";
        QTest::newRow("emoji conta um caractere")
            << Emoji + Emoji + Emoji << 5 << 6 << 0 << "ABC" << Emoji + Emoji + Emoji + "AB";
        // A text set by the program beyond the limit may not grow.
        QTest::newRow("texto do programa além do limite") << "ABCDEFG" << 5 << 2 << 2 << "1234" << "AB12EFG";
    }
    void cortaNoLimite() {
        QFETCH(QString, inicial);
        QFETCH(int, limite);
        QFETCH(int, inicio);
        QFETCH(int, selecao);
        QFETCH(QString, colado);
        QFETCH(QString, esperado);

        auto caixa = std::make_unique<TextBox>();
        caixa->setMaxLength_(limite);
        caixa->setText_(inicial);
        caixa->show();
        QVERIFY(QTest::qWaitForWindowExposed(caixa.get()));
        caixa->SetFocus();
        if (selecao > 0)
            caixa->setSelection(inicio, selecao);
        else
            caixa->setCursorPosition(inicio);
        QGuiApplication::clipboard()->setText(colado);
        QTest::keyClick(caixa.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(caixa->Text(), esperado);
    }
};

REGISTRA_TESTE(tst_Colar)
#include "tst_Colar.moc"
