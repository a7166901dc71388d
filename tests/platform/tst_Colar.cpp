// Pasting into a text box with a maximum length: the pasted text keeps its
// first characters up to the limit, wherever it goes and whatever it
// replaces, and an emoji is pasted whole or not at all. (The context
// menu's paste: tst_Traducao.)
#include "platform/Controles.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QClipboard>
#include <QTest>

namespace {
const QString Emoji = QString::fromUcs4(U"\U0001F600");
// The cursor at `inicio` (in UTF-16 units), or `selecao` characters selected from there.
struct Colagem { QString inicial; int limite, inicio, selecao; QString colado, esperado; };
}  // namespace

class tst_Colar : public QObject {
    Q_OBJECT

private slots:
    void cortaNoLimite_data() {
        Tabela<Colagem>({
            {"no meio do texto", {"AB", 5, 1, 0, "XYZW", "AXYZB"}},
            {"troca a seleção", {"ABCDE", 5, 1, 3, "123456", "A123E"}},
            {"caixa cheia", {"ABCDE", 5, 5, 0, "X", "ABCDE"}},
            {"sem limite", {"AB", 0, 2, 0, "CDEFGHIJ", "ABCDEFGHIJ"}},
            {"emoji inteiro no corte", {"ABC", 5, 3, 0, "D" + Emoji + "X", "ABCD" + Emoji}},
            {"emoji conta um caractere", {Emoji + Emoji + Emoji, 5, 6, 0, "ABC", Emoji + Emoji + Emoji + "AB"}},
            // A text set by the program beyond the limit may not grow.
            {"texto do programa além do limite", {"ABCDEFG", 5, 2, 2, "1234", "AB12EFG"}},
        });
    }
    void cortaNoLimite() {
        QFETCH(Colagem, caso);
        TextBox caixa;
        caixa.setMaxLength_(caso.limite);
        caixa.setText_(caso.inicial);
        caixa.show();
        QVERIFY(QTest::qWaitForWindowExposed(&caixa));
        caixa.SetFocus();
        caixa.setSelection(caso.inicio, caso.selecao);
        QGuiApplication::clipboard()->setText(caso.colado);
        QTest::keyClick(&caixa, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(caixa.Text(), caso.esperado);
    }
};

REGISTRA_TESTE(tst_Colar)
#include "tst_Colar.moc"
