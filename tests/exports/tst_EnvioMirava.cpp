// The send of the month driven from the main window's menu against the real
// test server: every column of the rows written, the checks before the
// first row with their answers, and a send that applies whole or not at
// all, centrally and locally.
// USA_BANCO_CENTRAL
#include "common/Central.h"
#include "common/Parametros.h"
#include "exports/ExpMirava.h"
#include "exports/Transmit.h"
#include "platform/App.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "support/CentralTeste.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QScopeGuard>
#include <QtTest>

namespace {
// Codes no other test of the shared server uses; the box codes pass 16 bits.
constexpr int Igreja = 9181, Vizinha = 9182, Setor = 918, CaixaInt = 70001, CaixaSede = 70002;
const QString Falhou = "Operação ainda Não Concluida";
const QString Concluiu = "Operação Concluida";
const QString Anteriores = "Existem Dados Anteriores da Congregação. Deseja sobrepor?";

RecordsetPtr Central_Le(const QString& sql, const QVariantList& valores = {}) {
    return ConexaoCentral(true).AbreSnapshot(sql, valores);
}
void Limpa_Central() {
    Central_Sql("DELETE FROM tbllanc WHERE congregacao IN (?, ?)", {Igreja, Vizinha});
    Central_Sql("DELETE FROM tblcongregacoes WHERE codigo IN (?, ?)", {Igreja, Vizinha});
    Central_Sql("DELETE FROM tblcaixas WHERE congregacao IN (?, ?)", {Igreja, Vizinha});
    Central_Sql("DELETE FROM tblresumomes WHERE codigocentral IN (?, ?)", {CaixaInt, CaixaSede});
    Central_Sql("DELETE FROM tblcontas WHERE codseq IN (123, 124)");
    Central_Sql("DELETE FROM versao_sistema");
}
// A value read back as the test writes it: NULL, dates and times by their
// SQL form, the rest as text.
QString Texto(const QVariant& v) {
    if (v.isNull()) return "NULL";
    if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().toString("yyyy-MM-dd HH:mm:ss");
    if (v.typeId() == QMetaType::QDate) return v.toDate().toString("yyyy-MM-dd");
    if (v.typeId() == QMetaType::QTime) return v.toTime().toString("HH:mm:ss");
    return v.toString();
}
// The month's rows: "protocolo historico" each, in the order written.
QStringList Linhas_Centrais() {
    QStringList l;
    for (RecordsetPtr rs = Central_Le("SELECT protocolo, historico FROM tbllanc WHERE congregacao = ? ORDER BY id", {Igreja});
         !rs->Eof(); rs->MoveNext())
        l << rs->Texto("protocolo") + " " + rs->Texto("historico");
    return l;
}

// Columns as "name=value|name=value".
QMap<QString, QString> Colunas(const QString& texto) {
    QMap<QString, QString> m;
    for (const QString& c : texto.split('|')) m[c.section('=', 0, 0)] = c.section('=', 1);
    return m;
}

struct Entrada { QString tipo; int dia; QString hist; double valor; };
struct Coluna { Entrada entrada; QString diferentes; };
struct Falha { int resposta; QStringList central; int registros; };
struct Recusa { QString sql; QVariantList valores; QStringList caixas; QString status; };
struct Caixas { int resposta; QString status; bool combo; };
}  // namespace

class tst_EnvioMirava : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb;
    bool servidor = true;
    Principal* principal = nullptr;

    ExpMirava* abre(const QList<Entrada>& entradas, const QString& usuario = "MARIA") {
        int codigo = 0;
        for (const Entrada& e : entradas)
            amb->Sql("INSERT INTO LivroCaixa VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)",
                     {++codigo, Igreja, 2021, 8, e.dia, e.tipo, e.hist, e.valor});
        principal = Inicia_Principal(usuario);
        principal->Exp_Mirava->trigger();
        Roteiro::LimpaCaixas();
        auto* f = qobject_cast<ExpMirava*>(Form::Procura("ExpMirava"));
        if (!f) qFatal("o menu não abriu a transmissão");
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdValida, Qt::LeftButton);
        Roteiro::LimpaCaixas();
        if (!f->Lancamentos_Validados) qFatal("o mês de teste não passou na validação");
        return f;
    }
    // Clicks "&Exportar" with the script's answers; the boxes shown, each as
    // its prompt.
    static QStringList exporta(ExpMirava* f, const QList<int>& respostas) {
        for (int r : respostas) Roteiro::Responde(r);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        QStringList caixas;
        for (const auto& c : Roteiro::Caixas()) caixas << c.prompt;
        Roteiro::LimpaCaixas();
        return caixas;
    }
    int registros() { return amb->Conta("SELECT COUNT(*) FROM Transmissao WHERE Mes = 8 AND Ano = 2021"); }
    // A month sent earlier: two rows of its own and one of another
    // protocol, recorded locally.
    void envio_anterior() {
        for (const char* p : {"TQR", "TQR", "XYZ"})
            Central_Sql("INSERT INTO tbllanc (congregacao, mes, ano, protocolo, historico) VALUES (?, 8, 2021, ?, 'ANTES')",
                        {Igreja, p});
        amb->Sql("INSERT INTO Transmissao VALUES (8, 2021, '01/08/2021 09:00:00', 'ANA')");
    }
    static QList<Entrada> ofertas(int n) {
        QList<Entrada> l;
        for (int i = 0; i < n; ++i) l << Entrada{"O", 1 + i % 28, "CULTO", 1.5};
        return l;
    }

private slots:
    void init() {
        amb = std::make_unique<Ambiente>();
        amb->Parametros(Igreja, "SETOR", "IGREJA", "S", 8, 2021);
        Relogio::Define(QDateTime(QDate(2021, 8, 15), QTime(10, 0, 7)));
        Param[11] = Servidor_Central;
        Rede::DefineConectado([] { return true; });
        servidor = true;
        Rede::DefineSonda([this](const QString&, int, int) { return servidor; });
        Central::DefineTextoConexao({});
        DefineSleep([](int) {});
        if (ErroDe([] { Limpa_Central(); }))
            QFAIL("servidor central de testes fora do ar (bash scripts/central.sh inicia)");
        Central_Sql("INSERT INTO versao_sistema VALUES (?)", {App::Versao()});
        Central_Sql("INSERT INTO tblcongregacoes (codigo, nome, setor) VALUES (?, 'IGREJA', ?), (?, 'VIZINHA', ?)",
                    {Igreja, Setor, Vizinha, Setor});
        Central_Sql("INSERT INTO tblcaixas VALUES (?, 'CX SEDE', ?), (?, 'CX VIZINHA INT', ?)",
                    {CaixaSede, Igreja, CaixaInt, Vizinha});
        Central_Sql("INSERT INTO tblcontas (codseq, reduzido) VALUES (123, 5120)");
    }
    void cleanup() {
        Fecha_Tudo();
        Central::DefineTextoConexao({});
        DefineSleep({});
        Rede::DefineSonda({});
        Rede::DefineConectado({});
        Relogio::Define({});
        Limpa_Central();
        amb.reset();
    }

    void colunas_data() {
        const QString outro = "JOÃO \"Ç\" \\ ç";
        Tabela<Coluna>({
            {"dízimo", {{"D", 5, "ANA LIMA RI:000123456 DC", 1234.56},
                        "valor=1234.56|membro=123456|conta=3101|tipoorigem=1|historico=DÍZIMO DC ANA LIMA RI:000123456|nomeoutro="}},
            {"dízimo sem RI", {{"D", 5, outro + " RI:00000000 MB", 0.01},
                               "valor=0.01|conta=3101|tipoorigem=3|historico=DÍZIMO MB " + outro + " RI:00000000|outros=" +
                                   outro + "|nomeoutro=" + outro}},
            {"oferta", {{"O", 5, "CULTO DE DOMINGO", 50}, "valor=50.00|conta=3102|historico=OFERTAS NORMAIS"}},
            {"saída de conta conhecida", {{"S", 5, "LUZ \"Í\" \\ ç CT:123", 99999.99},
                                          "valor=99999.99|conta=5120|tipo=D|historico=LUZ \"Í\" \\ ç CT:123|transacao=1"}},
            {"saída de conta desconhecida", {{"S", 5, "AGUA CT:124", 10},
                                             "valor=10.00|conta=4710|tipo=D|historico=AGUA CT:124|transacao=1"}},
        });
    }
    // A one-row month: every column of the row written, the full bar.
    void colunas() {
        QFETCH(Coluna, caso);
        ExpMirava* f = abre({caso.entrada});
        QCOMPARE(exporta(f, {vbOK}), QStringList{Concluiu});
        auto esperadas = Colunas(
            "mes=8|ano=2021|funcionario=0|frequentador=0|data=2021-08-05|hora=10:00:07|chequebanco=NULL|chequenumero=NULL|"
            "chequeagencia=NULL|chequevalor=NULL|chequedata=NULL|nomeportador=NULL|mesreferencia=082021|celula=0|"
            "contacredito=|caixacredito=0|fornecedor=0|departamento=0|formapagto=1|culto=0|horario=2021-08-15 10:00:07|"
            "protocolo=TQR|impcheck=|datadevolucao=NULL|semana=0|grupoconta=0|codlote=0|centrocusto=0|comprovante=|"
            "tipoplanilha=|vlr1=0.00|forma1=0|vlr2=0.00|forma2=0|vlr3=0.00|forma3=0|anexo=|parcela=|codparcela=0|"
            "competencia=082021|datapgto=2021-08-05|fiscalsn=NULL|ard=NULL|usuario=489|membro=0|numero=1|tipo=C|"
            "tipoorigem=|transacao=|outros=|nomeoutro=NULL");
        esperadas.insert(Colunas(QString("setor=%1|congregacao=%2|caixa=%3").arg(Setor).arg(Igreja).arg(CaixaInt)));
        esperadas.insert(Colunas(caso.diferentes));
        const RecordsetPtr rs = Central_Le("SELECT * FROM tbllanc WHERE congregacao = ?", {Igreja});
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->FieldCount(), 58);
        for (int c = 0; c < rs->FieldCount(); ++c) {
            const QString nome = rs->FieldName(c);
            if (nome == "id") continue;
            QCOMPARE(nome + "=" + Texto(rs->Fields(c)), nome + "=" + esperadas.value(nome, "?"));
        }
        QCOMPARE(f->LblProgresso->Caption(), QString(73, '='));
        QCOMPARE(f->LblRegAnd->Caption(), QString("1/1 Registro(s)"));
        QCOMPARE(f->LblAndam->Caption(), QString("100%"));
        QCOMPARE(f->LblMensagem->Caption(), QString("Dados Enviados ao Mirava com Sucesso."));
        QCOMPARE(registros(), 1);
    }

    void conexao_derrubada_data() {
        Tabela<Falha>({{"desiste", {vbNo, {"TQR ANTES", "TQR ANTES", "XYZ ANTES"}, 1}},
                       {"tenta de novo", {vbYes, {"XYZ ANTES"}, 1}}});
    }
    // The send's connection killed at the 61st of 100 rows, the first 50
    // already on the server in its open transaction: No leaves the
    // central month and the local record as they were; Yes sends the whole
    // month again on a new connection, once.
    void conexao_derrubada() {
        QFETCH(Falha, caso);
        envio_anterior();
        ExpMirava* f = abre(ofertas(100));
        qint64 morta = 0;
        int pendentes = -1;
        f->Linha_Enviada = [&](int i) {
            if (i != 60 || morta) return;
            ConexaoCentral espia(false);
            espia.Executa("SET SESSION TRANSACTION ISOLATION LEVEL READ UNCOMMITTED");
            pendentes = espia.AbreSnapshot("SELECT COUNT(*) FROM tbllanc WHERE congregacao = ? AND historico = ?",
                                           {Igreja, "OFERTAS NORMAIS"})->Fields(0).toInt();
            morta = f->Conexao_Envio();
            Central_Sql("KILL " + QString::number(morta));
        };
        const QStringList caixas = exporta(f, {vbYes, caso.resposta, vbOK});
        QVERIFY(morta > 0);
        QCOMPARE(pendentes, 50);
        QCOMPARE(caixas.size(), 3);
        QCOMPARE(caixas.first(), Anteriores);
        QCOMPARE(caixas.last(), caso.resposta == vbYes ? Concluiu : Falhou);
        QStringList central = caso.central;
        if (caso.resposta == vbYes)
            for (int i = 0; i < 100; ++i) central << "TQR OFERTAS NORMAIS";
        QCOMPARE(Linhas_Centrais(), central);
        QCOMPARE(registros(), caso.registros);
        QCOMPARE(amb->Le("SELECT Usuario FROM Transmissao")->Texto("Usuario"),
                 caso.resposta == vbYes ? QString("MARIA") : QString("ANA"));
    }

    void interrompido_data() { Tabela<bool>({{"Cancelar", false}, {"janela fechada", true}}); }
    // A click on "&Cancelar" after the third of ten rows, or the window
    // closed then (a cancel without its box; the window closes once the
    // send has let go of it): nothing of the send stays, the earlier one
    // included; no button starts another run meanwhile.
    void interrompido() {
        QFETCH(bool, caso);
        envio_anterior();
        QPointer<ExpMirava> f = abre(ofertas(10));
        bool exportaAtivo = true, validaAtivo = true;
        f->Linha_Enviada = [&](int i) {
            if (i != 2) return;
            exportaAtivo = f->CmdExcel->isEnabled();
            validaAtivo = f->CmdValida->isEnabled();
            QTest::mouseClick(f->CmdValida, Qt::LeftButton);  // refused while the send runs
            if (caso) f->close();
            else QTest::mouseClick(f->CmdCancela, Qt::LeftButton);
        };
        QStringList caixas{Anteriores, Falhou};
        if (!caso) caixas.insert(1, "Operação Cancelada pelo Usuário");
        QCOMPARE(exporta(f, {vbYes, vbOK, vbOK}), caixas);
        QVERIFY(!exportaAtivo);
        QVERIFY(!validaAtivo);
        QCOMPARE(Linhas_Centrais(), (QStringList{"TQR ANTES", "TQR ANTES", "XYZ ANTES"}));
        QCOMPARE(registros(), 1);
        if (caso) {
            QTRY_VERIFY(!f || !f->isVisible());
            return;
        }
        QCOMPARE(f->LstLivroCx->ListIndex(), 2);
        QVERIFY(f->CmdExcel->isEnabled());
        QVERIFY(f->CmdValida->isEnabled());
    }

    // No keeps the earlier send and clears the status. Yes replaces its
    // rows and keeps those of another protocol; when the local record is
    // then refused, answered No, the result is a failure, the status line
    // says where the month is and the earlier record stays; the next send
    // offers to replace the month again.
    void envio_anterior_respondido() {
        envio_anterior();
        ExpMirava* f = abre(ofertas(2));
        QCOMPARE(exporta(f, {vbNo, vbOK}), (QStringList{Anteriores, Falhou}));
        QCOMPARE(f->LblMensagem->Caption(), QString());
        QCOMPARE(Linhas_Centrais(), (QStringList{"TQR ANTES", "TQR ANTES", "XYZ ANTES"}));
        QCOMPARE(registros(), 1);
        const QStringList substituido{"XYZ ANTES", "TQR OFERTAS NORMAIS", "TQR OFERTAS NORMAIS"};
        amb->Sql("CREATE TRIGGER recusa BEFORE INSERT ON Transmissao BEGIN SELECT RAISE(ABORT, 'disco cheio'); END");
        const QStringList caixas = exporta(f, {vbYes, vbNo, vbOK});
        QCOMPARE(caixas.size(), 3);
        QCOMPARE(caixas.first(), Anteriores);
        QCOMPARE(caixas.last(), Falhou);
        QCOMPARE(f->LblMensagem->Caption(),
                 QString("Os dados chegaram ao Mirava, mas a transmissão não foi registrada. Envie novamente."));
        QCOMPARE(Linhas_Centrais(), substituido);
        QCOMPARE(amb->Le("SELECT Usuario FROM Transmissao")->Texto("Usuario"), QString("ANA"));
        amb->Sql("DROP TRIGGER recusa");
        QCOMPARE(exporta(f, {vbYes, vbOK}), (QStringList{Anteriores, Concluiu}));
        QCOMPARE(Linhas_Centrais(), substituido);
        QCOMPARE(registros(), 1);
    }

    void caixa_manual_data() {
        Tabela<Caixas>({{"não", {vbNo, "Infelizmente seus dados não foram enviados ao Mirava.", false}},
                        {"sim", {vbYes, Falhou, true}}});
    }
    // A sector with no "INT" box: the question; Yes offers the sector's
    // boxes, and the next send goes to the one chosen.
    void caixa_manual() {
        QFETCH(Caixas, caso);
        Central_Sql("DELETE FROM tblcaixas WHERE Codigo = ?", {CaixaInt});
        Central_Sql("INSERT INTO tblcaixas VALUES (?, 'CX VIZINHA', ?)", {CaixaInt, Vizinha});
        ExpMirava* f = abre({{"O", 3, "CULTO", 5}});
        QStringList esperadas{"Seu caixa interno não foi encontrado no sistema.\rDeseja selecionar o caixa manualmente?"};
        if (caso.combo) esperadas << "Pronto. Selecione o Caixa correto e repita a Operação";
        QCOMPARE(exporta(f, {caso.resposta, vbOK, vbOK}), esperadas << Falhou);
        QCOMPARE(f->LblMensagem->Caption(), caso.status);
        QCOMPARE(!f->CboCaixa->isHidden(), caso.combo);
        QCOMPARE(!f->LblCaixa->isHidden(), caso.combo);
        QCOMPARE(Linhas_Centrais(), QStringList());
        if (!caso.combo) return;
        QCOMPARE(f->CboCaixa->ListCount(), 2);
        QCOMPARE(f->CboCaixa->ListIndex(), -1);  // the user chooses; nothing is chosen for them
        const int sede = f->CboCaixa->List(0) == "CX SEDE" ? 0 : 1;
        QCOMPARE(f->CboCaixa->ItemData(sede), qint64(CaixaSede));
        f->CboCaixa->setListIndex(sede);
        QCOMPARE(exporta(f, {vbOK}), QStringList{Concluiu});
        QCOMPARE(Central_Le("SELECT caixa FROM tbllanc WHERE congregacao = ?", {Igreja})->Fields(0).toLongLong(),
                 qint64(CaixaSede));
        QVERIFY(f->CboCaixa->isHidden());
    }

    // Checks that stop the send before its first row, with their status
    // line or box; nothing is written anywhere. The server changed by a
    // statement, or stopped when there is none.
    void recusas_data() {
        const QString baixe = "Baixe a nova Versão %1 pela tela 'Sobre o Sistema'", setor = "Setor Inválido. Verifique.";
        const QString versao = "UPDATE versao_sistema SET versao = ?";
        Tabela<Recusa>({
            {"versão mais nova", {versao, {"1.0.99"}, {Falhou}, baixe.arg("1.0.99")}},
            {"versão mais velha", {versao, {"1.0.1"}, {Falhou}, baixe.arg("1.0.1")}},
            {"congregação desconhecida", {"DELETE FROM tblcongregacoes WHERE codigo = ?", {Igreja}, {Falhou}, setor}},
            {"setor nulo", {"UPDATE tblcongregacoes SET setor = NULL WHERE codigo = ?", {Igreja}, {Falhou}, setor}},
            {"caixa fechado", {"INSERT INTO tblresumomes VALUES (1, 8, 2021, ?)", {CaixaInt},
                               {QString("O seu caixa de Nº %1 está fechado.\rNão é possível transmitir o fechamento.\r"
                                        "Fale com o pessoal da Controladoria.").arg(CaixaInt), Falhou},
                               Falhou}},
            {"servidor parado", {"", {}, {"Sua Conexão não alcança a base Vendral!\rExamine e tente novamente.", Falhou}, Falhou}},
        });
    }
    void recusas() {
        QFETCH(Recusa, caso);
        amb->Sql("INSERT INTO Transmissao VALUES (8, 2021, '01/08/2021 09:00:00', 'ANA')");
        ExpMirava* f = abre({{"O", 3, "CULTO", 5}});
        if (caso.sql.isEmpty()) servidor = false;
        else Central_Sql(caso.sql, caso.valores);
        QCOMPARE(exporta(f, QList<int>(caso.caixas.size(), vbOK)), caso.caixas);
        QCOMPARE(f->LblMensagem->Caption(), caso.status);
        QCOMPARE(Linhas_Centrais(), QStringList());
        QCOMPARE(registros(), 1);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    // After a month sent whole, the server stops answering on its port: the
    // first central check fails, answered No. Nothing of the earlier send
    // stays in the progress labels, and the status line says the month was
    // not sent instead of the step it stopped at.
    void servidor_parado_depois_de_um_envio() {
        ExpMirava* f = abre(ofertas(16));
        QCOMPARE(exporta(f, {vbOK}), QStringList{Concluiu});
        QCOMPARE(f->LblRegAnd->Caption(), QString("16/16 Registro(s)"));
        QCOMPARE(f->LblProgresso->Caption(), QString(73, '='));
        Central::DefineTextoConexao(QString(Central::Texto_Conexao(Servidor_Central)).replace("Port=49010", "Port=1"));
        Roteiro::Responde(vbNo);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QCOMPARE(Roteiro::Caixas().front().titulo, QString("<<< Ocorrência de Erro 3151 >>>"));
        QCOMPARE(Roteiro::Caixas().back().prompt, Falhou);
        Roteiro::LimpaCaixas();
        QCOMPARE(f->LblMensagem->Caption(), Falhou);
        QCOMPARE(f->LblRegAnd->Caption(), QString("0 Registro(s)"));
        QCOMPARE(f->LblAndam->Caption(), QString("0%"));
        QCOMPARE(f->LblProgresso->Caption(), QString());
        QCOMPARE(registros(), 1);
    }

    // An empty month sends nothing and is recorded, by a user whose name
    // holds a quote.
    void mes_vazio() {
        ExpMirava* f = abre({}, "D'ARC");
        QCOMPARE(exporta(f, {vbOK}), QStringList{Concluiu});
        QCOMPARE(Linhas_Centrais(), QStringList());
        QCOMPARE(amb->Le("SELECT Usuario FROM Transmissao WHERE Mes = 8 AND Ano = 2021")->Texto("Usuario"),
                 QString("D'ARC"));
    }

    // The month's outflow accounts, looked up together before the first
    // row: each row gets its own account's reduced number, repeated or
    // not, and 4710 for one the chart lacks or keeps without a number.
    void contas_do_mes() {
        Central_Sql("INSERT INTO tblcontas (codseq, reduzido) VALUES (125, NULL), (126, 5126)");
        const auto remove = qScopeGuard([] { Central_Sql("DELETE FROM tblcontas WHERE codseq IN (125, 126)"); });
        ExpMirava* f = abre({{"S", 1, "LUZ CT:123", 10}, {"S", 2, "AGUA CT:124", 20}, {"S", 3, "LUZ DE NOVO CT:123", 30},
                             {"S", 4, "GAS CT:125", 40}, {"S", 5, "TELEFONE CT:126", 50}});
        QCOMPARE(exporta(f, {vbOK}), QStringList{Concluiu});
        QStringList contas;
        for (RecordsetPtr rs = Central_Le("SELECT valor, conta FROM tbllanc WHERE congregacao = ? ORDER BY id", {Igreja});
             !rs->Eof(); rs->MoveNext())
            contas << rs->Texto("valor") + " " + rs->Texto("conta");
        QCOMPARE(contas, (QStringList{"10.00 5120", "20.00 4710", "30.00 5120", "40.00 4710", "50.00 5126"}));
    }

    // Each row takes the time it is sent at: a row of a later second has
    // that second, one of the same second the same texts. What the send
    // wrote is what the query of transmitted data shows.
    void consulta_mostra_o_envio() {
        ExpMirava* f = abre({{"O", 3, "CULTO", 1234.5}, {"D", 4, "ANA RI:00000451 MB", 0.3}, {"S", 6, "LUZ CT:123", 100}});
        f->Linha_Enviada = [](int i) {
            Relogio::Define(QDateTime(QDate(2021, 8, 15), i == 0 ? QTime(10, 0, 7, 900) : QTime(10, 0, 8, 100)));
        };
        QCOMPARE(exporta(f, {vbOK}), QStringList{Concluiu});
        QStringList horas;
        for (RecordsetPtr rs = Central_Le("SELECT hora, horario FROM tbllanc WHERE congregacao = ? ORDER BY id", {Igreja});
             !rs->Eof(); rs->MoveNext())
            horas << Texto(rs->Fields(0)) + " " + Texto(rs->Fields(1));
        QCOMPARE(horas, (QStringList{"10:00:07 2021-08-15 10:00:07", "10:00:07 2021-08-15 10:00:07",
                                     "10:00:08 2021-08-15 10:00:08"}));
        principal->Exp_Transm->trigger();
        auto* t = qobject_cast<Transmit*>(Form::Procura("Transmit"));
        QVERIFY(t);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(t->CmdConsulta, Qt::LeftButton);
        Roteiro::LimpaCaixas();
        QCOMPARE(t->LstLivroCx->List(7), QString("08/2021 ") + QString("1.234,80").rightJustified(12) +
                                             QString("100,00").rightJustified(12) +
                                             QString("1.134,80").rightJustified(12) + QString("3").rightJustified(5));
    }
};

REGISTRA_TESTE(tst_EnvioMirava)
#include "tst_EnvioMirava.moc"
