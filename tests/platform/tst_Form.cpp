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

struct Filha : Form {
    Filha(const QString& nome, bool mdi) : Form(nome, mdi) { setTamanhoCliente(5000, 2000); }
    int cargas = 0, ativacoes = 0, descargas = 0, recusa = 0;
    TextBox* TxtDia = new TextBox(this);
    TextBox* TxtValor = new TextBox(this);
    void Form_Load() override { ++cargas; }
    void Form_Activate() override { ++ativacoes; }
    void Form_Unload(int& Cancel) override { ++descargas; Cancel = recusa; }
};
struct Cadastro : Filha { Cadastro() : Filha("Cadastro", true) {} };
struct Agenda : Filha { Agenda() : Filha("Agenda", true) {} };

struct Principal : Form {
    Principal() : Form("Principal", false) { resize(1000, 700); area->setGeometry(0, 0, 1000, 700); }
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

    void umaInstanciaPorClasseMedidasEDescarga() {
        auto* c = Form::Instancia<Cadastro>();
        QCOMPARE(Form::Procura("Cadastro"), nullptr);  // made, not loaded
        c->Show();
        Form::Instancia<Cadastro>()->Show();
        auto* a = Form::Instancia<Agenda>();
        a->Show();
        QCOMPARE(c->cargas, 1);
        QCOMPARE(Form::Forms(), (std::vector<Form*>{principal, c, a}));
        QCOMPARE(a->size(), QSize(Twips::ParaPixelX(5000), Twips::ParaPixelY(2000)));  // the design size is the inside
        a->setHeight(3050);  // the closing effect's steps of 100 twips read back exactly
        QCOMPARE(a->Height(), 3050);

        // After an unload the next use makes a fresh form and loads it again.
        QVERIFY(c->Unload());
        QPointer<Cadastro> n = Form::Instancia<Cadastro>();
        n->Show();
        QCOMPARE(n->cargas, 1);
        // An unload can be refused; the close box of the MDI frame takes the same road.
        n->recusa = 1;
        QVERIFY(!n->Unload());
        QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(n->Moldura());
        sub->close();
        esvazia();
        QVERIFY(n);
        QVERIFY(n->Loaded());
        QVERIFY(sub->isVisible());
        QCOMPARE(n->descargas, 2);
        n->recusa = 0;
        sub->close();
        esvazia();
        QVERIFY(!n);
    }

    void ativacaoEntreJanelas() {
        auto& a = *new Filha("A", false);
        a.Show();
        QTRY_COMPARE(a.ativacoes, 1);
        // A modal form shown and closed: A becomes the active form again, once.
        QPointer<Filha> b = new Filha("B", false);
        QTimer::singleShot(0, b, [&] {
            QTRY_COMPARE(b->ativacoes, 1);
            b->Unload();
        });
        b->ShowModal();
        QTRY_COMPARE(a.ativacoes, 2);
        // A message box is not a form: coming back from a real one activates nothing.
        Roteiro::Remove();
        QTimer::singleShot(0, [] {
            QTRY_VERIFY(qobject_cast<QMessageBox*>(QApplication::activeModalWidget()));
            QTRY_COMPARE(QApplication::activeWindow(), QApplication::activeModalWidget());
            QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape);
        });
        MsgBox("Gravado.", vbInformation);
        Roteiro::Instala();
        QTRY_COMPARE(QApplication::activeWindow(), &a);
        QCoreApplication::processEvents();  // an activation would be queued by now
        QCOMPARE(a.ativacoes, 2);
        a.Unload();

        // A modal form ends when hidden; one whose own load unloads it does not wait at all.
        auto& d = *new Filha("Login", false);
        QTimer::singleShot(0, &d, [&] { d.Hide(); });
        d.ShowModal();
        QVERIFY(d.Loaded());
        d.Unload();
        struct Some : Form {
            Some() : Form("Some", false) {}
            void Form_Load() override { Unload(); }
        };
        QPointer<Some> s = new Some;
        s->ShowModal();
        esvazia();
        QVERIFY(!s);
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

        // Each form keeps its own active control; going into another child is no LostFocus.
        c->TxtDia->SetFocus();
        a->Show();
        a->TxtValor->SetFocus();
        QCOMPARE(c->ActiveControl(), c->TxtDia);
        QCOMPARE(perdeu, 0);
        // Closing the active child activates the one left.
        c->Show();
        QTRY_COMPARE(c->ativacoes, 3);
        const int antes = a->ativacoes;
        c->Unload();
        QTRY_COMPARE(a->ativacoes, antes + 1);
    }
};

REGISTRA_TESTE(tst_Form)
#include "tst_Form.moc"
