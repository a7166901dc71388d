// Pasting into the registers' boxes, by keyboard, by the context menu and
// by dropping: every box holds what typing the same characters would put
// there (upper case, refused keys swallowed, no tab or line break, the
// box's length), and the histories register stores it so.
#include "registers/Agenda.h"
#include "registers/Departamentos.h"
#include "registers/Descricoes.h"
#include "registers/Igrejas.h"
#include "registers/Parametr.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
struct Formulario { QAction* Principal::*item; const char* classe; };
}  // namespace

class tst_ColaRegistros : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Fecha_Tudo(); }

    void comoDigitado_data() {
        Tabela<Formulario>({
            {"parâmetros", {&Principal::Par_Sis, "Parametr"}},
            {"agenda", {&Principal::Agf_Fin, "Agenda"}},
            {"departamentos", {&Principal::Cad_Dep, "Departamentos"}},
            {"históricos", {&Principal::Tip_Hist, "Descricoes"}},
            {"igrejas do setor", {&Principal::Igr_Setor, "Igrejas"}},
        });
    }
    // Every box of the form that filters its keys, each way of pasting.
    void comoDigitado() {
        QFETCH(Formulario, caso);
        Ambiente amb;
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
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

    // 200 characters pasted into a history: the first 50, in capitals.
    void historicoColadoGravado() {
        Ambiente amb;
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        auto* f = Abre_Pelo_Menu<Descricoes>(&Principal::Tip_Hist);
        const QString duzentos = QString("culto de ação de graças, ").repeated(8);
        Cola(f->TxtDescricao, duzentos, Como_Cola::Teclado);
        const QString esperado = duzentos.left(50).toUpper();
        QCOMPARE(f->TxtDescricao->Text(), esperado);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(amb.Linhas("SELECT Descricao FROM Ofertas"), QStringList{esperado});
    }
};

REGISTRA_TESTE(tst_ColaRegistros)
#include "tst_ColaRegistros.moc"
