// The query of what the central system holds, driven from the main window's
// menu against the real test server: one row per month in calendar order,
// totals to the cent, only this church's 'TQR' rows of kinds C and D; the
// years' refusals; a server lost, an error retried or given up, a second
// click and a close in the middle of a range.
// USA_BANCO_CENTRAL
#include "common/Central.h"
#include "common/Parametros.h"
#include "exports/Transmit.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
// Codes no other test of the shared server uses.
constexpr int Igreja = 9173;
constexpr int Outra = 9174;
const QString Nao = "D A D O S  N Ã O  T R A N S M I T I D O S";

void Central_Sql(const QString& sql, const QVariantList& valores = {}) { ConexaoCentral(false).Executa(sql, valores); }
void Lanca(int congregacao, int mes, int ano, const QString& tipo, const QString& valor,
           const QString& protocolo = "TQR") {
    Central_Sql("INSERT INTO tbllanc (congregacao, mes, ano, tipo, valor, protocolo) VALUES (?, ?, ?, ?, ?, ?)",
                {congregacao, mes, ano, tipo, valor, protocolo});
}
QString Mes(int mes, int ano) { return QString("%1/%2 ").arg(mes, 2, 10, QChar('0')).arg(ano); }
QString Linha(int mes, int ano, const QString& e, const QString& s, const QString& saldo, int n) {
    return Mes(mes, ano) + e.rightJustified(12) + s.rightJustified(12) + saldo.rightJustified(12) +
           QString::number(n).rightJustified(5);
}
void troca(QWidget* w, const QString& texto) {
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    Digita(w, texto);
}

struct Anos { QString inicial, final; };
// At the probe numbered `sonda` (two per month) the server falls silent
// ("mudo") or the connection reaches a database without the table
// ("erro", put right at the next probe).
struct Queda { QString modo; int sonda; QList<int> respostas; int linhas; QStringList titulos; };
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
    static QStringList Titulos() {
        QStringList r;
        for (const auto& c : Roteiro::Caixas()) r << c.titulo + "|" + c.prompt;
        return r;
    }

private slots:
    void init() {
        amb = std::make_unique<Ambiente>();
        amb->Parametros(Igreja, "SETOR", "IGREJA", "S", 8, 2021);
        Relogio::Define(QDateTime(QDate(2021, 8, 15), QTime(10, 0)));
        Param[11] = Servidor_Central;
        Rede::DefineConectado([] { return true; });
        sondas = 0;
        // The test server answers; the probe only counts the connections.
        Rede::DefineSonda([this](const QString&, int, int) {
            ++sondas;
            return true;
        });
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

    // Opened from the menu with this year in both boxes and nothing asked
    // yet; a range of two years lists 24 months, January of the first one
    // first, the newest row selected. Rows of another church, another
    // protocol or another kind are not counted; a month of outflows only
    // shows a negative balance.
    void consulta_pelo_menu() {
        Lanca(Igreja, 8, 2021, "C", "1234567.80");
        Lanca(Igreja, 8, 2021, "C", "0.10");
        Lanca(Igreja, 8, 2021, "C", "0.20");
        Lanca(Igreja, 8, 2021, "D", "50.00");
        Lanca(Igreja, 8, 2021, "C", "999.00", "XYZ");
        Lanca(Outra, 8, 2021, "C", "777.00");
        Lanca(Igreja, 8, 2021, "X", "5.00");
        Lanca(Igreja, 7, 2021, "D", "30.00");
        Lanca(Igreja, 1, 2022, "C", "10.00");
        Transmit* f = abre();
        QCOMPARE(f->Caption(), QString("Dados Transmitidos à base do Mirava"));
        QCOMPARE(f->Left(), (Form::JanelaPrincipal()->Width() - f->Width()) / 2);
        QCOMPARE(f->TxtAnoI->Text(), QString("2021"));
        QCOMPARE(f->TxtAnoF->Text(), QString("2021"));
        QCOMPARE(f->LstLivroCx->ListCount(), 0);
        QCOMPARE(sondas, 0);

        QStringList esperadas;
        for (int ano : {2021, 2022})
            for (int mes = 1; mes <= 12; ++mes) esperadas << Mes(mes, ano) + Nao;
        esperadas[6] = Linha(7, 2021, "0,00", "30,00", "-30,00", 1);
        esperadas[7] = Linha(8, 2021, "1.234.568,10", "50,00", "1.234.518,10", 4);
        esperadas[12] = Linha(1, 2022, "10,00", "0,00", "10,00", 1);

        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdConsulta, Qt::LeftButton);
        CONFERE_CAIXA("Rotina concluida", vbInformation);
        QCOMPARE(Linhas(f->LstLivroCx), esperadas.mid(0, 12));
        QCOMPARE(f->LblRegs->Caption(), QString("12 Registro(s)"));

        troca(f->TxtAnoF, "2022");
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdConsulta, Qt::LeftButton);
        CONFERE_CAIXA("Rotina concluida", vbInformation);
        QCOMPARE(Linhas(f->LstLivroCx), esperadas);
        QCOMPARE(f->LstLivroCx->ListIndex(), 23);
        QCOMPARE(f->LblRegs->Caption(), QString("24 Registro(s)"));
        for (const QString& l : Linhas(f->LstLivroCx)) QCOMPARE(l.size(), 49);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void anos_recusados_data() {
        Tabela<Anos>({{"inicial vazio", {"", "2021"}},
                      {"inicial sem número", {"abc", "2021"}},
                      {"inicial 2000", {"2000", "2021"}},
                      {"final vazio", {"2021", ""}},
                      {"início depois do fim", {"2022", "2021"}},
                      {"além de quatro dígitos", {"9e99", "9e99"}}});
    }
    // Refused with its message; the list stays as it was and the server is
    // never asked.
    void anos_recusados() {
        QFETCH(Anos, caso);
        Transmit* f = abre();
        f->LstLivroCx->AddItem("anterior");
        troca(f->TxtAnoI, caso.inicial);
        troca(f->TxtAnoF, caso.final);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdConsulta, Qt::LeftButton);
        CONFERE_CAIXA("Informe Ano Inicial e Ano Final Corretamente", vbExclamation);
        QCOMPARE(Linhas(f->LstLivroCx), QStringList{"anterior"});
        QCOMPARE(sondas, 0);
    }

    void consulta_interrompida_data() {
        const QString erro = "<<< Ocorrência de Erro 3146 >>>";
        const QString alcance = "Atenção MARIA|Sua Conexão não alcança a base Vendral!\rExamine e tente novamente.";
        const QString fim = "Atenção MARIA|Rotina concluida";
        Tabela<Queda>({{"servidor inalcançável", {"mudo", 3, {vbOK}, 1, {alcance}}},
                       {"erro respondido Não", {"erro", 4, {vbNo}, 1, {erro}}},
                       {"erro respondido Sim", {"erro", 3, {vbYes, vbOK}, 12, {erro, fim}}}});
    }
    // The months listed before stay; only a query that reached December
    // says it is done; a Yes runs the same month's query again.
    void consulta_interrompida() {
        QFETCH(Queda, caso);
        Lanca(Igreja, 1, 2021, "C", "1.00");
        Lanca(Igreja, 2, 2021, "D", "2.00");
        Transmit* f = abre();
        const QString semTabela = Central::Texto_Conexao(Servidor_Central).replace("Database=tavrelo", "Database=information_schema");
        Rede::DefineSonda([&](const QString&, int, int) {
            ++sondas;
            if (caso.modo == "mudo" && sondas >= caso.sonda) return false;
            if (caso.modo == "erro") Central::DefineTextoConexao(sondas == caso.sonda ? semTabela : QString());
            return true;
        });
        for (int r : caso.respostas) Roteiro::Responde(r);
        QTest::mouseClick(f->CmdConsulta, Qt::LeftButton);
        QStringList titulos;
        for (const QString& t : Titulos()) titulos << (t.startsWith("<<<") ? t.section('|', 0, 0) : t);
        QCOMPARE(titulos, caso.titulos);
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
