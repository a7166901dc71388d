#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"
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
        ListBox l;
        l.setSorted(true);
        const QStringList entrada{"ÉDEN", "abelha", "Zebra", "Ábaco", "Eva", "édipo", "e", "é", "E"};
        for (int i = 0; i < entrada.size(); ++i) {
            l.AddItem(entrada[i]);
            l.setItemData_(l.NewIndex(), i);
        }
        // Case does not count, an accent comes after the plain letter, equal
        // texts stay in the order they came ("e" before "E"); data follow their rows.
        QCOMPARE(Linhas(&l), (QStringList{"Ábaco", "abelha", "e", "E", "é", "ÉDEN", "édipo", "Eva", "Zebra"}));
        QList<qint64> dados;
        for (int i = 0; i < l.ListCount(); ++i) dados << l.ItemData(i);
        QCOMPARE(dados, (QList<qint64>{3, 1, 6, 8, 7, 0, 5, 4, 2}));
    }

    void blocoComoUmAUm_data() {
        QTest::addColumn<bool>("ordenada");
        QTest::newRow("ordenada") << true;
        QTest::newRow("na ordem de chegada") << false;
    }
    void blocoComoUmAUm() {
        // Blocks, into an empty list and then among its rows, end where one
        // AddItem each would have put them, equal texts and data included.
        QFETCH(bool, ordenada);
        QRandomGenerator g = Gerador_Semeado();
        const QStringList pecas{"a", "A", "á", "b", "É", "e", " ", "0", "ç"};
        ListBox umAUm, blocos;
        umAUm.setSorted(ordenada);
        blocos.setSorted(ordenada);
        qint64 dado = 0;
        for (int bloco = 0; bloco < 6; ++bloco) {
            QStringList textos;
            for (int k = int(g.bounded(40)); k > 0; --k) {
                QString t;
                for (int n = int(g.bounded(1, 4)); n > 0; --n) t += pecas[int(g.bounded(int(pecas.size())))];
                textos << t;
            }
            for (const QString& t : textos) {
                umAUm.AddItem(t);
                umAUm.setItemData_(umAUm.NewIndex(), dado++);
            }
            const qint64 primeiro = dado - textos.size();
            blocos.AddItems(textos, [&](QListWidgetItem* it, qsizetype k) { it->setData(ListBox::PapelItemData, qlonglong(primeiro + k)); });
            if (!textos.isEmpty()) QCOMPARE(blocos.NewIndex(), umAUm.NewIndex());
        }
        QCOMPARE(Linhas(&blocos), Linhas(&umAUm));
        for (int i = 0; i < umAUm.ListCount(); ++i) QCOMPARE(blocos.ItemData(i), umAUm.ItemData(i));
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
        QCOMPARE(c.Text(), QString("DIGITADO"));
        QCOMPARE(c.ListIndex(), -1);
        QCOMPARE(c.ItemData(2), 5000000000LL);
        c.setListIndex(1);
        QCOMPARE(c.Text(), QString("Beta"));
        QCOMPARE(cliques, 1);
        c.setListIndex(-1);   // clearing is not a selection
        c.setText_("OUTRO");  // nor is an edit text
        QTest::keyClick(&c, Qt::Key_Down);  // the user choosing with the arrow key is a Click
        QCOMPARE(cliques, 2);
    }

    void teclasEMaxLength() {
        Janela j;
        auto* t = j.poe<TextBox>();
        auto* m = j.poe<TextBox>();
        QVERIFY(j.mostra());
        QList<int> vistos, baixo;
        // As the value boxes do: "." becomes ",", letters go up, digits "9" are refused.
        t->KeyPress = [&](int& k) {
            vistos << k;
            if (k == 46) k = 44;
            else if (k == '9') k = 0;
            else if (k != 8) k = Codigo_Ansi(Caractere_Ansi(k).toUpper());
        };
        Digita(t, "aç.9é1");
        QCOMPARE(t->Text(), QString("AÇ,É1"));
        // Backspace reaches KeyPress as 8; Delete does not, it is a KeyDown 46,
        // which a typed "." must not look like.
        vistos.clear();
        t->KeyDown = [&](int& k, int) { baixo << k; };
        for (Qt::Key k : {Qt::Key_Backspace, Qt::Key_Home, Qt::Key_Delete}) QTest::keyClick(t, k);
        Digita(t, ".");
        QCOMPARE(t->Text(), QString(",Ç,É"));
        QCOMPARE(vistos, (QList<int>{8, 46}));
        QCOMPARE(baixo, (QList<int>{8, 36, 46, 190}));

        m->setMaxLength_(3);
        Digita(m, "ABCDE");
        QCOMPARE(m->Text(), QString("ABC"));
        // A longer text set by the program stays whole; it can shrink, not grow.
        m->setText_("123456");
        QTest::keyClick(m, Qt::Key_End);
        Digita(m, "7");
        QTest::keyClick(m, Qt::Key_Backspace);
        QCOMPARE(m->Text(), QString("12345"));
    }

    // The bidirectional embedding, override and isolate controls never
    // reach a box, whichever way they come and whether or not the box has
    // a KeyPress: typed one by one or with letters in one key, pasted in
    // each way, or committed by an input method. Other format characters
    // (an emoji's joiner) stay.
    void controlesBidi_data() {
        QTest::addColumn<int>("caixa");
        QTest::addColumn<int>("como");
        const char* const caixas[] = {"caixa com KeyPress", "caixa sem KeyPress", "combo com KeyPress"};
        const char* const modos[] = {"digitado", "numa tecla com letras", "Ctrl+V", "Colar", "soltando", "método de entrada"};
        for (int c = 0; c < 3; ++c)
            for (int m = 0; m < 6; ++m) QTest::newRow(qPrintable(QString("%1, %2").arg(caixas[c], modos[m]))) << c << m;
    }
    void controlesBidi() {
        QFETCH(int, caixa);
        QFETCH(int, como);
        const QString familia = QString::fromUcs4(U"\U0001F468\u200D\U0001F469");
        const QString texto = QString::fromUtf16(u"0005 - \u202Aa\u202Bb\u202Cc\u202Dd\u202Ee \u2066f\u2067g\u2068h\u2069 ") + familia;
        Janela j;
        QWidget* w = nullptr;
        TextBox* t = nullptr;
        ComboBox* c = nullptr;
        if (caixa == 2) w = c = j.poe<ComboBox>(nullptr, 0);
        else w = t = j.poe<TextBox>();
        QVERIFY(j.mostra());
        const EventoTecla maiusculas = [](int& k) {
            if (k != 8) k = Codigo_Ansi(Caractere_Ansi(k).toUpper());
        };
        if (t && caixa == 0) t->KeyPress = maiusculas;
        if (c) c->KeyPress = maiusculas;
        switch (como) {
        case 0: Digita(w, texto); break;
        case 1:
            w->setFocus(Qt::OtherFocusReason);
            QTest::sendKeyEvent(QTest::Press, w, Qt::Key_unknown, texto, Qt::NoModifier);
            break;
        case 2: Cola(w, texto, Como_Cola::Teclado); break;
        case 3: Cola(w, texto, Como_Cola::Menu); break;
        case 4: Cola(w, texto, Como_Cola::Soltando); break;
        default: {
            w->setFocus(Qt::OtherFocusReason);
            QInputMethodEvent entrada;
            entrada.setCommitString(texto);
            QApplication::sendEvent(w, &entrada);
        }
        }
        const QString esperado = (caixa == 1 ? QString("0005 - abcde fgh ") : QString("0005 - ABCDE FGH ")) + familia;
        QCOMPARE(t ? t->Text() : c->Text(), esperado);
    }

    void focoEOpcoes() {
        Janela j;
        auto* a = j.poe<TextBox>();
        auto* b = j.poe<TextBox>();
        auto* c = j.poe<ComboBox>(nullptr, 0);
        auto* oa = j.poe<OptionButton>("&Ofertas");
        auto* ob = j.poe<OptionButton>("&Dízimos");
        QVERIFY(j.mostra());
        int perdeu = 0, perdeuCombo = 0, cliques = 0, opcoes = 0;
        a->setText_("12");  // an unchanged text loses its focus all the same
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
        QCOMPARE(c->ListIndex(), -1);
        QCOMPARE(c->ListCount(), 1);
        QCOMPARE(cliques, 0);
        QCOMPARE(c->Text(), QString("ABC"));

        // Options can all be cleared; setting one is its Click, clearing is not.
        oa->Click = ob->Click = [&] { ++opcoes; };
        oa->setValue(true);
        ob->setValue(true);
        ob->setValue(false);
        QCOMPARE((QList<bool>{oa->Value(), ob->Value()}), (QList<bool>{false, false}));
        QCOMPARE(opcoes, 2);
        ob->setValue(true);
        QTest::mouseClick(oa, Qt::LeftButton, {}, QPoint(5, oa->height() / 2));
        QCOMPARE((QList<bool>{oa->Value(), ob->Value()}), (QList<bool>{true, false}));  // still exclusive
    }
};

REGISTRA_TESTE(tst_Controles)
#include "tst_Controles.moc"
