#include "support/Interacao.h"
#include "support/Registro.h"
#include "platform/Controles.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QVBoxLayout>

namespace {
// A shown window whose controls can take the focus.
struct Janela {
    QWidget w;
    QVBoxLayout* l = new QVBoxLayout(&w);
    template <class T, class... A>
    T* poe(A&&... a) {
        auto* c = new T(std::forward<A>(a)...);
        l->addWidget(c);
        return c;
    }
    bool mostra() {
        w.show();
        w.activateWindow();
        return QTest::qWaitForWindowActive(&w);
    }
};
}  // namespace

class tst_Controles : public QObject {
    Q_OBJECT
private slots:
    void init() { Roteiro::Instala(); }
    void cleanup() {
        QVERIFY2(!Roteiro::HouveInesperada(), "uma caixa de mensagem inesperada");
        Roteiro::Remove();
    }

    void listaOrdenadaEmPortugues() {
        ListBox l, linhas, solta;
        l.setSorted(true);
        linhas.setSorted(true);
        const QStringList entrada{"ÉDEN", "abelha", "Zebra", "Ábaco", "Eva", "édipo", "e", "é", "E"};
        for (int i = 0; i < entrada.size(); ++i) {
            l.AddItem(entrada[i]);
            l.setItemData_(l.NewIndex(), 1000 + i);
        }
        // Case does not count, an accent comes after the plain letter, equal
        // texts stay in the order they came ("e" before "E"); data follow their rows.
        QCOMPARE(Linhas(&l), (QStringList{"Ábaco", "abelha", "e", "E", "é", "ÉDEN", "édipo", "Eva", "Zebra"}));
        for (int i = 0; i < l.ListCount(); ++i) QCOMPARE(l.ItemData(i), qint64(1000 + entrada.indexOf(l.List(i))));
        // Fixed-width rows keep day and kind order; an unsorted list keeps arrival order.
        for (const char* s : {"12 S  ALUGUEL", "03 E  OFERTA", "12 E  DIZIMO", "03 E  ABC"}) linhas.AddItem(s);
        QCOMPARE(Linhas(&linhas), (QStringList{"03 E  ABC", "03 E  OFERTA", "12 E  DIZIMO", "12 S  ALUGUEL"}));
        solta.AddItem("b");
        solta.AddItem("a");
        QCOMPARE(Linhas(&solta), (QStringList{"b", "a"}));
    }

    void comboItemDataEClick() {
        ComboBox c(nullptr, 0);
        c.setSorted(true);
        int cliques = 0;
        c.Click = [&] { ++cliques; };
        c.setText_("DIGITADO");
        for (const auto& [t, d] : {std::pair{"Zeta", 5000000000LL}, {"alfa", -7LL}, {"Beta", 42LL}}) {
            c.AddItem(t);
            c.setItemData_(c.NewIndex(), d);
        }
        // Adding items selects none and leaves the typed text alone.
        QCOMPARE(c.ListIndex(), -1);
        QCOMPARE(c.Text(), QString("DIGITADO"));
        QCOMPARE(c.ItemData(2), 5000000000LL);
        c.setListIndex(1);
        QCOMPARE(c.Text(), QString("Beta"));
        QCOMPARE(cliques, 1);
        c.setListIndex(-1);   // clearing is not a selection
        c.setText_("OUTRO");  // nor is an edit text
        QCOMPARE(cliques, 1);
        QCOMPARE(c.ListIndex(), -1);
        QTest::keyClick(&c, Qt::Key_Down);  // the user choosing with the arrow key is a Click
        QCOMPARE(cliques, 2);
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, c.ItemData(3));
    }

    void teclasPassamPeloKeyPress() {
        Janela j;
        auto* t = j.poe<TextBox>();
        QVERIFY(j.mostra());
        QList<int> vistos, baixo, cima;
        // As the value boxes do: "." becomes ",", letters go up, digits "9" are refused.
        t->KeyPress = [&](int& k) {
            vistos << k;
            if (k == 46) k = 44;
            else if (k == '9') k = 0;
            else if (k != 8) k = Codigo_Ansi(Caractere_Ansi(k).toUpper());
        };
        Digita(t, "aç.9é1");
        QCOMPARE(t->Text(), QString("AÇ,É1"));
        QCOMPARE(vistos, (QList<int>{'a', 0xE7, '.', '9', 0xE9, '1'}));

        // Backspace reaches KeyPress as 8; Delete does not, it is a KeyDown 46.
        vistos.clear();
        t->KeyDown = [&](int& k, int) { baixo << k; };
        t->KeyUp = [&](int& k, int) { cima << k; };
        for (Qt::Key k : {Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete}) QTest::keyClick(t, k);
        QCOMPARE(t->Text(), QString("Ç,É"));
        QCOMPARE(vistos, (QList<int>{8}));
        QCOMPARE(baixo, (QList<int>{8, 36, 46}));
        QCOMPARE(cima, (QList<int>{8, 36, 46}));
        // A typed "." must not look like Delete to the key-code events.
        QTest::keyClick(t, Qt::Key_End);
        cima.clear();
        Digita(t, ".");
        QCOMPARE(cima, (QList<int>{190}));

        // A handler that swallows Backspace keeps the text whole; a paste is not typing.
        t->KeyPress = [](int& k) { k = 0; };
        QTest::keyClick(t, Qt::Key_Backspace);
        QCOMPARE(t->Text(), QString("Ç,É,"));
        QGuiApplication::clipboard()->setText("1.5");
        QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(t->Text(), QString("Ç,É,1.5"));
    }

    void limiteDeTamanho() {
        Janela j;
        auto* t = j.poe<TextBox>();
        QVERIFY(j.mostra());
        t->setMaxLength_(3);
        Digita(t, "ABCDE");
        QCOMPARE(t->Text(), QString("ABC"));
        // A longer text set by the program stays whole; it can shrink, not grow.
        t->setText_("123456");
        QCOMPARE(t->Text(), QString("123456"));
        QTest::keyClick(t, Qt::Key_End);
        Digita(t, "7");
        QTest::keyClick(t, Qt::Key_Backspace);
        QCOMPARE(t->Text(), QString("12345"));
        t->setLocked(true);
        t->setMaxLength_(0);
        Digita(t, "8");
        QCOMPARE(t->Text(), QString("12345"));
    }

    void lostFocusSemMudarOTexto() {
        Janela j;
        auto* a = j.poe<TextBox>();
        auto* b = j.poe<TextBox>();
        auto* c = j.poe<ComboBox>(nullptr, 0);
        QVERIFY(j.mostra());
        int perdeu = 0, perdeuCombo = 0, cliques = 0;
        a->setText_("12");
        a->LostFocus = [&] { ++perdeu; };
        c->LostFocus = [&] { ++perdeuCombo; };
        c->Click = [&] { ++cliques; };
        c->KeyPress = [](int& k) { k = Codigo_Ansi(Caractere_Ansi(k).toUpper()); };  // typed text is filtered too
        a->SetFocus();
        b->SetFocus();
        a->SetFocus();
        QTest::keyClick(a, Qt::Key_Tab);
        QCOMPARE(perdeu, 2);
        // Typing the text of an item does not choose it behind the user's back.
        c->AddItem("ABC");
        Digita(c, "abc");
        QTest::keyClick(c, Qt::Key_Return);
        b->SetFocus();
        QCOMPARE(perdeuCombo, 1);
        QCOMPARE(c->Text(), QString("ABC"));
        QCOMPARE(c->ListIndex(), -1);
        QCOMPARE(c->ListCount(), 1);
        QCOMPARE(cliques, 0);
    }

    void listaEOpcoes() {
        Janela j;
        auto* l = j.poe<ListBox>();
        auto* a = j.poe<OptionButton>("&Ofertas");
        auto* b = j.poe<OptionButton>("&Dízimos");
        QVERIFY(j.mostra());
        for (const char* s : {"UM", "DOIS", "TRES"}) l->AddItem(s);
        int cliques = 0, duplos = 0, opcoes = 0, pressionou = 0;
        l->Click = [&] { ++cliques; };
        l->DblClick = [&] { ++duplos; };
        const QPoint p = l->visualItemRect(l->item(2)).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, p);
        QCOMPARE(QList<int>({l->ListIndex(), cliques, duplos}), QList<int>({2, 1, 1}));
        // Removing the selected row leaves none selected; adding rows is no Click.
        l->RemoveItem(l->ListIndex());
        QCOMPARE(l->ListIndex(), -1);
        l->setListIndex(0);
        l->setSorted(true);
        l->AddItem("A");
        QCOMPARE(cliques, 2);
        QCOMPARE(l->List(l->ListIndex()), QString("UM"));

        // Options can all be cleared; setting one is its Click, clearing is not.
        a->Click = b->Click = [&] { ++opcoes; };
        a->setValue(true);
        b->setValue(true);
        b->setValue(false);
        QVERIFY(!a->Value() && !b->Value());
        QCOMPARE(opcoes, 2);
        b->setValue(true);
        a->MouseDown = [&] {
            ++pressionou;
            QVERIFY(b->Value());  // runs while the previous option is still the chosen one
        };
        QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, a->height() / 2));
        QCOMPARE(pressionou, 1);
        QVERIFY(a->Value() && !b->Value());  // still exclusive
    }

    void erroQueEscapaDoEventoEhMostrado() {
        CommandButton b("&Grava");
        b.Click = [] { Levanta_Erro(3022, "Chave duplicada"); };
        Roteiro::Responde(vbOK);
        b.click();  // must not unwind into the event loop
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].prompt, QString("Chave duplicada"));
        QVERIFY(Roteiro::Caixas()[0].titulo.contains("3022"));
    }
};

REGISTRA_TESTE(tst_Controles)
#include "tst_Controles.moc"
