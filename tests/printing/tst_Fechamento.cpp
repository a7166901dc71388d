// A treasurer's month end across the forms that feed the closing: what is
// typed in the cash book, the congregations' register and figures and the
// remittances reaches the closing form and its printed report to the cent;
// a later entry in the cash book is never printed unseen.
#include "common/Parametros.h"
#include "common/Transmissao.h"
#include "operations/LivroCaixa.h"
#include "operations/Remessas.h"
#include "operations/TotaisIgrejas.h"
#include "platform/Printer.h"
#include "printing/ImpLivroCx.h"
#include "registers/Igrejas.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include <QtTest>

namespace {
const QString Papel = "Prepare a Impressora com papel A4. Tudo OK ?";
const QString Recarregado = "Os dados do mês foram alterados e foram recarregados. Confira e imprima novamente.";
const QString SemTransmissao =
    "Antes de Imprimir será necessária a Transmissão de dados.\rAcesse a opção 'Exportações' e 'Dados para o Mirava'.";

// A cash-book row of the closing list.
QString linha(const QString& tipo, int dia, const QString& h, const QString& valor) {
    return tipo + ' ' + QString("%1 ").arg(dia, 2, 10, QChar('0')) + h.leftJustified(50) +
           (tipo == "S" ? "      ---- " + valor.rightJustified(10) : valor.rightJustified(10) + "       ----");
}

void remessa(Remessas* f, const QString& dia, const QString& valor) {
    Digita(f->TxtDia, dia);
    Digita(f->TxtValor, valor);
    QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
}

// Types over the previous balance and leaves the box.
void saldoAnterior(ImpLivroCx* f, const QString& texto) {
    Troca(f->TxtSalAnt, texto);
    f->TxtLeft->setFocus(Qt::TabFocusReason);
}
}  // namespace

class tst_Fechamento : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> amb_;

    // Church 12 in August 2021 with its registers; the printer writes PDF
    // files and the program folder has the form's background picture.
    Principal* inicia(const QString& tipo) {
        amb_->Parametros(12, "SETOR CENTRAL", "IGREJA SEDE", tipo, 8, 2021);
        amb_->Sql("INSERT INTO Cargos VALUES (6, 'DIÁCONO', 'DC')");
        amb_->Sql("INSERT INTO Dizimos VALUES (1, 12, '00000451', 'ANA LIMA', 6)");
        amb_->Sql("INSERT INTO Saidas VALUES (123, 12, 'CONTA DE LUZ')");
        Principal* p = Inicia_Principal("MARIA");
        Roteiro::LimpaCaixas();
        return p;
    }
    // A click that should print: only the paper is asked.
    static void imprime(ImpLivroCx* f) {
        Roteiro::Responde(vbYes);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(Papel, vbYesNo + vbQuestion);
    }

private slots:
    void init() {
        amb_ = std::make_unique<Ambiente>();
        QVERIFY(Grava_Impresso(amb_->Pasta()));
        Printer::DefinePastaPdf(amb_->Pasta() + "/pdf");
    }
    void cleanup() {
        Fecha_Tudo();
        Printer::DefinePastaPdf({});
        amb_.reset();
    }

    // Everything typed in four forms, then the closing on screen and on
    // paper: the rows, the congregation's line, the totals and the closing
    // block are the exact sums of the amounts typed.
    void mesCompleto() {
        Principal* p = inicia("S");
        auto* livro = Abre_Do_Menu<LivroCaixa>(p->Liv_Cx);
        Lanca_No_Livro(livro, livro->OptOfertas, "culto de domingo", "5", "1234,56");
        Lanca_No_Livro(livro, livro->OptDizimos, "#0", "12", "350,25");
        Lanca_No_Livro(livro, livro->OptSaidas, "#0", "20", "480.10");  // the point typed becomes the comma
        QCOMPARE(livro->LstLivroCx->ListCount(), 3);

        auto* igrejas = Abre_Do_Menu<Igrejas>(p->Igr_Setor);
        Digita(igrejas->TxtDescricao, "são josé");
        Digita(igrejas->TxtCodigo, "30");
        igrejas->CboTipo->setListIndex(2);  // rent, water and light off the entries
        QTest::mouseClick(igrejas->CmdEnvia, Qt::LeftButton);
        QCOMPARE(igrejas->LstIgreja->ListCount(), 1);

        auto* totais = Abre_Do_Menu<TotaisIgrejas>(p->Set_Igr);
        totais->CboIgreja->setListIndex(totais->CboIgreja->findText("SÃO JOSÉ"));
        const QStringList figuras = {"2000", "900", "300", "100,5", "50", "200"};
        TextBox* caixas[] = {totais->TxtEntradas, totais->TxtSaidas, totais->TxtAluguel,
                             totais->TxtAgua,     totais->TxtLuz,    totais->TxtPrebenda};
        for (int i = 0; i < 6; ++i) Digita(caixas[i], figuras[i]);
        totais->CmdEnvia->setFocus();
        QTest::mouseClick(totais->CmdEnvia, Qt::LeftButton);
        QCOMPARE(totais->LstIgrejas->ListCount(), 1);

        auto* remessas = Abre_Do_Menu<Remessas>(p->Rem_Mat);
        remessa(remessas, "10", "300");
        remessa(remessas, "20", "150,75");
        QCOMPARE(remessas->TxtSaldo->Text(), QString("450,75"));
        QVERIFY(Roteiro::Caixas().empty());

        // The month as the send leaves it.
        Registra_Transmissao();

        auto* f = Abre_Do_Menu<ImpLivroCx>(p->Fec_Livro);
        QCOMPARE(Linhas(f->LstLivroCx),
                 (QStringList{linha("O", 5, "CULTO DE DOMINGO", "1.234,56"),
                              linha("D", 12, "DC ANA LIMA RI:00000451", "350,25"),
                              linha("S", 20, "CONTA DE LUZ CT:123", "480,10"),
                              "I 01 " + QString("SÃO JOSÉ(0030~3)").leftJustified(38) + "  1.549,50    2.000,00     900,00"}));
        QCOMPARE(f->LblRegs->Caption(), QString("4 Registro(s)"));
        QCOMPARE(f->TxtEntradas->Text(), QString("3.584,81"));
        QCOMPARE(f->TxtSaidas->Text(), QString("1.380,10"));
        QCOMPARE(f->TxtRemessas->Text(), QString("450,75"));
        QCOMPARE(f->TxtSaldo->Text(), QString("1.753,96"));
        saldoAnterior(f, "1000");
        QCOMPARE(f->TxtSaldo->Text(), QString("2.753,96"));

        imprime(f);
        if (QTest::currentTestFailed()) return;
        const Documento d = Novo_Pdf(0);
        QCOMPARE(d.paginas, 1);
        QCOMPARE(d.titulo, QString("Fechamento do Livro Caixa 08-2021"));
        // The rows, the base line, the footer's totals, then the closing block: 0.6 of
        // the base, the remittances, the previous balance and the month's closing balance.
        QCOMPARE(d.Linhas(1, {Y(1), Y(4), Y(7), Y(10), Y(11), Y(12), 220, 226, 232, 238, 244, 250}),
                 (QStringList{"05 CULTO DE DOMINGO 1.234,56 ----", "12 DC ANA LIMA RI:00000451 350,25 ----",
                              "20 CONTA DE LUZ CT:123 ---- 480,10", "01 SÃO JOSÉ(0030~3) 1.549,50 2.000,00 900,00",
                              ">> BASE DE REMESSA R$ 3.134,31", "", "3.584,81", "1.380,10", "1.880,59", "450,75",
                              "1.000,00", "1.774,87"}));

        // An entry typed in the cash book, still open: the click prints nothing and
        // reloads, keeping the typed balance; the month is no longer transmitted.
        Lanca_No_Livro(livro, livro->OptOfertas, "EXTRA", "6", "0,01");
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(Recarregado, vbExclamation);
        QCOMPARE(f->TxtEntradas->Text(), QString("3.584,82"));
        QCOMPARE(f->TxtSalAnt->Text(), QString("1.000,00"));
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdImprime, Qt::LeftButton);
        CONFERE_CAIXA(SemTransmissao, vbInformation);
        QCOMPARE(Printer::ArquivosPdf().size(), 1);
    }
};

REGISTRA_TESTE(tst_Fechamento)
#include "tst_Fechamento.moc"
