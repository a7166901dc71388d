// Errors that escape a form's event handlers reach the shared error handler
// instead of ending the program, and the hourglass never outlives the
// procedure that showed it.
#include "common/Erros.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QTest>
#include <new>
#include <stdexcept>

namespace {
enum Tipo { Execucao, ForaDoIntervalo, SemMemoria, Outra };

[[noreturn]] void lanca(int tipo) {
    switch (tipo) {
    case Execucao: Levanta_Erro(3022);
    case ForaDoIntervalo: throw std::out_of_range("vector::at");
    case SemMemoria: throw std::bad_alloc();
    default: throw std::runtime_error("falhou");
    }
}

struct Lancamentos : Form {
    Lancamentos() : Form(QStringLiteral("Lancamentos"), false) {
        setTamanhoCliente(4000, 2000);
        Twips::Posiciona(CmdGrava, 120, 120, 1200, 400);
        CmdGrava->Click = [this] { CmdGrava_Click(); };
        Relogio->Tick = [this] { Relogio_Timer(); };
    }
    CommandButton* CmdGrava = new CommandButton(QStringLiteral("&Gravar"), this);
    ::Timer* Relogio = new ::Timer(this, 10);
    int tipo = Execucao;
    int cliques = 0;

    void CmdGrava_Click() {
        ++cliques;
        const Screen::Ampulheta ampulheta;
        lanca(tipo);
    }
    void Relogio_Timer() {
        Relogio->setEnabled(false);
        lanca(tipo);
    }
};
}  // namespace

class tst_Excecoes : public QObject {
    Q_OBJECT

    static void casos() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("titulo");
        QTest::newRow("erro do programa") << int(Execucao) << "<<< Ocorrência de Erro 3022 >>>";
        QTest::newRow("fora do intervalo") << int(ForaDoIntervalo) << "<<< Ocorrência de Erro 9 >>>";
        QTest::newRow("sem memória") << int(SemMemoria) << "<<< Ocorrência de Erro 7 >>>";
        QTest::newRow("outra exceção padrão") << int(Outra) << "<<< Ocorrência de Erro 5 >>>";
    }

private slots:
    void cleanup() {
        for (Form* f : Form::Existentes()) delete f;
    }

    void cliqueQueFalha_data() { casos(); }
    void cliqueQueFalha() {
        QFETCH(int, tipo);
        QFETCH(QString, titulo);
        Ambiente amb(false);
        auto* f = new Lancamentos;
        f->tipo = tipo;
        f->Show();
        // Yes has nothing to run again: the click is over, and runs once.
        Roteiro::Responde(vbYes);
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, titulo);
        QCOMPARE(Roteiro::Caixas()[0].estilo, vbYesNo + vbCritical);
        QCOMPARE(f->cliques, 1);
        QCOMPARE(Screen::MousePointerAtual(), 0);
        // The form goes on answering its user.
        f->tipo = -1;
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        QCOMPARE(f->cliques, 2);
        QVERIFY(!Roteiro::HouveInesperada());
    }

    void eventoDoLacoQueFalha_data() { casos(); }
    void eventoDoLacoQueFalha() {
        // A timer's handler is called by the event loop itself, with no
        // caller of the program's own to catch what it lets escape.
        QFETCH(int, tipo);
        QFETCH(QString, titulo);
        Ambiente amb(false);
        auto* f = new Lancamentos;
        f->tipo = tipo;
        f->Show();
        Roteiro::Responde(vbNo);
        f->Relogio->setEnabled(true);
        QTRY_COMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, titulo);
    }

    void ampulhetaVolta() {
        Ambiente amb(false);
        // Left by an error or by an early return, the pointer is as before.
        QCOMPARE(ErroDe([] {
                     const Screen::Ampulheta a;
                     Levanta_Erro(3022);
                 }),
                 3022L);
        QCOMPARE(Screen::MousePointerAtual(), 0);
        [] {
            const Screen::Ampulheta a;
            if (Screen::MousePointerAtual() == 11) return;
            QFAIL("sem ampulheta");
        }();
        QCOMPARE(Screen::MousePointerAtual(), 0);

        // A step inside a longer run gives the run its hourglass back, even
        // after the error handler put the default pointer up.
        {
            const Screen::Ampulheta externa;
            Roteiro::Responde(vbNo);
            [] {
                const Screen::Ampulheta interna;
                Tenta([] { Levanta_Erro(3022); });
            }();
            QCOMPARE(Screen::MousePointerAtual(), 11);
        }
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }
};

REGISTRA_TESTE(tst_Excecoes)
#include "tst_Excecoes.moc"
