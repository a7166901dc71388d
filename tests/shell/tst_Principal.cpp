// The main window driven as a user does: start-up against the program
// folder, the menu and its states, the day's notices at every activation,
// the ways to end and the change of user.
#include "common/Parametros.h"
#include "operations/Avisos.h"
#include "platform/App.h"
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

QString legendas(const QList<QAction*>& acoes) {
    QStringList r;
    for (QAction* a : acoes) r << a->text();
    return r.join('|');
}
}  // namespace

class tst_Principal : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Fecha_Tudo(); }

    void arquivoAntigoTomaONomeAtual() {
        Ambiente amb;
        amb.Parametros(12, "SETOR NORTE", "VILA NOVA", "S", 8, 2021);
        QVERIFY(QFile::rename(amb.Arquivo(), amb.Pasta() + "/Quorvane.kwe"));
        Principal* p = Inicia_Principal("MARIA");
        QVERIFY(QFile::exists(amb.Arquivo()) && !QFile::exists(amb.Pasta() + "/Quorvane.kwe"));
        QCOMPARE(p->Caption(), QString(" Zuvevozo Ruverirora 1.0.%1 - SETOR NORTE / VILA NOVA / AGOSTO-2021").arg(App::Revision));
        QCOMPARE(Logins(), 1);
        Fecha_Tudo();
        // With both files, neither is touched.
        QFile antigo(amb.Pasta() + "/Quorvane.kwe");
        QVERIFY(antigo.open(QIODevice::WriteOnly) && antigo.write("antigo") == 6);
        antigo.close();
        Inicia_Principal("MARIA");
        QVERIFY(antigo.open(QIODevice::ReadOnly));
        QCOMPARE(antigo.readAll(), QByteArray("antigo"));
        QCOMPARE(Param[1], QString("0012"));
        QVERIFY(Roteiro::Caixas().empty());
    }

    void semArquivoAvisaETerminaSemLogin() {
        Ambiente amb(false);
        Roteiro::Responde(vbOK);
        int logins = 0;
        Principal::DefineLogin([&] { ++logins; });
        QVERIFY(Termina_Programa([] { (new Principal())->Show(); }));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].prompt, QString("Sistema com problemas na base de dados."));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("Erro Interno"));
        QCOMPARE(Roteiro::Caixas()[0].estilo, vbExclamation);
        QCOMPARE(logins, 0);
        QVERIFY(!QFile::exists(amb.Arquivo()));  // opening never creates an empty file in its place
    }

    void menuComLegendasETeclas() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        QCOMPARE(legendas(p->Menu->actions()), "Zuvevozo Ruverirora||&Bases de Apoio|O&perações|&Impressões|&Exportações|"
                                               "So&bre o Sistema|&Fechar|" + QString(15, ' ') + "|USUÁRIO: MARIA");
        QVERIFY(!p->Espaco->isEnabled() && !p->Espaco2->isEnabled());
        QCOMPARE(legendas(p->Cad_Apoio->actions()), QString("&Parâmetros do Sistema|&Agenda de Compromissos|"
                                                            "Cadastro de &Departamentos|Cadastro de &Históricos|"
                                                            "&Igrejas que compoem o Setor|Atualização das &Bases de Apoio"));
        QCOMPARE(legendas(p->Oper->actions()), QString("&Avisos para hoje|&Remessas enviadas à Matriz|"
                                                       "Lançamento de &Igrejas do Setor|Lançamento de &Livro Caixa|"
                                                       "Lançamento de &Departamentos"));
        QCOMPARE(legendas(p->Imp->actions()), QString("&Selecione a Impressora|&Envelopes de Dízimo|Relação de &Dizimistas|"
                                                      "Recibo de &Pagamento Avulso|Fechamento de &Livro Caixa|"
                                                      "&Fechamento de Departamentos"));
        QCOMPARE(legendas(p->Expor->actions()), QString("Dados para TV ou &Monitor|Dados para &Termo Constatação|"
                                                        "Dados para o &Mirava|Dados para &Backup|"
                                                        "Dados Transmitidos no &Período"));
    }

    void itensDoSetorDependemDoTipo() {
        for (const char* tipo : {"C", "S", "c"}) {
            Ambiente amb;
            amb.Parametros(3, "SETOR", "IGREJA", tipo, 5, 2024);
            Principal* p = Inicia_Principal("MARIA");
            for (QAction* a : {p->Igr_Setor, p->Rem_Mat, p->Set_Igr, p->Exp_Termo})
                QVERIFY2(a->isEnabled() == (tipo[0] != 'C'), qPrintable(tipo + (": " + a->objectName())));
            QVERIFY(p->Liv_Cx->isEnabled());
            Fecha_Tudo();
        }
    }

    void avisosDoDiaACadaAtivacao() {
        Ambiente amb;
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        Relogio::Define(QDateTime(QDate(2021, 8, 5), QTime(9, 0)));
        Principal* p = Inicia_Principal("MARIA");  // nothing for today: the window does not stay
        QVERIFY(!Form::Procura("Avisos"));
        const std::tuple<int, int, QVariant> linhas[] = {{12, 5, "pagar água"}, {12, 5, "Aluguel do salão"},
                                                         {12, 5, "ÉDEN: reunião"}, {12, 6, "amanhã"},
                                                         {13, 5, "outra igreja"}, {12, 5, QVariant()}};
        for (const auto& [igreja, dia, texto] : linhas)
            amb.Sql("INSERT INTO Agenda (CodIg, Ano, Mes, Dia, Descricao) VALUES (?1, 2021, 8, ?2, ?3)", {igreja, dia, texto});
        p->Form_Activate();
        auto* avisos = qobject_cast<Avisos*>(Form::Procura("Avisos"));
        QVERIFY(avisos);
        QCOMPARE(avisos->Caption(), QString("Aviso de Compromissos  Importantes"));
        QCOMPARE(Linhas(avisos->LstAvisos), (QStringList{"", "Aluguel do salão", "ÉDEN: reunião", "pagar água"}));
        // Centred horizontally, 100 twips below the top of the working area.
        QCOMPARE(QPoint(avisos->Left(), avisos->Top()), QPoint((p->Width() - avisos->Width()) / 2, 100));
    }

    void fecharPeloMenuTerminaDeUmaVez() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        auto* filho = new Filho();
        filho->Show();
        Roteiro::Responde(vbNo);
        QVERIFY(!Termina_Programa([&] { p->Saida_Click(); }));
        QCOMPARE(Roteiro::Caixas().back().prompt, QString("Deseja realmente fechar o sistema ?"));
        QCOMPARE(Roteiro::Caixas().back().titulo, QString("Atenção MARIA"));
        QCOMPARE(Roteiro::Caixas().back().estilo, vbYesNo + vbQuestion);
        Roteiro::Responde(vbYes);
        QVERIFY(Termina_Programa([&] { p->Saida_Click(); }));
        QCOMPARE(filho->descargas, 0);  // the open form's unload handling never ran
    }

    void fecharAJanelaDescarregaOsFilhosAntes() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        (new Filho())->Show();
        Roteiro::Responde(vbNo);
        QVERIFY(!Termina_Programa([&] { QVERIFY(!p->Unload()); }));
        QCOMPARE(Roteiro::Caixas().back().prompt, QString("Deseja realmente sair do sistema ?"));
        QVERIFY(p->Loaded());
        QVERIFY(!Form::Procura("Filho"));  // stays closed

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

    void trocaDeUsuario() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        Roteiro::Responde(vbNo);
        p->Usu_Click();
        QCOMPARE(Roteiro::Caixas().back().prompt, QString("Deseja trocar o Usuário MARIA?"));
        QCOMPARE(Roteiro::Caixas().back().estilo, vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(Logins(), 1);
        Roteiro::Responde(vbYes);
        p->Usu_Click();
        QCOMPARE(Logins(), 2);
        p->Form_Activate();  // a user is known: no login at this activation
        QCOMPARE(Logins(), 2);
    }

    void cadaItemAbreUmaJanelaSo() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        const std::tuple<QAction*, const char*, const char*> itens[] = {
            {p->Par_Sis, "Parametr", " Parâmetros do Sistema"},       {p->Agf_Fin, "Agenda", " Agenda de Compromissos"},
            {p->Cad_Dep, "Departamentos", " Cadastro de Departamentos"}, {p->Tip_Hist, "Descricoes", " Cadastro de Históricos"},
            {p->Igr_Setor, "Igrejas", " Igrejas que compoem o setor"},
            {p->AtuBA, "Atualizacoes", " Atualização das Bases de Apoio"},
            {p->Rem_Mat, "Remessas", " Remessas enviadas à Matriz"},
            {p->Set_Igr, "TotaisIgrejas", "Lançamento Financeiro de Igrejas do Setor"},
            {p->Liv_Cx, "LivroCaixa", " Lançamento de Livro Caixa"}, {p->Lan_Dep, "Movto_Deptos", " Lançamento de Departamentos"},
            {p->SelImp, "Impressoras", " Impressoras"},                {p->Env_Diz, "Envelope", " Impressão de Envelopes de Dízimo"},
            {p->Diz_Rel, "Dizimistas", " Impressão da Relação de Dizimistas"},
            {p->Rec_Diz, "Recibo", " Impressão de Recibo Avulso"},     {p->Fec_Livro, "ImpLivroCx", "Impressão de Livro Caixa"},
            {p->Fec_Dep, "ImpDeptos", " Lançamento de Departamentos"},
            {p->Exp_Web, "ExpWeb", " Exportação de Dados para TV / Monitor"},
            {p->Exp_Termo, "ExpTermo", "Exportação para Termo de Constatação"},
            {p->Exp_Mirava, "ExpMirava", "Exporta Dados à base do Mirava"}, {p->Exp_BKP, "Backup", "Backup do Sistema"},
            {p->Exp_Transm, "Transmit", "Dados Transmitidos à base do Mirava"},
            {p->Sobre_Sis, "Sobre", " Sobre o Zuvevozo Ruverirora"},
        };
        for (const auto& [acao, nome, legenda] : itens) {
            acao->setEnabled(true);
            acao->trigger();
            acao->trigger();
            std::vector<Form*> achados;
            for (Form* f : Form::Forms())
                if (f->Name() == nome) achados.push_back(f);
            QVERIFY2(achados.size() == 1, nome);
            QCOMPARE(achados[0]->Caption(), QString(legenda));
            QCOMPARE(achados[0]->Top(), 100);
            QCOMPARE(achados[0]->Left(), (p->Width() - achados[0]->Width()) / 2);
        }
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void redimensionarLevaOQrcode() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        auto* qr = new Form("QRCode", true);
        qr->Show();
        for (const QSize& s : {QSize(900, 700), QSize(1100, 800)}) {
            p->resize(s);
            QCoreApplication::processEvents();
            QCOMPARE(QPoint(qr->Left(), qr->Top()), QPoint(p->Width() - 3100, p->Height() - 3700));
        }
    }
};

REGISTRA_TESTE(tst_Principal)
#include "tst_Principal.moc"
