// The register download driven from the main window's menu against the real
// test server: what every step writes, a second run that doubles nothing,
// and runs that stop half-way (a lost connection, a cancel, a closed
// window) leaving each step's tables whole.
// USA_BANCO_CENTRAL
#include "common/Banco.h"
#include "common/Central.h"
#include "common/Parametros.h"
#include "platform/Progresso.h"
#include "platform/Rede.h"
#include "platform/Tela.h"
#include "registers/Atualizacoes.h"
#include "support/CentralTeste.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
// Codes no other test of the shared server uses; the own church's code has
// five digits.
constexpr int Igreja = 91201, Irma = 91202, Vizinha = 91203, Sete = 91204, SemRemessa = 91205, OutroSetor = 91211,
              AlheiaMembros = 91299;
constexpr int Setor = 9120, Setor2 = 9121, Regiao = 912;
const QString Concluido = "Processo Concluido.\rExamine seus Dados.";
const QString Cancelado = "Operação Cancelada pelo Usuário";

int Central_Conta(const QString& sql) { return ConexaoCentral(true).AbreSnapshot(sql)->Fields(0).toInt(); }

void Limpa_Central() {
    Central_Sql("DELETE FROM tblsetores WHERE codigo IN (?, ?)", {Setor, Setor2});
    Central_Sql("DELETE FROM tblcongregacoes WHERE codigo BETWEEN 91200 AND 91299");
    Central_Sql("DELETE FROM tblcongremessas WHERE congregacao BETWEEN 91200 AND 91299");
    Central_Sql("DELETE FROM tblcargos WHERE codigo IN (9201, 9202)");
    Central_Sql("DELETE FROM tbldepartamentos WHERE descricao LIKE '%T12'");
    Central_Sql("DELETE FROM tblcontas WHERE codseq BETWEEN 91200 AND 91299");
    Central_Sql("DELETE FROM tblmembros WHERE congregacao BETWEEN 91200 AND 91299");
}

// The installation's type, its congregations (code|type) and the count
// shown at the step's last row.
struct Instalacao { QString tipo; QStringList congregacoes; QString contagem; };
struct Queda {
    int passo;     // the step whose connection is killed
    int resposta;  // to "Continua Tentando ?"
};
}  // namespace

class tst_Atualizacoes : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb;
    Principal* principal = nullptr;
    bool servidor = true;

    Atualizacoes* abre() {
        Atualizacoes* f = Abre_Pelo_Menu<Atualizacoes>(&Principal::AtuBA);
        principal = Principal::Atual();
        return f;
    }
    // Marks the boxes and clicks "&Atualizar Tabelas" with the script's
    // answers; the boxes shown, each as its prompt.
    static QStringList atualiza(Atualizacoes* f, const QList<int>& passos, const QList<int>& respostas) {
        for (int i = 1; i <= 8; ++i) f->ChkAtualiza[i]->setValue(passos.contains(i) ? 1 : 0);
        for (int r : respostas) Roteiro::Responde(r);
        QTest::mouseClick(f->CmdAtualiza, Qt::LeftButton);
        QStringList caixas;
        for (const auto& c : Roteiro::Caixas()) caixas << c.prompt;
        Roteiro::LimpaCaixas();
        return caixas;
    }
    QStringList deptos() {
        return amb->Linhas("SELECT CodIg, Descricao FROM Departamentos WHERE Descricao LIKE '%T12' ORDER BY Codigo");
    }
    QStringList igrejas() { return amb->Linhas("SELECT CodCongrega, Nome, Calculo FROM Igrejas ORDER BY CodCongrega"); }
    QStringList dizimos() { return amb->Linhas("SELECT Codigo, CodIg, RI, Nome, Cargo FROM Dizimos ORDER BY Codigo"); }
    // The account the installation had and those of the test.
    QStringList saidas() {
        return amb->Linhas("SELECT Codigo, CodIg, Descricao FROM Saidas WHERE Codigo = 1 OR Codigo BETWEEN 91200 AND 91299 "
                      "ORDER BY Codigo");
    }
    QStringList calculos() { return amb->Linhas("SELECT Tipo, Descricao FROM TipoCalculo ORDER BY Tipo"); }

private slots:
    void init() {
        amb = std::make_unique<Ambiente>();
        amb->Parametros(Igreja, "SETOR", "IGREJA", "S", 8, 2021);
        Param[11] = Servidor_Central;
        Rede::DefineConectado([] { return true; });
        servidor = true;
        Rede::DefineSonda([this](const QString&, int, int) { return servidor; });
        Central::DefineTextoConexao({});
        DefineSleep([](int) {});
        if (ErroDe([] { Limpa_Central(); }))
            QFAIL("servidor central de testes fora do ar (bash scripts/central.sh inicia)");
        Central_Sql("INSERT INTO tblsetores VALUES (?, 'SETOR T', ?), (?, 'SETOR T2', ?)", {Setor, Regiao, Setor2, Regiao});
        Central_Sql("INSERT INTO tblcongregacoes VALUES (?, 'IGREJA SEDE', ?), (?, ?, ?), (?, ?, ?), (?, 'Recanto', ?),"
                    " (?, 'Sem Remessa', ?), (?, 'Jardim Dois', ?)",
                    {Igreja, Setor, Irma, "Congregação São João Batista do Vale Formoso", Setor, Vizinha,
                     "Vila D'Ajuda", Setor, Sete, Setor, SemRemessa, Setor, OutroSetor, Setor2});
        // The newest row of the congregation in its own sector counts.
        Central_Sql("INSERT INTO tblcongremessas (CodDesconto, setor, congregacao) VALUES "
                    "('1', ?, ?), ('2', ?, ?), ('4', ?, ?), ('6', ?, ?), (NULL, ?, ?), ('7', ?, ?), ('abc', ?, ?)",
                    {Setor, Igreja, Setor, Irma, Setor, Irma, Setor2, Irma, Setor, Vizinha, Setor, Sete, Setor2,
                     OutroSetor});
        Central_Sql("INSERT INTO tblcargos VALUES (9201, 'Diácono', 'DC'), (9202, 'Presbítero', 'PB')");
        Central_Sql("INSERT INTO tbldepartamentos (descricao) VALUES ('Música T12'), ('MÚSICA T12'), (?), ('Ação T12')",
                    {"D'AJUDA T12"});
        Central_Sql("INSERT INTO tblcontas (codseq, Descricao, tipo) VALUES (91201, 'Luz e força T12', 'D'), "
                    "(91202, ?, 'D'), (91203, 'Receita T12', 'C')",
                    {"Água D'Oeste T12"});
        // A member twice: the later row is the one kept.
        Central_Sql("INSERT INTO tblmembros (congregacao, codmembro, nome, cargo) VALUES "
                    "(?, '912000001', 'José Ângelo', 9201), (?, '912000002', ?, NULL), (?, '912000003', 'Ana', 9202),"
                    "(?, '912000001', 'José Ângelo Filho', 9202), (?, '912000009', 'Alheio', 9201)",
                    {Igreja, Igreja, "Maria D'Ávila", Igreja, Igreja, AlheiaMembros});
        // What the installation had: a department typed in small letters,
        // a tither of the same number under another church, an outdated
        // congregation and position, another calculation type 3 and a type 7.
        amb->Sql("INSERT INTO Departamentos VALUES (1, 999, 'Música t12')");
        amb->Sql("INSERT INTO Cargos VALUES (9201, 'VELHO', 'XX')");
        amb->Sql("INSERT INTO Dizimos VALUES (50, 555, '912000003', 'ANA ANTIGA', NULL)");
        amb->Sql("INSERT INTO Igrejas VALUES (?, ?, 'VELHO', 1)", {Igreja, Irma});
        amb->Sql("DELETE FROM TipoCalculo");
        amb->Sql("INSERT INTO TipoCalculo VALUES (3, 'Outro'), (7, 'Sete')");
        amb->Sql("INSERT INTO Saidas VALUES (1, ?, 'ANTIGA')", {Igreja});
    }
    void cleanup() {
        Fecha_Tudo();
        DefineSleep({});
        Rede::DefineSonda({});
        Rede::DefineConectado({});
        Limpa_Central();
        amb.reset();
    }

    // Every box marked, twice: the registers as the central system has
    // them, and nothing doubled by the second run.
    void todos_os_passos() {
        amb->Sql("DROP TABLE Transmissao");
        Atualizacoes* f = abre();
        QStringList pausas;
        DefineSleep([&](int ms) { pausas << QString::number(ms); });
        QCOMPARE(atualiza(f, {1, 2, 3, 4, 5, 6, 7, 8}, {vbOK}), QStringList{Concluido});
        // Each row's pause, and one between steps (and at the end).
        QVERIFY(pausas.count("200") > 30);
        QCOMPARE(pausas.count("50"), 9);
        const QStringList esperados[] = {
            {"1|Cálculo 01", "2|Cálculo 02", "3|Cálculo 03", "4|Cálculo 04", "5|Cálculo 05", "6|Cálculo 06", "7|Sete"},
            {"999|Música t12", "91201|D'AJUDA T12", "91201|AÇÃO T12"},
            {QString("%1|CONGREGAÇÃO SÃO JOÃO BATISTA D|4").arg(Irma), QString("%1|VILA D'AJUDA|3").arg(Vizinha),
             QString("%1|RECANTO|3").arg(Sete), QString("%1|SEM REMESSA|3").arg(SemRemessa)},
            {"50|91201|912000003|ANA|9202", "51|91201|912000001|JOSÉ ÂNGELO FILHO|9202",
             "52|91201|912000002|MARIA D'ÁVILA|NULL"},
            {"91201|91201|LUZ E FORÇA T12", "91202|91201|ÁGUA D'OESTE T12"},
        };
        for (int vez = 1; vez <= 2; ++vez) {
            if (vez == 2) QCOMPARE(atualiza(f, {1, 2, 3, 4, 5, 7}, {vbOK}), QStringList{Concluido});
            QCOMPARE(calculos(), esperados[0]);
            QCOMPARE(deptos(), esperados[1]);
            QCOMPARE(igrejas(), esperados[2]);
            QCOMPARE(dizimos(), esperados[3]);
            QCOMPARE(saidas(), esperados[4]);
            QCOMPARE(amb->Conta("SELECT COUNT(*) FROM Saidas"), Central_Conta("SELECT COUNT(*) FROM tblcontas WHERE tipo = 'D'"));
            QCOMPARE(amb->Linhas("SELECT Codigo, Descricao, Abreviado FROM Cargos WHERE Codigo > 9000 ORDER BY Codigo"),
                     (QStringList{"9201|DIÁCONO|DC", "9202|PRESBÍTERO|PB"}));
            QCOMPARE(amb->Linhas("SELECT Codigo, CodIg, Descricao FROM Ofertas ORDER BY Codigo"),
                     (QStringList{"1|91201|DOMINGO - CULTO COM A FAMÍLIA", "2|91201|SEGUNDA-FEIRA - CULTO DE ORAÇÃO",
                                  "3|91201|TERÇA-FEIRA - CULTO DE ENSINO E DOUTRINA",
                                  "4|91201|QUARTA-FEIRA - CULTO DE NOITE DA BENÇÃO",
                                  "5|91201|QUINTA-FEIRA - CULTO DE NOITE DA BENÇÃO",
                                  "6|91201|SEXTA-FEIRA - CULTO DE ENSINO E DOUTRINA", "7|91201|SÁBADO - CEIA DO SENHOR"}));
            QCOMPARE(amb->Conta("SELECT COUNT(*) FROM Transmissao"), 0);
        }
        for (int i = 1; i <= 8; ++i) QCOMPARE(f->ChkAtualiza[i]->Value(), 1);
        QCOMPARE(f->LblRegAnd->Caption(), QString("0 Registro(s)"));
        QCOMPARE(f->LblAndam->Caption(), QString("0%"));
        QCOMPARE(f->LblProgresso->Caption(), QString());
        QVERIFY(f->CmdAtualiza->isEnabled());
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void tipo_de_instalacao_data() {
        Tabela<Instalacao>({
            {"setor", {"S", {"91202|4", "91203|3", "91204|3", "91205|3"}, "4/4 Registro(s)"}},
            {"região: dois setores, a própria contada",
             {"R", {"91202|4", "91203|3", "91204|3", "91205|3", "91211|3"}, "6/6 Registro(s)"}},
            {"congregação", {"C", {"91202|1"}, "1/1 Registro(s)"}},
        });
    }
    // The congregations a sector's or a region's head church keeps, with
    // the progress of the step's last row.
    void tipo_de_instalacao() {
        QFETCH(Instalacao, caso);
        amb->Sql("UPDATE Parametros SET Tipo = ?", {caso.tipo});
        Atualizacoes* f = abre();
        QString fim[3];
        f->Linha_Lida = [&](int passo, qint64) {
            if (passo == 4) fim[0] = f->LblRegAnd->Caption(), fim[1] = f->LblAndam->Caption(), fim[2] = f->LblProgresso->Caption();
        };
        QCOMPARE(atualiza(f, {4}, {vbOK}), QStringList{Concluido});
        QCOMPARE(amb->Linhas("SELECT CodCongrega, Calculo FROM Igrejas ORDER BY CodCongrega"), caso.congregacoes);
        QCOMPARE(fim[0], caso.contagem);
        QCOMPARE(fim[1], QString("100%"));
        QCOMPARE(fim[2], QString(35, '='));
    }

    void conexao_derrubada_data() {
        Tabela<Queda>({{"passo 4 lendo as remessas, não", {4, vbNo}},
                       {"passo 4 lendo as remessas, sim", {4, vbYes}},
                       {"passo 6 antes de substituir as contas, não", {6, vbNo}},
                       {"passo 6 antes de substituir as contas, sim", {6, vbYes}}});
    }
    // The step's connection killed from a second one: No keeps the step's
    // table as it was and runs no later step; Yes runs the whole step again
    // on a new connection.
    void conexao_derrubada() {
        QFETCH(Queda, caso);
        Atualizacoes* f = abre();
        qint64 morta = 0;
        auto derruba = [&](int passo) {
            if (passo != caso.passo || morta) return;
            morta = f->Conexao_Passo();
            Central_Sql("KILL " + QString::number(morta));
        };
        f->Passo_Conectado = [&](int passo) {
            if (passo != 4) derruba(passo);
        };
        f->Linha_Lida = [&](int passo, qint64 linha) {
            if (passo == 4 && linha == 1) derruba(passo);
        };
        const QStringList antes[] = {igrejas(), saidas(), dizimos()};
        const QStringList caixas = atualiza(f, {4, 7}, {caso.resposta, vbOK});
        QVERIFY(morta > 0);
        QCOMPARE(caixas.size(), caso.resposta == vbYes ? 2 : 1);
        const bool sim = caso.resposta == vbYes;
        QCOMPARE(igrejas() == antes[0], !sim && caso.passo <= 4);
        QCOMPARE(saidas() == antes[1], !sim && caso.passo <= 6);
        QCOMPARE(dizimos() == antes[2], !sim);
        if (sim) {
            QCOMPARE(caixas.last(), Concluido);
            QCOMPARE(igrejas().size(), 4);
            QCOMPARE(saidas().size(), 2);
            QCOMPARE(dizimos().size(), 3);
        }
        QCOMPARE(f->ChkAtualiza[8]->Value(), sim ? 1 : 0);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void cancelado_data() { Tabela<int>({{"no passo 2", 2}, {"no passo 7", 7}}); }
    // "&Cancelar Processos" at the second row: the steps before stay, the
    // running one writes nothing, the later ones do not run; the button
    // that starts a run does nothing meanwhile, and the next run is not
    // cancelled.
    void cancelado() {
        QFETCH(int, caso);
        const int passo = caso;
        Atualizacoes* f = abre();
        bool ativo = true;
        f->Linha_Lida = [&](int p, qint64 linha) {
            if (p != passo || linha != 2) return;
            ativo = f->CmdAtualiza->isEnabled();
            f->CmdAtualiza_Click();  // refused while the run lasts
            QTest::mouseClick(f->CmdCancela, Qt::LeftButton);
        };
        const QStringList antes[] = {deptos(), dizimos(), saidas()};
        QCOMPARE(atualiza(f, {1, 2, 7}, {vbOK}), QStringList{Cancelado});
        QVERIFY(!ativo);
        QCOMPARE(calculos().first(), QString("1|Cálculo 01"));
        QCOMPARE(deptos() == antes[0], passo == 2);
        QCOMPARE(dizimos(), antes[1]);
        QCOMPARE(saidas() == antes[2], passo == 2);
        QCOMPARE(f->ChkAtualiza[8]->Value(), 0);
        QVERIFY(f->CmdAtualiza->isEnabled());
        QVERIFY(!Execucao::EmCurso());

        f->Linha_Lida = {};
        QCOMPARE(atualiza(f, {2, 7}, {vbOK}), QStringList{Concluido});
        QCOMPARE(deptos().size(), 3);
        QCOMPARE(dizimos().size(), 3);
    }

    // Closing the window during a run cancels it without a box; the
    // window goes once the run has let go of it, and the menu item can
    // start a new one.
    void fechada_durante_a_execucao() {
        QPointer<Atualizacoes> f = abre();
        f->Linha_Lida = [&](int passo, qint64 linha) {
            if (passo == 7 && linha == 1) f->close();
        };
        const QStringList antes = dizimos();
        QCOMPARE(atualiza(f, {7}, {}), QStringList());
        QCOMPARE(dizimos(), antes);
        QTRY_VERIFY(!f);
        QVERIFY(principal->AtuBA->isEnabled());
        QVERIFY(!Execucao::EmCurso());
    }

    // A tither saved by the histories register while the download walks
    // its members: both stay, each with its own code.
    void gravacao_em_outra_janela() {
        Atualizacoes* f = abre();
        f->Linha_Lida = [&](int passo, qint64 linha) {
            if (passo == 7 && linha == 1)
                Executa_Query("ProcInsDizimos", {"51", QString::number(Igreja), "777", "NOVO NA JANELA", "9201"});
        };
        QCOMPARE(atualiza(f, {7}, {vbOK}), QStringList{Concluido});
        QCOMPARE(dizimos(), (QStringList{"50|91201|912000003|ANA|9202", "51|91201|777|NOVO NA JANELA|9201",
                                         "52|91201|912000001|JOSÉ ÂNGELO FILHO|9202",
                                         "53|91201|912000002|MARIA D'ÁVILA|NULL"}));
    }

    // A server that does not answer: its message, nothing written.
    void servidor_fora() {
        Atualizacoes* f = abre();
        servidor = false;
        const QStringList antes[] = {saidas(), calculos()};
        QCOMPARE(atualiza(f, {1, 7}, {vbOK}),
                 QStringList{"Sua Conexão não alcança a base Vendral!\rExamine e tente novamente."});
        QCOMPARE(saidas(), antes[0]);
        QCOMPARE(calculos(), antes[1]);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }
};

REGISTRA_TESTE(tst_Atualizacoes)
#include "tst_Atualizacoes.moc"
