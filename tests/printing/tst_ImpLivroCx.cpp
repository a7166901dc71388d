// The cash-book closing form driven from the main window's menu: the
// month's rows with the sector's congregations after them, the totals to
// the cent, the blinking balance, the print's questions in their order,
// what the printout receives, and the refusal to print anything but the
// month as stored now.
#include "common/Parametros.h"
#include "printing/ImpLivroCx.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
const QString Irregular = "Saldo Irregular. Deseja Imprimir ?";
const QString SemTransmissao =
    "Antes de Imprimir será necessária a Transmissão de dados.\rAcesse a opção 'Exportações' e 'Dados para o Mirava'.";
const QString AnteriorZero = "Saldo Anterior R$ 0,00 ! Deseja Imprimir ?";
const QString Papel = "Prepare a Impressora com papel A4. Tudo OK ?";
const QString Recarregado = "Os dados do mês foram alterados e foram recarregados. Confira e imprima novamente.";
const int Pergunta = vbYesNo + vbQuestion + vbDefaultButton2;

// Kind, day, stored history, amount.
struct Entrada { QString tipo; int dia; QString hist; double valor; };
// Congregation code, name, type; its month's entries and outflows.
struct Igreja { int cod; QString nome; QVariant calculo; QVariant entradas, saidas; };
struct Totais { QString tipo; QStringList igrejas; QString entradas, saidas, saldo, comAnterior; };
struct Caixa { QString prompt; int estilo; };
struct Perguntas { double saida; bool transmitido; QString salAnt; QList<int> respostas; QList<Caixa> caixas; bool imprime; };
struct Mudanca { QString sql; QVariantList valores; QString mes; int linhas; QString entradas; };

const QList<Entrada> Mes = {{"O", 5, "CULTO", 3000}, {"D", 2, "ANA LIMA RI:00000451 DC", 2000}, {"S", 9, "LUZ CT:12", 3200}};
const QList<Igreja> Setor = {{30, "VILA NOVA", 3, 1000, 100}, {31, "ÁGUA BRANCA", 1, 500, QVariant()}};
}  // namespace

class tst_ImpLivroCx : public QObject {
    Q_OBJECT

    QList<Fechamento_Mensal> impressos_;

    // A month of church 12, its congregations' figures (with a row under the
    // church's own code, another church's and another month's, none of
    // which belongs in the list) and its remittances. `antes` runs once the
    // main window is up.
    ImpLivroCx* abre(Ambiente& amb, const QList<Entrada>& entradas, const QString& tipo = "S",
                     const QList<Igreja>& igrejas = Setor, const QList<double>& remessas = {300, 200},
                     bool transmitido = true, const std::function<void()>& antes = {}) {
        int codigo = 0;
        for (const Entrada& e : entradas)
            amb.Sql("INSERT INTO LivroCaixa VALUES (?1, 12, 2021, 8, ?2, ?3, ?4, ?5)", {++codigo, e.dia, e.tipo, e.hist, e.valor});
        QList<Igreja> todas = igrejas;
        todas << Igreja{12, "SEDE", 1, 9999, 0};
        for (const Igreja& ig : todas) {
            amb.Sql("INSERT INTO Igrejas VALUES (12, ?1, ?2, ?3)", {ig.cod, ig.nome, ig.calculo});
            amb.Sql("INSERT INTO TotIgrejas (CodIg, CodCongrega, Ano, Mes, Entradas, Saidas) VALUES (12, ?1, 2021, 8, ?2, ?3)",
                    {ig.cod, ig.entradas, ig.saidas});
            amb.Sql("INSERT INTO TotIgrejas (CodIg, CodCongrega, Ano, Mes, Entradas) VALUES (12, ?1, 2021, 7, 777)", {ig.cod});
        }
        amb.Sql("INSERT INTO Igrejas VALUES (13, 40, 'OUTRA', 1)");
        amb.Sql("INSERT INTO TotIgrejas (CodIg, CodCongrega, Ano, Mes, Entradas) VALUES (13, 40, 2021, 8, 55)");
        for (double r : remessas) amb.Sql("INSERT INTO Remessas (CodIg, Ano, Mes, Dia, Valor) VALUES (12, 2021, 8, 10, ?1)", {r});
        amb.Sql("INSERT INTO Remessas (CodIg, Ano, Mes, Dia, Valor) VALUES (12, 2021, 7, 10, 41)");
        if (transmitido) amb.Sql("INSERT INTO Transmissao VALUES (8, 2021, '01/09/2021 10:00:00', 'MARIA')");
        amb.Sql("INSERT INTO Transmissao VALUES (7, 2021, '01/08/2021 10:00:00', 'MARIA')");
        amb.Parametros(12, "SETOR", "IGREJA", tipo, 8, 2021);
        Principal* p = Inicia_Principal("MARIA");
        if (antes) antes();
        p->Fec_Livro->trigger();
        auto* f = qobject_cast<ImpLivroCx*>(Form::Procura("ImpLivroCx"));
        if (!f) qFatal("o menu não abriu o fechamento");
        f->Imprime = [this](const Fechamento_Mensal& d) {
            impressos_ << d;
            return true;
        };
        return f;
    }

    // Types over a box's text and leaves it, as with the Tab key.
    static void digita(TextBox* t, const QString& texto, QWidget* proximo) {
        t->SetFocus();
        t->selectAll();
        Digita(t, texto);
        proximo->setFocus(Qt::TabFocusReason);
    }

    static void responde(const QList<int>& respostas) {
        for (int r : respostas) Roteiro::Responde(r);
    }

private slots:
    void init() { impressos_.clear(); }
    void cleanup() { Fecha_Tudo(); }

    void setor_data() {
        const QStringList linhas = {"I 01 ÁGUA BRANCA(0031~1)                       500,00      500,00       0,00",
                                    "I 01 VILA NOVA(0030~3)                       1.000,00    1.000,00     100,00"};
        Tabela<Totais>({{"setor", {"S", linhas, "6.500,00", "3.300,00", "2.700,00", "3.700,00"}},
                        {"região", {"R", linhas, "6.500,00", "3.300,00", "2.700,00", "3.700,00"}},
                        {"congregação", {"C", {}, "5.000,00", "3.200,00", "1.300,00", "2.300,00"}}});
    }
    // The congregations follow the cash-book rows, by name, without the
    // church's own code; their entries and outflows count in the totals,
    // their amount by type does not; a Null figure is 0. The remittances
    // are 500,00; a previous balance typed as 1000 is rewritten and counts,
    // one that is not a value counts as none.
    void setor() {
        QFETCH(Totais, caso);
        Ambiente amb;
        ImpLivroCx* f = abre(amb, Mes, caso.tipo);
        QCOMPARE(f->CboMesAno->Text(), QString("AGOSTO / 2021"));
        const QStringList linhas = Linhas(f->LstLivroCx);
        QCOMPARE(linhas.mid(3), caso.igrejas);
        QStringList inicios;
        for (const QString& l : linhas.mid(0, 3)) inicios << l.left(8);
        QCOMPARE(inicios, (QStringList{"O 05 CUL", "D 02 DC ", "S 09 LUZ"}));
        QCOMPARE(f->LblRegs->Caption(), QString("%1 Registro(s)").arg(linhas.size()));
        QCOMPARE(f->TxtEntradas->Text(), caso.entradas);
        QCOMPARE(f->TxtSaidas->Text(), caso.saidas);
        QCOMPARE(f->TxtRemessas->Text(), QString("500,00"));
        QCOMPARE(f->TxtSalAnt->Text(), QString("0,00"));
        QCOMPARE(f->TxtSaldo->Text(), caso.saldo);
        digita(f->TxtSalAnt, "1000", f->TxtLeft);
        QCOMPARE(f->TxtSalAnt->Text(), QString("1.000,00"));
        QCOMPARE(f->TxtSaldo->Text(), caso.comAnterior);
        digita(f->TxtSalAnt, "abc", f->TxtLeft);
        QCOMPARE(f->TxtSalAnt->Text(), QString("abc"));
        QCOMPARE(f->TxtSaldo->Text(), caso.saldo);
        QVERIFY(Roteiro::Caixas().empty());
    }

    // A type outside the table is said once per congregation as the form
    // loads; its row keeps its columns with a zero amount.
    void tipoInvalido() {
        Ambiente amb;
        responde({vbOK, vbOK});
        ImpLivroCx* f = abre(amb, {}, "S", {{32, "MORRO", 9, 10, QVariant()}, {33, "SERRA", QVariant(), 5, 1}, {34, "VALE", 6, 2000, 0}});
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QCOMPARE(Roteiro::Caixas()[0].prompt, QString("Tipo de Cálculo inválido na Igreja MORRO. Verifique o cadastro."));
        CONFERE_CAIXA("Tipo de Cálculo inválido na Igreja SERRA. Verifique o cadastro.", vbInformation);
        const QStringList linhas = Linhas(f->LstLivroCx);
        QCOMPARE(linhas[0], QString("I 01 MORRO(0032~9)                               0,00       10,00       0,00"));
        QCOMPARE(linhas[1], QString("I 01 SERRA(0033~)                                0,00        5,00       1,00"));
        QCOMPARE(f->TxtEntradas->Text(), QString("2.015,00"));
        QCOMPARE(f->TxtSaidas->Text(), QString("1,00"));
    }

    // A negative balance blinks; recomputed to a positive one while dark,
    // it is yellow again and stays so.
    void pisca() {
        Ambiente amb;
        ImpLivroCx* f = abre(amb, {{"S", 1, "LUZ CT:1", 100}}, "C", {}, {});
        QCOMPARE(f->TxtSaldo->Text(), QString("-100,00"));
        QTRY_COMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::black));
        digita(f->TxtSalAnt, "100,01", f->TxtLeft);
        QCOMPARE(f->TxtSaldo->Text(), QString("0,01"));
        QCOMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::yellow));
        f->Timer_Timer();
        QCOMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::yellow));
    }

    void perguntas_data() {
        Tabela<Perguntas>({
            {"saldo irregular, Não", {9000, true, "10", {vbNo}, {{Irregular, Pergunta}}, false}},
            {"saldo irregular, Sim, sem transmissão", {9000, false, "10", {vbYes, vbOK},
                                                       {{Irregular, Pergunta}, {SemTransmissao, vbInformation}}, false}},
            {"saldo anterior zero, Não", {0, true, "0,00", {vbNo}, {{AnteriorZero, Pergunta}}, false}},
            {"saldo anterior que não é valor", {0, true, "abc", {vbYes, vbYes}, {{AnteriorZero, Pergunta}, {Papel, vbYesNo + vbQuestion}}, true}},
            {"papel, Não", {0, true, "1500", {vbNo}, {{Papel, vbYesNo + vbQuestion}}, false}},
            {"tudo Sim", {9000, true, "-10", {vbYes, vbYes}, {{Irregular, Pergunta}, {Papel, vbYesNo + vbQuestion}}, true}},
        });
    }
    // The questions come in their order with their texts, icons and default
    // buttons; only Yes to the paper prints.
    void perguntas() {
        QFETCH(Perguntas, caso);
        Ambiente amb;
        ImpLivroCx* f = abre(amb, {{"O", 1, "CULTO", 1000}, {"S", 2, "LUZ CT:1", caso.saida}}, "C", {}, {},
                             caso.transmitido);
        digita(f->TxtSalAnt, caso.salAnt, f->TxtLeft);
        responde(caso.respostas);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        QCOMPARE(int(Roteiro::Caixas().size()), caso.caixas.size());
        for (int i = 0; i < caso.caixas.size(); ++i) {
            QCOMPARE(Roteiro::Caixas()[size_t(i)].prompt, caso.caixas[i].prompt);
            QCOMPARE(Roteiro::Caixas()[size_t(i)].estilo, caso.caixas[i].estilo);
            QCOMPARE(Roteiro::Caixas()[size_t(i)].titulo, QString("Atenção MARIA"));
        }
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(impressos_.size(), caso.imprime ? 1 : 0);
    }

    void recarrega_data() {
        Tabela<Mudanca>({
            {"novo lançamento", {"INSERT INTO LivroCaixa VALUES (99, 12, 2021, 8, 3, 'O', 'EXTRA', 0.01)", {}, "8", 6, "6.500,01"}},
            {"valor alterado", {"UPDATE LivroCaixa SET Valor = 3000.5 WHERE Tipo = 'O'", {}, "8", 5, "6.500,50"}},
            {"histórico alterado", {"UPDATE LivroCaixa SET Historico = 'CULTO DA NOITE' WHERE Tipo = 'O'", {}, "8", 5, "6.500,00"}},
            {"figuras da congregação", {"UPDATE TotIgrejas SET Saidas = 1 WHERE CodCongrega = 31 AND Mes = 8", {}, "8", 5, "6.500,00"}},
            {"figuras lançadas em duas vezes", {"INSERT INTO TotIgrejas (CodIg, CodCongrega, Ano, Mes, Entradas) VALUES (12, 30, 2021, 8, 1)", {}, "8", 5, "6.501,00"}},
            {"remessa nova", {"INSERT INTO Remessas (CodIg, Ano, Mes, Valor) VALUES (12, 2021, 8, 0.01)", {}, "8", 5, "6.500,00"}},
            {"mês de trabalho", {{}, {}, "7", 2, "1.554,00"}},
        });
    }
    // Stored data changed after the load: the click prints nothing, says so
    // and shows the month as stored, keeping what was typed; the next
    // click goes on to the questions, and the printout receives the list's
    // rows in order, the typed balance and offsets, and the remittances.
    void recarrega() {
        QFETCH(Mudanca, caso);
        Ambiente amb;
        ImpLivroCx* f = abre(amb, Mes);
        digita(f->TxtSalAnt, "1.500", f->TxtLeft);
        digita(f->TxtLeft, "2.5", f->TxtTop);
        digita(f->TxtTop, "-3", f->TxtLeft);
        if (!caso.sql.isEmpty()) amb.Sql(caso.sql, caso.valores);
        // The treasurer corrects the balance after the change: its new
        // totals must not pass for what was loaded.
        digita(f->TxtSalAnt, "1.500", f->TxtLeft);
        Param[9] = caso.mes;
        responde({vbOK});
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(Recarregado, vbExclamation);
        QVERIFY(impressos_.isEmpty());
        QCOMPARE(f->LstLivroCx->ListCount(), caso.linhas);
        QCOMPARE(f->TxtEntradas->Text(), caso.entradas);
        QCOMPARE(f->TxtSalAnt->Text(), QString("1.500,00"));
        QCOMPARE(f->TxtLeft->Text(), QString("2.5"));

        // The check now finds nothing changed: only the paper is asked.
        if (caso.mes == "8") {
            responde({vbYes});
            QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
            CONFERE_CAIXA(Papel, vbYesNo + vbQuestion);
            QCOMPARE(impressos_.size(), 1);
            const Fechamento_Mensal& d = impressos_[0];
            QStringList textos;
            for (const Linha_Lista::Linha& l : d.linhas) textos << l.linha;
            QCOMPARE(textos, Linhas(f->LstLivroCx));
            QCOMPARE(d.saldoAnterior.Centavos(), 150000);
            QCOMPARE(d.remessas.Formata(), f->TxtRemessas->Text());
            QCOMPARE(d.deslocaEsquerda, QString("2.5"));
            QCOMPARE(d.deslocaTopo, QString("-3"));
        }
    }

    // A load that gave up never prints: the click loads again and, once
    // that completes, says the month was reloaded.
    void cargaIncompleta() {
        Ambiente amb;
        // The remittances cannot be read: each total of the load fails.
        responde({vbNo, vbNo, vbNo, vbNo});
        ImpLivroCx* f = abre(amb, Mes, "S", Setor, {300, 200}, true, [&] { amb.Sql("DROP TABLE Remessas"); });
        QCOMPARE(Roteiro::Caixas().size(), size_t(4));
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro"));
        Roteiro::LimpaCaixas();
        responde({vbNo});
        digita(f->TxtSalAnt, "10", f->TxtLeft);  // its total fails too
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        Roteiro::LimpaCaixas();
        // The click's reload fails the same way, and says nothing more.
        responde({vbNo, vbNo, vbNo, vbNo});
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().size(), size_t(4));
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro"));
        QVERIFY(!Roteiro::HouveInesperada());
        Roteiro::LimpaCaixas();
        QVERIFY(impressos_.isEmpty());

        amb.Sql("CREATE TABLE Remessas (Codigo INTEGER PRIMARY KEY, CodIg INTEGER, Ano INTEGER, Mes INTEGER, Dia INTEGER, Valor REAL)");
        responde({vbOK});
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(Recarregado, vbExclamation);
        QVERIFY(impressos_.isEmpty());
        QCOMPARE(f->TxtSaldo->Text(), QString("3.210,00"));
    }
};

REGISTRA_TESTE(tst_ImpLivroCx)
#include "tst_ImpLivroCx.moc"
