// The printer choice opened from the main window's menu, over a fixed list
// of installed printers: what the list shows, what OK does, and which
// printer the program prints on afterwards.
#include "platform/Printer.h"
#include "printing/Impressoras.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include <QtTest>

class tst_Impressoras : public QObject {
    Q_OBJECT

    Impressoras* abre() {
        Inicia_Principal("MARIA")->SelImp->trigger();
        auto* f = qobject_cast<Impressoras*>(Form::Procura("Impressoras"));
        if (!f) qFatal("o menu não abriu a escolha de impressora");
        return f;
    }

private slots:
    void init() { Define_Impressora({}); }
    void cleanup() {
        Fecha_Tudo();
        Printers::DefineLista({});
        Define_Impressora({});
    }

    void escolha_data() {
        QTest::addColumn<QStringList>("instaladas");
        QTest::addColumn<QStringList>("naLista");
        QTest::addColumn<int>("escolhida");
        QTest::addColumn<QStringList>("aoConfirmar");  // the printers installed by then
        QTest::addColumn<QString>("impressora");       // the program's printer afterwards; empty: unchanged
        QStringList duas{"Zeta Laser", "Alfa Jato", "Alfa Jato"};
        QTest::newRow("a segunda da lista") << duas << duas << 1 << duas << "Alfa Jato";
        QTest::newRow("OK sem escolher") << duas << duas << -1 << duas << "";
        QTest::newRow("removida depois de listada") << duas << duas << 0 << QStringList{"Alfa Jato"} << "";
        QTest::newRow("nenhuma instalada")
            << QStringList() << QStringList{"Não há impressoras disponíveis"} << 0 << QStringList() << "";
    }
    void escolha() {
        QFETCH(QStringList, instaladas);
        QFETCH(QStringList, naLista);
        QFETCH(int, escolhida);
        QFETCH(QStringList, aoConfirmar);
        QFETCH(QString, impressora);
        Ambiente amb;
        Printers::DefineLista([&] { return instaladas; });
        Impressoras* f = abre();
        QStringList lista;
        for (int i = 0; i < f->CboPrinters->ListCount(); ++i) lista << f->CboPrinters->List(i);
        QCOMPARE(lista, naLista);
        QCOMPARE(f->CboPrinters->ListIndex(), -1);

        if (escolhida >= 0) f->CboPrinters->setListIndex(escolhida);
        instaladas = aoConfirmar;
        if (!impressora.isEmpty()) Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdOk, Qt::LeftButton);
        if (impressora.isEmpty()) {
            QVERIFY(Roteiro::Caixas().empty());
            QVERIFY(Form::Procura("Impressoras"));
            QCOMPARE(Impressora().DeviceName(), Printer().DeviceName());
            return;
        }
        CONFERE_CAIXA("Impressora " + impressora + " Selecionada com sucesso", vbInformation);
        QTRY_VERIFY(!Form::Procura("Impressoras"));
        QCOMPARE(Impressora().DeviceName(), impressora);
    }
};

REGISTRA_TESTE(tst_Impressoras)
#include "tst_Impressoras.moc"
