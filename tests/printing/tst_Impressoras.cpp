// The printer choice opened from the main window's menu, over a fixed list
// of installed printers: what the list shows (and says when it is empty),
// what OK does, and which printer the program prints on afterwards.
#include "platform/Printer.h"
#include "platform/Tela.h"
#include "printing/Impressoras.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QMessageBox>
#include <QtTest>

namespace {
// The printers installed, the list shown, the one chosen, those installed
// by the click on OK, and the program's printer afterwards (empty: unchanged).
struct Escolha { QStringList instaladas, naLista; int escolhida; QStringList aoConfirmar; QString impressora; };

// A box the form shows on screen: the printers installed, the one chosen
// before OK (-1: the box comes as the form opens) and the box's text.
struct Caixa_Na_Tela { QStringList instaladas; int escolhida; QString texto; };

// What the user sees of the real box that `acao` brings up: its text, and
// whether the hourglass is over it. A box that never comes leaves the text
// empty and holds nothing up.
struct Vista { QString texto; bool ampulheta = false; };
Vista Caixa_Real(const std::function<void()>& acao) {
    Vista v;
    QTimer espera;
    espera.setInterval(10);
    QObject::connect(&espera, &QTimer::timeout, [&] {
        auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!m || !m->isVisible()) return;
        espera.stop();
        v.texto = m->text();
        const QCursor* c = QGuiApplication::overrideCursor();
        v.ampulheta = c && c->shape() == Qt::WaitCursor;
        m->buttons().first()->click();
    });
    Roteiro::Remove();
    espera.start();
    acao();
    espera.stop();
    Roteiro::Instala();
    return v;
}

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

    // The hourglass covers the search for printers, not the user's reading
    // of a box: a box waits for a click, and the pointer must say so.
    void caixaSemAmpulheta_data() {
        Tabela<Caixa_Na_Tela>({{"nenhuma instalada", {{}, -1, QString(SemImpressoras).replace('\r', '\n')}},
                               {"escolhida", {{"Zeta Laser"}, 0, "Impressora Zeta Laser Selecionada com sucesso"}}});
    }
    void caixaSemAmpulheta() {
        QFETCH(Caixa_Na_Tela, caso);
        Ambiente amb;
        Printers::DefineLista([&] { return caso.instaladas; });
        Principal* p = Inicia_Principal("MARIA");
        Impressoras* f = nullptr;
        const auto abre = [&] {
            p->SelImp->trigger();
            f = qobject_cast<Impressoras*>(Form::Procura("Impressoras"));
        };
        Vista v;
        if (caso.escolhida < 0) {
            v = Caixa_Real(abre);
        } else {
            abre();
            QVERIFY(f);
            f->CboPrinters->setListIndex(caso.escolhida);
            v = Caixa_Real([&] { QTest::mouseClick(f->CmdOk, Qt::LeftButton); });
        }
        QCOMPARE(v.texto, caso.texto);
        QVERIFY(!v.ampulheta);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }
};

REGISTRA_TESTE(tst_Impressoras)
#include "tst_Impressoras.moc"
