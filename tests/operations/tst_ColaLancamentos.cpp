// Pasting into the entry forms, by keyboard, by the context menu and by
// dropping: every box and history field holds what typing the same
// characters would put there, the cash book's history stops at its 49
// characters in capitals, and no line break reaches a stored history or a
// ledger row.
#include "operations/LivroCaixa.h"
#include "operations/Movto_Deptos.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
struct Formulario { QAction* Principal::*item; const char* classe; };

void Prepara(Ambiente& amb) {
    amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
    amb.Sql("INSERT INTO Departamentos VALUES (1, 12, 'JOVENS')");
    amb.Sql("INSERT INTO Igrejas (CodIg, CodCongrega, Nome, Calculo) VALUES (12, 7, 'CENTRO', 1)");
}
}  // namespace

class tst_ColaLancamentos : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Fecha_Tudo(); }

    void comoDigitado_data() {
        Tabela<Formulario>({
            {"livro caixa", {&Principal::Liv_Cx, "LivroCaixa"}},
            {"departamentos", {&Principal::Lan_Dep, "Movto_Deptos"}},
            {"remessas", {&Principal::Rem_Mat, "Remessas"}},
            {"igrejas do setor", {&Principal::Set_Igr, "TotaisIgrejas"}},
        });
    }
    void comoDigitado() {
        QFETCH(Formulario, caso);
        Ambiente amb;
        Prepara(amb);
        (Inicia_Principal("MARIA")->*caso.item)->trigger();
        Roteiro::LimpaCaixas();
        Form* f = Form::Procura(caso.classe);
        QVERIFY(f);
        int caixas = 0;
        const QStringList diferencas = Colagens_Diferentes_No_Form(f, Texto_Colado, caixas);
        QVERIFY(caixas > 0);
        QVERIFY2(diferencas.isEmpty(), qPrintable(diferencas.join('\n')));
        QVERIFY(!Roteiro::HouveInesperada());
    }

    // 200 characters pasted into the cash book's history: 49 capitals in
    // the field, the list and the file.
    void historicoDoLivroCaixa() {
        Ambiente amb;
        Prepara(amb);
        auto* f = Abre_Pelo_Menu<LivroCaixa>(&Principal::Liv_Cx);
        QTest::mouseClick(f->OptOfertas, Qt::LeftButton);
        const QString duzentos = QString("oferta de ação de graças, ").repeated(8);
        Cola(f->CboHistorico, duzentos, Como_Cola::Menu);
        const QString esperado = duzentos.left(49).toUpper();
        QCOMPARE(f->CboHistorico->Text(), esperado);
        Troca(f->TxtDia, "5");
        Troca(f->TxtValor, "10");
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(amb.Linhas("SELECT Historico FROM LivroCaixa"), QStringList{esperado});
        QVERIFY(f->LstLivroCx->List(0).contains(esperado));
    }

    // A history pasted across lines is one line in the ledger's row and file.
    void quebraDeLinhaNoRazao() {
        Ambiente amb;
        Prepara(amb);
        auto* f = Abre_Pelo_Menu<Movto_Deptos>(&Principal::Lan_Dep);
        f->CboDepto->setListIndex(0);
        QTest::mouseClick(f->OptEntrada, Qt::LeftButton);
        Troca(f->TxtDia, "5");
        f->CboHistorico->setText_("");
        Cola(f->CboHistorico, "bazar\r\nde natal\t2021", Como_Cola::Soltando);
        Troca(f->TxtValor, "10");
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(amb.Linhas("SELECT Historico FROM LancDeptos WHERE Dia = 5"), QStringList{"BAZARDE NATAL2021"});
        QVERIFY(Linhas(f->LstDeptos).contains(QString("05 E BAZARDE NATAL2021").leftJustified(55) + "     10,00       ----"));
    }
};

REGISTRA_TESTE(tst_ColaLancamentos)
#include "tst_ColaLancamentos.moc"
