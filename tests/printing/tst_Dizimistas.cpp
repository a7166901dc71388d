// The month's tithers form driven from the main window's menu: the sorted
// list with and without positions, its count, the month read at every
// load, the month's list on paper (heading, numbered lines, the verse
// where it fits, 50 lines a page, footers), and the yearly grid of the
// registered tithers, each read back from its PDF.
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "platform/Printer.h"
#include "printing/Dizimistas.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
// Courier New 12: one character's advance in millimetres.
constexpr double Adv = 12 * (1229.0 / 2048) * 25.4 / 72;
// Where a text centred in the page's 78 characters starts.
double Centro(const QString& t) { return 7 + ((78 - t.size()) / 2) * Adv; }
// The top of body line k (from 1) on a page, as the page adds its steps.
double Lin(int k) {
    float y = 30;
    for (int i = 0; i < k; ++i) y = float(double(y) + 4.8);
    return y;
}

const QString Verso1 = "E  digo  isto:  Que  o  que  semeia  pouco  pouco  também  ceifará;";
const QString Verso3Lista = "Cada  um  contribua  segundo  propôs  no  seu  coração,   não   com";
const QString Verso3Grade = "Cada  um  contribua  segundo  propôs  no  seu  coração,   não  com";
const QString Colunas = "NOME DO DIZIMISTA JAN FEV MAR ABR MAI JUN JUL AGO SET OUT NOV DEZ";

// Lines of the month's list, the verse after them (none: 0), pages.
struct Paginas { int linhas; int paginas; int paginaVerso; double yVerso; };

QString Simplifica(const QString& t) { return t.simplified(); }
}  // namespace

class tst_Dizimistas : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb_;
    int codigo_ = 0;

    void dizimo(const QVariant& historico, int mes = 8, int ano = 2021, int igreja = 12, const QString& tipo = "D") {
        amb_->Sql("INSERT INTO LivroCaixa VALUES (?1, ?2, ?3, ?4, 1, ?5, ?6, 10)",
                  {++codigo_, igreja, ano, mes, tipo, historico});
    }
    Dizimistas* abre() {
        return Abre_Pelo_Menu<Dizimistas>(&Principal::Diz_Rel);
    }
    Documento clica(CommandButton* b) {
        const qsizetype antes = Printer::ArquivosPdf().size();
        QTest::mouseClick(b, Qt::LeftButton);
        return Novo_Pdf(antes);
    }

private slots:
    void init() {
        amb_ = std::make_unique<Ambiente>();
        amb_->Parametros(12, "SETOR NORTE", "VILA NOVA", "S", 8, 2021);
        Printer::DefinePastaPdf(amb_->Pasta() + "/pdf");
        codigo_ = 0;
    }
    void cleanup() {
        QVERIFY(!Roteiro::HouveInesperada());
        Fecha_Tudo();
        Printer::DefinePastaPdf({});
        amb_.reset();
    }

    // The month's tithes of the church in Portuguese order, with positions
    // first when ticked; reloaded from the file at each tick; the count.
    void lista() {
        dizimo("ZÉLIA PRADO RI:00000001 MB");
        dizimo("álvaro d'ávila RI:00000002 PR");
        dizimo("ALINE RI:00000003 DC");
        dizimo("ALINE RI:00000003 DC");  // two tithes, two lines
        dizimo("AB");                    // too short for a name
        dizimo("OFERTA RI:9 MB", 8, 2021, 12, "O");
        dizimo("OUTRO MÊS RI:9 MB", 7);
        dizimo("OUTRA IGREJA RI:9 MB", 8, 2021, 13);
        Dizimistas* f = abre();
        QCOMPARE(f->Caption(), QString(" Impressão da Relação de Dizimistas"));
        QCOMPARE(f->CboMesAno->Text(), QString("AGOSTO / 2021"));
        QCOMPARE(Linhas(f->LstDizimistas), (QStringList{"", "ALINE RI:00000003", "ALINE RI:00000003",
                                                       "álvaro d'ávila RI:00000002", "ZÉLIA PRADO RI:00000001"}));
        QCOMPARE(f->LblRegs->Caption(), QString("5 Registro(s)"));

        dizimo("BETO RI:00000004 CG");  // saved since the form opened
        QTest::mouseClick(f->ChkCargo, Qt::LeftButton);
        QCOMPARE(Linhas(f->LstDizimistas),
                 (QStringList{"AB. ", "CG. BETO RI:00000004", "DC. ALINE RI:00000003", "DC. ALINE RI:00000003",
                              "MB. ZÉLIA PRADO RI:00000001", "PR. álvaro d'ávila RI:00000002"}));
        QCOMPARE(f->LblRegs->Caption(), QString("6 Registro(s)"));
        QTest::mouseClick(f->ChkCargo, Qt::LeftButton);
        QCOMPARE(f->LstDizimistas->List(1), QString("ALINE RI:00000003"));
        QVERIFY(Roteiro::Caixas().empty());
    }

    // One page: every item of the heading, two numbered lines, the verse
    // under them and the footer, where they must stand.
    void pagina() {
        dizimo("JOAO DA SILVA RI:00012345 MB");
        dizimo("ANA RI:00000001 CG");
        Dizimistas* f = abre();
        QTest::mouseClick(f->ChkCargo, Qt::LeftButton);
        const Documento d = clica(f->CmdImprime);
        QCOMPARE(d.paginas, 1);
        const QString titulo = "Relação de Dizimistas do Mês de AGOSTO / 2021";
        QCOMPARE(d.Linhas(1, {8, 13, 18, 23, 28}),
                 (QStringList{QString(78, '~'), "IGREJA CENTRAL", "SETOR NORTE - VILA NOVA", titulo + " Pág. 01",
                              QString(78, '~')}));
        QCOMPARE(d.Linhas(1, {Lin(1), Lin(2)}),
                 (QStringList{"0001 - CG. ANA RI:00000001", "0002 - MB. JOAO DA SILVA RI:00012345"}));
        const double v = Lin(2) + 8;
        QCOMPARE(Simplifica(d.Linha(1, v)), Simplifica(Verso1));
        QCOMPARE(Simplifica(d.Linha(1, v + 2 * 4.8)), Simplifica(Verso3Lista));
        QCOMPARE(d.Linha(1, v + 4 * 4.8), QString("II Corintios 9 v 6,7"));
        QCOMPARE(d.Linhas(1, {280, 285}), (QStringList{QString(78, '~'), "Uma Obra de fé!"}));
        QCOMPARE(d.Fora_Do_Lugar({{1, QString(78, '~'), 8, 7}, {1, "IGREJA", 13, Centro("IGREJA CENTRAL")},
                                  {1, "SETOR", 18, Centro("SETOR NORTE - VILA NOVA")},
                                  {1, "Relação", 23, 47.64}, {1, "Pág.", 23, 185}, {1, QString(78, '~'), 28, 7},
                                  {1, "0001", Lin(1), 35}, {1, "0002", Lin(2), 35}, {1, "E", v, Centro(Verso1)},
                                  {1, "Cada", v + 9.6, Centro(Verso3Lista)},
                                  {1, "II", v + 19.2, Centro("II Corintios 9 v 6,7")},
                                  {1, QString(78, '~'), 280, 7}, {1, "Uma", 285, Centro("Uma Obra de fé!")},
                                  {1, "Tavrelo", 286, 180}}),
                 QString());
        QVERIFY(Roteiro::Caixas().empty());
    }

    void paginas_data() {
        Tabela<Paginas>({
            {"lista vazia", {0, 1, 1, 38}},
            {"44 linhas: o verso cabe", {44, 1, 1, Lin(44) + 8}},
            {"45 linhas: sem verso", {45, 1, 0, 0}},
            {"50 linhas enchem a página", {50, 2, 2, 38}},
            {"51 linhas", {51, 2, 2, Lin(1) + 8}},
            {"100 linhas", {100, 3, 3, 38}},
            {"1.234 linhas", {1234, 25, 25, Lin(34) + 8}},
        });
    }
    // 50 lines a page, the 51st the first of the next under its heading;
    // the verse only where the last line leaves room; a footer on every page.
    void paginas() {
        QFETCH(Paginas, caso);
        amb_->Sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?1) "
                  "INSERT INTO LivroCaixa SELECT i, 12, 2021, 8, 1, 'D', "
                  "printf('DIZIMISTA %04d RI:%08d MB', i, i), 10 FROM n WHERE i <= ?1",
                  {caso.linhas});
        Dizimistas* f = abre();
        const Documento d = clica(f->CmdImprime);
        QCOMPARE(f->LblRegs->Caption(), Formata(double(caso.linhas), "#,### Registro(s)"));
        QCOMPARE(d.paginas, caso.paginas);
        for (int i = 1; i <= caso.linhas; ++i) {
            const int pagina = (i - 1) / 50 + 1;
            const Palavra w = d.Acha(pagina, QString("%1").arg(i, 4, 10, QChar('0')));
            QVERIFY2(w.pagina == pagina && Perto(w.y, Lin((i - 1) % 50 + 1)) && Perto(w.x, 35),
                     qPrintable(QString("linha %1 em %2, y %3").arg(i).arg(w.pagina).arg(w.y)));
        }
        for (int p = 1; p <= d.paginas; ++p) {
            QCOMPARE(d.Linha(p, 23), QString("Relação de Dizimistas do Mês de AGOSTO / 2021 Pág. %1").arg(p, 2, 10, QChar('0')));
            QCOMPARE(d.Linha(p, 285), QString("Uma Obra de fé!"));
            QCOMPARE(d.Acha(p, "Tavrelo", 286).pagina, p);
            const bool verso = p == caso.paginaVerso;
            QCOMPARE(d.Acha(p, "II").pagina == p, verso);
        }
        if (caso.paginaVerso) {
            QCOMPARE(Simplifica(d.Linha(caso.paginaVerso, caso.yVerso)), Simplifica(Verso1));
            QCOMPARE(d.Linha(caso.paginaVerso, caso.yVerso + 19.2), QString("II Corintios 9 v 6,7"));
        }
    }

    // The heading's month is the month of the rows: a month changed in
    // the parameters after the form opened prints its own rows under its
    // own name, and the job's title, and the form shows it.
    void mes_mudado() {
        dizimo("AGOSTO RI:1 MB");
        dizimo("SETEMBRO RI:2 MB", 9);
        Dizimistas* f = abre();
        amb_->Sql("UPDATE Parametros SET Mes = 9");
        Recarrega_Parametros();
        const Documento d = clica(f->CmdImprime);
        QCOMPARE(d.titulo, QString("Relação de Dizimistas 09-2021"));
        QCOMPARE(d.Linha(1, 23), QString("Relação de Dizimistas do Mês de SETEMBRO / 2021 Pág. 01"));
        QCOMPARE(d.Linha(1, Lin(1)), QString("0001 - SETEMBRO RI:2"));
        QCOMPARE(f->CboMesAno->Text(), QString("SETEMBRO / 2021"));
    }

    // A reload given up prints nothing; the runner's error answered No
    // sends nothing either.
    void carga_abandonada() {
        dizimo("ANA RI:1 MB");
        Dizimistas* f = abre();
        amb_->Sql("UPDATE Consultas SET Sql = 'SELECT x FROM Nada' WHERE Nome = 'ProcDizimistas'");
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QVERIFY(Printer::ArquivosPdf().isEmpty());
        Roteiro::LimpaCaixas();

        // The year's marks that cannot be read print no grid.
        amb_->Sql("INSERT INTO Dizimos VALUES (1, 12, '1', 'ANA', NULL)");
        amb_->Sql("UPDATE Consultas SET Sql = 'SELECT x FROM Nada' WHERE Nome = 'ProcDizimistasAno'");
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdMes, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QVERIFY(Printer::ArquivosPdf().isEmpty());
        Roteiro::LimpaCaixas();

        amb_->Sql("UPDATE Consultas SET Sql = 'SELECT x FROM Nada' WHERE Nome = 'ProcPesqDizimos'");
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdMes, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QVERIFY(Printer::ArquivosPdf().isEmpty());
        Roteiro::LimpaCaixas();
    }

    // The register's tithers by position and name, each with its months:
    // numbers of any length matched whole, an entry without "RI:" skipped,
    // two tithes in a month one "OK", other years, kinds and churches not
    // counted, zeros, empty and Null read as no number.
    void grade() {
        amb_->Sql("INSERT INTO Cargos VALUES (1, 'PRESBÍTERO', 'PB'), (2, 'MEMBRO', 'MB')");
        amb_->Sql("INSERT INTO Dizimos VALUES (1, 12, '00000042', 'ZACARIAS', 2)");
        amb_->Sql("INSERT INTO Dizimos VALUES (2, 12, '451', 'BEATRIZ DE ASSUNÇÃO FERREIRA LIMA', 2)");
        amb_->Sql("INSERT INTO Dizimos VALUES (3, 12, '0000000000', 'CARLOS', 1)");
        amb_->Sql("INSERT INTO Dizimos VALUES (4, 12, '', 'DORA', 1)");
        amb_->Sql("INSERT INTO Dizimos VALUES (5, 12, NULL, NULL, NULL)");
        amb_->Sql("INSERT INTO Dizimos VALUES (6, 12, '1234567890', 'EVA', 1)");
        amb_->Sql("INSERT INTO Dizimos VALUES (7, 13, '00000042', 'OUTRA IGREJA', 1)");
        dizimo("OFERTA SEM NUMERO", 1);
        dizimo("ZACARIAS RI:00000042 MB", 1);
        dizimo("ZACARIAS RI:00000042 MB", 3);
        dizimo("ZACARIAS RI:00000042 MB", 3);
        dizimo("ZACARIAS RI:00000042 MB", 5, 2020);
        dizimo("ZACARIAS RI:00000042 MB", 6, 2021, 12, "O");
        dizimo("ZACARIAS RI:00000042", 7);  // the number last in the history
        dizimo("BEATRIZ RI:451 MB", 2);
        dizimo("BEATRIZ RI:00000451 MB", 4);
        dizimo("BEATRIZ RI:451 MB", 8);
        dizimo("CARLOS RI:0000000000 PB", 5);
        dizimo("EVA RI:1234567890 PB", 12);
        dizimo("EVA RI:12345678 PB", 11);
        Dizimistas* f = abre();
        const Documento d = clica(f->CmdMes);
        QCOMPARE(d.paginas, 1);
        QCOMPARE(d.titulo, QString("Dizimistas 2021"));
        QCOMPARE(f->LblRegs->Caption(), QString("6 Registros"));
        QCOMPARE(f->LstDizimistas->ListCount(), 6);
        QCOMPARE(d.Linhas(1, {23, 28, 31}),
                 (QStringList{"Relação de Dizimistas do Mês 1 ao 12 de 2021 Pág. 01", Colunas, QString(78, '~')}));
        QCOMPARE(d.Linhas(1, {Lin(1), Lin(2), Lin(3), Lin(4), Lin(5), Lin(6)}),
                 (QStringList{
                     ". -- -- -- -- -- -- -- -- -- -- -- --",
                     "MB. BEATRIZ DE ASSUNÇÃO FERRE -- OK -- -- -- -- -- OK -- -- -- --",
                     "MB. ZACARIAS OK -- OK -- -- -- OK -- -- -- -- --",
                     "PB. CARLOS -- -- -- -- -- -- -- -- -- -- -- --",
                     "PB. DORA -- -- -- -- -- -- -- -- -- -- -- --",
                     "PB. EVA -- -- -- -- -- -- -- -- -- -- -- OK",
                 }));
        // "OK" and "--" under the last two letters of their month.
        const Palavra jan = d.Acha(1, "JAN", 28), dez = d.Acha(1, "DEZ", 28);
        QVERIFY(Perto(d.Acha(1, "OK", Lin(3)).direita, jan.direita));
        QVERIFY(Perto(d.Acha(1, "OK", Lin(6)).direita, dez.direita));
        QCOMPARE(Simplifica(d.Linha(1, Lin(6) + 8 + 9.6)), Simplifica(Verso3Grade));
        QCOMPARE(d.Fora_Do_Lugar({{1, "Relação", 23, Centro("Relação de Dizimistas do Mês 1 ao 12 de 2021")},
                                  {1, "NOME", 28, 7}, {1, "MB.", Lin(2), 7}}),
                 QString());

        // The month comes back with a tick.
        QTest::mouseClick(f->ChkCargo, Qt::LeftButton);
        QCOMPARE(Linhas(f->LstDizimistas), QStringList{"MB. BEATRIZ RI:451"});
        QCOMPARE(f->LblRegs->Caption(), QString("1 Registro(s)"));
    }

    // 51 tithers take two pages, the grid's heading on each; an empty
    // register in a year without entries prints one page of heading, verse
    // and footer.
    void grade_paginas() {
        for (int i = 1; i <= 51; ++i)
            amb_->Sql("INSERT INTO Dizimos VALUES (?1, 12, ?2, ?3, NULL)",
                      {i, QString("%1").arg(i, 8, 10, QChar('0')), QString("NOME %1").arg(i, 2, 10, QChar('0'))});
        dizimo("NOME 51 RI:00000051 CG", 2);
        Dizimistas* f = abre();
        Documento d = clica(f->CmdMes);
        QCOMPARE(d.paginas, 2);
        QCOMPARE(d.Linha(2, 28), Colunas);
        QCOMPARE(d.Linha(2, 23), QString("Relação de Dizimistas do Mês 1 ao 12 de 2021 Pág. 02"));
        QCOMPARE(d.Linha(1, Lin(50)), QString(". NOME 50 -- -- -- -- -- -- -- -- -- -- -- --"));
        QCOMPARE(d.Linha(2, Lin(1)), QString(". NOME 51 -- OK -- -- -- -- -- -- -- -- -- --"));
        QCOMPARE(f->LblRegs->Caption(), QString("51 Registros"));

        amb_->Sql("DELETE FROM Dizimos");
        amb_->Sql("UPDATE Parametros SET Ano = 2030");
        Recarrega_Parametros();
        d = clica(f->CmdMes);
        QCOMPARE(d.paginas, 1);
        QCOMPARE(d.Linha(1, 23), QString("Relação de Dizimistas do Mês 1 ao 12 de 2030 Pág. 01"));
        QCOMPARE(Simplifica(d.Linha(1, 38)), Simplifica(Verso1));
        QCOMPARE(f->LblRegs->Caption(), QString(" Registro(s)"));
    }
};

REGISTRA_TESTE(tst_Dizimistas)
#include "tst_Dizimistas.moc"
