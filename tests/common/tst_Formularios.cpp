// Combo filling and selection against a real database file, the closing
// effect, the placing of child forms and the closing of the other forms.
#include "common/Formularios.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QTest>

namespace {
QStringList g_descarregados;

class FormTeste : public Form {
public:
    explicit FormTeste(const QString& nome) : Form(nome, false) {}
    void Form_Unload(int&) override { g_descarregados << Name(); }
};

const QString Consulta = "SELECT Nome, Codigo FROM TesteCombo ORDER BY Ordem";

struct Selecao { QVariant valor; int indice; QString texto; int cliques; };

// The combo loaded from a table of six rows, the text before the load being `antes`.
void Carregado(Ambiente& amb, ComboBox& c, const QString& antes) {
    amb.Sql("CREATE TABLE TesteCombo (Ordem INTEGER, Codigo INTEGER, Nome TEXT)");
    amb.Sql("INSERT INTO TesteCombo VALUES (1, 3, '  BETA '), (2, 1, 'ALFA'), (3, 9, NULL), (4, 8, '5'), (5, 5, 'CINCO'),"
            " (6, 7, 'gama')");
    c.setText_(antes);
    Carrega_Combo(&c, Consulta, "Nome", "Codigo");
}

QStringList Itens(ComboBox& c) {
    QStringList r;
    for (int i = 0; i < c.ListCount(); ++i) r << c.List(i) + '=' + QString::number(c.ItemData(i));
    return r;
}
}  // namespace

class tst_Formularios : public QObject {
    Q_OBJECT

private slots:
    void carregaCombo_data() {
        QTest::addColumn<QString>("antes");
        QTest::addColumn<int>("indice");
        // The previous text chooses the same item again, whatever the case; else the first that begins with it.
        QTest::newRow("mesmo texto, outra caixa") << "GAMA" << 4;
        QTest::newRow("começo de um texto") << "al" << 1;
        QTest::newRow("nenhum item") << "ZETA" << -1;
    }
    void carregaCombo() {
        QFETCH(QString, antes);
        QFETCH(int, indice);
        Ambiente amb;
        ComboBox c(nullptr, 0);
        Carregado(amb, c, antes);
        QCOMPARE(c.ListIndex(), indice);
        QCOMPARE(Itens(c), (QStringList{"BETA=3", "ALFA=1", "5=8", "CINCO=5", "gama=7"}));
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));
    }

    void selecionaItem_data() {
        Tabela<Selecao>({
            {"pelo código, não pelo item de texto 5", {5, 3, "CINCO", 1}},
            {"código escrito como texto", {"8", 2, "5", 1}},
            {"primeiro item que começa pelo texto", {"bet", 0, "BETA", 1}},
            {"código ausente deixa o texto", {99, -1, "ZETA", 0}},
            {"texto ausente vai para a caixa", {"novo", -1, "novo", 0}},
        });
    }
    void selecionaItem() {
        QFETCH(Selecao, caso);
        Ambiente amb;
        ComboBox c(nullptr, 0);
        Carregado(amb, c, "ZETA");
        int cliques = 0;
        c.Click = [&] { ++cliques; };
        Seleciona_Item_Combo(&c, caso.valor);
        QCOMPARE(c.ListIndex(), caso.indice);
        QCOMPARE(c.Text(), caso.texto);
        QCOMPARE(cliques, caso.cliques);
    }

    void falhaAoCarregarRepeteSoOPasso() {
        // A failure asks; the retry repeats only the item-data step: the item is there once.
        Ambiente amb;
        ComboBox c(nullptr, 0);
        Carregado(amb, c, {});
        amb.Sql("UPDATE TesteCombo SET Codigo = NULL WHERE Ordem = 4");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        Carrega_Combo(&c, Consulta, "Nome", "Codigo");
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("<<< Ocorrência de Erro 94 >>>"));
        QVERIFY(Roteiro::Caixas()[0].prompt.startsWith("Campo obrigatório não aceita Nulo."));
        QCOMPARE(Itens(c), (QStringList{"BETA=3", "ALFA=1", "5=0"}));
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void fechaEfeito() {
        FormTeste f("Efeito");
        QList<int> alturas, esperado;
        Define_Observador_Efeito([&](Form* form, int h) { alturas << h << form->Height(); });  // each step really set
        for (int h = 3050; h >= 0; h -= 100) esperado << h << h;
        f.setHeight(3050);
        Fecha_Efeito(&f);
        QCOMPARE(alturas, esperado);  // 3050 ends at 50
        alturas.clear();
        f.setHeight(3000);
        Fecha_Efeito(&f);
        QCOMPARE(alturas.mid(alturas.size() - 4), QList<int>({100, 100, 0, 0}));
        Define_Observador_Efeito({});
    }

    void centralizaForm() {
        FormTeste pai("Pai"), f("Filho");
        pai.setWidth(12000);
        pai.setHeight(9000);
        f.setWidth(6000);
        f.setHeight(3000);
        Centraliza_Form(&f, &pai, "");
        QCOMPARE(f.Left(), 3000);
        QCOMPARE(f.Top(), 100);
        Centraliza_Form(&f, &pai, "S");
        QCOMPARE(f.Left(), 3000);
        QCOMPARE(f.Top(), 3000);
    }

    void fechaForms() {
        Ambiente amb(false);
        g_descarregados.clear();
        QList<QPointer<FormTeste>> forms;
        for (const char* nome : {"Agenda", "QRCode", "LivroCaixa", "Principal", "Parametr"}) {
            forms << new FormTeste(nome);
            forms.last()->Show();
        }
        Fecha_Forms("Parametr");
        QCOMPARE(g_descarregados, (QStringList{"Agenda", "LivroCaixa"}));  // through their own unload
        QStringList carregados;
        for (const auto& f : forms)
            if (f && f->Loaded()) carregados << f->Name();
        QCOMPARE(carregados, (QStringList{"QRCode", "Principal", "Parametr"}));
        for (const auto& f : forms)
            if (f && f->Loaded()) f->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

REGISTRA_TESTE(tst_Formularios)
#include "tst_Formularios.moc"
