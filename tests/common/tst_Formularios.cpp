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

const QString Consulta = QStringLiteral("SELECT Nome, Codigo FROM TesteCombo ORDER BY Ordem");

void Cria_Tabela(Ambiente& amb) {
    amb.Sql(QStringLiteral("CREATE TABLE TesteCombo (Ordem INTEGER, Codigo INTEGER, Nome TEXT)"));
    const QVariantList linhas[] = {
        {1, 3, QStringLiteral("  BETA ")}, {2, 1, QStringLiteral("ALFA")}, {3, 9, QVariant()},
        {4, 8, QStringLiteral("5")},       {5, 5, QStringLiteral("CINCO")}, {6, 7, QStringLiteral("gama")},
    };
    for (const QVariantList& l : linhas)
        amb.Sql(QStringLiteral("INSERT INTO TesteCombo VALUES (?, ?, ?)"), l);
}

QStringList Itens(ComboBox& c) {
    QStringList r;
    for (int i = 0; i < c.ListCount(); ++i) r << c.List(i) + QLatin1Char('=') + QString::number(c.ItemData(i));
    return r;
}
}  // namespace

class tst_Formularios : public QObject {
    Q_OBJECT

private slots:
    void carrega_combo_mantem_a_escolha() {
        Ambiente amb;
        Cria_Tabela(amb);
        ComboBox c(nullptr, 0);
        c.setText_(QStringLiteral("GAMA"));
        Carrega_Combo(&c, Consulta, QStringLiteral("Nome"), QStringLiteral("Codigo"));
        QCOMPARE(Itens(c), (QStringList{"BETA=3", "ALFA=1", "5=8", "CINCO=5", "gama=7"}));
        QCOMPARE(c.ListIndex(), 4);  // the same item again, whatever the case
        QCOMPARE(Screen::MousePointerAtual(), 0);

        c.setListIndex(-1);
        c.setText_(QStringLiteral("al"));
        Carrega_Combo(&c, Consulta, QStringLiteral("Nome"), QStringLiteral("Codigo"));
        QCOMPARE(c.ListIndex(), 1);  // the first item that begins with it

        c.setListIndex(-1);
        c.setText_(QStringLiteral("ZETA"));
        Carrega_Combo(&c, Consulta, QStringLiteral("Nome"), QStringLiteral(" "));
        QCOMPARE(c.ListIndex(), -1);
        QCOMPARE(c.Text(), QStringLiteral("ZETA"));
        QCOMPARE(c.ItemData(0), qint64(0));  // no code field named: no item data
        QVERIFY(Roteiro::Caixas().empty());
    }

    void carrega_combo_codigo_nulo() {
        Ambiente amb;
        Cria_Tabela(amb);
        amb.Sql(QStringLiteral("UPDATE TesteCombo SET Codigo = NULL WHERE Ordem = 4"));
        ComboBox c(nullptr, 0);
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        Carrega_Combo(&c, Consulta, QStringLiteral("Nome"), QStringLiteral("Codigo"));
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QStringLiteral("<<< Ocorrência de Erro 94 >>>"));
        QVERIFY(Roteiro::Caixas()[0].prompt.startsWith(QStringLiteral("Campo obrigatório não aceita Nulo.")));
        // The retry repeated only the item-data step: the item is there once.
        QCOMPARE(Itens(c), (QStringList{"BETA=3", "ALFA=1", "5=0"}));
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void carrega_combo_sql_invalido() {
        Ambiente amb;
        ComboBox c(nullptr, 0);
        Roteiro::Responde(vbNo);
        Carrega_Combo(&c, QStringLiteral("SELECT Nome FROM TabelaInexistente"), QStringLiteral("Nome"), {});
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(c.ListCount(), 0);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void seleciona_item_combo() {
        Ambiente amb;
        Cria_Tabela(amb);
        ComboBox c(nullptr, 0);
        Carrega_Combo(&c, Consulta, QStringLiteral("Nome"), QStringLiteral("Codigo"));
        int cliques = 0;
        c.Click = [&] { ++cliques; };

        Seleciona_Item_Combo(&c, 5);  // by item data, not by the item whose text is 5
        QCOMPARE(c.ListIndex(), 3);
        Seleciona_Item_Combo(&c, QStringLiteral("8"));  // a code shown as text
        QCOMPARE(c.ListIndex(), 2);
        QCOMPARE(cliques, 2);

        c.setText_(QStringLiteral("texto"));
        Seleciona_Item_Combo(&c, 99);
        QCOMPARE(c.ListIndex(), -1);
        QCOMPARE(c.Text(), QStringLiteral("texto"));

        c.setListIndex(0);
        Seleciona_Item_Combo(&c, QString());
        QCOMPARE(c.ListIndex(), -1);
        Seleciona_Item_Combo(&c, QStringLiteral("bet"));
        QCOMPARE(c.ListIndex(), 0);

        ComboBox lista(nullptr, 2);
        lista.AddItem(QStringLiteral("UM"));
        Seleciona_Item_Combo(&lista, QStringLiteral("DOIS"));
        QCOMPARE(lista.ListIndex(), -1);
    }

    void fecha_efeito() {
        FormTeste f(QStringLiteral("Efeito"));
        QList<int> alturas;
        Define_Observador_Efeito([&](Form* form, int h) {
            QCOMPARE(form, &f);
            QCOMPARE(form->Height(), h);
            alturas << h;
        });
        f.setHeight(3000);
        Fecha_Efeito(&f);
        QList<int> esperado;
        for (int h = 3000; h >= 0; h -= 100) esperado << h;
        QCOMPARE(alturas, esperado);

        alturas.clear();
        f.setHeight(3050);
        Fecha_Efeito(&f);
        QCOMPARE(alturas.size(), 31);
        QCOMPARE(alturas.first(), 3050);
        QCOMPARE(alturas.last(), 50);
        Define_Observador_Efeito({});
    }

    void centraliza_form() {
        FormTeste pai(QStringLiteral("Pai"));
        FormTeste f(QStringLiteral("Filho"));
        pai.setWidth(12000);
        pai.setHeight(9000);
        f.setWidth(6000);
        f.setHeight(3000);
        Centraliza_Form(&f, &pai, {});
        QCOMPARE(f.Left(), 3000);
        QCOMPARE(f.Top(), 100);
        Centraliza_Form(&f, &pai, QStringLiteral("S"));
        QCOMPARE(f.Left(), 3000);
        QCOMPARE(f.Top(), 3000);
        Centraliza_Form(&f, &pai, QStringLiteral("s"));
        QCOMPARE(f.Top(), 100);
    }

    void fecha_forms() {
        Ambiente amb(false);
        g_descarregados.clear();
        QList<QPointer<FormTeste>> forms;
        for (const char* nome : {"Agenda", "QRCode", "LivroCaixa", "Principal", "Parametr"}) {
            forms << new FormTeste(QString::fromLatin1(nome));
            forms.last()->Show();
        }
        Fecha_Forms(QStringLiteral("Parametr"));
        QCOMPARE(g_descarregados, (QStringList{"Agenda", "LivroCaixa"}));  // through their own unload
        for (int i : {0, 2}) QVERIFY(!forms[i] || !forms[i]->Loaded());
        for (int i : {1, 3, 4}) QVERIFY(forms[i] && forms[i]->Loaded());
        for (int i : {1, 3, 4}) forms[i]->Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

REGISTRA_TESTE(tst_Formularios)
#include "tst_Formularios.moc"
