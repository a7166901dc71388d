// USA_BANCO_CENTRAL
// The login dialog driven as a user does, against the central test server.
#include "common/Usuario.h"
#include "platform/App.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "shell/ApoioShell.h"
#include "shell/Login.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"

namespace {
const QChar Sorriso(0x263A), Careta(0x2639);

struct Filho : Form {
    Filho() : Form("Filho", true) {}
    void Form_Unload(int&) override { ++descargas; }
    static inline int descargas = 0;
};

Form* Aberto(const char* nome) { return Form::Procura(QLatin1String(nome)); }

// Every box shown since the last look, one "prompt|title|style" each.
QString Caixas() {
    QStringList r;
    for (const auto& c : Roteiro::Caixas()) r << c.prompt + '|' + c.titulo + '|' + QString::number(c.estilo);
    Roteiro::LimpaCaixas();
    return r.join('\n');
}

// Runs the steps inside the dialog's modal loop once it is active and its
// activation has run; polls, since waiting here would nest the loops.
void Quando_Login(std::function<void(Login*)> passos) {
    auto* relogio = new QTimer(qApp);
    auto vezes = std::make_shared<int>(0);
    QObject::connect(relogio, &QTimer::timeout, [=] {
        auto* l = qobject_cast<Login*>(Aberto("Login"));
        if (!l || !l->isActiveWindow() || ++*vezes < 2) return;
        relogio->deleteLater();
        passos(l);
    });
    relogio->start(10);
}

// Enter in the name box means nothing; Enter in the password box is OK.
void Entra(Login* l, const QString& nome, const QString& senha) {
    Digita(l->txtUserName, nome);
    QTest::keyClick(l->txtUserName, Qt::Key_Return);
    Digita(l->txtPassword, senha);
    QTest::keyClick(l->txtPassword, Qt::Key_Return);
}
}  // namespace

class tst_Login : public QObject {
    Q_OBJECT

    Principal* principal() {  // up; the dialog itself for the next login
        Principal* p = Inicia_Principal("TESTE");
        Principal::DefineLogin(nullptr);
        return p;
    }
    Login* abre() {
        auto* l = Form::Instancia<Login>();
        l->Show();
        if (!QTest::qWaitForWindowActive(l)) qWarning("login dialog never became active");
        QTest::qWait(20);
        return l;
    }

private slots:
    void init() { Rede::DefineConectado([] { return true; }); }
    void cleanup() {
        Fecha_Tudo();
        Rede::DefineConectado(nullptr);
        Rede::DefineSonda(nullptr);
    }

    void entradas_recusadas_e_nada_fecha_o_dialogo() {
        Ambiente amb;
        Principal* p = principal();
        Nome_Usuario.clear();
        Login* l = abre();
        // A name of blanks, then a wrong password: the name is taken before
        // the password is checked.
        const char* casos[][4] = {{"      ", "QUENDIRA", "Usuário inválido! Tente novamente.", ""},
                                  {"josé", "quendir", "Senha inválida! Tente novamente.", "JOSÉ"}};
        for (const auto& c : casos) {
            l->txtUserName->setText_(QString());
            l->txtPassword->setText_(QString());
            Digita(l->txtUserName, QString::fromUtf8(c[0]));
            Digita(l->txtPassword, QString::fromUtf8(c[1]));
            QCOMPARE(l->txtPassword->displayText(), QString(qstrlen(c[1]), Sorriso));
            Roteiro::Responde(vbOK);
            QTest::mouseClick(l->CmdOk, Qt::LeftButton);
            QCOMPARE(Caixas(), QString::fromUtf8(c[2]) + "|Atenção " + QString::fromUtf8(c[3]) + "|48");
            QCOMPARE(Nome_Usuario, QString::fromUtf8(c[3]));
            QCOMPARE(l->txtPassword->displayText(), QString(qstrlen(c[1]), Careta));
        }
        QCOMPARE(p->Usu->text(), QString("USUÁRIO: JOSÉ"));

        // Escape, the close box and an unload all meet the refusal.
        const std::function<void()> fechos[] = {[&] { QTest::keyClick(l->txtUserName, Qt::Key_Escape); },
                                                [&] { l->close(); }, [&] { l->Unload(); }};
        for (const auto& fecha : fechos) {
            Roteiro::Responde(vbOK);
            fecha();
            QCOMPARE(Caixas(), QString("Usuário ou Senha inválidos|Atenção JOSÉ|64"));
            QVERIFY(l->Loaded() && l->isVisible());
        }
        QVERIFY(!Roteiro::HouveInesperada());
        QVERIFY(Termina_Programa([&] { l->CmdCancel->click(); }));
    }

    void versao_comparada_e_nomes_aceitos() {
        Ambiente amb;
        Principal* p = principal();
        // The central version: equal, or different either way (compared as
        // text); a silent server warns of nothing.
        const std::tuple<QStringList, bool, QString, QString, const char*> casos[] = {
            {{App::Versao()}, false, " rute ", " RUTE ", nullptr},
            {{"1.0.20"}, false, "d'ávila", "D'ÁVILA", "1.0.20"},
            {{"1.0.3"}, false, QString(31, QChar(0xE7)), QString(30, QChar(0xC7)), "1.0.3"},
            {{"1.0.20"}, true, "maria", "MARIA", nullptr},
        };
        for (const auto& [central, mudo, digitado, nome, aviso] : casos) {
            QVERIFY(Versao_Central(central));
            Rede::DefineSonda(nullptr);
            if (mudo) Rede::DefineSonda([](const QString&, int, int) { return false; });
            Login* l = abre();
            QVERIFY(!Aberto("QRCode"));  // closed by the dialog's load
            if (aviso) Roteiro::Responde(vbOK);
            Entra(l, digitado, "quendira");
            QCOMPARE(Nome_Usuario + "|" + p->Usu->text(), nome + "|USUÁRIO: " + nome);
            QVERIFY(!Aberto("Login") && Aberto("QRCode"));
            QCOMPARE(Caixas(), aviso ? "Este Sistema está desatualizado.\rBaixe a nova Versão " + QString(aviso) +
                                           " pelo menu 'Sobre o Sistema'.\rSucesso!|Atenção " + nome + "|64"
                                     : QString());
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    void troca_de_usuario_fecha_as_janelas() {
        Ambiente amb;
        QVERIFY(Versao_Central({App::Versao()}));
        const QDate hoje = Relogio::Hoje();  // an item for today: the notices come back with each user
        amb.Sql("INSERT INTO Agenda (CodIg, Ano, Mes, Dia, Descricao) VALUES (0, ?1, ?2, ?3, 'culto')",
                {hoje.year(), hoje.month(), hoje.day()});
        Nome_Usuario.clear();
        Quando_Login([](Login* l) { Entra(l, "maria", "quendira"); });
        auto* p = new Principal();
        p->Show();
        QTRY_VERIFY(Aberto("QRCode") && Aberto("Avisos") && p->isActiveWindow());
        QCoreApplication::processEvents();  // the main window's activation, before the user clicks on

        Filho::descargas = 0;
        (new Filho())->Show();
        Roteiro::Responde(vbYes);
        Quando_Login([](Login* l) {
            QVERIFY(Filho::descargas == 1 && !Aberto("QRCode") && !Aberto("Filho") && !Aberto("Avisos"));
            Entra(l, "joão", "QUENDIRA");
        });
        p->Usu_Click();
        QCOMPARE(p->Usu->text(), QString("USUÁRIO: JOÃO"));
        QTRY_VERIFY(Aberto("QRCode") && Aberto("Avisos") && p->Loaded());
        QVERIFY(!Roteiro::HouveInesperada());
    }
};

REGISTRA_TESTE(tst_Login)
#include "tst_Login.moc"
