// The long runs' progress and cancel: the exact label texts of the month's
// check and send, of the register download and of the backup; the cancel
// click delivered while a run goes; one run at a time; the pause seam.
#include "platform/Controles.h"
#include "platform/Progresso.h"
#include "platform/Tela.h"
#include "support/Registro.h"
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest>
#include <stdexcept>

namespace {
// A label that counts how often it was painted.
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
    int linhas = 5;
    int execucoes = 0, recusas = 0, feitas = 0;
    bool cancelada = false;

    Janela() {
        auto* l = new QVBoxLayout(this);
        for (QWidget* w : std::initializer_list<QWidget*>{LblRegAnd, LblAndam, LblProgresso, CmdValida, CmdCancela})
            l->addWidget(w);
        CmdValida->Click = [this] {
            Progresso run = Inicia();
            if (!run.Iniciado()) {
                ++recusas;
                return;
            }
            ++execucoes;
            feitas = 0;
            for (int i = 0; i < linhas; ++i) {
                run.Linha(i, linhas);
                run.Eventos();
                Sleep(50);
                feitas = i + 1;
                if (run.Cancelado()) break;
            }
            cancelada = run.Cancelado();
        };
    }
    Progresso Inicia() { return Progresso(LblRegAnd, LblAndam, LblProgresso, CmdValida, CmdCancela); }
};
}  // namespace

class tst_Progresso : public QObject {
    Q_OBJECT

private slots:
    void init() { DefineSleep([](int) {}); }
    void cleanup() { DefineSleep({}); }

    void linhasDoMes_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("i");
        QTest::addColumn<QString>("contagem");
        QTest::addColumn<QString>("percentual");
        QTest::addColumn<int>("barra");
        QTest::newRow("5 linhas: a 1ª mostra % só") << 5 << 0 << "1/5 Registro(s)" << "%" << 0;
        QTest::newRow("5 linhas: a 2ª") << 5 << 1 << "2/5 Registro(s)" << "25%" << 18;
        QTest::newRow("5 linhas: a 3ª, 36,5 vai ao par") << 5 << 2 << "3/5 Registro(s)" << "50%" << 36;
        QTest::newRow("5 linhas: a 4ª") << 5 << 3 << "4/5 Registro(s)" << "75%" << 55;
        QTest::newRow("5 linhas: a última guarda o %") << 5 << 4 << "5/5 Registro(s)" << "75%" << 73;
        QTest::newRow("1 linha: barra cheia, sem divisão") << 1 << 0 << "1/1 Registro(s)" << "0%" << 73;
        QTest::newRow("25 linhas: a 3ª") << 25 << 2 << "3/25 Registro(s)" << "8%" << 6;
        QTest::newRow("9 linhas: 12,5% vai ao par") << 9 << 1 << "2/9 Registro(s)" << "12%" << 9;
        QTest::newRow("9 linhas: 37,5% vai ao par") << 9 << 3 << "4/9 Registro(s)" << "38%" << 27;
        QTest::newRow("147 linhas: barra de 1,5") << 147 << 3 << "4/147 Registro(s)" << "2%" << 2;
        QTest::newRow("147 linhas: barra de 36,5") << 147 << 73 << "74/147 Registro(s)" << "50%" << 36;
        QTest::newRow("milhares com ponto") << 1234 << 999 << "1.000/1.234 Registro(s)" << "81%" << 59;
        QTest::newRow("menos de meio por cento") << 2001 << 1 << "2/2.001 Registro(s)" << "%" << 0;
    }
    void linhasDoMes() {
        QFETCH(int, n);
        QFETCH(int, i);
        QFETCH(int, barra);
        Janela j;
        Progresso run = j.Inicia();
        for (int k = 0; k <= i; ++k) run.Linha(k, n);
        QTEST(j.LblRegAnd->text(), "contagem");
        QTEST(j.LblAndam->text(), "percentual");
        QCOMPARE(j.LblProgresso->text(), QString(barra, '='));
    }

    void fimELimpeza() {
        Janela j;
        Progresso run = j.Inicia();
        run.Linha(1, 5);
        run.Conclui();
        QCOMPARE(j.LblAndam->text(), QString("100%"));
        QCOMPARE(j.LblProgresso->text(), QString(73, '='));
        run.Limpa();
        QCOMPARE(j.LblRegAnd->text(), QString("0 Registro(s)"));
        QCOMPARE(j.LblAndam->text(), QString("0%"));
        QCOMPARE(j.LblProgresso->text(), QString());
    }

    void registrosBaixados_data() {
        QTest::addColumn<qint64>("atual");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<QString>("contagem");
        QTest::addColumn<QString>("percentual");
        QTest::addColumn<int>("barra");
        QTest::newRow("15 de 120: 12,5% vai ao par") << 15LL << 120LL << "15/120 Registro(s)" << "12%" << 4;
        QTest::newRow("metade: 17,5 vai ao par") << 60LL << 120LL << "60/120 Registro(s)" << "50%" << 18;
        QTest::newRow("todas") << 120LL << 120LL << "120/120 Registro(s)" << "100%" << 35;
        QTest::newRow("3 de 8: 37,5% vai ao par") << 3LL << 8LL << "3/8 Registro(s)" << "38%" << 13;
        QTest::newRow("1 de 70: barra de 0,5") << 1LL << 70LL << "1/70 Registro(s)" << "1%" << 0;
        QTest::newRow("1 de mil: % só") << 1LL << 1000LL << "1/1.000 Registro(s)" << "%" << 0;
    }
    void registrosBaixados() {
        QFETCH(qint64, atual);
        QFETCH(qint64, total);
        QFETCH(int, barra);
        Janela j;
        Progresso run = j.Inicia();
        run.Registro(atual, total);
        QTEST(j.LblRegAnd->text(), "contagem");
        QTEST(j.LblAndam->text(), "percentual");
        QCOMPARE(j.LblProgresso->text(), QString(barra, '='));
    }

    void passosDoBackup_data() {
        QTest::addColumn<int>("passo");
        QTest::addColumn<QString>("percentual");
        QTest::newRow("passo 1") << 1 << "1%";
        QTest::newRow("passo 9: 12,5 vai ao par") << 9 << "12%";
        QTest::newRow("passo 27: 37,5 vai ao par") << 27 << "38%";
        QTest::newRow("passo 36") << 36 << "50%";
        QTest::newRow("passo 45: 62,5 vai ao par") << 45 << "62%";
        QTest::newRow("passo 63: 87,5 vai ao par") << 63 << "88%";
        QTest::newRow("passo 72") << 72 << "100%";
    }
    void passosDoBackup() {
        QFETCH(int, passo);
        Label andam(QStringLiteral("0%"));
        Label barra;
        CommandButton inicia;
        Progresso run(nullptr, &andam, &barra, &inicia);  // no count, no cancel
        QVERIFY(run.Iniciado());
        run.Passo(passo);
        QTEST(andam.text(), "percentual");
        QCOMPARE(barra.text(), QString(passo, '='));
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
        QElapsedTimer relogio;
        qint64 clique = -1;
        // While a's run goes: its own start button and b's are clicked, then its cancel.
        QTimer::singleShot(30, &a, [&] {
            emCursoDurante = Execucao::EmCurso();
            iniciaHabilitadoDurante = a.CmdValida->isEnabled();
            clique = relogio.elapsed();
            QTest::mouseClick(a.CmdValida, Qt::LeftButton);
            QTest::mouseClick(b.CmdValida, Qt::LeftButton);
            QTest::mouseClick(a.CmdCancela, Qt::LeftButton);
        });
        relogio.start();
        QTest::mouseClick(a.CmdValida, Qt::LeftButton);
        // How late the run let the window system deliver what was due.
        qInfo("a timer due at 30 ms came at %lld ms; the run stopped at %lld ms after %d rows", clique,
              relogio.elapsed(), a.feitas);
        QVERIFY(emCursoDurante);
        QVERIFY(!iniciaHabilitadoDurante);
        QCOMPARE(a.execucoes, 1);
        QVERIFY(a.cancelada);
        QVERIFY(a.feitas < a.linhas);
        QCOMPARE(b.recusas, 1);
        QCOMPARE(b.execucoes, 0);
        QVERIFY(!Execucao::EmCurso());
        QVERIFY(a.CmdValida->isEnabled());

        // Each start clears the cancel: both windows now run their five rows.
        a.linhas = 5;
        QTest::mouseClick(a.CmdValida, Qt::LeftButton);
        QTest::mouseClick(b.CmdValida, Qt::LeftButton);
        QVERIFY(!a.cancelada);
        QCOMPARE(a.feitas, 5);
        QCOMPARE(b.execucoes, 1);
        QCOMPARE(b.LblRegAnd->text(), QString("5/5 Registro(s)"));
        QCOMPARE(estado.size(), 6);
        for (int k = 0; k < estado.size(); ++k) QCOMPARE(estado.at(k).at(0).toBool(), k % 2 == 0);
    }

    void saidaPorErroEncerraAExecucao() {
        Janela j;
        j.CmdValida->setEnabled(false);  // disabled by its form before: it stays so
        try {
            Progresso run = j.Inicia();
            QVERIFY(Execucao::EmCurso());
            throw std::runtime_error("falha numa linha");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!Execucao::EmCurso());
        QVERIFY(!j.CmdValida->isEnabled());
        Progresso outra = j.Inicia();
        QVERIFY(outra.Iniciado());
    }

    void pausasPelaCostura() {
        QList<int> pausas;
        DefineSleep([&](int ms) { pausas << ms; });
        QElapsedTimer t;
        t.start();
        for (int ms : {50, 200, 1000}) Sleep(ms);
        QCOMPARE(pausas, QList<int>({50, 200, 1000}));
        QVERIFY(t.elapsed() < 1000);
        DefineSleep({});
        t.restart();
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
