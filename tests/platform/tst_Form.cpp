#include "support/Registro.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {
// Lets deleteLater() take effect, as returning to the main loop would.
void esvazia() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

class Cadastro : public Form {
    Q_OBJECT
public:
    Cadastro() : Form("Cadastro", true) { setTamanhoCliente(6000, 3000); }
    int cargas = 0, ativacoes = 0, descargas = 0;
    int recusa = 0;
    TextBox* TxtDia = new TextBox(this);
    TextBox* TxtValor = new TextBox(this);
    void Form_Load() override { ++cargas; }
    void Form_Activate() override { ++ativacoes; }
    void Form_Unload(int& Cancel) override {
        ++descargas;
        Cancel = recusa;
    }
};

class Agenda : public Form {
    Q_OBJECT
public:
    Agenda() : Form("Agenda", true) { setTamanhoCliente(5000, 2000); }
    TextBox* TxtDia = new TextBox(this);
    int ativacoes = 0;
    void Form_Activate() override { ++ativacoes; }
};

class Janela : public Form {
    Q_OBJECT
public:
    explicit Janela(const QString& nome) : Form(nome, false) { resize(300, 200); }
    int ativacoes = 0;
    std::function<void()> aoAtivar;
    void Form_Activate() override {
        ++ativacoes;
        if (aoAtivar) aoAtivar();
    }
};

class Principal : public Form {
    Q_OBJECT
public:
    Principal() : Form("Principal", false) {
        area = new QMdiArea(this);
        resize(1000, 700);
        area->setGeometry(0, 0, 1000, 700);
    }
    QMdiArea* area;
};
}  // namespace

class tst_Form : public QObject {
    Q_OBJECT
    Principal* principal = nullptr;

private slots:
    void init() {
        Roteiro::Instala();
        principal = new Principal;
        Form::DefineAreaMdi(principal->area);
        principal->Show();
        QVERIFY(QTest::qWaitForWindowActive(principal));
    }
    void cleanup() {
        for (Form* f : Form::Existentes())
            if (f != principal) f->Unload();
        principal->Unload();
        esvazia();
        QVERIFY(Form::Existentes().empty());
        QVERIFY2(!Roteiro::HouveInesperada(), "uma caixa de mensagem inesperada");
        Roteiro::Remove();
    }

    void umaInstanciaPorClasse() {
        auto* c = Form::Instancia<Cadastro>();
        QCOMPARE(Form::Instancia<Cadastro>(), c);
        QVERIFY(!c->Loaded());
        QCOMPARE(Form::Procura("Cadastro"), nullptr);  // made, not loaded
        c->Show();
        c->Show();
        QCOMPARE(c->cargas, 1);
        auto* a = Form::Instancia<Agenda>();
        a->Show();
        QCOMPARE(Form::Forms(), (std::vector<Form*>{principal, c, a}));
        QCOMPARE(Form::Procura("Agenda"), a);
        QCOMPARE(principal->area->subWindowList().size(), 2);

        // After an unload the next use makes a fresh form and loads it again.
        QVERIFY(c->Unload());
        QCOMPARE(Form::Procura("Cadastro"), nullptr);
        auto* outro = Form::Instancia<Cadastro>();
        outro->Show();
        QCOMPARE(outro->cargas, 1);
        esvazia();
        QCOMPARE(Form::Existentes().size(), size_t(3));
    }

    void descargaQuePodeSerRecusada() {
        QPointer<Cadastro> c = Form::Instancia<Cadastro>();
        c->Show();
        c->recusa = 1;
        QVERIFY(!c->Unload());
        QVERIFY(c->Loaded());
        // The close box of the MDI frame takes the same road.
        QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(c->Moldura());
        QVERIFY(sub);
        sub->close();
        esvazia();
        QVERIFY(c);
        QVERIFY(sub->isVisible());
        QCOMPARE(c->descargas, 2);
        c->recusa = 0;
        sub->close();
        esvazia();
        QVERIFY(!c);
        QCOMPARE(Form::Procura("Cadastro"), nullptr);
    }

    void alturaEmTwipsExata() {
        auto* c = Form::Instancia<Cadastro>();
        c->Show();
        c->setHeight(3050);
        QCOMPARE(c->Height(), 3050);
        // The closing effect: from the height down by 100 twips while not below 0.
        QList<int> alturas;
        for (int h = c->Height(); h >= 0; h -= 100) {
            c->setHeight(h);
            alturas << c->Height();
            DoEvents();
        }
        QCOMPARE(alturas.first(), 3050);
        QCOMPARE(alturas.last(), 50);
        QCOMPARE(alturas.size(), 31);

        // Place in twips is the MDI frame's, inside the main window's working area.
        c->setLeft(1500);
        c->setTop(100);
        c->setWidth(4005);
        QCOMPARE(c->Left(), 1500);
        QCOMPARE(c->Top(), 100);
        QCOMPARE(c->Width(), 4005);
        QCOMPARE(c->Moldura()->x(), Twips::ParaPixelX(1500));
        // A size changed some other way reads back from the pixels.
        c->Moldura()->resize(200, 150);
        QCOMPARE(c->Height(), Twips::DePixelY(150));
        QCOMPARE(c->Width(), Twips::DePixelX(200));
    }

    void tamanhoDoClienteEDoQuadro() {
        auto* a = Form::Instancia<Agenda>();
        a->Show();
        // The design size is the inside; the outside adds the MDI frame.
        QCOMPARE(a->size(), QSize(Twips::ParaPixelX(5000), Twips::ParaPixelY(2000)));
        QVERIFY(a->Width() > 5000);
        QVERIFY(a->Height() > 2000);
    }

    void ativacaoEntreJanelas() {
        auto& a = *new Janela("A");
        a.Show();
        QVERIFY(QTest::qWaitForWindowActive(&a));
        QTRY_COMPARE(a.ativacoes, 1);
        QCOMPARE(Ativacao::UltimaAtiva(), &a);

        // A modal form shown and closed: A becomes the active form again once.
        QPointer<Janela> b = new Janela("B");
        QTimer::singleShot(0, b, [&] {
            QVERIFY(QTest::qWaitForWindowActive(b));
            QTRY_COMPARE(b->ativacoes, 1);
            b->Unload();
        });
        b->ShowModal();
        QVERIFY(QTest::qWaitForWindowActive(&a));
        QTRY_COMPARE(a.ativacoes, 2);
        QTest::qWait(50);
        QCOMPARE(a.ativacoes, 2);

        // A message box is not a form: closing it activates nothing.
        Roteiro::Remove();
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
            QTRY_VERIFY(QApplication::activeWindow() == QApplication::activeModalWidget());
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        QCOMPARE(MsgBox("Gravado.", vbInformation), int(vbOK));
        Roteiro::Instala();
        QVERIFY(QTest::qWaitForWindowActive(&a));
        QTest::qWait(50);
        QCOMPARE(a.ativacoes, 2);

        // Coming back from another window that is not the program's is no
        // activation either (a plain window stands in for another program).
        QWidget outra;
        outra.show();
        outra.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&outra));
        a.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&a));
        QTest::qWait(50);
        QCOMPARE(a.ativacoes, 2);
        a.Unload();
    }

    void ativacaoDeFilhas() {
        auto* c = Form::Instancia<Cadastro>();
        auto* a = Form::Instancia<Agenda>();
        c->Show();
        QTRY_COMPARE(c->ativacoes, 1);
        a->Show();
        QTRY_COMPARE(a->ativacoes, 1);
        c->Show();  // brought forward: active again after another child
        QTRY_COMPARE(c->ativacoes, 2);
        // The main window losing and regaining the focus changes no child.
        Roteiro::Remove();
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        MsgBox("Aviso", vbOKOnly);
        Roteiro::Instala();
        QTest::qWait(50);
        QCOMPARE(c->ativacoes, 2);
        // Closing the active child activates the one left.
        c->Unload();
        QTRY_COMPARE(a->ativacoes, 2);
    }

    void controleAtivo() {
        auto* c = Form::Instancia<Cadastro>();
        c->Show();
        c->TxtValor->SetFocus();
        QCOMPARE(c->ActiveControl(), c->TxtValor);
        QCOMPARE(principal->ActiveControl(), c->TxtValor);
        // Each form keeps its own active control while another one has the focus.
        auto* a = Form::Instancia<Agenda>();
        a->Show();
        a->TxtDia->SetFocus();
        QCOMPARE(a->ActiveControl(), a->TxtDia);
        QCOMPARE(c->ActiveControl(), c->TxtValor);
    }

    void focoQueVaiParaOutroFormNaoEhLostFocus() {
        auto* c = Form::Instancia<Cadastro>();
        auto* a = Form::Instancia<Agenda>();
        int perdeu = 0;
        c->TxtDia->LostFocus = [&] { ++perdeu; };
        c->Show();
        a->Show();
        c->Show();
        c->TxtDia->SetFocus();
        QVERIFY(c->TxtDia->hasFocus());
        // The user clicks into another child: the field keeps its place in its form.
        a->Show();
        a->TxtDia->SetFocus();
        QVERIFY(a->TxtDia->hasFocus());
        QCOMPARE(perdeu, 0);
        c->Show();
        c->TxtDia->SetFocus();
        c->TxtValor->SetFocus();
        QCOMPARE(perdeu, 1);
    }

    void modalTerminaAoEsconder() {
        auto& d = *new Janela("Login");
        QTimer::singleShot(0, &d, [&] { d.Hide(); });
        d.ShowModal();
        QVERIFY(d.Loaded());
        QVERIFY(!d.isVisible());
        // A modal form whose own load unloads it does not wait at all.
        struct Some : Form {
            Some() : Form("Some", false) {}
            void Form_Load() override { Unload(); }
        };
        QPointer<Some> s = new Some;
        s->ShowModal();
        esvazia();
        QVERIFY(!s);
        d.Unload();
    }
};

REGISTRA_TESTE(tst_Form)
#include "tst_Form.moc"
