// The long runs' progress and cancel: the exact label texts of the month's
// check and send, of the register download and of the backup; the cancel
// click delivered while a run goes; one run at a time. The runs here pause
// through the sleep seam, set to nothing: a seam that did not hold would
// make them outlast the test's time.
#include "platform/Controles.h"
#include "platform/Progresso.h"
#include "platform/Tela.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <stdexcept>

namespace {
struct RotuloContado : Label {
    int pinturas = 0;
    void paintEvent(QPaintEvent* e) override {
        ++pinturas;
        Label::paintEvent(e);
    }
};

// A window as the forms of long runs have it: the three progress labels, a
// start button whose click runs `linhas` rows as the check does (labels,
// events, the 50 ms pause, the cancel), and the cancel button.
struct Janela : QWidget {
    Label* LblRegAnd = new Label(QString(), this);
    Label* LblAndam = new Label(QStringLiteral("0%"), this);
    RotuloContado* LblProgresso = new RotuloContado();
    CommandButton* CmdValida = new CommandButton(QStringLiteral("&Validar"), this);
    CommandButton* CmdCancela = new CommandButton(QStringLiteral("&Cancelar"), this);
    int linhas = 5, execucoes = 0, recusas = 0, feitas = 0;
    bool cancelada = false;

    Janela() {
        auto* l = new QVBoxLayout(this);
        for (QWidget* w : std::initializer_list<QWidget*>{LblRegAnd, LblAndam, LblProgresso, CmdValida, CmdCancela})
            l->addWidget(w);
        CmdValida->Click = [this] {
            Progresso run = Inicia();
            if (!run.Iniciado()) return void(++recusas);
            ++execucoes;
            for (feitas = 0; feitas < linhas && !run.Cancelado(); ++feitas) {
                run.Linha(feitas, linhas);
                run.Eventos();
                Sleep(50);
            }
            cancelada = run.Cancelado();
        };
    }
    Progresso Inicia() { return Progresso(LblRegAnd, LblAndam, LblProgresso, CmdValida, CmdCancela); }
    QStringList Rotulos() const { return {LblRegAnd->text(), LblAndam->text(), LblProgresso->text()}; }
};

enum Variante { Mes, Fim, Limpa, Baixa, BaixaDeNovo, Backup };
struct Andamento { Variante variante; qint64 atual, total; QString contagem, percentual; int barra; };
}  // namespace

class tst_Progresso : public QObject {
    Q_OBJECT

private slots:
    void init() { DefineSleep([](int) {}); }
    void cleanup() { DefineSleep({}); }

    // The check and the send of the month (i from 0 of n rows), the end and
    // the clearing of a run, the register download (from 1) and the backup's
    // steps, which show no count. Halves go to the even ("ao par").
    void rotulos_data() {
        Tabela<Andamento>({
            {"mês, 5 linhas: a 1ª mostra % só", {Mes, 0, 5, "1/5 Registro(s)", "%", 0}},
            {"mês, 5 linhas: a 3ª, 36,5 vai ao par", {Mes, 2, 5, "3/5 Registro(s)", "50%", 36}},
            {"mês, 5 linhas: a última guarda o %", {Mes, 4, 5, "5/5 Registro(s)", "75%", 73}},
            {"mês, 1 linha: barra cheia, sem divisão", {Mes, 0, 1, "1/1 Registro(s)", "0%", 73}},
            {"mês, 9 linhas: 12,5% vai ao par", {Mes, 1, 9, "2/9 Registro(s)", "12%", 9}},
            {"mês, 9 linhas: 37,5% vai ao par", {Mes, 3, 9, "4/9 Registro(s)", "38%", 27}},
            {"mês, 147 linhas: barra de 1,5 vai ao par", {Mes, 3, 147, "4/147 Registro(s)", "2%", 2}},
            {"mês, milhares, menos de meio por cento", {Mes, 1, 2001, "2/2.001 Registro(s)", "%", 0}},
            {"fim do mês", {Fim, 1, 5, "2/5 Registro(s)", "100%", 73}},
            {"limpeza", {Limpa, 1, 5, "0 Registro(s)", "0%", 0}},
            {"baixa, metade: 17,5 vai ao par", {Baixa, 60, 120, "60/120 Registro(s)", "50%", 18}},
            {"baixa, 1 de 70: barra de 0,5", {Baixa, 1, 70, "1/70 Registro(s)", "1%", 0}},
            {"baixa, 1 de mil: % só", {Baixa, 1, 1000, "1/1.000 Registro(s)", "%", 0}},
            {"baixa limpa e retomada no mesmo ponto", {BaixaDeNovo, 60, 120, "60/120 Registro(s)", "50%", 18}},
            {"backup, passo 9: 12,5 vai ao par", {Backup, 9, 72, "", "12%", 9}},
            {"backup, passo 72", {Backup, 72, 72, "", "100%", 72}},
        });
    }
    void rotulos() {
        QFETCH(Andamento, caso);
        Janela j;
        const bool backup = caso.variante == Backup;  // no count, no cancel
        Progresso run(backup ? nullptr : j.LblRegAnd, j.LblAndam, j.LblProgresso, j.CmdValida,
                      backup ? nullptr : j.CmdCancela);
        QVERIFY(run.Iniciado());
        switch (caso.variante) {
        case Baixa: run.Registro(caso.atual, caso.total); break;
        case BaixaDeNovo:
            // A step cleared and started again shows its row afresh.
            run.Registro(caso.atual, caso.total);
            run.Limpa();
            run.Registro(caso.atual, caso.total);
            break;
        case Backup: run.Passo(int(caso.atual)); break;
        default:
            for (int k = 0; k <= caso.atual; ++k) run.Linha(k, int(caso.total));
            if (caso.variante == Fim) run.Conclui();
            if (caso.variante == Limpa) run.Limpa();
        }
        QCOMPARE(j.Rotulos(), (QStringList{caso.contagem, caso.percentual, QString(caso.barra, '=')}));
    }

    void cancelaPorCliqueEUmaExecucaoDeCadaVez() {
        Janela a, b;
        a.linhas = 1000000;
        a.show();
        b.show();
        QVERIFY(QTest::qWaitForWindowExposed(&a));
        QVERIFY(QTest::qWaitForWindowExposed(&b));
        QSignalSpy estado(Execucao::Estado(), &Execucao::Mudou);
        bool emCursoDurante = false, iniciaHabilitadoDurante = true;
        // While a's run goes: its own start button and b's are clicked, then its cancel.
        QTimer::singleShot(30, &a, [&] {
            emCursoDurante = Execucao::EmCurso();
            iniciaHabilitadoDurante = a.CmdValida->isEnabled();
            QTest::mouseClick(a.CmdValida, Qt::LeftButton);
            QTest::mouseClick(b.CmdValida, Qt::LeftButton);
            QTest::mouseClick(a.CmdCancela, Qt::LeftButton);
        });
        QTest::mouseClick(a.CmdValida, Qt::LeftButton);
        QVERIFY(emCursoDurante);
        QVERIFY(!iniciaHabilitadoDurante);
        QCOMPARE(a.execucoes, 1);
        QVERIFY(a.cancelada);
        QVERIFY(a.feitas < a.linhas);
        QCOMPARE(b.recusas, 1);
        QVERIFY(!Execucao::EmCurso());
        QVERIFY(a.CmdValida->isEnabled());

        // Each start clears the cancel: both windows now run their five rows.
        a.linhas = 5;
        QTest::mouseClick(a.CmdValida, Qt::LeftButton);
        QTest::mouseClick(b.CmdValida, Qt::LeftButton);
        QVERIFY(!a.cancelada);
        QCOMPARE(a.feitas, 5);
        QCOMPARE(b.LblRegAnd->text(), QString("5/5 Registro(s)"));
        QCOMPARE(estado.size(), 6);
        for (int k = 0; k < estado.size(); ++k) QCOMPARE(estado.at(k).at(0).toBool(), k % 2 == 0);
    }

    void saidaPorErroEncerraAExecucao() {
        Janela j;
        j.CmdValida->setEnabled(false);  // disabled by its form before: it stays so
        try {
            Progresso run = j.Inicia();
            throw std::runtime_error("falha numa linha");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!Execucao::EmCurso());
        QVERIFY(!j.CmdValida->isEnabled());
        QVERIFY(j.Inicia().Iniciado());
    }

    void pausaSemCosturaDorme() {
        DefineSleep({});
        QElapsedTimer t;
        t.start();
        Sleep(30);
        QVERIFY(t.elapsed() >= 30);
    }

    void pinturaNoMaximoUmaPorQuadro() {
        Janela j;
        j.linhas = 3000;
        j.show();
        QVERIFY(QTest::qWaitForWindowExposed(&j));
        QTRY_VERIFY(j.LblProgresso->pinturas > 0);
        j.LblProgresso->pinturas = 0;
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(j.CmdValida, Qt::LeftButton);
        const qint64 ms = t.elapsed();
        qInfo("%d rows in %lld ms, the bar painted %d times", j.feitas, ms, j.LblProgresso->pinturas);
        QCOMPARE(j.feitas, 3000);
        QVERIFY(j.LblProgresso->pinturas >= 1);
        QVERIFY(j.LblProgresso->pinturas <= ms / 16 + 2);
    }
};

REGISTRA_TESTE(tst_Progresso)
#include "tst_Progresso.moc"
