#include "support/Registro.h"
#include "platform/Controles.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>
#include <QVBoxLayout>

namespace {
// Types one character as the keyboard does, accents included.
void digita(QWidget* w, const QString& texto) {
    for (QChar c : texto) {
        const Qt::Key k = c.isLetter() && c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode())
                          : c == QLatin1Char('.')           ? Qt::Key_Period
                          : c.isDigit()                     ? Qt::Key(c.unicode())
                                                            : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, w, k, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, k, QString(c), Qt::NoModifier);
    }
}

QStringList itens(const ListBox& l) {
    QStringList r;
    for (int i = 0; i < l.ListCount(); ++i) r << l.List(i);
    return r;
}

// A window with controls that can take the focus.
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
            QCOMPARE(l.List(l.NewIndex()), entrada[i]);
            l.setItemData_(l.NewIndex(), 1000 + i);
        }
        // Case does not count, an accent comes after the plain letter, equal
        // texts stay in the order they came ("e" before "E").
        QCOMPARE(itens(l), (QStringList{"Ábaco", "abelha", "e", "E", "é", "ÉDEN", "édipo", "Eva", "Zebra"}));
        for (int i = 0; i < l.ListCount(); ++i) QCOMPARE(l.ItemData(i), qint64(1000 + entrada.indexOf(l.List(i))));

        // Fixed-width rows keep day and kind order; an unsorted list keeps arrival order.
        ListBox linhas;
        linhas.setSorted(true);
        for (const char* s : {"12 S  ALUGUEL", "03 E  OFERTA", "12 E  DIZIMO", "03 E  ABC"}) linhas.AddItem(s);
        QCOMPARE(itens(linhas), (QStringList{"03 E  ABC", "03 E  OFERTA", "12 E  DIZIMO", "12 S  ALUGUEL"}));
        ListBox solta;
        solta.AddItem("b");
        solta.AddItem("a");
        QCOMPARE(itens(solta), (QStringList{"b", "a"}));
        QCOMPARE(solta.NewIndex(), 1);
    }

    void comparacaoRapidaConcordaComOColador() {
        QCollator c(QLocale(QLocale::Portuguese, QLocale::Brazil));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        const QString alfabeto = QStringLiteral("aAbBzZ09 -.,:/()'&*_#@!$%+=<>?[]{}|~^`\"\\;");
        auto* rng = QRandomGenerator::global();
        auto sorteia = [&] {
            QString s;
            const int n = int(rng->bounded(6));
            for (int i = 0; i < n; ++i) s += alfabeto[int(rng->bounded(alfabeto.size()))];
            return s;
        };
        auto sinal = [](int x) { return (x > 0) - (x < 0); };
        for (int i = 0; i < 20000; ++i) {
            const QString a = sorteia(), b = sorteia();
            QCOMPARE(sinal(Compara_Texto_Lista(a, b)), sinal(c.compare(a, b)));
        }
        // Mixed texts leave the ASCII road and still agree.
        for (const auto& [a, b] : std::vector<std::pair<QString, QString>>{
                 {"ação", "acao"}, {"ACAO", "ação"}, {"Ébano", "Eva"}, {"maçã", "MACA"}, {"ab", "ab\u0301"}})
            QCOMPARE(sinal(Compara_Texto_Lista(a, b)), sinal(c.compare(a, b)));
    }

    void listaGrandeCarregaDepressa() {
        ListBox l;
        l.setSorted(true);
        const QStringList nomes{"JOSÉ", "MARIA", "ANTÔNIO", "JOÃO", "ÂNGELA", "CÉLIA", "ZÉLIA", "OTÁVIO"};
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 5000; ++i)
            l.AddItem(nomes[i % nomes.size()] + QStringLiteral(" DA SILVA ") + QString::number((i * 7919) % 5000));
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed()) + " ms"));
        for (int i = 1; i < l.ListCount(); ++i) QVERIFY(Compara_Texto_Lista(l.List(i - 1), l.List(i)) <= 0);
    }

    void comboItemDataEClick() {
        ComboBox c(nullptr, 0);
        c.setSorted(true);
        int cliques = 0;
        c.Click = [&] { ++cliques; };
        c.setText_("DIGITADO");
        for (const auto& [t, d] : std::vector<std::pair<QString, qint64>>{{"Zeta", 5000000000LL}, {"alfa", -7}, {"Beta", 42}}) {
            c.AddItem(t);
            c.setItemData_(c.NewIndex(), d);
        }
        // Adding items selects none and leaves the typed text alone.
        QCOMPARE(c.ListIndex(), -1);
        QCOMPARE(c.Text(), QString("DIGITADO"));
        QCOMPARE(c.List(0), QString("alfa"));
        QCOMPARE(c.ItemData(2), 5000000000LL);
        QCOMPARE(c.ItemData(0), -7LL);
        QCOMPARE(cliques, 0);

        c.setListIndex(1);
        QCOMPARE(cliques, 1);
        QCOMPARE(c.Text(), QString("Beta"));
        c.setListIndex(-1);  // clearing is not a selection
        QCOMPARE(cliques, 1);
        QCOMPARE(c.ListIndex(), -1);
        QCOMPARE(c.Text(), QString("Beta"));

        c.setText_("OUTRO");  // an edit text selects nothing
        QCOMPARE(c.ListIndex(), -1);
        QCOMPARE(cliques, 1);

        // The user choosing with the arrow key is a Click too.
        QTest::keyClick(&c, Qt::Key_Down);
        QCOMPARE(cliques, 2);
        QVERIFY(c.ListIndex() >= 0);

        QVERIFY_THROWS_EXCEPTION(ErroExecucao, c.ItemData(3));
        c.Clear();
        QCOMPARE(c.ListCount(), 0);
        QCOMPARE(c.Text(), QString());
    }

    void comboSoLista() {
        ComboBox c(nullptr, 2);
        int cliques = 0;
        c.Click = [&] { ++cliques; };
        c.AddItem("JANEIRO");
        c.AddItem("FEVEREIRO");
        QCOMPARE(c.ListIndex(), -1);
        QCOMPARE(c.Text(), QString());
        c.setText_("fevereiro");
        QCOMPARE(c.ListIndex(), 1);
        QCOMPARE(cliques, 1);
        c.setText_("MARÇO");
        QCOMPARE(c.ListIndex(), -1);
        QCOMPARE(c.Text(), QString());
    }

    void teclasPassamPeloKeyPress() {
        Janela j;
        auto* t = j.poe<TextBox>();
        auto* c = j.poe<ComboBox>(nullptr, 0);
        QVERIFY(j.mostra());
        QList<int> vistos;
        // As the value boxes do: "." becomes ",", letters go up, digits "9" are refused.
        EventoTecla filtro = [&](int& k) {
            vistos << k;
            if (k == 46) k = 44;
            else if (k == '9') k = 0;
            else if (k != 8) k = Codigo_Ansi(Caractere_Ansi(k).toUpper());
        };
        t->KeyPress = filtro;
        t->setFocus();
        digita(t, QStringLiteral("aç.9é1"));
        QCOMPARE(t->Text(), QStringLiteral("AÇ,É1"));
        QCOMPARE(vistos, (QList<int>{'a', 0xE7, '.', '9', 0xE9, '1'}));

        // Backspace reaches KeyPress as 8; Delete does not, it is a KeyDown 46.
        vistos.clear();
        QList<int> baixo, cima;
        t->KeyDown = [&](int& k, int) { baixo << k; };
        t->KeyUp = [&](int& k, int) { cima << k; };
        QTest::keyClick(t, Qt::Key_Backspace);
        QTest::keyClick(t, Qt::Key_Home);
        QTest::keyClick(t, Qt::Key_Delete);
        QCOMPARE(t->Text(), QStringLiteral("Ç,É"));
        QCOMPARE(vistos, (QList<int>{8}));
        QCOMPARE(baixo, (QList<int>{8, 36, 46}));
        QCOMPARE(cima, (QList<int>{8, 36, 46}));
        // A typed "." must not look like Delete to the key-code events.
        cima.clear();
        QTest::keyClick(t, Qt::Key_End);
        cima.clear();
        digita(t, QStringLiteral("."));
        QCOMPARE(cima, (QList<int>{190}));

        // A handler that swallows Backspace keeps the text whole.
        t->KeyPress = [](int& k) { if (k == 8) k = 0; };
        QTest::keyClick(t, Qt::Key_Backspace);
        QCOMPARE(t->Text(), QStringLiteral("Ç,É,"));

        // A paste is not typing: it reaches the box as it is, past the filter.
        int chamadas = 0;
        t->KeyPress = [&](int& k) { ++chamadas; k = 0; };
        t->setText_("");
        QGuiApplication::clipboard()->setText("1.5");
        QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(t->Text(), QStringLiteral("1.5"));
        QCOMPARE(chamadas, 0);

        // The combo's typed text goes through the same road.
        c->KeyPress = filtro;
        c->setFocus();
        digita(c, QStringLiteral("ção"));
        QCOMPARE(c->Text(), QStringLiteral("ÇÃO"));
    }

    void limiteDeTamanho() {
        Janela j;
        auto* t = j.poe<TextBox>();
        QVERIFY(j.mostra());
        QCOMPARE(t->MaxLength(), 0);
        t->setMaxLength_(3);
        t->setFocus();
        digita(t, QStringLiteral("ABCDE"));
        QCOMPARE(t->Text(), QStringLiteral("ABC"));
        // A longer text set by the program stays whole; it can shrink, not grow.
        t->setText_("123456");
        QCOMPARE(t->Text(), QStringLiteral("123456"));
        QTest::keyClick(t, Qt::Key_End);
        digita(t, QStringLiteral("7"));
        QCOMPARE(t->Text(), QStringLiteral("123456"));
        QTest::keyClick(t, Qt::Key_Backspace);
        QCOMPARE(t->Text(), QStringLiteral("12345"));
        t->setMaxLength_(0);
        digita(t, QStringLiteral("67"));
        QCOMPARE(t->Text(), QStringLiteral("1234567"));
        t->setLocked(true);
        digita(t, QStringLiteral("8"));
        QCOMPARE(t->Text(), QStringLiteral("1234567"));
    }

    void lostFocusSemMudarOTexto() {
        Janela j;
        auto* a = j.poe<TextBox>();
        auto* b = j.poe<TextBox>();
        auto* c = j.poe<ComboBox>(nullptr, 0);
        QVERIFY(j.mostra());
        int perdeu = 0, perdeuCombo = 0;
        a->setText_("12");
        a->LostFocus = [&] { ++perdeu; };
        c->LostFocus = [&] { ++perdeuCombo; };
        a->SetFocus();
        QVERIFY(a->hasFocus());
        b->SetFocus();
        QCOMPARE(perdeu, 1);
        a->SetFocus();
        QTest::keyClick(a, Qt::Key_Tab);
        QCOMPARE(perdeu, 2);
        c->SetFocus();
        b->SetFocus();
        QCOMPARE(perdeuCombo, 1);

        // Typing the text of an item does not choose it behind the user's back.
        int cliques = 0;
        c->Click = [&] { ++cliques; };
        c->AddItem("ABC");
        c->SetFocus();
        digita(c, QStringLiteral("ABC"));
        QTest::keyClick(c, Qt::Key_Return);
        b->SetFocus();
        QCOMPARE(c->Text(), QStringLiteral("ABC"));
        QCOMPARE(c->ListIndex(), -1);
        QCOMPARE(cliques, 0);
        QCOMPARE(c->ListCount(), 1);
    }

    void listaEventos() {
        Janela j;
        auto* l = j.poe<ListBox>();
        QVERIFY(j.mostra());
        for (const char* s : {"UM", "DOIS", "TRES"}) l->AddItem(s);
        int cliques = 0, duplos = 0;
        QList<int> cima;
        l->Click = [&] { ++cliques; };
        l->DblClick = [&] { ++duplos; };
        l->KeyUp = [&](int& k, int) { cima << k; };
        QCOMPARE(l->ListIndex(), -1);
        l->setListIndex(1);
        QCOMPARE(cliques, 1);
        QCOMPARE(l->ListIndex(), 1);
        const QRect r = l->visualItemRect(l->item(2));
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(l->ListIndex(), 2);
        QCOMPARE(cliques, 2);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(duplos, 1);
        l->SetFocus();
        QTest::keyClick(l, Qt::Key_Delete);
        QCOMPARE(cima, (QList<int>{46}));

        // Removing the selected row leaves none selected; adding rows is no Click.
        l->RemoveItem(l->ListIndex());
        QCOMPARE(l->ListIndex(), -1);
        l->setListIndex(0);
        cliques = 0;
        l->setSorted(true);
        l->AddItem("A");
        QCOMPARE(cliques, 0);
        QCOMPARE(l->List(l->ListIndex()), QString("UM"));
        QCOMPARE(l->List(99), QString());
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, l->ItemData(99));
    }

    void opcoesPodemFicarTodasDesmarcadas() {
        Janela j;
        auto* a = j.poe<OptionButton>("&Ofertas");
        auto* b = j.poe<OptionButton>("&Dízimos");
        int cliquesA = 0, cliquesB = 0;
        a->Click = [&] { ++cliquesA; };
        b->Click = [&] { ++cliquesB; };
        a->setValue(true);
        QCOMPARE(cliquesA, 1);
        b->setValue(true);
        QVERIFY(!a->Value());
        QCOMPARE(cliquesB, 1);
        b->setValue(false);
        QVERIFY(!a->Value() && !b->Value());
        QCOMPARE(cliquesA + cliquesB, 2);
        // Still exclusive afterwards.
        a->setValue(true);
        b->setValue(true);
        QVERIFY(!a->Value() && b->Value());

        QVERIFY(j.mostra());
        int pressionou = 0;
        a->MouseDown = [&] {
            ++pressionou;
            QVERIFY(b->Value());  // runs while the previous option is still the chosen one
        };
        QTest::mouseClick(a, Qt::LeftButton, {}, QPoint(5, a->height() / 2));
        QCOMPARE(pressionou, 1);
        QVERIFY(a->Value());

        a->setForeColor(QColor(255, 255, 0));
        QCOMPARE(a->ForeColor(), QColor(255, 255, 0));
        Label rotulo("Saldo");
        rotulo.setForeColor(Qt::black);
        QCOMPARE(rotulo.ForeColor(), QColor(Qt::black));
        TextBox saldo;
        saldo.setForeColor(QColor(255, 255, 0));
        QCOMPARE(saldo.ForeColor(), QColor(255, 255, 0));
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
