// The department closing driven from the main window's menu: the church's
// departments, the chosen one's month sorted with exact totals, the print
// refused until a department is loaded, the questions, and the printout
// read back from its PDF.
#include "platform/Printer.h"
#include "platform/Relogio.h"
#include "printing/ImpDeptos.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
const QString Irregular = "Saldo Irregular. Deseja Imprimir ?";
const QString Papel = "Prepare a Impressora com papel A4. Tudo OK ?";

// Day, kind, history, amount in cents.
struct Lanc { int dia; QString tipo; QString hist; qint64 centavos; };
struct Caso { qint64 saida; QList<int> respostas; QStringList caixas; bool imprime; };

const QString NomeLongo = "DEPARTAMENTO DE AÇÃO SOCIAL, MISSÕES E D'ÁGUA VIVA DA IGREJA";  // 60 characters
}  // namespace

class tst_ImpDeptos : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb_;

    // Church 12 keeps FESTAS (7), JOVENS (4000000000) and a long-named one;
    // church 13's department must not be offered. FESTAS gets `festas`,
    // in August 2021, beside rows of another month and department.
    ImpDeptos* abre(const QList<Lanc>& festas) {
        amb_->Sql("INSERT INTO Departamentos VALUES (7, 12, 'FESTAS')");
        amb_->Sql("INSERT INTO Departamentos VALUES (4000000000, 12, 'JOVENS')");
        amb_->Sql("INSERT INTO Departamentos VALUES (9, 12, ?1)", {NomeLongo});
        amb_->Sql("INSERT INTO Departamentos VALUES (8, 13, 'OUTRA IGREJA')");
        int codigo = 0;
        for (const Lanc& l : festas)
            amb_->Sql("INSERT INTO LancDeptos VALUES (?1, 12, 2021, 8, 7, ?2, ?3, ?4, ?5)",
                      {++codigo, l.dia, l.tipo, l.hist, double(l.centavos) / 100});
        amb_->Sql("INSERT INTO LancDeptos VALUES (900, 12, 2021, 7, 7, 1, 'E', 'JULHO', 5)");
        amb_->Sql("INSERT INTO LancDeptos VALUES (901, 12, 2021, 8, 4000000000, 1, 'E', 'JOVENS', 6)");
        amb_->Parametros(12, "SETOR NORTE", "VILA NOVA", "S", 8, 2021);
        Principal* p = Inicia_Principal("MARIA");
        p->Fec_Dep->trigger();
        auto* f = qobject_cast<ImpDeptos*>(Form::Procura("ImpDeptos"));
        if (!f) qFatal("o menu não abriu o fechamento de departamentos");
        return f;
    }

    // Chooses the department with the keyboard, as a user does.
    static void escolhe(ImpDeptos* f, const QString& nome) {
        f->CboDepto->SetFocus();
        for (int i = 0; i < f->CboDepto->ListCount() && f->CboDepto->Text() != nome; ++i)
            QTest::keyClick(f->CboDepto, Qt::Key_Down);
        QCOMPARE(f->CboDepto->Text(), nome);
    }

    // Prints through the button with Yes to the paper; the PDF read back.
    Documento imprime(ImpDeptos* f) {
        const qsizetype antes = Printer::ArquivosPdf().size();
        Roteiro::Responde(vbYes);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        return Novo_Pdf(antes);
    }

private slots:
    void init() {
        amb_ = std::make_unique<Ambiente>();
        Printer::DefinePastaPdf(amb_->Pasta() + "/pdf");
        QVERIFY(Grava_Impresso(amb_->Pasta()));
        Relogio::Define(QDateTime(QDate(2026, 3, 5), QTime(10, 0)));
    }
    void cleanup() {
        Fecha_Tudo();
        Printer::DefinePastaPdf({});
        Relogio::Define({});
        amb_.reset();
    }

    // The church's departments by name; no print before one is chosen; the
    // list sorted by day, entries before exits, then history; totals to the
    // cent even where a cell cannot hold the amount; another department
    // reloads.
    void lista() {
        ImpDeptos* f = abre({{10, "E", "BAZAR", 1234567891},
                             {2, "S", "BALÕES", 4510},
                             {2, "E", "OFERTA D'ÁGUA", 10001},
                             {2, "E", "CANTINA", 5}});
        QCOMPARE(Linhas(f->LstDeptos), QStringList());
        QStringList deptos;
        for (int i = 0; i < f->CboDepto->ListCount(); ++i) deptos << f->CboDepto->List(i);
        QCOMPARE(deptos, (QStringList{NomeLongo, "FESTAS", "JOVENS"}));
        // Nothing to print yet: the button is disabled and asks nothing.
        QVERIFY(!f->CmdImprime->isEnabled());
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        QVERIFY(Roteiro::Caixas().empty());

        escolhe(f, "FESTAS");
        QCOMPARE(Linhas(f->LstDeptos),
                 (QStringList{"02 E CANTINA                                                 0,05       ----",
                              "02 E OFERTA D'ÁGUA                                         100,01       ----",
                              "02 S BALÕES                                                  ----      45,10",
                              "10 E BAZAR                                             ##########       ----"}));
        QCOMPARE(f->TxtEntradas->Text(), QString("12.345.778,97"));
        QCOMPARE(f->TxtSaidas->Text(), QString("45,10"));
        QCOMPARE(f->TxtSaldo->Text(), QString("12.345.733,87"));
        QCOMPARE(f->LblRegs->Caption(), QString("4 Registro(s)"));
        QVERIFY(f->CmdImprime->isEnabled());

        escolhe(f, "JOVENS");
        QCOMPARE(Linhas(f->LstDeptos),
                 QStringList{"01 E JOVENS                                                  6,00       ----"});
        QCOMPARE(f->TxtSaldo->Text(), QString("6,00"));
        QVERIFY(Roteiro::Caixas().empty());
    }

    void perguntas_data() {
        Tabela<Caso>({
            {"saldo irregular, Não", {300, {vbNo}, {Irregular}, false}},
            {"saldo irregular, Sim, papel Sim", {300, {vbYes, vbYes}, {Irregular, Papel}, true}},
            {"saldo zero, papel Sim", {200, {vbYes}, {Papel}, true}},
            {"saldo positivo, papel Não", {100, {vbNo}, {Papel}, false}},
        });
    }
    // A negative balance blinks. The questions in their order, icons and
    // default buttons; only Yes to the paper prints.
    void perguntas() {
        QFETCH(Caso, caso);
        ImpDeptos* f = abre({{1, "E", "BAZAR", 200}, {2, "S", "LUZ", caso.saida}});
        escolhe(f, "FESTAS");
        if (caso.saida > 200) QTRY_COMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::black));
        for (int r : caso.respostas) Roteiro::Responde(r);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        QCOMPARE(int(Roteiro::Caixas().size()), caso.caixas.size());
        for (int i = 0; i < caso.caixas.size(); ++i) {
            const auto& c = Roteiro::Caixas()[size_t(i)];
            QCOMPARE(c.prompt, caso.caixas[i]);
            QCOMPARE(c.estilo, vbYesNo + vbQuestion + (caso.caixas[i] == Papel ? 0 : vbDefaultButton2));
            QCOMPARE(c.titulo, QString("Atenção MARIA"));
        }
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(Printer::ArquivosPdf().size(), caso.imprime ? 1 : 0);
    }

    // One page, a job titled after the report and its month: where each
    // item of the header, an entry, an exit and the footer land.
    void pagina() {
        ImpDeptos* f =
            abre({{2, "S", "BALÕES", 4510}, {2, "E", "OFERTA D'ÁGUA", 123456}, {3, "E", "BAZAR", 123456789}});
        escolhe(f, "FESTAS");
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 1);
        QCOMPARE(d.titulo, QString("Fechamento de Departamentos 08-2021"));

        QCOMPARE(d.Linhas(1, {14, 25, 32}), (QStringList{"001200701", "SETOR NORTE 0012-VILA NOVA", "AGOSTO 2021 01"}));
        // The last amount wider than the list's cell, printed whole.
        QCOMPARE(d.Linhas(1, {Y(0), Y(1), Y(2), Y(3)}), (QStringList{"02 OFERTA D'ÁGUA 1.234,56 ----", "02 BALÕES ---- 45,10",
                                                                   "03 BAZAR 1.234.567,89 ----", ""}));
        QCOMPARE(d.Linhas(1, {220, 226, 250}), (QStringList{"1.235.802,45", "45,10", "1.235.757,35"}));
        // "DEPARTAMENTO:FESTAS" centred in 60: 20 blanks before it.
        const double e = 144 + Celula12, s = 172 + Celula12;
        QCOMPARE(d.Fora_Do_Lugar({{1, "001200701", 14, 173}, {1, "DEPARTAMENTO:FESTAS", 18, 10 + 20 * Celula12 / 12},
                                  {1, "SETOR", 25, 25}, {1, "0012-VILA", 25, 130}, {1, "AGOSTO", 32, 25},
                                  {1, "2021", 32, 112}, {1, "01", 32, 180}, {1, "02", Y(0), 12}, {1, "OFERTA", Y(0), 24},
                                  {1, "1.234,56", Y(0), e, true}, {1, "----", Y(0), 186}, {1, "----", Y(1), 158},
                                  {1, "45,10", Y(1), s, true}, {1, "45,10", 226, s, true},
                                  {1, "1.235.757,35", 250, e, true}}),
                 QString());
    }

    // A stored row of another kind shows no amount on screen and counts in
    // no total: on paper too it prints no amount and leaves the footer as
    // the screen's totals.
    void outro_tipo() {
        ImpDeptos* f = abre({{2, "E", "BAZAR", 1000}, {3, "X", "AJUSTE", 50000}});
        escolhe(f, "FESTAS");
        QCOMPARE(f->TxtEntradas->Text(), QString("10,00"));
        const Documento d = imprime(f);
        QCOMPARE(d.Linhas(1, {Y(0), Y(1), 220, 226, 250}),
                 (QStringList{"02 BAZAR 10,00 ----", "03 AJUSTE ----", "10,00", "0,00", "10,00"}));
    }

    // A 64-bit code whole in the document code; a name past 47 characters
    // cut so that the department line holds 60; an empty month one page of
    // zeros.
    void cabecalho_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QStringList>("linhas");  // at Y 14, 18, the first body line, 220, 226 and 250
        QTest::addColumn<double>("x");            // where the department's line starts
        // From X 173 the paper holds 14 characters: the page's digits of a
        // code this long fall past its edge.
        QTest::newRow("código de 64 bits") << "JOVENS"
                                           << QStringList{"001240000000000", "DEPARTAMENTO:JOVENS", "01 JOVENS 6,00 ----",
                                                          "6,00", "0,00", "6,00"}
                                           << 10 + 20 * Celula12 / 12;
        QTest::newRow("nome longo") << NomeLongo
                                    << QStringList{"001200901", "DEPARTAMENTO:" + NomeLongo.left(47), "", "0,00", "0,00", "0,00"}
                                    << 10.0;
    }
    void cabecalho() {
        QFETCH(QString, nome);
        QFETCH(QStringList, linhas);
        QFETCH(double, x);
        ImpDeptos* f = abre({});
        escolhe(f, nome);
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 1);
        QCOMPARE(d.Linhas(1, {14, 18, Y(0), 220, 226, 250}), linhas);
        QCOMPARE(d.Fora_Do_Lugar({{1, linhas[1].section(' ', 0, 0), 18, x}}), QString());
    }

    // Thirty rows: 29 on page 1, then the carry-over line and the last row;
    // both footers show the running balance.
    void paginas() {
        QList<Lanc> mes;
        for (int i = 1; i <= 30; ++i)
            mes << Lanc{i, i % 3 ? "E" : "S", QString("ITEM %1").arg(i, 2, 10, QChar('0')), 100 * i};
        ImpDeptos* f = abre(mes);
        escolhe(f, "FESTAS");
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 2);
        // Page 1: entries 1..29 without the multiples of 3, exits the multiples of 3.
        QCOMPARE(d.Linhas(1, {Y(0), Y(28), 220, 226, 250}),
                 (QStringList{"01 ITEM 01 1,00 ----", "29 ITEM 29 29,00 ----", "300,00", "135,00", "165,00"}));
        QCOMPARE(d.Linhas(2, {14, 18, 48, Y(1), Y(2), 220, 226, 250}),
                 (QStringList{"001200702", d.Linha(1, 18), "-- TRANSPORTE DE SALDO DA PÁGINA 01 300,00 135,00",
                              "30 ITEM 30 ---- 30,00", "", "300,00", "165,00", "135,00"}));
    }
};

REGISTRA_TESTE(tst_ImpDeptos)
#include "tst_ImpDeptos.moc"
