// The receipt register driven from the main window's menu: the church's
// numbers, a new receipt's defaults, the keys each box keeps, the checks
// before a save and a print, numbers never taken twice (copy, a number
// taken meanwhile by another program, two program instances storing
// receipts at once), the save on close and its failure, an older file
// brought up to date, and the receipt on paper read back from its PDF.
#include "common/Esquema.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "platform/Printer.h"
#include "platform/Relogio.h"
#include "platform/SqlCipher.h"
#include "printing/Recibo.h"
#include "printing/TrabalhoImpressao.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

namespace {
const QString Papel = "Prepare a Impressora com papel A4. Tudo OK ?";
const QString PerguntaCpf = "O Nº do CPF é inválido. Prossegue assim mesmo?";
// A paying church's text of 100 characters, one word.
const QString Igreja = QString("IGREJA-DO-SETOR-NORTE/CONGREGAÇÃO-D'ÁGUA-VIVA-").leftJustified(100, 'X');
// Courier New 14: one character's advance in millimetres.
constexpr double Adv = 14 * (1229.0 / 2048) * 25.4 / 72;
// Where a value cell of 12 characters from X 156 ends.
constexpr double FimValor = 156 + 12 * Adv;
const QString Colunas = "SELECT Codigo, Codig, eu, CPF, Congrega, Despesa1, Despesa2, Despesa3, Despesa4, "
                        "Valor1, Valor2, Valor3, Valor4, Ano, Mes, Dia FROM Recibos ORDER BY Codigo";

// The receipt form's picture, a plain grey sheet, in the program folder.
bool Grava_Recibo(const QString& pasta) {
    QImage figura(236, 169, QImage::Format_Grayscale8);
    figura.fill(235);
    return figura.save(QDir(pasta).filePath("recibo.kwe"), "PNG");
}

// How many texts a PDF's pages start drawing at x millimetres on the line
// whose top is at y, read from its content streams by Python's own inflate
// (a text's baseline lies a few millimetres under its top).
int Textos_Em(const QString& pdf, double x, double y) {
    const QString script = R"(
import re, sys, zlib
d = open(sys.argv[1], 'rb').read()
n = 0
for m in re.finditer(rb'stream\r?\n(.*?)endstream', d, re.S):
    try:
        t = zlib.decompress(m.group(1))
    except Exception:
        continue
    for x, y in re.findall(rb'Tm\s+([-0-9.]+) ([-0-9.]+) Td', t):
        mm = lambda v: float(v) * 0.06 * 25.4 / 72
        n += abs(mm(x) - float(sys.argv[2])) < 0.5 and 0 < -mm(y) - float(sys.argv[3]) < 6
print(n)
)";
    return Executa("/usr/bin/python3", {"-c", script, pdf, QString::number(x), QString::number(y)}).trimmed().toInt();
}

void Cola(QWidget* w, const QString& texto) {
    QApplication::clipboard()->setText(texto);
    w->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
}

// Checks before a print: what is typed, the answers, the boxes shown, and
// whether the receipt was stored and printed.
struct Impressao {
    bool novo;
    QString eu, cpf;
    QList<int> respostas;
    QStringList caixas;
    bool grava, imprime;
};
// A date typed on a new receipt; the message its save gives ("" for none).
struct Data { QString dia, mes, ano, mensagem; QString mesGravado; };

// The name and the value, in cents, of receipt i of a program instance.
QString Nome_Recibo(const QString& instancia, int i) { return QString("%1 %2").arg(instancia).arg(i, 3, 10, QChar('0')); }
int Centavos_Recibo(const QString& instancia, int i) { return (i + 1) * 100 + int(instancia.at(0).unicode()); }

// Another program instance on the folder of the test that starts it (the
// arguments: the folder, the instance's name, how many receipts): its own
// receipts, in turn a new one printed (which saves it, under the next
// free number when the other instance took its number meanwhile) and a
// copy of the one shown under another name; every box it sees is one that
// such receipts give, and it ends with the form closed.
int Outra_Instancia(const QStringList& argumentos) {
    if (argumentos.size() != 3) return 2;
    const QString instancia = argumentos[1];
    Ambiente amb(argumentos[0]);
    Relogio::Define(QDateTime(QDate(2026, 3, 5), QTime(10, 0)));
    Printer::DefinePastaPdf(amb.Pasta() + "/pdf-" + instancia);
    Recibo* f = Abre_Pelo_Menu<Recibo>(&Principal::Rec_Diz);
    const QRegularExpression esperadas("^(" + QRegularExpression::escape(Papel) +
                                       "|O Recibo Nº \\d{6} já estava em uso: foi gravado como Recibo Nº \\d{6}"
                                       "|O Recibo Nº \\d{6} foi copiado para o Recibo Nº \\d{6} com a data de hoje)$");
    for (int i = 0; i < argumentos[2].toInt(); ++i) {
        const QString valor = Dinheiro::DeCentavos(Centavos_Recibo(instancia, i)).Formata();
        if (i % 2 == 0) {
            QTest::mouseClick(f->CmdNovo, Qt::LeftButton);
            Troca(f->TxtEu, Nome_Recibo(instancia, i));
            Troca(f->TxtCpf, "123.456.789-09");
            Troca(f->Txt1Valor, valor);
            Roteiro::Responde(vbYes);
            Roteiro::Responde(vbOK);  // when the number was taken
            QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        } else {
            Troca(f->TxtEu, Nome_Recibo(instancia, i));
            Troca(f->Txt1Valor, valor);
            Roteiro::Responde(vbOK);
            QTest::mouseClick(f->CmdCopia, Qt::LeftButton);
        }
        if (Roteiro::Caixas().empty()) return 1;
        for (const Roteiro::Caixa& c : Roteiro::Caixas()) {
            if (!c.inesperada && esperadas.match(c.prompt).hasMatch()) continue;
            std::fprintf(stderr, "%s, recibo %d: %s\n", qPrintable(instancia), i, qPrintable(c.prompt));
            return 1;
        }
        Roteiro::Instala();  // the answer of a box not shown is dropped
    }
    return f->Unload() ? 0 : 1;
}
REGISTRA_OUTRO(recibos, Outra_Instancia)
}  // namespace

class tst_Recibo : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb_;

    void recibo(int codigo, int igreja, const QString& eu = "ANA", double valor = 10) {
        amb_->Sql("INSERT INTO Recibos VALUES (?1, ?2, ?3, '123.456.789-09', 'SETOR NORTE / VILA NOVA', 'LUZ', ' ', ' ', ' ', "
                  "?4, 0, 0, 0, 2021, 8, 5)",
                  {codigo, igreja, eu, valor});
    }
    Recibo* abre() { return Abre_Pelo_Menu<Recibo>(&Principal::Rec_Diz); }
    static QStringList Itens(const ComboBox* c) {
        QStringList r;
        for (int i = 0; i < c->ListCount(); ++i) r << c->List(i);
        return r;
    }
    static void escolhe(Recibo* f, const QString& numero) {
        f->CboRecibo->SetFocus();
        QTest::keyClick(f->CboRecibo, Qt::Key_Home);
        for (int i = 0; i < f->CboRecibo->ListCount() && f->CboRecibo->Text() != numero; ++i)
            QTest::keyClick(f->CboRecibo, Qt::Key_Down);
        QCOMPARE(f->CboRecibo->Text(), numero);
    }
    static void novo(Recibo* f) { QTest::mouseClick(f->CmdNovo, Qt::LeftButton); }

private slots:
    void init() {
        amb_ = std::make_unique<Ambiente>();
        amb_->Parametros(12, "SETOR NORTE", "VILA NOVA", "S", 8, 2021);
        amb_->Sql("INSERT INTO Saidas VALUES (1, 12, 'LUZ'), (2, 12, 'ÁGUA'), (3, 12, 'ALUGUEL'), (4, 13, 'OUTRA')");
        Printer::DefinePastaPdf(amb_->Pasta() + "/pdf");
        QVERIFY(Grava_Recibo(amb_->Pasta()));
        Relogio::Define(QDateTime(QDate(2026, 3, 5), QTime(10, 0)));
    }
    void cleanup() {
        QVERIFY(!Roteiro::HouveInesperada());
        Fecha_Tudo();
        Printer::DefinePastaPdf({});
        Relogio::Define({});
        amb_.reset();
    }

    // The church's numbers only, nothing shown; the outflows of the church
    // in each description list, sorted; closed at once, nothing stored.
    void abre_e_fecha() {
        recibo(2, 12);
        recibo(1, 12);
        recibo(3, 13);
        Recibo* f = abre();
        QCOMPARE(f->Caption(), QString(" Impressão de Recibo Avulso"));
        QCOMPARE(Itens(f->CboRecibo), (QStringList{"000001", "000002"}));
        QCOMPARE(f->CboRecibo->ListIndex(), -1);
        QCOMPARE(f->TxtEu->Text(), QString());
        for (ComboBox* c : {f->CboTexto1, f->CboTexto4}) QCOMPARE(Itens(c), (QStringList{"ÁGUA", "ALUGUEL", "LUZ"}));
        const QStringList antes = amb_->Linhas(Colunas);
        QVERIFY(f->Unload());
        QCOMPARE(amb_->Linhas(Colunas), antes);
        QVERIFY(Roteiro::Caixas().empty());
    }

    // A new receipt takes a number no receipt of any church has, listed
    // once however often it is asked for, with today's defaults; closing
    // the form stores it, blanks for its empty texts.
    void novo_e_fechamento() {
        recibo(1, 12);
        recibo(7, 13);
        Recibo* f = abre();
        novo(f);
        novo(f);
        QCOMPARE(Itens(f->CboRecibo), (QStringList{"000001", "000008"}));
        QCOMPARE(f->CboRecibo->Text(), QString("000008"));
        QCOMPARE((QStringList{f->TxtCodIgreja->Text(), f->TxtTotal->Text(), f->TxtCongregacao->Text(), f->TxtDia->Text(),
                              f->TxtMes->Text(), f->TxtAno->Text(), f->TxtEu->Text(), f->Txt1Valor->Text()}),
                 (QStringList{"0012", "0,00", "SETOR NORTE / VILA NOVA", "05", "MARÇO", "2026", "", ""}));
        QCOMPARE(QApplication::focusWidget(), f->TxtEu);
        QVERIFY(f->Unload());
        QCOMPARE(amb_->Linhas(Colunas + " LIMIT 1 OFFSET 2"),
                 QStringList{"8|12| | |SETOR NORTE / VILA NOVA| | | | |0|0|0|0|2026|3|5"});
        QVERIFY(Roteiro::Caixas().empty());
    }

    // Each box keeps its keys: amounts with a comma, shown formatted on
    // leaving and added up; a CPF with its points and dash; capitals in
    // the names; descriptions up to 46 characters, Backspace still working.
    void teclas() {
        Recibo* f = abre();
        novo(f);
        Digita(f->Txt1Valor, "1234.5");
        QCOMPARE(f->Txt1Valor->Text(), QString("1234,5"));
        Digita(f->Txt2Valor, "-10abc");
        QCOMPARE(f->Txt1Valor->Text(), QString("1.234,50"));
        f->Txt3Valor->SetFocus();
        QCOMPARE(f->Txt2Valor->Text(), QString("-10,00"));
        QCOMPARE(f->TxtTotal->Text(), QString("1.224,50"));
        Digita(f->TxtCpf, "123.456.789-09x");
        QCOMPARE(f->TxtCpf->Text(), QString("123.456.789-09"));
        Digita(f->TxtEu, "josé d'ávila");
        QCOMPARE(f->TxtEu->Text(), QString("JOSÉ D'ÁVILA"));
        Digita(f->CboTexto1, "conta d'água " + QString(40, 'x'));
        QCOMPARE(f->CboTexto1->Text(), "CONTA D'ÁGUA " + QString(33, 'X'));
        QTest::keyClick(f->CboTexto1, Qt::Key_Backspace);
        QCOMPARE(f->CboTexto1->Text().size(), 45);
        Troca(f->TxtDia, "1a");
        QCOMPARE(f->TxtDia->Text(), QString("1"));
        QVERIFY(Roteiro::Caixas().empty());
    }

    // A text that is no amount is refused at the save; the widest stored
    // amounts show whole and add up to the cent.
    void valores() {
        Recibo* f = abre();
        novo(f);
        Digita(f->Txt3Valor, "1,2,3");
        f->TxtEu->SetFocus();
        QCOMPARE(f->Txt3Valor->Text(), QString("1,2,3"));
        QCOMPARE(f->TxtTotal->Text(), QString("0,00"));
        Roteiro::Responde(vbOK);
        QVERIFY(!f->Unload());
        CONFERE_CAIXA("Valor inválido. Preencha corretamente.", vbExclamation);
        QCOMPARE(QApplication::focusWidget(), f->Txt3Valor);
        QCOMPARE(amb_->Conta("SELECT COUNT(*) FROM Recibos"), 0);
        Troca(f->Txt3Valor, "");
        QVERIFY(f->Unload());
        QCOMPARE(amb_->Conta("SELECT COUNT(*) FROM Recibos"), 1);
        Fecha_Tudo();

        amb_->Sql("INSERT INTO Recibos VALUES (5, 12, 'ANA', ' ', 'X', 'A', 'B', 'C', 'D', 99999999.99, 99999999.99, "
                  "99999999.99, 99999999.99, 2021, 8, 5)");
        f = abre();
        escolhe(f, "000005");
        QCOMPARE(f->Txt4Valor->Text(), QString("99.999.999,99"));
        QCOMPARE(f->TxtTotal->Text(), QString("399.999.999,96"));
        QVERIFY(f->Unload());
        QCOMPARE(amb_->Linhas("SELECT CAST(ROUND(Valor1 * 100) AS INTEGER), CAST(ROUND(Valor4 * 100) AS INTEGER) FROM Recibos WHERE Codigo = 5"),
                 QStringList{"9999999999|9999999999"});
    }

    void imprime_data() {
        Tabela<Impressao>({
            {"sem recibo", {false, "", "", {vbOK}, {"Informe Recibo Nº corretamente."}, false, false}},
            {"sem nome", {true, "", "", {vbOK}, {"Informe Nome do beneficiário corretamente."}, false, false}},
            {"CPF vazio, Não", {true, "ANA", "", {vbNo}, {PerguntaCpf}, false, false}},
            {"CPF inválido, Sim, papel Não", {true, "ANA", "123.456.789-00", {vbYes, vbNo}, {PerguntaCpf, Papel}, false, false}},
            {"CPF válido, papel Sim", {true, "ANA", "123.456.789-09", {vbYes}, {Papel}, true, true}},
        });
    }
    // The checks of the print in their order; only Yes to the paper saves
    // and prints.
    void imprime() {
        QFETCH(Impressao, caso);
        Recibo* f = abre();
        if (caso.novo) novo(f);
        Digita(f->TxtEu, caso.eu);
        Digita(f->TxtCpf, caso.cpf);
        for (int r : caso.respostas) Roteiro::Responde(r);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        QCOMPARE(int(Roteiro::Caixas().size()), caso.caixas.size());
        for (int i = 0; i < caso.caixas.size(); ++i) {
            const auto& c = Roteiro::Caixas()[size_t(i)];
            QCOMPARE(c.prompt, caso.caixas[i]);
            const int estilo = c.prompt == Papel         ? vbYesNo + vbQuestion
                               : c.prompt == PerguntaCpf ? vbYesNo + vbQuestion + vbDefaultButton2
                                                         : vbInformation;
            QCOMPARE(c.estilo, estilo);
            QCOMPARE(c.titulo, QString("Atenção MARIA"));
        }
        QCOMPARE(amb_->Conta("SELECT COUNT(*) FROM Recibos"), caso.grava ? 1 : 0);
        QCOMPARE(Printer::ArquivosPdf().size(), caso.imprime ? 1 : 0);
    }

    void datas_data() {
        Tabela<Data>({
            {"dia vazio", {"", "MARÇO", "2026", "Dia inválido. Preencha corretamente.", ""}},
            {"31 de abril", {"31", "ABRIL", "2026", "Dia inválido. Preencha corretamente.", ""}},
            {"29 de fevereiro de 2023", {"29", "FEVEREIRO", "2023", "Dia inválido. Preencha corretamente.", ""}},
            {"29 de fevereiro de 2024", {"29", "FEVEREIRO", "2024", "", "2"}},
            {"MARCO sem cedilha", {"5", "MARCO", "2026", "Mês inválido. Preencha corretamente.", ""}},
            {"março em minúsculas", {"5", "março", "2026", "", "3"}},
            {"ano vazio", {"5", "MARÇO", "", "Ano inválido. Preencha corretamente.", ""}},
        });
    }
    // A date that names no day of the year is never stored: the form stays
    // open with what was typed, the box to correct under the cursor.
    void datas() {
        QFETCH(Data, caso);
        Recibo* f = abre();
        novo(f);
        Troca(f->TxtDia, caso.dia);
        Cola(f->TxtMes, caso.mes);
        Troca(f->TxtAno, caso.ano);
        if (!caso.mensagem.isEmpty()) Roteiro::Responde(vbOK);
        const bool fechou = f->Unload();
        QCOMPARE(fechou, caso.mensagem.isEmpty());
        if (fechou) {
            QVERIFY(Roteiro::Caixas().empty());
            QCOMPARE(amb_->Linhas("SELECT Mes FROM Recibos"), QStringList{caso.mesGravado});
            return;
        }
        CONFERE_CAIXA(caso.mensagem, vbExclamation);
        QVERIFY(f->Loaded());
        QCOMPARE(f->TxtMes->Text(), caso.mes);
        QCOMPARE(amb_->Conta("SELECT COUNT(*) FROM Recibos"), 0);
        TextBox* foco = caso.mensagem.startsWith("Dia") ? f->TxtDia : caso.mensagem.startsWith("Mês") ? f->TxtMes : f->TxtAno;
        QCOMPARE(QApplication::focusWidget(), foco);
    }

    // The copy takes a number no receipt has, even with another church's
    // receipts and gaps about, dated today, with a blank for an empty name;
    // the copied receipt is left as stored. Nothing is copied without a
    // receipt chosen.
    void copia() {
        for (int c : {1, 2, 3, 5}) recibo(c, 12, c == 3 ? "CARLOS" : "ANA", c);
        recibo(4, 13);
        recibo(6, 13);
        Recibo* f = abre();
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdCopia, Qt::LeftButton);
        CONFERE_CAIXA("Informe Recibo Nº corretamente.", vbInformation);
        QCOMPARE(amb_->Conta("SELECT COUNT(*) FROM Recibos"), 6);

        escolhe(f, "000003");
        Troca(f->TxtEu, "");
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdCopia, Qt::LeftButton);
        CONFERE_CAIXA("O Recibo Nº 000003 foi copiado para o Recibo Nº 000007 com a data de hoje", vbInformation);
        QCOMPARE(Itens(f->CboRecibo), (QStringList{"000001", "000002", "000003", "000005", "000007"}));
        QCOMPARE(f->CboRecibo->Text(), QString("000007"));
        QCOMPARE((QStringList{f->TxtEu->Text(), f->TxtDia->Text(), f->TxtMes->Text(), f->TxtAno->Text(), f->TxtTotal->Text()}),
                 (QStringList{" ", "5", "MARÇO", "2026", "3,00"}));
        QCOMPARE(amb_->Linhas(Colunas + " LIMIT 1 OFFSET 6"),
                 QStringList{"7|12| |123.456.789-09|SETOR NORTE / VILA NOVA|LUZ| | | |3|0|0|0|2026|3|5"});
        QCOMPARE(amb_->Linhas("SELECT eu FROM Recibos WHERE Codigo = 3"), QStringList{"CARLOS"});
    }

    void numero_em_uso_data() {
        QTest::addColumn<bool>("aoLer");
        QTest::newRow("depois de mostrado") << false;
        QTest::newRow("entre a leitura e a escolha") << true;
    }
    // A new receipt's number taken by another program before the save is
    // never written over, not even when it is taken as soon as "Novo" has
    // read it: the form shows a new, empty receipt all the same, and the
    // receipt is stored under the next free number, which the list and the
    // paper show.
    void numero_em_uso() {
        QFETCH(bool, aoLer);
        const QString outro = "INSERT INTO Recibos (Codigo, Codig, eu) VALUES (6, 13, 'OUTRO PROGRAMA')";
        recibo(5, 12);
        Recibo* f = abre();
        f->TxtCodigo->Change = [&] {
            if (aoLer && f->TxtCodigo->Text() == "6") amb_->Sql(outro);
        };
        novo(f);
        f->TxtCodigo->Change = {};
        QCOMPARE(f->CboRecibo->Text(), QString("000006"));
        QCOMPARE((QStringList{f->TxtEu->Text(), f->TxtCodIgreja->Text(), f->TxtTotal->Text(), f->TxtDia->Text()}),
                 (QStringList{"", "0012", "0,00", "05"}));
        if (!aoLer) amb_->Sql(outro);
        Digita(f->TxtEu, "ANA");
        Digita(f->TxtCpf, "123.456.789-09");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA("O Recibo Nº 000006 já estava em uso: foi gravado como Recibo Nº 000007", vbInformation);
        QCOMPARE(amb_->Linhas("SELECT Codigo, Codig, eu FROM Recibos ORDER BY Codigo"),
                 (QStringList{"5|12|ANA", "6|13|OUTRO PROGRAMA", "7|12|ANA"}));
        QCOMPARE(Itens(f->CboRecibo), (QStringList{"000005", "000007"}));
        const Documento d = Novo_Pdf(0);
        QCOMPARE(d.Linha(1, 44.5).split(' ').first(), QString("000007"));
        // Stored now: the next save updates it.
        Troca(f->TxtEu, "BIA");
        QVERIFY(f->Unload());
        QCOMPARE(amb_->Linhas("SELECT eu FROM Recibos WHERE Codigo = 7"), QStringList{"BIA"});
    }

    // Two program instances on one file, each storing 200 receipts of its
    // own, new ones and copies in turn: every receipt is there once, under
    // a number of its own, with its own name and value; none was written
    // over.
    void duas_instancias() {
        QProcess a, b;
        Inicia_Outro(a, "recibos", {amb_->Pasta(), "A", "200"});
        Inicia_Outro(b, "recibos", {amb_->Pasta(), "B", "200"});
        for (QProcess* p : {&a, &b}) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }
        QStringList esperados;
        for (const QString instancia : {"A", "B"})
            for (int i = 0; i < 200; ++i)
                esperados << Nome_Recibo(instancia, i) + "|" + QString::number(Centavos_Recibo(instancia, i));
        QStringList gravados = amb_->Linhas("SELECT eu, CAST(ROUND(Valor1 * 100) AS INTEGER) FROM Recibos");
        gravados.sort();
        QCOMPARE(gravados, esperados);
        QCOMPARE(amb_->Conta("SELECT COUNT(DISTINCT Codigo) FROM Recibos"), 400);
    }

    // A save that fails is told through the error handler and keeps the
    // form open with what was typed.
    void falha_ao_gravar() {
        recibo(1, 12);
        Recibo* f = abre();
        escolhe(f, "000001");
        Troca(f->TxtEu, "NOVO NOME");
        amb_->Sql("DROP TABLE Recibos");
        amb_->Sql("CREATE TABLE Recibos (Codigo INTEGER PRIMARY KEY, Codig INTEGER)");
        amb_->Sql("INSERT INTO Recibos VALUES (1, 12)");
        Roteiro::Responde(vbNo);
        QVERIFY(!f->Unload());
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QVERIFY(Roteiro::Caixas()[0].titulo.startsWith("<<< Ocorrência de Erro "));
        Roteiro::LimpaCaixas();
        QVERIFY(f->Loaded());
        QCOMPARE(f->TxtEu->Text(), QString("NOVO NOME"));
    }

    // One page over the picture, drawn once: every item where it must
    // stand, figures too wide for their cells whole and reaching left, the
    // church's text cut at the picture's edge, nothing bold after a bold job;
    // the job titled after the receipt's number.
    void pagina() {
        amb_->Sql("INSERT INTO Recibos VALUES (12, 12, 'JOSÉ D''ÁVILA', '123.456.789-09', ?1, 'CONTA DE LUZ', 'ÁGUA', "
                  "' ', 'ALUGUEL DO SALÃO', 12345678.9, 1.5, 0, 99999999.99, 2021, 3, 9)",
                  {Igreja});
        QVERIFY(Imprime_Trabalho("Teste", [] {
            Impressora().setScaleMode(6);
            Impressora().setFontBold(true);
            Imprime_Texto(20, 20, "NEGRITO", 12);
        }));
        Recibo* f = abre();
        escolhe(f, "000012");
        Roteiro::Responde(vbYes);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(Papel, vbYesNo + vbQuestion);
        QCOMPARE(Printer::ArquivosPdf().size(), 2);
        const QString pdf = Printer::ArquivosPdf().back();
        const Documento d = Le_Pdf(pdf);
        QCOMPARE(d.paginas, 1);
        QCOMPARE(d.titulo, QString("Recibo 000012"));
        QCOMPARE(d.Linhas(1, {44.5, 54.5, 77, 84, 91.5, 99, 117.5}),
                 (QStringList{"000012 0012 112.345.680,39", "JOSÉ D'ÁVILA 123.456.789-09",
                              "CONTA DE LUZ 12.345.678,90", "ÁGUA 1,50", "0,00", "ALUGUEL DO SALÃO 99.999.999,99",
                              "9 MARÇO 2021"}));
        // The church's text from X 17 up to the picture's edge at 205.
        const int cabem = int((205 - 17) / Adv);
        const Palavra igreja = d.Acha(1, Igreja.left(cabem), 67.5);
        QVERIFY(Perto(igreja.x, 17));
        QVERIFY2(igreja.direita <= 205, qPrintable(QString::number(igreja.direita)));
        QCOMPARE(d.Fora_Do_Lugar({{1, "000012", 44.5, 46}, {1, "0012", 44.5, 108},
                                  {1, "112.345.680,39", 44.5, FimValor, true}, {1, "JOSÉ", 54.5, 25},
                                  {1, "123.456.789-09", 54.5, 150 + Adv},
                                  {1, "CONTA", 77, 22}, {1, "12.345.678,90", 77, FimValor, true}, {1, "ÁGUA", 84, 22},
                                  {1, "1,50", 84, FimValor, true}, {1, "0,00", 91.5, FimValor, true},
                                  {1, "ALUGUEL", 99, 22}, {1, "99.999.999,99", 99, FimValor, true},
                                  {1, "9", 117.5, 68}, {1, "MARÇO", 117.5, 87 + 4 * Adv}, {1, "2021", 117.5, 136},
                                  {1, "Tavrelo", 142, 168}}),
                 QString());
        // Printed twice over (a text reader shows the copy once); the
        // centred number once, drawn from its first character, after the
        // blank that centres it.
        QCOMPARE(Textos_Em(pdf, 46, 44.5), 2);
        QCOMPARE(Textos_Em(pdf, FimValor - 14 * Adv, 44.5), 2);
        QCOMPARE(Textos_Em(pdf, 150 + Adv, 54.5), 1);
        const Figuras figuras = Le_Figuras(pdf);
        QCOMPARE(figuras.desenhos, 1);
        QCOMPARE(figuras.objetos, 1);
        QVERIFY(!Executa("pdffonts", {pdf}).contains("Bold"));
    }

    // Without the picture the error comes before anything is drawn; No
    // sends nothing, and the receipt stays stored.
    void sem_figura() {
        QVERIFY(QFile::remove(QDir(amb_->Pasta()).filePath("recibo.kwe")));
        Recibo* f = abre();
        novo(f);
        Digita(f->TxtEu, "ANA");
        Digita(f->TxtCpf, "123.456.789-09");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().back().titulo, QString("<<< Ocorrência de Erro 53 >>>"));
        Roteiro::LimpaCaixas();
        QVERIFY(Printer::ArquivosPdf().isEmpty());
        QVERIFY(QDir(Printer::PastaPdf()).entryList(QDir::Files).isEmpty());
        QCOMPARE(amb_->Linhas("SELECT eu FROM Recibos"), QStringList{"ANA"});
    }

    // A file made before receipts existed gets their table and queries at
    // start-up, and keeps its data.
    void arquivo_antigo() {
        QVERIFY(QFile::remove(amb_->Arquivo()));
        SqlCipher::Conexao::CriaArquivo(amb_->Arquivo())
            .Executa("CREATE TABLE Parametros (Codigo INTEGER, Razao TEXT, Tipo TEXT, Reg_Setor TEXT, Congrega TEXT,"
                     " Mes INTEGER, Ano INTEGER);"
                     "INSERT INTO Parametros VALUES (12, 'IGREJA VELHA', 'S', 'SETOR', 'VILA', 8, 2021);"
                     "CREATE TABLE Consultas (Nome TEXT PRIMARY KEY, Parametros TEXT, Sql TEXT);"
                     "PRAGMA user_version = 3");
        QVERIFY(Esquema::Atualiza(amb_->Arquivo()));
        Recibo* f = abre();
        novo(f);
        QCOMPARE(f->CboRecibo->Text(), QString("000001"));
        QVERIFY(f->Unload());
        QCOMPARE(amb_->Linhas("SELECT Codigo, Congrega FROM Recibos"), QStringList{"1|SETOR / VILA"});
        QCOMPARE(amb_->Linhas("SELECT Razao FROM Parametros"), QStringList{"IGREJA VELHA"});
    }
};

REGISTRA_TESTE(tst_Recibo)
#include "tst_Recibo.moc"
