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

// Shows a real message box, closed with Escape once it is the active window.
void caixaReal(const QString& texto) {
    Roteiro::Remove();
    QTimer::singleShot(0, [] {
        QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
        QTRY_VERIFY(QApplication::activeWindow() == QApplication::activeModalWidget());
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
    });
    MsgBox(texto, vbInformation);
    Roteiro::Instala();
    QTest::qWait(50);
}

class Filha : public Form {
public:
    Filha(const QString& nome, bool mdi) : Form(nome, mdi) { setTamanhoCliente(5000, 2000); }
    int cargas = 0, ativacoes = 0, descargas = 0, recusa = 0;
    TextBox* TxtDia = new TextBox(this);
    TextBox* TxtValor = new TextBox(this);
    void Form_Load() override { ++cargas; }
    void Form_Activate() override { ++ativacoes; }
    void Form_Unload(int& Cancel) override {
        ++descargas;
        Cancel = recusa;
    }
};
struct Cadastro : Filha {
    Cadastro() : Filha("Cadastro", true) {}
};
struct Agenda : Filha {
    Agenda() : Filha("Agenda", true) {}
};

struct Principal : Form {
    Principal() : Form("Principal", false) {
        resize(1000, 700);
        area->setGeometry(0, 0, 1000, 700);
    }
    QMdiArea* area = new QMdiArea(this);
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
        QCOMPARE(Form::Procura("Cadastro"), nullptr);  // made, not loaded
        c->Show();
        Form::Instancia<Cadastro>()->Show();
        Form::Instancia<Agenda>()->Show();
        QCOMPARE(c->cargas, 1);
        QCOMPARE(Form::Forms(), (std::vector<Form*>{principal, c, Form::Instancia<Agenda>()}));
        // After an unload the next use makes a fresh form and loads it again.
        QVERIFY(c->Unload());
        Form::Instancia<Cadastro>()->Show();
        QCOMPARE(Form::Instancia<Cadastro>()->cargas, 1);
        esvazia();
        QCOMPARE(Form::Existentes().size(), size_t(3));
    }

    void descargaQuePodeSerRecusada() {
        QPointer<Cadastro> c = Form::Instancia<Cadastro>();
        c->Show();
        c->recusa = 1;
        QVERIFY(!c->Unload());
        // The close box of the MDI frame takes the same road.
        QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(c->Moldura());
        sub->close();
        esvazia();
        QVERIFY(c && c->Loaded() && sub->isVisible());
        QCOMPARE(c->descargas, 2);
        c->recusa = 0;
        sub->close();
        esvazia();
        QVERIFY(!c);
    }

    void medidasEmTwips() {
        auto* a = Form::Instancia<Agenda>();
        a->Show();
        // The design size is the inside; the outside adds the MDI frame.
        QCOMPARE(a->size(), QSize(Twips::ParaPixelX(5000), Twips::ParaPixelY(2000)));
        QVERIFY(a->Width() > 5000 && a->Height() > 2000);
        // The closing effect steps the height down by 100 twips: each one reads back exactly.
        for (int h : {3050, 2950, 150, 50}) {
            a->setHeight(h);
            QCOMPARE(a->Height(), h);
        }
        a->setLeft(1500);  // the MDI frame's place
        QCOMPARE(a->Moldura()->x(), Twips::ParaPixelX(1500));
        a->Moldura()->resize(200, 150);  // a size changed some other way reads back from the pixels
        QCOMPARE(a->Height(), Twips::DePixelY(150));
    }

    void ativacaoEntreJanelas() {
        auto& a = *new Filha("A", false);
        a.Show();
        QTRY_COMPARE(a.ativacoes, 1);
        QCOMPARE(Ativacao::UltimaAtiva(), &a);
        // A modal form shown and closed: A becomes the active form again, once.
        QPointer<Filha> b = new Filha("B", false);
        QTimer::singleShot(0, b, [&] {
            QTRY_COMPARE(b->ativacoes, 1);
            b->Unload();
        });
        b->ShowModal();
        QTRY_COMPARE(a.ativacoes, 2);
        // A message box is not a form, nor is a window that is not the program's:
        // coming back from either activates nothing.
        caixaReal("Gravado.");
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

    void ativacaoEFocoDasFilhas() {
        auto* c = Form::Instancia<Cadastro>();
        auto* a = Form::Instancia<Agenda>();
        int perdeu = 0;
        c->TxtDia->LostFocus = [&] { ++perdeu; };
        c->Show();
        QTRY_COMPARE(c->ativacoes, 1);
        a->Show();
        QTRY_COMPARE(a->ativacoes, 1);
        c->Show();  // brought forward: active again after another child
        QTRY_COMPARE(c->ativacoes, 2);
        caixaReal("Aviso");  // the main window losing and regaining the focus changes no child
        QCOMPARE(c->ativacoes, 2);

        // Each form keeps its own active control; going into another child is no LostFocus.
        c->TxtDia->SetFocus();
        QCOMPARE(principal->ActiveControl(), c->TxtDia);
        a->Show();
        a->TxtValor->SetFocus();
        QCOMPARE(a->ActiveControl(), a->TxtValor);
        QCOMPARE(c->ActiveControl(), c->TxtDia);
        QCOMPARE(perdeu, 0);
        c->Show();
        c->TxtDia->SetFocus();
        c->TxtValor->SetFocus();
        QCOMPARE(perdeu, 1);
        // Closing the active child activates the one left.
        QTest::qWait(50);
        const int antes = a->ativacoes;
        c->Unload();
        QTRY_COMPARE(a->ativacoes, antes + 1);
    }

    void modalTerminaAoEsconder() {
        auto& d = *new Filha("Login", false);
        QTimer::singleShot(0, &d, [&] { d.Hide(); });
        d.ShowModal();
        QVERIFY(d.Loaded() && !d.isVisible());
        d.Unload();
        // A modal form whose own load unloads it does not wait at all.
        struct Some : Form {
            Some() : Form("Some", false) {}
            void Form_Load() override { Unload(); }
        };
        QPointer<Some> s = new Some;
        s->ShowModal();
        esvazia();
        QVERIFY(!s);
    }
};

REGISTRA_TESTE(tst_Form)
#include "tst_Form.moc"
