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

double Y(int linha) { return 48.0 + linha * 5.94; }  // body line, from 0
// Courier New at 12 points advances each character this far.
constexpr double Avanco12 = 12 * (1229.0 / 2048) * 25.4 / 72;

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
        const QStringList arquivos = Printer::ArquivosPdf();
        if (arquivos.size() != antes + 1) return {};
        return Le_Pdf(arquivos.back());
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
    // cent even where a cell cuts the amount; another department reloads.
    void lista() {
        ImpDeptos* f = abre({{10, "E", "BAZAR", 1234567891},
                             {2, "S", "BALÕES", 4510},
                             {2, "E", "OFERTA D'ÁGUA", 10001},
                             {2, "E", "CANTINA", 5}});
        QCOMPARE(f->Caption(), QString(" Lançamento de Departamentos"));
        QCOMPARE(f->CboMesAno->Text(), QString("AGOSTO / 2021"));
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
                              "10 E BAZAR                                             12.345.678       ----"}));
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

    // A negative balance swaps yellow and black with the timer.
    void pisca() {
        ImpDeptos* f = abre({{1, "S", "LUZ", 100}});
        escolhe(f, "FESTAS");
        QCOMPARE(f->TxtSaldo->Text(), QString("-1,00"));
        QCOMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::yellow));
        QCOMPARE(f->Timer->Interval(), 300);
        QTRY_COMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::black));
        QTRY_COMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::yellow));
    }

    void perguntas_data() {
        Tabela<Caso>({
            {"saldo irregular, Não", {300, {vbNo}, {Irregular}, false}},
            {"saldo irregular, Sim, papel Não", {300, {vbYes, vbNo}, {Irregular, Papel}, false}},
            {"saldo irregular, Sim, papel Sim", {300, {vbYes, vbYes}, {Irregular, Papel}, true}},
            {"saldo zero, papel Sim", {200, {vbYes}, {Papel}, true}},
            {"saldo positivo, papel Não", {100, {vbNo}, {Papel}, false}},
        });
    }
    // The questions in their order, icons and default buttons; only Yes to
    // the paper prints.
    void perguntas() {
        QFETCH(Caso, caso);
        ImpDeptos* f = abre({{1, "E", "BAZAR", 200}, {2, "S", "LUZ", caso.saida}});
        escolhe(f, "FESTAS");
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

    // One page: where each item of the header, an entry, an exit and the
    // footer land.
    void pagina() {
        ImpDeptos* f =
            abre({{2, "S", "BALÕES", 4510}, {2, "E", "OFERTA D'ÁGUA", 123456}, {3, "E", "BAZAR", 123456789}});
        escolhe(f, "FESTAS");
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 1);

        QCOMPARE(d.Linha(1, 14), QString("001200701"));
        QVERIFY(Perto(d.Acha(1, "001200701").x, 173));
        // "DEPARTAMENTO:FESTAS" centred in 60: 20 blanks before it.
        const Palavra depto = d.Acha(1, "DEPARTAMENTO:FESTAS", 18);
        QVERIFY2(Perto(depto.x, 10 + 20 * Avanco12), qPrintable(QString::number(depto.x)));
        QCOMPARE(d.Linha(1, 25), QString("SETOR NORTE 0012-VILA NOVA"));
        QVERIFY(Perto(d.Acha(1, "SETOR", 25).x, 25));
        QVERIFY(Perto(d.Acha(1, "0012-VILA", 25).x, 130));
        QCOMPARE(d.Linha(1, 32), QString("AGOSTO 2021 01"));
        QVERIFY(Perto(d.Acha(1, "AGOSTO", 32).x, 25));
        QVERIFY(Perto(d.Acha(1, "2021", 32).x, 112));
        QVERIFY(Perto(d.Acha(1, "01", 32).x, 180));

        QCOMPARE(d.Linha(1, Y(0)), QString("02 OFERTA D'ÁGUA 1.234,56 ----"));
        QCOMPARE(d.Linha(1, Y(1)), QString("02 BALÕES ---- 45,10"));
        // Wider than the list's cell, printed whole.
        QCOMPARE(d.Linha(1, Y(2)), QString("03 BAZAR 1.234.567,89 ----"));
        QCOMPARE(d.Linha(1, Y(3)), QString());
        QVERIFY(Perto(d.Acha(1, "02", Y(0)).x, 12));
        QVERIFY(Perto(d.Acha(1, "OFERTA", Y(0)).x, 24));
        QVERIFY(Perto(d.Acha(1, "1.234,56", Y(0)).direita, 144 + Celula12));
        QVERIFY(Perto(d.Acha(1, "----", Y(0)).x, 186));
        QVERIFY(Perto(d.Acha(1, "----", Y(1)).x, 158));
        QVERIFY(Perto(d.Acha(1, "45,10", Y(1)).direita, 172 + Celula12));

        QCOMPARE(d.Linha(1, 220), QString("1.235.802,45"));
        QCOMPARE(d.Linha(1, 226), QString("45,10"));
        QCOMPARE(d.Linha(1, 250), QString("1.235.757,35"));
        QVERIFY(Perto(d.Acha(1, "45,10", 226).direita, 172 + Celula12));
        QVERIFY(Perto(d.Acha(1, "1.235.757,35", 250).direita, 144 + Celula12));
        QCOMPARE(d.Linha(1, 264), QString("05 03 2026"));
        QVERIFY(Perto(d.Acha(1, "05", 264).x, 14));
        QVERIFY(Perto(d.Acha(1, "03", 264).x, 32));
        QVERIFY(Perto(d.Acha(1, "2026", 264).x, 48));
        const Palavra credito = d.Acha(1, "Tavrelo");
        QVERIFY(Perto(credito.x, 179) && Perto(credito.y, 280));
    }

    // A 64-bit code whole in the document code; a name past 47 characters
    // cut so that the department line holds 60; an empty month one page of
    // zeros.
    void cabecalho_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("codigo");
        QTest::addColumn<QString>("linha");
        // From X 173 the paper holds 14 characters: the page's digits of a
        // code this long fall past its edge.
        QTest::newRow("código de 64 bits") << "JOVENS" << "001240000000000" << "DEPARTAMENTO:JOVENS";
        QTest::newRow("nome longo") << NomeLongo << "001200901"
                                    << "DEPARTAMENTO:" + NomeLongo.left(47);
    }
    void cabecalho() {
        QFETCH(QString, nome);
        QFETCH(QString, linha);
        ImpDeptos* f = abre({});
        escolhe(f, nome);
        const Documento d = imprime(f);
        QCOMPARE(d.paginas, 1);
        QTEST(d.Linha(1, 14), "codigo");
        QCOMPARE(d.Linha(1, 18), linha);
        if (nome.size() > 47) QVERIFY(Perto(d.Acha(1, "DEPARTAMENTO:DEPARTAMENTO", 18).x, 10));
        if (nome == "JOVENS") {
            QCOMPARE(d.Linha(1, Y(0)), QString("01 JOVENS 6,00 ----"));
            return;
        }
        QCOMPARE(d.Linha(1, Y(0)), QString());
        for (double y : {220, 226, 250}) QCOMPARE(d.Linha(1, y), QString("0,00"));
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
        QCOMPARE(d.Linha(1, Y(0)), QString("01 ITEM 01 1,00 ----"));
        QCOMPARE(d.Linha(1, Y(28)), QString("29 ITEM 29 29,00 ----"));
        // Page 1: entries 1..29 without the multiples of 3, exits the multiples of 3.
        QCOMPARE(d.Linha(1, 220), QString("300,00"));
        QCOMPARE(d.Linha(1, 226), QString("135,00"));
        QCOMPARE(d.Linha(1, 250), QString("165,00"));
        QCOMPARE(d.Linha(2, 14), QString("001200702"));
        QCOMPARE(d.Linha(2, 48), QString("-- TRANSPORTE DE SALDO DA PÁGINA 01 300,00 135,00"));
        QCOMPARE(d.Linha(2, Y(1)), QString("30 ITEM 30 ---- 30,00"));
        QCOMPARE(d.Linha(2, Y(2)), QString());
        QCOMPARE(d.Linha(2, 220), QString("300,00"));
        QCOMPARE(d.Linha(2, 226), QString("165,00"));
        QCOMPARE(d.Linha(2, 250), QString("135,00"));
        QCOMPARE(d.Linha(2, 18), d.Linha(1, 18));
    }
};

REGISTRA_TESTE(tst_ImpDeptos)
#include "tst_ImpDeptos.moc"
