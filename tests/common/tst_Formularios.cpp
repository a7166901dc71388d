// Combo filling and selection against a real database file, the closing
// effect, the placing of child forms and the closing of the other forms.
#include "common/Formularios.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QTest>

namespace {
QStringList g_descarregados;

class FormTeste : public Form {
public:
    explicit FormTeste(const QString& nome) : Form(nome, false) {}
    void Form_Unload(int&) override { g_descarregados << Name(); }
};

const QString Consulta = "SELECT Nome, Codigo FROM TesteCombo ORDER BY Ordem";

QStringList Itens(ComboBox& c) {
    QStringList r;
    for (int i = 0; i < c.ListCount(); ++i) r << c.List(i) + '=' + QString::number(c.ItemData(i));
    return r;
}
}  // namespace

class tst_Formularios : public QObject {
    Q_OBJECT

private slots:
    void carregaESelecionaCombo() {
        Ambiente amb;
        amb.Sql("CREATE TABLE TesteCombo (Ordem INTEGER, Codigo INTEGER, Nome TEXT)");
        amb.Sql("INSERT INTO TesteCombo VALUES (1, 3, '  BETA '), (2, 1, 'ALFA'), (3, 9, NULL), (4, 8, '5'), (5, 5, 'CINCO'),"
                " (6, 7, 'gama')");
        ComboBox c(nullptr, 0);
        // The previous text chooses the same item again, whatever the case; else the first that begins with it.
        for (const auto& [antes, indice] : {std::pair{"GAMA", 4}, {"al", 1}, {"ZETA", -1}}) {
            c.setListIndex(-1);
            c.setText_(antes);
            Carrega_Combo(&c, Consulta, "Nome", "Codigo");
            QCOMPARE(c.ListIndex(), indice);
        }
        QCOMPARE(Itens(c), (QStringList{"BETA=3", "ALFA=1", "5=8", "CINCO=5", "gama=7"}));
        QCOMPARE(c.Text(), QString("ZETA"));
        QVERIFY(Roteiro::Caixas().empty());

        int cliques = 0;
        c.Click = [&] { ++cliques; };
        // By item data (not the item whose text is 5), a code shown as text, the
        // first item beginning with a text; no item: the text goes into the combo.
        const std::tuple<QVariant, int, const char*> casos[] = {
            {5, 3, "CINCO"}, {"8", 2, "5"}, {"bet", 0, "BETA"}, {99, -1, "BETA"}, {"novo", -1, "novo"}};
        for (const auto& [valor, indice, texto] : casos) {
            Seleciona_Item_Combo(&c, valor);
            QCOMPARE(c.ListIndex(), indice);
            QCOMPARE(c.Text(), QString(texto));
        }
        QCOMPARE(cliques, 3);

        // A failure asks; the retry repeats only the item-data step: the item is there once.
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
        for (const auto& [modo, topo] : {std::pair{"", 100}, {"S", 3000}}) {
            Centraliza_Form(&f, &pai, modo);
            QCOMPARE(f.Left(), 3000);
            QCOMPARE(f.Top(), topo);
        }
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
        for (int i : {0, 2}) QVERIFY(!forms[i] || !forms[i]->Loaded());
        for (int i : {1, 3, 4}) QVERIFY(forms[i] && forms[i]->Loaded());
        for (int i : {1, 3, 4}) forms[i]->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

REGISTRA_TESTE(tst_Formularios)
#include "tst_Formularios.moc"
