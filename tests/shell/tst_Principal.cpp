// The main window driven as a user does: start-up against the program
// folder, the menu and its states, the day's notices at every activation,
// the ways to end and the change of user, the QR code and its appeal.
#include "common/Parametros.h"
#include "operations/Avisos.h"
#include "platform/App.h"
#include "platform/Progresso.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "shell/Donativo.h"
#include "shell/QRCode.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Protecao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QFile>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QtTest>

namespace {
// A child that records its unload and can refuse it.
struct Filho : Form {
    explicit Filho(bool recusar = false) : Form("Filho", true), recusa(recusar) {}
    void Form_Unload(int& Cancel) override { ++descargas; Cancel = recusa; }
    int descargas = 0;
    bool recusa;
};
// An item that starts a long run (`longa`) is refused while another goes.
struct Item { QAction* Principal::*acao; QString nome, legenda; bool longa = false; };
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

    void arquivoSomenteLeituraAtualNaoEEscrito() {
        Ambiente amb;
        amb.Parametros(7, "SETOR", "IGREJA", "S", 3, 2024, "IGREJA DO MORRO");
        const QByteArray antes = Bytes(amb.Arquivo());
        const QDateTime modificado = QFileInfo(amb.Arquivo()).lastModified();
        Protecao protecao(amb.Arquivo());
        if (!protecao.Protegido()) QSKIP("este sistema não deixa proteger o arquivo contra escrita");
        Roteiro::Responde(vbNo);  // an error box would take it, and start-up would go on
        Inicia_Principal("ANA");
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));
        QCOMPARE(Param[2], QString("IGREJA DO MORRO"));
        QCOMPARE(Bytes(amb.Arquivo()), antes);
        QCOMPARE(QFileInfo(amb.Arquivo()).lastModified(), modificado);
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
        QVERIFY(p->Exp_Termo->isEnabled());  // a sector's item; the others open their forms in their own tests
        amb.Sql("INSERT INTO Agenda (CodIg, Ano, Mes, Dia, Descricao) VALUES (12, 2021, 8, 5, 'pagar água'), "
                "(12, 2021, 8, 5, 'Aluguel do salão'), (12, 2021, 8, 5, 'ÉDEN: reunião'), (12, 2021, 8, 6, 'amanhã'), "
                "(13, 2021, 8, 5, 'outra igreja'), (12, 2021, 8, 5, NULL)");
        p->Form_Activate();
        auto* avisos = qobject_cast<Avisos*>(Form::Procura("Avisos"));
        QVERIFY(avisos);
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
        p->Form_Activate();  // a user is known: no login at this activation
        QCOMPARE(Logins(), 1);

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
            {"Tip_Hist", {&P::Tip_Hist, "Descricoes", " Cadastro de Históricos"}},
            {"AtuBA", {&P::AtuBA, "Atualizacoes", " Atualização das Bases de Apoio", true}},
            {"Liv_Cx", {&P::Liv_Cx, "LivroCaixa", " Lançamento de Livro Caixa"}},
            {"Exp_Transm", {&P::Exp_Transm, "Transmit", "Dados Transmitidos à base do Mirava"}},
            {"Sobre_Sis", {&P::Sobre_Sis, "Sobre", " Sobre o Zuvevozo Ruverirora"}},
            {"Exp_BKP", {&P::Exp_BKP, "Backup", "Backup do Sistema", true}},
            {"Exp_Mirava", {&P::Exp_Mirava, "ExpMirava", "Exporta Dados à base do Mirava", true}},
            {"Diz_Rel", {&P::Diz_Rel, "Dizimistas", " Impressão da Relação de Dizimistas"}},
            {"Rec_Diz", {&P::Rec_Diz, "Recibo", " Impressão de Recibo Avulso"}},
            {"Exp_Web", {&P::Exp_Web, "ExpWeb", " Exportação de Dados para TV / Monitor"}},
        });
    }
    // The forms of the menu: twice clicked, one window, centred 100 twips
    // below the top.
    void menuAbreUmaJanelaPorItem() {
        QFETCH(Item, caso);
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");
        QAction* acao = p->*caso.acao;
        if (caso.longa) {
            CommandButton inicia;
            const Progresso run(nullptr, nullptr, nullptr, &inicia);
            QVERIFY(!acao->isEnabled());
            acao->trigger();
            QVERIFY(!Form::Procura(caso.nome));
            QVERIFY(p->Tip_Hist->isEnabled());  // only the items of long runs
        }
        if (caso.longa) QVERIFY(acao->isEnabled());
        acao->setEnabled(true);  // a sector's items are greyed for this church
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

    void itensCinzentosQrCodeEDonativo() {
        Ambiente amb;
        Principal* p = Inicia_Principal("MARIA");  // a church of type "C": its sector items are greyed
        QStringList cinzas;
        for (QWidget* m : std::initializer_list<QWidget*>{p->Menu, p->Cad_Apoio, p->Oper, p->Imp, p->Expor})
            for (QAction* a : m->actions())
                if (!a->isEnabled()) cinzas << a->text();
        QCOMPARE(cinzas, (QStringList{"Zuvevozo Ruverirora", "", QString(15, ' '), "&Igrejas que compoem o Setor",
                                      "&Remessas enviadas à Matriz", "Lançamento de &Igrejas do Setor",
                                      "Dados para &Termo Constatação"}));
        QCOMPARE(p->Usu->text(), QString("USUÁRIO: MARIA"));

        // The QR code keeps to the bottom right corner as the window resizes.
        auto* qr = Form::Instancia<QRCode>();
        qr->Show();
        p->resize(1100, 800);
        QCoreApplication::processEvents();
        QCOMPARE(QPoint(qr->Left(), qr->Top()), QPoint(p->Width() - 3100, p->Height() - 3700));

        // What the window shows, enlarged without smoothing as a camera would,
        // read back by an independent reader.
        QTemporaryDir dir;
        const QImage tela = qr->Image1->grab().toImage();
        QVERIFY(tela.scaled(tela.size() * 3).save(dir.filePath("qr.png")));
        QProcess zbar;
        zbar.start("zbarimg", {"--raw", "-q", dir.filePath("qr.png")});
        QVERIFY(zbar.waitForFinished(20000));
        const QString lido = QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
        QCOMPARE(lido, QRCode::Texto_Pagamento());
        QVERIFY(lido.contains("@exemplo.invalid"));  // a key under a name reserved never to exist

        // One appeal however often it is clicked, a text the user cannot change.
        QTest::mouseClick(qr->Image1, Qt::LeftButton);
        QTest::mouseClick(qr, Qt::LeftButton, {}, QPoint(1, 1));  // the window itself
        const std::vector<Form*> todos = Form::Forms();
        QCOMPARE(std::count_if(todos.begin(), todos.end(), [](Form* f) { return f->Name() == "Donativo"; }), 1);
        auto* d = qobject_cast<Donativo*>(Form::Procura("Donativo"));
        const QString texto = d->TxtDoa->toPlainText();
        QCOMPARE(texto, Donativo::Texto_Apelo());
        QVERIFY(!texto.contains('\n'));
        QVERIFY(!texto.contains('\r'));
        Digita(d->TxtDoa, "xyz");
        QTest::keyClick(d->TxtDoa, Qt::Key_Backspace);
        QTest::keyClick(d->TxtDoa, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(d->TxtDoa->toPlainText(), texto);
    }
};

REGISTRA_TESTE(tst_Principal)
#include "tst_Principal.moc"
