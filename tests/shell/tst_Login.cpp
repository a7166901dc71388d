// USA_BANCO_CENTRAL
// The login dialog driven as a user does, against the central test server.
#include "common/Parametros.h"
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
    Filho() : Form(QStringLiteral("Filho"), true) {}
    void Form_Unload(int&) override { ++descargas; }
    static inline int descargas = 0;
};

Form* Aberto(const char* nome) { return Form::Procura(QLatin1String(nome)); }

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
        Principal* p = Inicia_Principal(QStringLiteral("TESTE"));
        Principal::DefineLogin(nullptr);
        return p;
    }
    Login* abre() {
        auto* l = Form::Instancia<Login>();
        l->Show();
        QTest::qWaitForWindowActive(l);
        QTest::qWait(20);
        return l;
    }

private slots:
    void init() { Rede::DefineConectado([] { return true; }); }
    void cleanup() {
        Fecha_Tudo();
        Rede::DefineConectado(nullptr);
        Rede::DefineSonda(nullptr);
        Central::DefineTextoConexao(QString());
    }

    void entradas_recusadas_e_nada_fecha_o_dialogo() {
        Ambiente amb;
        Principal* p = principal();
        Nome_Usuario.clear();
        Login* l = abre();
        const Qt::Alignment lugar = l->LblKwe->alignment();  // the credit line keeps jumping
        QTRY_VERIFY(l->LblKwe->alignment() != lugar);
        QTRY_COMPARE(l->LblKwe->alignment(), lugar);

        const char* casos[][5] = {  // name, password, message, title, user name after
            {"  ab  ", "quendira", "Usuário inválido! Tente novamente.", "Atenção ", ""},
            {"      ", "QUENDIRA", "Usuário inválido! Tente novamente.", "Atenção ", ""},
            {"maria", "quendir", "Senha inválida! Tente novamente.", "Atenção MARIA", "MARIA"},
            {"josé", "QUENDIRA ", "Senha inválida! Tente novamente.", "Atenção JOSÉ", "JOSÉ"},
        };
        for (const auto& c : casos) {
            l->txtUserName->setText_(QString());
            l->txtPassword->setText_(QString());
            Digita(l->txtUserName, QString::fromUtf8(c[0]));
            Digita(l->txtPassword, QString::fromUtf8(c[1]));
            QCOMPARE(l->txtPassword->displayText(), QString(qstrlen(c[1]), Sorriso));
            Roteiro::Responde(vbOK);
            QTest::mouseClick(l->CmdOk, Qt::LeftButton);
            const Roteiro::Caixa& caixa = Roteiro::Caixas().back();
            QCOMPARE(caixa.prompt + '|' + caixa.titulo, QString::fromUtf8(c[2]) + '|' + QString::fromUtf8(c[3]));
            QCOMPARE(caixa.estilo, vbExclamation);
            QCOMPARE(Nome_Usuario, QString::fromUtf8(c[4]));
            QCOMPARE(l->txtPassword->displayText(), QString(qstrlen(c[1]), Careta));
        }
        QCOMPARE(p->Usu->text(), QStringLiteral("USUÁRIO: JOSÉ"));
        Digita(l->txtPassword, QStringLiteral("x"));
        QCOMPARE(l->txtPassword->displayText(), QString(10, Sorriso));

        // Escape, the close box and an unload all meet the refusal.
        const std::function<void()> fechos[] = {[&] { QTest::keyClick(l->txtUserName, Qt::Key_Escape); },
                                                [&] { l->close(); }, [&] { l->Unload(); }};
        for (const auto& fecha : fechos) {
            Roteiro::Responde(vbOK);
            fecha();
            QCOMPARE(Roteiro::Caixas().back().prompt, QStringLiteral("Usuário ou Senha inválidos"));
            QCOMPARE(Roteiro::Caixas().back().estilo, vbInformation);
            QVERIFY(l->Loaded() && l->isVisible());
        }
        QVERIFY(!Roteiro::HouveInesperada());
        QVERIFY(Termina_Programa([&] { l->CmdCancel->click(); }));
    }

    void versao_comparada_e_nomes_aceitos() {
        Ambiente amb;
        Principal* p = principal();
        struct Caso {
            QStringList central;
            const char* servidor;  // "127.x": that address; "mudo": silence; "recusa": account refused
            QString digitado, nome;
            const char* aviso;     // the version in the warning, or none
        };
        const QString atual = App::Versao(), antiga = QStringLiteral("1.0.20");
        const Caso casos[] = {
            {{atual}, "", QStringLiteral(" rute "), QStringLiteral(" RUTE "), nullptr},
            {{antiga}, "", QStringLiteral("d'ávila"), QStringLiteral("D'ÁVILA"), "1.0.20"},
            {{QStringLiteral("1.0.3")}, "", QString(31, QChar(0xE7)), QString(30, QChar(0xC7)), "1.0.3"},
            {{QStringLiteral("1.0.99")}, "", QStringLiteral("maria"), QStringLiteral("MARIA"), "1.0.99"},
            {{}, "", QStringLiteral("maria"), QStringLiteral("MARIA"), nullptr},  // the view is empty
            {{antiga}, "127.0.0.2", QStringLiteral("maria"), QStringLiteral("MARIA"), nullptr},
            {{antiga}, "mudo", QStringLiteral("maria"), QStringLiteral("MARIA"), nullptr},
            {{antiga}, "recusa", QStringLiteral("maria"), QStringLiteral("MARIA"), nullptr},
        };
        for (const Caso& c : casos) {
            QVERIFY(Versao_Central(c.central));
            const QString servidor = QString::fromLatin1(c.servidor);
            Rede::DefineSonda(servidor == "mudo" ? [](const QString&, int, int) { return false; }
                                                 : std::function<bool(const QString&, int, int)>());
            Login* l = abre();
            QVERIFY(!Aberto("QRCode"));  // closed by the dialog's load
            Param[11] = servidor.startsWith("127.") ? servidor : QStringLiteral(TESOURARIA_SERVIDOR_CENTRAL);
            Central::DefineTextoConexao(servidor == "recusa" ? Central::Texto_Conexao(Param[11]).replace(
                                                                   Central::Senha, QStringLiteral("errada"))
                                                             : QString());
            Roteiro::LimpaCaixas();
            if (c.aviso) Roteiro::Responde(vbOK);
            Entra(l, c.digitado, QStringLiteral("quendira"));
            QCOMPARE(Nome_Usuario, c.nome);
            QCOMPARE(p->Usu->text(), QStringLiteral("USUÁRIO: ") + c.nome);
            QVERIFY(!Aberto("Login") && Aberto("QRCode"));
            QCOMPARE(Roteiro::Caixas().size(), size_t(c.aviso ? 1 : 0));
            if (c.aviso) {
                QCOMPARE(Roteiro::Caixas()[0].prompt, "Este Sistema está desatualizado.\rBaixe a nova Versão " +
                                                          QLatin1String(c.aviso) + " pelo menu 'Sobre o Sistema'.\rSucesso!");
                QCOMPARE(Roteiro::Caixas()[0].estilo, vbInformation);
                QCOMPARE(Roteiro::Caixas()[0].titulo, "Atenção " + c.nome);
            }
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
        Quando_Login([](Login* l) { Entra(l, QStringLiteral("maria"), QStringLiteral("quendira")); });
        auto* p = new Principal();
        p->Show();
        QTRY_VERIFY(Aberto("QRCode") && Aberto("Avisos") && p->isActiveWindow());
        QCoreApplication::processEvents();  // the main window's activation, before the user clicks on
        QCOMPARE(Aberto("QRCode")->Left(), p->Width() - 3100);
        QCOMPARE(Aberto("QRCode")->Top(), p->Height() - 3700);

        Filho::descargas = 0;
        (new Filho())->Show();
        Roteiro::Responde(vbYes);
        Quando_Login([](Login* l) {
            QVERIFY(Filho::descargas == 1 && !Aberto("QRCode") && !Aberto("Filho") && !Aberto("Avisos"));
            Entra(l, QStringLiteral("joão"), QStringLiteral("QUENDIRA"));
        });
        p->Usu_Click();
        QCOMPARE(p->Usu->text(), QStringLiteral("USUÁRIO: JOÃO"));
        QTRY_VERIFY(Aberto("QRCode") && Aberto("Avisos") && p->Loaded());
        QVERIFY(!Roteiro::HouveInesperada());
    }
};

REGISTRA_TESTE(tst_Login)
#include "tst_Login.moc"
