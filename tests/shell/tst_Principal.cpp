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
        QVERIFY(QFile::exists(amb.Arquivo()) && !QFile::exists(antigo));
        QCOMPARE(p->Caption(), QString(" Zuvevozo Ruverirora 1.0.%1 - SETOR NORTE / VILA NOVA / AGOSTO-2021").arg(App::Revision));
        Fecha_Tudo();
        // With both files, neither is touched.
        QFile f(antigo);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write("antigo") == 6);
        f.close();
        Inicia_Principal("MARIA");
        QVERIFY(Bytes(antigo) == "antigo" && Param[1] == "0012" && Roteiro::Caixas().empty());
    }

    void semArquivoAvisaETerminaSemLogin() {
        Ambiente amb(false);
        Roteiro::Responde(vbOK);
        int logins = 0;
        Principal::DefineLogin([&] { ++logins; });
        QVERIFY(Termina_Programa([] { (new Principal())->Show(); }));
        const Roteiro::Caixa& c = Roteiro::Caixas().back();
        QCOMPARE(c.prompt + "|" + c.titulo, QString("Sistema com problemas na base de dados.|Erro Interno"));
        QVERIFY(c.estilo == vbExclamation && Roteiro::Caixas().size() == 1 && logins == 0);
        QVERIFY(!QFile::exists(amb.Arquivo()));  // opening never creates an empty file in its place
    }

    void avisosDoDiaACadaAtivacao() {
        Ambiente amb;
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        Relogio::Define(QDateTime(QDate(2021, 8, 5), QTime(9, 0)));
        Principal* p = Inicia_Principal("MARIA");  // nothing for today: the window does not stay
        QVERIFY(!Form::Procura("Avisos"));
        for (QAction* a : {p->Igr_Setor, p->Rem_Mat, p->Set_Igr, p->Exp_Termo}) QVERIFY(a->isEnabled());  // a sector: type "S"
        amb.Sql("INSERT INTO Agenda (CodIg, Ano, Mes, Dia, Descricao) VALUES (12, 2021, 8, 5, 'pagar água'), "
                "(12, 2021, 8, 5, 'Aluguel do salão'), (12, 2021, 8, 5, 'ÉDEN: reunião'), (12, 2021, 8, 6, 'amanhã'), "
                "(13, 2021, 8, 5, 'outra igreja'), (12, 2021, 8, 5, NULL)");
        p->Form_Activate();
        auto* avisos = qobject_cast<Avisos*>(Form::Procura("Avisos"));
        QVERIFY(avisos);
        QCOMPARE(avisos->Caption() + "|" + Linhas(avisos->LstAvisos).join('|'),
                 QString("Aviso de Compromissos  Importantes||Aluguel do salão|ÉDEN: reunião|pagar água"));
        // Centred horizontally, 100 twips below the top of the working area.
        QCOMPARE(QPoint(avisos->Left(), avisos->Top()), QPoint((p->Width() - avisos->Width()) / 2, 100));
    }

    void trocaDeUsuarioEFormasDeTerminar() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        for (int resposta : {vbNo, vbYes}) {
            Roteiro::Responde(resposta);
            p->Usu_Click();
            CONFERE_CAIXA("Deseja trocar o Usuário MARIA?", vbYesNo + vbQuestion + vbDefaultButton2);
            QCOMPARE(Logins(), resposta == vbYes ? 2 : 1);
        }
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
        QVERIFY(p->Loaded() && !Form::Procura("Filho"));
        auto* teimoso = new Filho(true);
        teimoso->Show();
        Roteiro::LimpaCaixas();
        QVERIFY(!p->Unload());
        QVERIFY(teimoso->descargas == 1 && Roteiro::Caixas().empty());  // no question: the child refused
        delete teimoso;
        Roteiro::Responde(vbYes);
        QVERIFY(Termina_Programa([&] { p->Unload(); }));
    }

    void menuAbreUmaJanelaPorItem() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");  // a church of type "C": its sector items are greyed
        QString legendas;
        for (QWidget* m : std::initializer_list<QWidget*>{p->Menu, p->Cad_Apoio, p->Oper, p->Imp, p->Expor})
            for (QAction* a : m->actions()) legendas += a->text() + (a->isEnabled() ? "|" : "#|");  // "#": greyed
        QCOMPARE(legendas, "Zuvevozo Ruverirora#|#|&Bases de Apoio|O&perações|&Impressões|&Exportações|So&bre o Sistema|"
                           "&Fechar|" + QString(15, ' ') + "#|USUÁRIO: MARIA|"
                           "&Parâmetros do Sistema|&Agenda de Compromissos|Cadastro de &Departamentos|"
                           "Cadastro de &Históricos|&Igrejas que compoem o Setor#|Atualização das &Bases de Apoio|"
                           "&Avisos para hoje|&Remessas enviadas à Matriz#|Lançamento de &Igrejas do Setor#|"
                           "Lançamento de &Livro Caixa|Lançamento de &Departamentos|"
                           "&Selecione a Impressora|&Envelopes de Dízimo|Relação de &Dizimistas|Recibo de &Pagamento Avulso|"
                           "Fechamento de &Livro Caixa|&Fechamento de Departamentos|"
                           "Dados para TV ou &Monitor|Dados para &Termo Constatação#|Dados para o &Mirava|"
                           "Dados para &Backup|Dados Transmitidos no &Período|");

        const std::tuple<QAction*, const char*, const char*> itens[] = {
            {p->Par_Sis, "Parametr", " Parâmetros do Sistema"}, {p->Agf_Fin, "Agenda", " Agenda de Compromissos"},
            {p->Cad_Dep, "Departamentos", " Cadastro de Departamentos"}, {p->Tip_Hist, "Descricoes", " Cadastro de Históricos"},
            {p->Igr_Setor, "Igrejas", " Igrejas que compoem o setor"}, {p->AtuBA, "Atualizacoes", " Atualização das Bases de Apoio"},
            {p->Rem_Mat, "Remessas", " Remessas enviadas à Matriz"}, {p->Liv_Cx, "LivroCaixa", " Lançamento de Livro Caixa"},
            {p->Set_Igr, "TotaisIgrejas", "Lançamento Financeiro de Igrejas do Setor"}, {p->SelImp, "Impressoras", " Impressoras"},
            {p->Lan_Dep, "Movto_Deptos", " Lançamento de Departamentos"}, {p->Rec_Diz, "Recibo", " Impressão de Recibo Avulso"},
            {p->Env_Diz, "Envelope", " Impressão de Envelopes de Dízimo"}, {p->Fec_Livro, "ImpLivroCx", "Impressão de Livro Caixa"},
            {p->Diz_Rel, "Dizimistas", " Impressão da Relação de Dizimistas"},
            {p->Fec_Dep, "ImpDeptos", " Lançamento de Departamentos"}, {p->Sobre_Sis, "Sobre", " Sobre o Zuvevozo Ruverirora"},
            {p->Exp_Web, "ExpWeb", " Exportação de Dados para TV / Monitor"}, {p->Exp_BKP, "Backup", "Backup do Sistema"},
            {p->Exp_Termo, "ExpTermo", "Exportação para Termo de Constatação"},
            {p->Exp_Transm, "Transmit", "Dados Transmitidos à base do Mirava"},
            {p->Exp_Mirava, "ExpMirava", "Exporta Dados à base do Mirava"},
        };
        for (const auto& [acao, nome, legenda] : itens) {
            acao->setEnabled(true);
            acao->trigger();
            acao->trigger();
            const std::vector<Form*> todos = Form::Forms();
            QCOMPARE(std::count_if(todos.begin(), todos.end(), [&](Form* f) { return f->Name() == nome; }), 1);
            Form* f = Form::Procura(nome);
            QCOMPARE(f->Caption(), QString(legenda));
            QCOMPARE(QPoint(f->Left(), f->Top()), QPoint((p->Width() - f->Width()) / 2, 100));
        }
        QCOMPARE(Screen::MousePointerAtual(), 0);

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
