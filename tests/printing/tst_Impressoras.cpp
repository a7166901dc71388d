// The printer choice opened from the main window's menu, over a fixed list
// of installed printers: what the list shows (and says when it is empty),
// what OK does, and which printer the program prints on afterwards.
#include "platform/Printer.h"
#include "printing/Impressoras.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
// The printers installed, the list shown, the one chosen, those installed
// by the click on OK, and the program's printer afterwards (empty: unchanged).
struct Escolha { QStringList instaladas, naLista; int escolhida; QStringList aoConfirmar; QString impressora; };

const QString SemImpressoras = "Não há impressoras instaladas.\rInstale uma impressora no CUPS; para gerar arquivos "
                               "PDF, instale o pacote printer-driver-cups-pdf e crie a fila \"PDF\".";
}  // namespace

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
        const QStringList duas{"Zeta Laser", "Alfa Jato", "Alfa Jato"};
        Tabela<Escolha>({{"a segunda da lista", {duas, duas, 1, duas, "Alfa Jato"}},
                         {"OK sem escolher", {duas, duas, -1, duas, ""}},
                         {"removida depois de listada", {duas, duas, 0, {"Alfa Jato"}, ""}},
                         {"nenhuma instalada", {{}, {"Não há impressoras disponíveis"}, 0, {}, ""}}});
    }
    void escolha() {
        QFETCH(Escolha, caso);
        auto& [instaladas, naLista, escolhida, aoConfirmar, impressora] = caso;
        Ambiente amb;
        Printers::DefineLista([&] { return instaladas; });
        // With none installed the form says so, and how to add one, as it opens.
        if (instaladas.isEmpty()) Roteiro::Responde(vbOK);
        Impressoras* f = abre();
        if (instaladas.isEmpty()) CONFERE_CAIXA(SemImpressoras, vbExclamation);
        QVERIFY(Roteiro::Caixas().empty());
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
