// A newcomer's month on the demonstration data, end to end: a program
// folder made from the demonstration rows, the demonstration organisation
// on the central test server, three entries typed in the cash book, the
// check and the send of the month, and its closing report printed.
// USA_BANCO_CENTRAL
#include "common/Banco.h"
#include "common/Central.h"
#include "common/Esquema.h"
#include "common/Parametros.h"
#include "exports/ExpMirava.h"
#include "operations/LivroCaixa.h"
#include "platform/Printer.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "platform/SqlCipher.h"
#include "platform/Tela.h"
#include "printing/ImpLivroCx.h"
#include "support/Ambiente.h"
#include "support/CentralTeste.h"
#include "support/Interacao.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include <QFile>
#include <QProcess>
#include <QtTest>

namespace {
constexpr int Igreja = 315;

QString Arquivo_Fonte(const QString& caminho) {
    QFile f(QStringLiteral(TESOURARIA_FONTES) + "/" + caminho);
    if (!f.open(QIODevice::ReadOnly)) qFatal("sem %s", qPrintable(caminho));
    return QString::fromUtf8(f.readAll());
}

// The statements of a SQL file, its comment lines aside.
QStringList Comandos(const QString& sql) {
    QStringList linhas;
    for (const QString& l : sql.split('\n'))
        if (!l.trimmed().startsWith("--")) linhas << l;
    QStringList comandos;
    for (const QString& c : linhas.join('\n').split(';'))
        if (!c.trimmed().isEmpty()) comandos << c.trimmed();
    return comandos;
}

void Limpa_Mes() {
    Central_Sql("DELETE FROM tbllanc WHERE congregacao = ? AND mes = 8 AND ano = 2021 AND protocolo = 'TQR'", {Igreja});
}

// "#n" for the history of the list that begins with `inicio`.
QString Item(LivroCaixa* f, OptionButton* tipo, const QString& inicio) {
    QTest::mouseClick(tipo, Qt::LeftButton);
    return "#" + QString::number(f->CboHistorico->findText(inicio, Qt::MatchStartsWith));
}
}  // namespace

class tst_Demonstracao : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb_;

private slots:
    // The folder as `criabanco --demo` makes it, in August 2021 instead of
    // the month it is made in; the demonstration organisation loaded as the
    // central server's start loads it (again: every row is added once).
    void init() {
        amb_ = std::make_unique<Ambiente>(false);
        Esquema::Cria(amb_->Arquivo());
        SqlCipher::Conexao::Abre(amb_->Arquivo()).Executa(Arquivo_Fonte("db/demo/demo.sql"));
        amb_->Sql("UPDATE Parametros SET Mes = 8, Ano = 2021");
        QVERIFY(Grava_Impresso(amb_->Pasta()));
        Printer::DefinePastaPdf(amb_->Pasta() + "/pdf");
        Relogio::Define(QDateTime(QDate(2021, 8, 31), QTime(18, 0)));
        Rede::DefineConectado([] { return true; });
        Rede::DefineSonda([](const QString&, int, int) { return true; });
        DefineSleep([](int) {});
        if (ErroDe([] { Limpa_Mes(); })) QFAIL("servidor central de testes fora do ar (bash scripts/central.sh inicia)");
        for (const QString& c : Comandos(Arquivo_Fonte("db/central/demonstracao.sql"))) Central_Sql(c);
        Central_Sql("DELETE FROM versao_sistema");  // as a newcomer finds it: no newer version published
    }
    void cleanup() {
        Fecha_Tudo();
        Limpa_Mes();
        DefineSleep({});
        Rede::DefineSonda({});
        Rede::DefineConectado({});
        Relogio::Define({});
        Printer::DefinePastaPdf({});
        amb_.reset();
    }

    void enviaEImprime() {
        Principal* p = Inicia_Principal("MARIA");
        Roteiro::LimpaCaixas();
        auto* livro = Abre_Do_Menu<LivroCaixa>(p->Liv_Cx);
        Lanca_No_Livro(livro, livro->OptOfertas, "culto de domingo", "1", "1234,56");
        Lanca_No_Livro(livro, livro->OptDizimos, Item(livro, livro->OptDizimos, "JOSÉ DA SILVA"), "8", "350,25");
        Lanca_No_Livro(livro, livro->OptSaidas, Item(livro, livro->OptSaidas, "ENERGIA ELÉTRICA"), "20", "480,10");
        QCOMPARE(livro->LstLivroCx->ListCount(), 3);
        QVERIFY(Roteiro::Caixas().empty());

        auto* envio = Abre_Do_Menu<ExpMirava>(p->Exp_Mirava);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(envio->CmdValida, Qt::LeftButton);
        CONFERE_CAIXA("Verificação de Dados Concluida", vbOKOnly + vbInformation);
        QVERIFY(envio->Lancamentos_Validados);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(envio->CmdExcel, Qt::LeftButton);
        CONFERE_CAIXA("Operação Concluida", vbOKOnly + vbInformation);
        QCOMPARE(envio->LblMensagem->Caption(), QString("Dados Enviados ao Mirava com Sucesso."));

        // In the demonstration church's own box; the outflow under its
        // account of the central chart, not the fallback 4710.
        QStringList central;
        for (RecordsetPtr rs = ConexaoCentral(true).AbreSnapshot(
                 "SELECT tipo, conta, caixa, valor FROM tbllanc WHERE congregacao = ? AND mes = 8 AND ano = 2021 "
                 "AND protocolo = 'TQR' ORDER BY id",
                 {Igreja});
             !rs->Eof(); rs->MoveNext())
            central << rs->Texto("tipo") + " " + rs->Texto("conta") + " " + rs->Texto("caixa") + " " + rs->Texto("valor");
        QCOMPARE(central, (QStringList{"C 3102 31500 1234.56", "C 3101 31500 350.25", "D 4101 31500 480.10"}));
        QCOMPARE(amb_->Conta("SELECT COUNT(*) FROM Transmissao WHERE Mes = 8 AND Ano = 2021"), 1);

        // The month transmitted, its closing report prints.
        auto* fechamento = Abre_Do_Menu<ImpLivroCx>(p->Fec_Livro);
        Roteiro::Responde(vbYes);  // no previous balance: print all the same
        Roteiro::Responde(vbYes);  // the paper is ready
        QTest::mouseClick(fechamento->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA("Prepare a Impressora com papel A4. Tudo OK ?", vbYesNo + vbQuestion);
        const Documento pdf = Novo_Pdf(0);
        QCOMPARE(pdf.paginas, 1);
        for (const char* valor : {"1.234,56", "350,25", "480,10"}) QCOMPARE(pdf.Acha(1, valor).pagina, 1);
    }

    // A fresh machine's root shell has no LANG: the server's script must
    // not leave the load of the demonstration to the shell's locale.
    void carregaSemLocale() {
        Central_Sql("DELETE FROM tblmembros WHERE codigo = 31507");
        Central_Sql("DELETE FROM tbldepartamentos WHERE codigo = 3106");
        QStringList argumentos{"-i"};
        // The folder of a server started elsewhere than the default one.
        if (qEnvironmentVariableIsSet("TESOURARIA_CENTRAL_DIR"))
            argumentos << "TESOURARIA_CENTRAL_DIR=" + qEnvironmentVariable("TESOURARIA_CENTRAL_DIR");
        argumentos << "bash" << QStringLiteral(TESOURARIA_FONTES "/scripts/central.sh") << "inicia";
        QProcess script;
        script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        script.start("env", argumentos);
        QVERIFY(script.waitForFinished(120000));
        QCOMPARE(script.exitCode(), 0);

        const auto nome = [](const QString& sql) {
            const RecordsetPtr rs = ConexaoCentral(true).AbreSnapshot(sql);
            return rs->Eof() ? QString() : rs->Texto(0);
        };
        QCOMPARE(nome("SELECT nome FROM tblmembros WHERE codigo = 31507"), QString("Élcio Nunes"));
        QCOMPARE(nome("SELECT descricao FROM tbldepartamentos WHERE codigo = 3106"), QString("Ação Social"));
    }
};

REGISTRA_TESTE(tst_Demonstracao)
#include "tst_Demonstracao.moc"
