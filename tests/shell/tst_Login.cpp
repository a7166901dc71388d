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
#include "support/Tabela.h"

namespace {
const QChar Sorriso(0x263A), Careta(0x2639);

struct Filho : Form {
    Filho() : Form("Filho", true) {}
    void Form_Unload(int&) override { ++descargas; }
    static inline int descargas = 0;
};

// How the user leaves the dialog: OK after typing, Escape or its close box.
enum Saida { Ok, Escape, Fecha };
struct Recusa { QString nome, senha; Saida saida; QString caixa, usuario, faixa; };
struct Versao { QStringList central; bool mudo; QString digitado, nome, aviso; };

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
        if (!QTest::qWaitForWindowActive(l)) QTest::qFail("o diálogo de entrada não ficou ativo", __FILE__, __LINE__);
        QCoreApplication::processEvents();  // its activation, queued behind the window system's
        return l;
    }

private slots:
    void init() { Rede::DefineConectado([] { return true; }); }
    void cleanup() {
        Fecha_Tudo();
        Rede::DefineConectado(nullptr);
        Rede::DefineSonda(nullptr);
    }

    // Nothing but a valid entry or Cancel closes the dialog; Cancel ends the program.
    void entradaRecusada_data() {
        Tabela<Recusa>({
            {"nome em branco", {"      ", "QUENDIRA", Ok, "Usuário inválido! Tente novamente.|Atenção |48", "", "TESTE"}},
            // The name is taken before the password is checked.
            {"senha errada", {"josé", "quendir", Ok, "Senha inválida! Tente novamente.|Atenção JOSÉ|48", "JOSÉ", "JOSÉ"}},
            {"Escape", {"", "", Escape, "Usuário ou Senha inválidos|Atenção |64", "", "TESTE"}},
            {"caixa de fechar", {"", "", Fecha, "Usuário ou Senha inválidos|Atenção |64", "", "TESTE"}},
        });
    }
    void entradaRecusada() {
        QFETCH(Recusa, caso);
        Ambiente amb;
        Principal* p = principal();
        Nome_Usuario.clear();
        Login* l = abre();
        Digita(l->txtUserName, caso.nome);
        Digita(l->txtPassword, caso.senha);
        QCOMPARE(l->txtPassword->displayText(), QString(caso.senha.size(), Sorriso));
        Roteiro::Responde(vbOK);
        if (caso.saida == Ok) QTest::mouseClick(l->CmdOk, Qt::LeftButton);
        if (caso.saida == Escape) QTest::keyClick(l->txtUserName, Qt::Key_Escape);
        if (caso.saida == Fecha) l->close();
        QCOMPARE(Caixas(), caso.caixa);
        QCOMPARE(Nome_Usuario, caso.usuario);
        QCOMPARE(l->txtPassword->displayText(), QString(caso.senha.size(), Careta));
        QCOMPARE(p->Usu->text(), "USUÁRIO: " + caso.faixa);
        QVERIFY(l->Loaded());
        QVERIFY(l->isVisible());
        QVERIFY(Termina_Programa([&] { l->CmdCancel->click(); }));
        QVERIFY(!Roteiro::HouveInesperada());
    }

    void versaoENome_data() {
        // The central version: equal, or different either way (compared as
        // text); a silent server warns of nothing.
        Tabela<Versao>({
            {"versão igual, brancos em volta do nome", {{App::Versao()}, false, " rute ", " RUTE ", {}}},
            {"central maior como texto, apóstrofo no nome", {{"1.0.20"}, false, "d'ávila", "D'ÁVILA", "1.0.20"}},
            {"nome cortado em 30 caracteres", {{"1.0.3"}, false, QString(31, QChar(0xE7)), QString(30, QChar(0xC7)), "1.0.3"}},
            {"servidor mudo não avisa", {{"1.0.20"}, true, "maria", "MARIA", {}}},
        });
    }
    void versaoENome() {
        QFETCH(Versao, caso);
        Ambiente amb;
        Principal* p = principal();
        QVERIFY(Versao_Central(caso.central));
        if (caso.mudo) Rede::DefineSonda([](const QString&, int, int) { return false; });
        Login* l = abre();
        QVERIFY(!Aberto("QRCode"));  // closed by the dialog's load
        if (!caso.aviso.isEmpty()) Roteiro::Responde(vbOK);
        Entra(l, caso.digitado, "quendira");
        QCOMPARE(Nome_Usuario, caso.nome);
        QCOMPARE(p->Usu->text(), "USUÁRIO: " + caso.nome);
        QVERIFY(!Aberto("Login"));
        QVERIFY(Aberto("QRCode"));
        QCOMPARE(Caixas(), caso.aviso.isEmpty() ? QString()
                                                : "Este Sistema está desatualizado.\rBaixe a nova Versão " + caso.aviso +
                                                      " pelo menu 'Sobre o Sistema'.\rSucesso!|Atenção " + caso.nome + "|64");
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
        QTRY_VERIFY(Aberto("QRCode"));
        QTRY_VERIFY(Aberto("Avisos"));
        QTRY_VERIFY(p->isActiveWindow());
        QCoreApplication::processEvents();  // the main window's activation, before the user clicks on

        Filho::descargas = 0;
        (new Filho())->Show();
        Roteiro::Responde(vbYes);
        Quando_Login([](Login* l) {
            QCOMPARE(Filho::descargas, 1);
            QVERIFY(!Aberto("QRCode"));
            QVERIFY(!Aberto("Filho"));
            QVERIFY(!Aberto("Avisos"));
            Entra(l, "joão", "QUENDIRA");
        });
        p->Usu_Click();
        QCOMPARE(p->Usu->text(), QString("USUÁRIO: JOÃO"));
        QTRY_VERIFY(Aberto("QRCode"));
        QTRY_VERIFY(Aberto("Avisos"));
        QVERIFY(p->Loaded());
        QVERIFY(!Roteiro::HouveInesperada());
    }
};

REGISTRA_TESTE(tst_Login)
#include "tst_Login.moc"
