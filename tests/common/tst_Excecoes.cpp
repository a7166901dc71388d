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

private slots:
    void cleanup() {
        for (Form* f : Form::Existentes()) delete f;
    }

    // A click's handler, and a timer's, which the event loop itself calls
    // with no caller of the program's own to catch what it lets escape.
    void handlerQueFalha_data() {
        QTest::addColumn<bool>("clique");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("titulo");
        const std::pair<const char*, int> tipos[] = {
            {"erro do programa", Execucao}, {"fora do intervalo", ForaDoIntervalo},
            {"sem memória", SemMemoria}, {"outra exceção padrão", Outra}};
        const int numeros[] = {3022, 9, 7, 5};
        for (bool clique : {true, false})
            for (const auto& [nome, tipo] : tipos)
                QTest::addRow("%s, %s", clique ? "clique" : "relógio", nome)
                    << clique << tipo << QString("<<< Ocorrência de Erro %1 >>>").arg(numeros[tipo]);
    }
    void handlerQueFalha() {
        QFETCH(bool, clique);
        QFETCH(int, tipo);
        QFETCH(QString, titulo);
        Ambiente amb(false);
        auto* f = new Lancamentos;
        f->tipo = tipo;
        f->Show();
        // Yes has nothing to run again: the click is over, and runs once.
        Roteiro::Responde(vbYes);
        if (clique) QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        else f->Relogio->setEnabled(true);
        QTRY_COMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, titulo);
        QCOMPARE(Roteiro::Caixas()[0].estilo, vbYesNo + vbCritical);
        QCOMPARE(Screen::MousePointerAtual(), 0);
        if (!clique) return;
        QCOMPARE(f->cliques, 1);
        // The form goes on answering its user.
        f->tipo = -1;
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        QCOMPARE(f->cliques, 2);
        QVERIFY(!Roteiro::HouveInesperada());
    }

    void ampulhetaVolta() {
        Ambiente amb(false);
        QCOMPARE(ErroDe([] {
                     const Screen::Ampulheta a;
                     Levanta_Erro(3022);
                 }),
                 3022L);
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
