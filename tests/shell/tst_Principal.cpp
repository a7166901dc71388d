// The main window driven as a user does: start-up against the program
// folder, the menu and its states, the day's notices at every activation,
// the ways to end and the change of user.
#include "common/Parametros.h"
#include "operations/Avisos.h"
#include "platform/App.h"
#include "platform/Progresso.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QFile>
#include <QMenuBar>
#include <QtTest>

namespace {
// A child that records its unload and can refuse it.
struct Filho : Form {
    explicit Filho(bool recusa = false) : Form("Filho", true), recusa(recusa) {}
    void Form_Unload(int& Cancel) override { ++descargas; Cancel = recusa; }
    int descargas = 0;
    bool recusa;
};
struct Item { QAction* Principal::*acao; QString nome, legenda; };
}  // namespace

class tst_Principal : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Fecha_Tudo(); }

    void arquivoAntigoTomaONomeAtual() {
        Ambiente amb;
        amb.Parametros(12, "SETOR NORTE", "VILA NOVA", "S", 8, 2021);
        const QString antigo = amb.Pasta() + "/Quorvane.kwe";
        QVERIFY(QFile::rename(amb.Arquivo(), antigo));
        Principal* p = Inicia_Principal("MARIA");
        QVERIFY(QFile::exists(amb.Arquivo()));
        QVERIFY(!QFile::exists(antigo));
        QCOMPARE(p->Caption(), QString(" Zuvevozo Ruverirora 1.0.%1 - SETOR NORTE / VILA NOVA / AGOSTO-2021").arg(App::Revision));
        Fecha_Tudo();
        // With both files, neither is touched.
        QFile f(antigo);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write("antigo"), 6);
        f.close();
        Inicia_Principal("MARIA");
        QCOMPARE(Bytes(antigo), QByteArray("antigo"));
        QCOMPARE(Param[1], QString("0012"));
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));
    }

    void semArquivoAvisaETerminaSemLogin() {
        Ambiente amb(false);
        Roteiro::Responde(vbOK);
        int logins = 0;
        Principal::DefineLogin([&] { ++logins; });
        QVERIFY(Termina_Programa([] { (new Principal())->Show(); }));
        const Roteiro::Caixa& c = Roteiro::Caixas().back();
        QCOMPARE(c.prompt, QString("Sistema com problemas na base de dados."));
        QCOMPARE(c.titulo, QString("Erro Interno"));
        QCOMPARE(c.estilo, vbExclamation);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(logins, 0);
        QVERIFY(!QFile::exists(amb.Arquivo()));  // opening never creates an empty file in its place
    }

    void avisosDoDiaACadaAtivacao() {
        Ambiente amb;
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        Relogio::Define(QDateTime(QDate(2021, 8, 5), QTime(9, 0)));
        Principal* p = Inicia_Principal("MARIA");  // nothing for today: the window does not stay
        QVERIFY(!Form::Procura("Avisos"));
        // A sector (type "S"): its own items are enabled.
        QCOMPARE((QList<bool>{p->Igr_Setor->isEnabled(), p->Rem_Mat->isEnabled(), p->Set_Igr->isEnabled(),
                              p->Exp_Termo->isEnabled()}),
                 (QList<bool>{true, true, true, true}));
        amb.Sql("INSERT INTO Agenda (CodIg, Ano, Mes, Dia, Descricao) VALUES (12, 2021, 8, 5, 'pagar água'), "
                "(12, 2021, 8, 5, 'Aluguel do salão'), (12, 2021, 8, 5, 'ÉDEN: reunião'), (12, 2021, 8, 6, 'amanhã'), "
                "(13, 2021, 8, 5, 'outra igreja'), (12, 2021, 8, 5, NULL)");
        p->Form_Activate();
        auto* avisos = qobject_cast<Avisos*>(Form::Procura("Avisos"));
        QVERIFY(avisos);
        QCOMPARE(avisos->Caption(), QString("Aviso de Compromissos  Importantes"));
        QCOMPARE(Linhas(avisos->LstAvisos), (QStringList{"", "Aluguel do salão", "ÉDEN: reunião", "pagar água"}));
        // Centred horizontally, 100 twips below the top of the working area.
        QCOMPARE(QPoint(avisos->Left(), avisos->Top()), QPoint((p->Width() - avisos->Width()) / 2, 100));
    }

    void trocaDeUsuarioEFormasDeTerminar() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        Roteiro::Responde(vbNo);
        p->Usu_Click();
        CONFERE_CAIXA("Deseja trocar o Usuário MARIA?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(Logins(), 1);
        Roteiro::Responde(vbYes);
        p->Usu_Click();
        CONFERE_CAIXA("Deseja trocar o Usuário MARIA?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(Logins(), 2);
        p->Form_Activate();  // a user is known: no login at this activation
        QCOMPARE(Logins(), 2);

        // "&Fechar" ends at once: the open form's unload handling never runs.
        auto* filho = new Filho();
        filho->Show();
        Roteiro::Responde(vbNo);
        QVERIFY(!Termina_Programa([&] { p->Saida_Click(); }));
        CONFERE_CAIXA("Deseja realmente fechar o sistema ?", vbYesNo + vbQuestion);
        Roteiro::Responde(vbYes);
        QVERIFY(Termina_Programa([&] { p->Saida_Click(); }));
        QCOMPARE(filho->descargas, 0);

        // The close box unloads the children first; No keeps the window.
        Roteiro::Responde(vbNo);
        QVERIFY(!Termina_Programa([&] { QVERIFY(!p->Unload()); }));
        QCOMPARE(Roteiro::Caixas().back().prompt, QString("Deseja realmente sair do sistema ?"));
        QVERIFY(p->Loaded());
        QVERIFY(!Form::Procura("Filho"));
        auto* teimoso = new Filho(true);
        teimoso->Show();
        Roteiro::LimpaCaixas();
        QVERIFY(!p->Unload());
        QCOMPARE(teimoso->descargas, 1);
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));  // no question: the child refused
        delete teimoso;
        Roteiro::Responde(vbYes);
        QVERIFY(Termina_Programa([&] { p->Unload(); }));
    }

    void menuAbreUmaJanelaPorItem_data() {
        using P = Principal;
        Tabela<Item>({
            {"Par_Sis", {&P::Par_Sis, "Parametr", " Parâmetros do Sistema"}},
            {"Agf_Fin", {&P::Agf_Fin, "Agenda", " Agenda de Compromissos"}},
            {"Cad_Dep", {&P::Cad_Dep, "Departamentos", " Cadastro de Departamentos"}},
            {"Tip_Hist", {&P::Tip_Hist, "Descricoes", " Cadastro de Históricos"}},
            {"Igr_Setor", {&P::Igr_Setor, "Igrejas", " Igrejas que compoem o setor"}},
            {"AtuBA", {&P::AtuBA, "Atualizacoes", " Atualização das Bases de Apoio"}},
            {"Rem_Mat", {&P::Rem_Mat, "Remessas", " Remessas enviadas à Matriz"}},
            {"Liv_Cx", {&P::Liv_Cx, "LivroCaixa", " Lançamento de Livro Caixa"}},
            {"Set_Igr", {&P::Set_Igr, "TotaisIgrejas", "Lançamento Financeiro de Igrejas do Setor"}},
            {"SelImp", {&P::SelImp, "Impressoras", " Impressoras"}},
            {"Lan_Dep", {&P::Lan_Dep, "Movto_Deptos", " Lançamento de Departamentos"}},
            {"Rec_Diz", {&P::Rec_Diz, "Recibo", " Impressão de Recibo Avulso"}},
            {"Env_Diz", {&P::Env_Diz, "Envelope", " Impressão de Envelopes de Dízimo"}},
            {"Fec_Livro", {&P::Fec_Livro, "ImpLivroCx", "Impressão de Livro Caixa"}},
            {"Diz_Rel", {&P::Diz_Rel, "Dizimistas", " Impressão da Relação de Dizimistas"}},
            {"Fec_Dep", {&P::Fec_Dep, "ImpDeptos", " Lançamento de Departamentos"}},
            {"Sobre_Sis", {&P::Sobre_Sis, "Sobre", " Sobre o Zuvevozo Ruverirora"}},
            {"Exp_Web", {&P::Exp_Web, "ExpWeb", " Exportação de Dados para TV / Monitor"}},
            {"Exp_BKP", {&P::Exp_BKP, "Backup", "Backup do Sistema"}},
            {"Exp_Termo", {&P::Exp_Termo, "ExpTermo", "Exportação para Termo de Constatação"}},
            {"Exp_Transm", {&P::Exp_Transm, "Transmit", "Dados Transmitidos à base do Mirava"}},
            {"Exp_Mirava", {&P::Exp_Mirava, "ExpMirava", "Exporta Dados à base do Mirava"}},
        });
    }
    void menuAbreUmaJanelaPorItem() {
        // Twice clicked, one window, centred 100 twips below the top.
        QFETCH(Item, caso);
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        QAction* acao = p->*caso.acao;
        acao->setEnabled(true);
        acao->trigger();
        acao->trigger();
        const std::vector<Form*> todos = Form::Forms();
        QCOMPARE(std::count_if(todos.begin(), todos.end(), [&](Form* f) { return f->Name() == caso.nome; }), 1);
        Form* f = Form::Procura(caso.nome);
        QCOMPARE(f->Caption(), caso.legenda);
        QCOMPARE(f->Left(), (p->Width() - f->Width()) / 2);
        QCOMPARE(f->Top(), 100);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void legendasEQrCode() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");  // a church of type "C": its sector items are greyed
        QStringList legendas;
        for (QWidget* m : std::initializer_list<QWidget*>{p->Menu, p->Cad_Apoio, p->Oper, p->Imp, p->Expor})
            for (QAction* a : m->actions()) legendas << a->text() + (a->isEnabled() ? "" : "#");  // "#": greyed
        QCOMPARE(legendas, ("Zuvevozo Ruverirora#|#|&Bases de Apoio|O&perações|&Impressões|&Exportações|So&bre o Sistema|"
                           "&Fechar|" + QString(15, ' ') + "#|USUÁRIO: MARIA|"
                           "&Parâmetros do Sistema|&Agenda de Compromissos|Cadastro de &Departamentos|"
                           "Cadastro de &Históricos|&Igrejas que compoem o Setor#|Atualização das &Bases de Apoio|"
                           "&Avisos para hoje|&Remessas enviadas à Matriz#|Lançamento de &Igrejas do Setor#|"
                           "Lançamento de &Livro Caixa|Lançamento de &Departamentos|"
                           "&Selecione a Impressora|&Envelopes de Dízimo|Relação de &Dizimistas|Recibo de &Pagamento Avulso|"
                           "Fechamento de &Livro Caixa|&Fechamento de Departamentos|"
                           "Dados para TV ou &Monitor|Dados para &Termo Constatação#|Dados para o &Mirava|"
                           "Dados para &Backup|Dados Transmitidos no &Período").split('|'));

        // The QR code keeps to the bottom right corner as the window resizes.
        auto* qr = new Form("QRCode", true);
        qr->Show();
        p->resize(1100, 800);
        QCoreApplication::processEvents();
        QCOMPARE(QPoint(qr->Left(), qr->Top()), QPoint(p->Width() - 3100, p->Height() - 3700));
    }
    void itemDeExecucaoRecusadoDuranteOutra_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("janela");
        QTest::newRow("atualização das bases") << "AtuBA" << "Atualizacoes";
        QTest::newRow("envio ao Mirava") << "Exp_Mirava" << "ExpMirava";
        QTest::newRow("backup") << "Exp_BKP" << "Backup";
    }
    void itemDeExecucaoRecusadoDuranteOutra() {
        QFETCH(QString, item);
        QFETCH(QString, janela);
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        auto* acao = p->findChild<QAction*>(item);
        QVERIFY(acao);
        CommandButton inicia;
        {
            Progresso run(nullptr, nullptr, nullptr, &inicia);
            QVERIFY(run.Iniciado());
            QVERIFY(!acao->isEnabled());
            acao->trigger();
            QVERIFY(!Form::Procura(janela));
            QVERIFY(p->Tip_Hist->isEnabled());
        }
        QVERIFY(acao->isEnabled());
        acao->trigger();
        QVERIFY(Form::Procura(janela));
    }
};

REGISTRA_TESTE(tst_Principal)
#include "tst_Principal.moc"
