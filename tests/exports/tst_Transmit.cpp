// The query of what the central system holds, driven from the main window's
// menu against the real test server.
// USA_BANCO_CENTRAL
#include "common/Central.h"
#include "common/Parametros.h"
#include "exports/Transmit.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "support/CentralTeste.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
constexpr int Igreja = 9173, Outra = 9174;  // codes no other test of the shared server uses
const QString Nao = "D A D O S  N Ã O  T R A N S M I T I D O S";

// Central rows: congregation, month, year, kind, amount, protocol.
void Lanca(const QList<QVariantList>& linhas) {
    for (const QVariantList& l : linhas)
        Central_Sql("INSERT INTO tbllanc (congregacao, mes, ano, tipo, valor, protocolo) VALUES (?, ?, ?, ?, ?, ?)", l);
}
QString Mes(int mes, int ano) { return QString("%1/%2 ").arg(mes, 2, 10, QChar('0')).arg(ano); }
QString Linha(int mes, int ano, const QString& e, const QString& s, const QString& saldo, int n) {
    return Mes(mes, ano) + e.rightJustified(12) + s.rightJustified(12) + saldo.rightJustified(12) +
           QString::number(n).rightJustified(5);
}

struct Anos { QString inicial, final; };
// At the connection probe numbered `sonda` (two per month) the server falls
// silent ("mudo") or the connection reaches a database without the table
// ("erro", put right at the next probe). The boxes by title, then prompt.
struct Queda { QString modo; int sonda; QList<int> respostas; int linhas; QStringList caixas; };
}  // namespace

class tst_Transmit : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb;
    int sondas = 0;

    Transmit* abre() {
        Inicia_Principal("MARIA")->Exp_Transm->trigger();
        Roteiro::LimpaCaixas();
        auto* f = qobject_cast<Transmit*>(Form::Procura("Transmit"));
        if (!f) qFatal("o menu não abriu a consulta");
        return f;
    }

private slots:
    void init() {
        amb = std::make_unique<Ambiente>();
        amb->Parametros(Igreja, "SETOR", "IGREJA", "S", 8, 2021);
        Relogio::Define(QDateTime(QDate(2021, 8, 15), QTime(10, 0)));
        Param[11] = Servidor_Central;
        Rede::DefineConectado([] { return true; });
        sondas = 0;
        Rede::DefineSonda([this](const QString&, int, int) { return ++sondas > 0; });  // counts the connections
        Central::DefineTextoConexao({});
        if (ErroDe([] { Central_Sql("DELETE FROM tbllanc WHERE congregacao IN (?, ?)", {Igreja, Outra}); }))
            QFAIL("servidor central de testes fora do ar (bash scripts/central.sh inicia)");
    }
    void cleanup() {
        Fecha_Tudo();
        Rede::DefineSonda({});
        Rede::DefineConectado({});
        Central::DefineTextoConexao({});
        Central_Sql("DELETE FROM tbllanc WHERE congregacao IN (?, ?)", {Igreja, Outra});
        amb.reset();
    }

    // This year in both boxes and nothing asked at opening; then its twelve
    // months, and for two years 24, the newest selected. Only this church's
    // 'TQR' rows of kinds C and D count, to the cent.
    void consulta_pelo_menu() {
        Lanca({{Igreja, 8, 2021, "C", "1234567.80", "TQR"}, {Igreja, 8, 2021, "C", "0.10", "TQR"},
               {Igreja, 8, 2021, "C", "0.20", "TQR"}, {Igreja, 8, 2021, "D", "50.00", "TQR"},
               {Igreja, 8, 2021, "C", "999.00", "XYZ"}, {Outra, 8, 2021, "C", "777.00", "TQR"},
               {Igreja, 8, 2021, "X", "5.00", "TQR"}, {Igreja, 7, 2021, "D", "30.00", "TQR"},
               {Igreja, 1, 2022, "C", "10.00", "TQR"}});
        Transmit* f = abre();
        QCOMPARE(f->TxtAnoI->Text() + f->TxtAnoF->Text(), QString("20212021"));
        QCOMPARE(f->LstLivroCx->ListCount(), 0);
        QCOMPARE(sondas, 0);
        QStringList esperadas;
        for (int ano : {2021, 2022})
            for (int mes = 1; mes <= 12; ++mes) esperadas << Mes(mes, ano) + Nao;
        esperadas[6] = Linha(7, 2021, "0,00", "30,00", "-30,00", 1);
        esperadas[7] = Linha(8, 2021, "1.234.568,10", "50,00", "1.234.518,10", 4);
        esperadas[12] = Linha(1, 2022, "10,00", "0,00", "10,00", 1);
        for (int meses : {12, 24}) {
            if (meses == 24) Troca(f->TxtAnoF, "2022");
            Roteiro::Responde(vbOK);
            QTest::mouseClick(f->CmdConsulta, Qt::LeftButton);
            CONFERE_CAIXA("Rotina concluida", vbInformation);
            QCOMPARE(Linhas(f->LstLivroCx), esperadas.mid(0, meses));
            QCOMPARE(f->LstLivroCx->ListIndex(), meses - 1);
            QCOMPARE(f->LblRegs->Caption(), QString("%1 Registro(s)").arg(meses));
        }
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void anos_recusados_data() {
        Tabela<Anos>({{"inicial vazio", {"", "2021"}}, {"inicial sem número", {"abc", "2021"}},
                      {"inicial 2000", {"2000", "2021"}}, {"início depois do fim", {"2022", "2021"}}, {"além de quatro dígitos", {"9e99", "9e99"}}});
    }
    // Refused with its message; the list stays and the server is not asked.
    void anos_recusados() {
        QFETCH(Anos, caso);
        Transmit* f = abre();
        f->LstLivroCx->AddItem("anterior");
        Troca(f->TxtAnoI, caso.inicial);
        Troca(f->TxtAnoF, caso.final);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdConsulta, Qt::LeftButton);
        CONFERE_CAIXA("Informe Ano Inicial e Ano Final Corretamente", vbExclamation);
        QCOMPARE(Linhas(f->LstLivroCx), QStringList{"anterior"});
        QCOMPARE(sondas, 0);
    }

    void consulta_interrompida_data() {
        const QString erro = "<<< Ocorrência de Erro 3146 >>>";
        const QString alcance = "Atenção MARIA|Sua Conexão não alcança a base Vendral!\rExamine e tente novamente.";
        Tabela<Queda>({{"servidor inalcançável", {"mudo", 3, {vbOK}, 1, {alcance}}},
                       {"erro respondido Não", {"erro", 4, {vbNo}, 1, {erro}}},
                       {"erro respondido Sim", {"erro", 3, {vbYes, vbOK}, 12, {erro, "Atenção MARIA|Rotina concluida"}}}});
    }
    // The months listed stay; only a query that reached December says it is
    // done; Yes runs the failed month's query again.
    void consulta_interrompida() {
        QFETCH(Queda, caso);
        Lanca({{Igreja, 1, 2021, "C", "1.00", "TQR"}, {Igreja, 2, 2021, "D", "2.00", "TQR"}});
        Transmit* f = abre();
        const QString semTabela =
            Central::Texto_Conexao(Servidor_Central).replace("Database=tavrelo", "Database=information_schema");
        Rede::DefineSonda([&](const QString&, int, int) {
            ++sondas;
            if (caso.modo == "erro") Central::DefineTextoConexao(sondas == caso.sonda ? semTabela : QString());
            return caso.modo != "mudo" || sondas < caso.sonda;
        });
        for (int r : caso.respostas) Roteiro::Responde(r);
        QTest::mouseClick(f->CmdConsulta, Qt::LeftButton);
        QStringList caixas;
        for (const auto& c : Roteiro::Caixas()) caixas << (c.titulo.startsWith("<<<") ? c.titulo : c.titulo + "|" + c.prompt);
        QCOMPARE(caixas, caso.caixas);
        QCOMPARE(Roteiro::Pendentes(), 0);
        QCOMPARE(f->LstLivroCx->ListCount(), caso.linhas);
        QCOMPARE(f->LstLivroCx->List(0), Linha(1, 2021, "1,00", "0,00", "1,00", 1));
        if (caso.linhas > 1) QCOMPARE(f->LstLivroCx->List(1), Linha(2, 2021, "0,00", "2,00", "-2,00", 1));
        QCOMPARE(f->LblRegs->Caption(), QString("%1 Registro(s)").arg(caso.linhas));
        QVERIFY(f->CmdConsulta->isEnabled());
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    // While a query runs its button refuses a second one; closing the form
    // ends the query at its next step, without the final message.
    void segundo_clique_e_fechamento() {
        Transmit* f = abre();
        const QPointer<Transmit> forma(f);
        bool habilitado = true;
        Rede::DefineSonda([&](const QString&, int, int) {
            if (++sondas == 5) {
                habilitado = f->CmdConsulta->isEnabled();
                QTest::mouseClick(f->CmdConsulta, Qt::LeftButton);
            }
            if (sondas == 9) f->Unload();
            return true;
        });
        QTest::mouseClick(f->CmdConsulta, Qt::LeftButton);
        QVERIFY(!habilitado);
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(sondas, 9);
        QTRY_VERIFY(!forma);
    }
};

REGISTRA_TESTE(tst_Transmit)
#include "tst_Transmit.moc"
