// The main window driven as a user does: start-up against the program
// folder, the menu and its states, the day's notices at every activation,
// the ways to end and the change of user.
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "operations/Avisos.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "shell/JanelaProvisoria.h"
#include "shell/Principal.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QFile>
#include <QMdiArea>
#include <QMenuBar>
#include <QtTest>

namespace {
// A child that records its unload and can refuse it.
class Filho : public Form {
public:
    explicit Filho(bool recusa = false) : Form(QStringLiteral("Filho"), true), recusa_(recusa) {}
    void Form_Unload(int& Cancel) override {
        ++descargas;
        if (recusa_) Cancel = 1;
    }
    int descargas = 0;

private:
    bool recusa_;
};

void fecha_tudo() {
    QList<QPointer<Form>> formas;
    for (Form* f : Form::Forms()) formas << f;
    for (auto& f : formas)
        if (f && !f->Filho()) delete f.data();
    for (auto& f : formas)
        if (f) delete f.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList legendas(const QList<QAction*>& acoes) {
    QStringList r;
    for (QAction* a : acoes) r << a->text();
    return r;
}
}  // namespace

class tst_Principal : public QObject {
    Q_OBJECT

    int logins = 0;

    Principal* inicia() {
        logins = 0;
        Principal::DefineLogin([this] {
            ++logins;
            Nome_Usuario = QStringLiteral("MARIA");
            Principal::Atual()->Usu->setText(QStringLiteral("USUÁRIO: MARIA"));
        });
        Nome_Usuario.clear();
        auto* p = new Principal();
        p->Show();
        // The window system activates the window shortly after it shows.
        QDeadlineTimer prazo(2000);
        while (logins == 0 && !prazo.hasExpired()) QTest::qWait(5);
        QCoreApplication::processEvents();
        return p;
    }

private slots:
    void init() { Nome_Usuario.clear(); }
    void cleanup() {
        fecha_tudo();
        Principal::DefineLogin(nullptr);
    }

    void arquivo_antigo_toma_o_nome_atual() {
        Ambiente amb;
        amb.Parametros(12, QStringLiteral("SETOR NORTE"), QStringLiteral("VILA NOVA"), QStringLiteral("S"), 8, 2021);
        QVERIFY(QFile::rename(amb.Arquivo(), amb.Pasta() + "/Quorvane.kwe"));
        Nome_Usuario.clear();
        Principal* p = inicia();
        QVERIFY(QFile::exists(amb.Arquivo()));
        QVERIFY(!QFile::exists(amb.Pasta() + "/Quorvane.kwe"));
        QCOMPARE(p->Caption(), QStringLiteral(" Zuvevozo Ruverirora 1.0.%1 - SETOR NORTE / VILA NOVA / AGOSTO-2021")
                                   .arg(App::Revision));
        QCOMPARE(Param[1], QStringLiteral("0012"));
    }

    void sem_arquivo_avisa_e_termina_sem_login() {
        Ambiente amb(false);
        Roteiro::Responde(vbOK);
        logins = 0;
        Principal::DefineLogin([this] { ++logins; });
        bool terminou = Termina_Programa([] { (new Principal())->Show(); });
        QVERIFY(terminou);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].prompt, QStringLiteral("Sistema com problemas na base de dados."));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QStringLiteral("Erro Interno"));
        QCOMPARE(Roteiro::Caixas()[0].estilo, vbExclamation);
        QCOMPARE(logins, 0);
        // Opening never creates an empty file in its place.
        QVERIFY(!QFile::exists(amb.Arquivo()));
    }

    void com_os_dois_arquivos_nenhum_e_tocado() {
        Ambiente amb;
        QFile antigo(amb.Pasta() + "/Quorvane.kwe");
        QVERIFY(antigo.open(QIODevice::WriteOnly));
        antigo.write("antigo");
        antigo.close();
        inicia();
        QFile lido(amb.Pasta() + "/Quorvane.kwe");
        QVERIFY(lido.open(QIODevice::ReadOnly));
        QCOMPARE(lido.readAll(), QByteArray("antigo"));
        QVERIFY(Roteiro::Caixas().empty());
    }

    void tabela_vazia_da_titulo_sem_mes() {
        Ambiente amb;
        Principal* p = inicia();
        QCOMPARE(p->Caption(), QStringLiteral("Zuvevozo Ruverirora 1.0.%1 - NADA CONSTA / NADA CONSTA").arg(App::Revision));
    }

    void menu_com_legendas_e_teclas() {
        Ambiente amb;
        Principal* p = inicia();
        const QStringList barra = legendas(p->Menu->actions());
        QCOMPARE(barra, (QStringList{QStringLiteral("Zuvevozo Ruverirora"), QString(), QStringLiteral("&Bases de Apoio"),
                                     QStringLiteral("O&perações"), QStringLiteral("&Impressões"),
                                     QStringLiteral("&Exportações"), QStringLiteral("So&bre o Sistema"),
                                     QStringLiteral("&Fechar"), QString(15, ' '), QStringLiteral("USUÁRIO: MARIA")}));
        QVERIFY(!p->Espaco->isEnabled());
        QVERIFY(!p->Espaco2->isEnabled());
        QCOMPARE(legendas(p->Cad_Apoio->actions()),
                 (QStringList{QStringLiteral("&Parâmetros do Sistema"), QStringLiteral("&Agenda de Compromissos"),
                              QStringLiteral("Cadastro de &Departamentos"), QStringLiteral("Cadastro de &Históricos"),
                              QStringLiteral("&Igrejas que compoem o Setor"),
                              QStringLiteral("Atualização das &Bases de Apoio")}));
        QCOMPARE(legendas(p->Oper->actions()),
                 (QStringList{QStringLiteral("&Avisos para hoje"), QStringLiteral("&Remessas enviadas à Matriz"),
                              QStringLiteral("Lançamento de &Igrejas do Setor"),
                              QStringLiteral("Lançamento de &Livro Caixa"),
                              QStringLiteral("Lançamento de &Departamentos")}));
        QCOMPARE(legendas(p->Imp->actions()),
                 (QStringList{QStringLiteral("&Selecione a Impressora"), QStringLiteral("&Envelopes de Dízimo"),
                              QStringLiteral("Relação de &Dizimistas"), QStringLiteral("Recibo de &Pagamento Avulso"),
                              QStringLiteral("Fechamento de &Livro Caixa"),
                              QStringLiteral("&Fechamento de Departamentos")}));
        QCOMPARE(legendas(p->Expor->actions()),
                 (QStringList{QStringLiteral("Dados para TV ou &Monitor"), QStringLiteral("Dados para &Termo Constatação"),
                              QStringLiteral("Dados para o &Mirava"), QStringLiteral("Dados para &Backup"),
                              QStringLiteral("Dados Transmitidos no &Período")}));
    }

    void itens_do_setor_dependem_do_tipo() {
        const QString tipos[] = {QStringLiteral("C"), QStringLiteral("S"), QStringLiteral("c")};
        for (const QString& tipo : tipos) {
            Ambiente amb;
            amb.Parametros(3, QStringLiteral("SETOR"), QStringLiteral("IGREJA"), tipo, 5, 2024);
            Principal* p = inicia();
            const bool habilitado = tipo != QLatin1String("C");
            for (QAction* a : {p->Igr_Setor, p->Rem_Mat, p->Set_Igr, p->Exp_Termo})
                QVERIFY2(a->isEnabled() == habilitado, qPrintable(tipo + ": " + a->objectName()));
            QVERIFY(p->Liv_Cx->isEnabled());
            fecha_tudo();
        }
    }

    void avisos_do_dia_ficam_so_com_itens() {
        Ambiente amb;
        amb.Parametros(12, QStringLiteral("SETOR"), QStringLiteral("IGREJA"), QStringLiteral("S"), 8, 2021);
        Relogio::Define(QDateTime(QDate(2021, 8, 5), QTime(9, 0)));
        // Nothing for today: the window does not stay.
        Principal* p = inicia();
        QCOMPARE(logins, 1);
        QVERIFY(!Form::Procura(QStringLiteral("Avisos")));
        fecha_tudo();

        const QString ins = QStringLiteral("INSERT INTO Agenda (CodIg, Ano, Mes, Dia, Descricao) VALUES (?1,?2,?3,?4,?5)");
        amb.Sql(ins, {12, 2021, 8, 5, QStringLiteral("pagar água")});
        amb.Sql(ins, {12, 2021, 8, 5, QStringLiteral("Aluguel do salão")});
        amb.Sql(ins, {12, 2021, 8, 5, QStringLiteral("ÉDEN: reunião")});
        amb.Sql(ins, {12, 2021, 8, 6, QStringLiteral("amanhã")});
        amb.Sql(ins, {13, 2021, 8, 5, QStringLiteral("outra igreja")});
        amb.Sql(ins, {12, 2021, 8, 5, QVariant()});
        Nome_Usuario.clear();
        p = inicia();
        auto* avisos = qobject_cast<Avisos*>(Form::Procura(QStringLiteral("Avisos")));
        QVERIFY(avisos);
        QCOMPARE(avisos->Caption(), QStringLiteral("Aviso de Compromissos  Importantes"));
        QStringList linhas;
        for (int i = 0; i < avisos->LstAvisos->ListCount(); ++i) linhas << avisos->LstAvisos->List(i);
        QCOMPARE(linhas, (QStringList{QString(), QStringLiteral("Aluguel do salão"), QStringLiteral("ÉDEN: reunião"),
                                      QStringLiteral("pagar água")}));
        // Centred horizontally, 100 twips below the top of the working area.
        QCOMPARE(avisos->Top(), 100);
        QCOMPARE(avisos->Left(), (p->Width() - avisos->Width()) / 2);
    }

    void fechar_pelo_menu() {
        Ambiente amb;
        Principal* p = inicia();
        auto* filho = new Filho();
        filho->Show();
        Roteiro::Responde(vbNo);
        QVERIFY(!Termina_Programa([&] { p->Saida_Click(); }));
        QCOMPARE(Roteiro::Caixas().back().prompt, QStringLiteral("Deseja realmente fechar o sistema ?"));
        QCOMPARE(Roteiro::Caixas().back().titulo, QStringLiteral("Atenção MARIA"));
        QCOMPARE(Roteiro::Caixas().back().estilo, vbYesNo + vbQuestion);
        Roteiro::Responde(vbYes);
        QVERIFY(Termina_Programa([&] { p->Saida_Click(); }));
        // Ended at once: the open form's unload handling never ran.
        QCOMPARE(filho->descargas, 0);
    }

    void fechar_a_janela_descarrega_os_filhos_antes() {
        Ambiente amb;
        Principal* p = inicia();
        auto* filho = new Filho();
        filho->Show();
        Roteiro::Responde(vbNo);
        QVERIFY(!Termina_Programa([&] { QVERIFY(!p->Unload()); }));
        QCOMPARE(Roteiro::Caixas().back().prompt, QStringLiteral("Deseja realmente sair do sistema ?"));
        QVERIFY(p->Loaded());
        QVERIFY(!Form::Procura(QStringLiteral("Filho")));  // stays closed

        auto* teimoso = new Filho(true);
        teimoso->Show();
        const size_t caixas = Roteiro::Caixas().size();
        QVERIFY(!p->Unload());
        QCOMPARE(teimoso->descargas, 1);
        QCOMPARE(Roteiro::Caixas().size(), caixas);  // no question: the child refused
        delete teimoso;

        Roteiro::Responde(vbYes);
        QVERIFY(Termina_Programa([&] { p->Unload(); }));
    }

    void troca_de_usuario() {
        Ambiente amb;
        amb.Parametros(1, QStringLiteral("S"), QStringLiteral("I"), QStringLiteral("C"), 1, 2022);
        Relogio::Define(QDateTime(QDate(2022, 1, 10), QTime(8, 0)));
        amb.Sql(QStringLiteral("INSERT INTO Agenda (CodIg, Ano, Mes, Dia, Descricao) VALUES (1, 2022, 1, 10, 'DÍZIMO')"));
        Principal* p = inicia();
        QVERIFY(Form::Procura(QStringLiteral("Avisos")));
        Roteiro::Responde(vbNo);
        p->Usu_Click();
        QCOMPARE(Roteiro::Caixas().back().prompt, QStringLiteral("Deseja trocar o Usuário MARIA?"));
        QCOMPARE(Roteiro::Caixas().back().estilo, vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(logins, 1);

        // The provisional login closes every other window, as the login will.
        Principal::DefineLogin(nullptr);
        qputenv("TESOURARIA_USUARIO", "joão");
        p->Liv_Cx_Click();
        QVERIFY(Form::Procura(QStringLiteral("LivroCaixa")));
        Roteiro::Responde(vbYes);
        p->Usu_Click();
        QCOMPARE(Nome_Usuario, QStringLiteral("JOÃO"));
        QCOMPARE(p->Usu->text(), QStringLiteral("USUÁRIO: JOÃO"));
        QVERIFY(!Form::Procura(QStringLiteral("LivroCaixa")));
        // Back in the main window, the notices come again.
        p->Form_Activate();
        QVERIFY(Form::Procura(QStringLiteral("Avisos")));
        qunsetenv("TESOURARIA_USUARIO");
    }

    void cada_item_abre_uma_janela_so() {
        Ambiente amb;
        Principal* p = inicia();
        struct Item {
            QAction* acao;
            const char* nome;
            const char* legenda;
        };
        const Item itens[] = {
            {p->Par_Sis, "Parametr", " Parâmetros do Sistema"},
            {p->Agf_Fin, "Agenda", " Agenda de Compromissos"},
            {p->Cad_Dep, "Departamentos", " Cadastro de Departamentos"},
            {p->Tip_Hist, "Descricoes", " Cadastro de Históricos"},
            {p->Igr_Setor, "Igrejas", " Igrejas que compoem o setor"},
            {p->AtuBA, "Atualizacoes", " Atualização das Bases de Apoio"},
            {p->Rem_Mat, "Remessas", " Remessas enviadas à Matriz"},
            {p->Set_Igr, "TotaisIgrejas", "Lançamento Financeiro de Igrejas do Setor"},
            {p->Liv_Cx, "LivroCaixa", " Lançamento de Livro Caixa"},
            {p->Lan_Dep, "Movto_Deptos", " Lançamento de Departamentos"},
            {p->SelImp, "Impressoras", " Impressoras"},
            {p->Env_Diz, "Envelope", " Impressão de Envelopes de Dízimo"},
            {p->Diz_Rel, "Dizimistas", " Impressão da Relação de Dizimistas"},
            {p->Rec_Diz, "Recibo", " Impressão de Recibo Avulso"},
            {p->Fec_Livro, "ImpLivroCx", "Impressão de Livro Caixa"},
            {p->Fec_Dep, "ImpDeptos", " Lançamento de Departamentos"},
            {p->Exp_Web, "ExpWeb", " Exportação de Dados para TV / Monitor"},
            {p->Exp_Termo, "ExpTermo", "Exportação para Termo de Constatação"},
            {p->Exp_Mirava, "ExpMirava", "Exporta Dados à base do Mirava"},
            {p->Exp_BKP, "Backup", "Backup do Sistema"},
            {p->Exp_Transm, "Transmit", "Dados Transmitidos à base do Mirava"},
            {p->Sobre_Sis, "Sobre", " Sobre o Zuvevozo Ruverirora"},
        };
        for (const Item& it : itens) {
            it.acao->setEnabled(true);
            it.acao->trigger();
            it.acao->trigger();
            int quantos = 0;
            Form* achado = nullptr;
            for (Form* f : Form::Forms())
                if (f->Name() == QLatin1String(it.nome)) {
                    ++quantos;
                    achado = f;
                }
            QVERIFY2(quantos == 1, it.nome);
            QCOMPARE(achado->Caption(), QString::fromUtf8(it.legenda));
            QCOMPARE(achado->Top(), 100);
            QCOMPARE(achado->Left(), (p->Width() - achado->Width()) / 2);
        }
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void redimensionar_leva_o_qrcode() {
        Ambiente amb;
        Principal* p = inicia();
        auto* qr = new Form(QStringLiteral("QRCode"), true);
        qr->Show();
        p->resize(900, 700);
        QCoreApplication::processEvents();
        p->Form_Resize();
        QCOMPARE(qr->Left(), p->Width() - 3100);
        QCOMPARE(qr->Top(), p->Height() - 3700);
        p->resize(1100, 800);
        QCoreApplication::processEvents();
        QCOMPARE(qr->Left(), p->Width() - 3100);
        QCOMPARE(qr->Top(), p->Height() - 3700);
    }
};

REGISTRA_TESTE(tst_Principal)
#include "tst_Principal.moc"
