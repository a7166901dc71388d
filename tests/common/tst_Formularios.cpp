// Combo filling and selection against a real database file (64-bit codes
// included), the closing effect, the placing of child forms and the
// closing of the other forms.
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
constexpr qint64 Acima_2_40 = (qint64(1) << 40) + 3;
constexpr qint64 Acima_2_53 = (qint64(1) << 53) + 1;  // a double holds only its neighbours

struct Selecao { QVariant valor; int indice; QString texto; int cliques; };
struct Falha { QString codigo; int erro; QString texto; };

// The combo loaded from a table of eight rows, the text before the load
// being `antes`. The code column has no type, so a code stored as text
// stays text.
void Carregado(Ambiente& amb, ComboBox& c, const QString& antes) {
    amb.Sql("CREATE TABLE TesteCombo (Ordem INTEGER, Codigo, Nome TEXT)");
    amb.Sql("INSERT INTO TesteCombo VALUES (1, 3, '  BETA '), (2, 1, 'ALFA'), (3, 9, NULL), (4, 8, '5'), (5, 5, 'CINCO'),"
            " (6, 7, 'gama'), (7, ?, 'GRANDE'), (8, ?, 'ENORME'), (9, ?, 'VIZINHO')",
            {Acima_2_40, QString::number(Acima_2_53), Acima_2_53 - 1});
    c.setText_(antes);
    Carrega_Combo(&c, Consulta, "Nome", "Codigo");
}

QStringList Itens(ComboBox& c) {
    QStringList r;
    for (int i = 0; i < c.ListCount(); ++i) r << c.List(i) + '=' + QString::number(c.ItemData(i));
    return r;
}
const QStringList Todos = {"BETA=3", "ALFA=1", "5=8", "CINCO=5", "gama=7", "GRANDE=" + QString::number(Acima_2_40),
                           "ENORME=" + QString::number(Acima_2_53), "VIZINHO=" + QString::number(Acima_2_53 - 1)};
}  // namespace

class tst_Formularios : public QObject {
    Q_OBJECT

private slots:
    // The previous text chooses the same item again, whatever the case;
    // else the first that begins with it.
    void carregaCombo_data() {
        Tabela<std::pair<QString, int>>({{"mesmo texto, outra caixa", {"GAMA", 4}},
                                         {"começo de um texto", {"al", 1}}, {"nenhum item", {"ZETA", -1}}});
    }
    void carregaCombo() {
        using Antes = std::pair<QString, int>;
        QFETCH(Antes, caso);
        Ambiente amb;
        ComboBox c(nullptr, 0);
        Carregado(amb, c, caso.first);
        QCOMPARE(c.ListIndex(), caso.second);
        QCOMPARE(Itens(c), Todos);
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));
    }

    void selecionaItem_data() {
        Tabela<Selecao>({
            {"pelo código, não pelo item de texto 5", {5, 3, "CINCO", 1}},
            {"código escrito como texto", {"8", 2, "5", 1}},
            {"número acima de 2^40", {Acima_2_40, 5, "GRANDE", 1}},
            // Through a double it would find its neighbour, the next item.
            {"texto acima de 2^53", {QString::number(Acima_2_53), 6, "ENORME", 1}},
            {"texto com milhar", {"1.099.511.627.779", 5, "GRANDE", 1}},
            {"primeiro item que começa pelo texto", {"bet", 0, "BETA", 1}},
            {"código ausente deixa o texto", {99, -1, "ZETA", 0}},
            {"texto ausente vai para a caixa", {"novo", -1, "novo", 0}}, {"fração não é código", {"7,5", -1, "ZETA", 0}},
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

    // A failure asks; the retry repeats only the item-data step (the item is
    // there once), and No keeps the items loaded before it.
    void falhaAoCarregarRepeteSoOPasso_data() {
        Tabela<Falha>({{"código nulo", {"NULL", 94, "Campo obrigatório não aceita Nulo."}},
                       {"código que não é número", {"'X7'", 13, "Tipo Incompatível."}}});
    }
    void falhaAoCarregarRepeteSoOPasso() {
        QFETCH(Falha, caso);
        Ambiente amb;
        ComboBox c(nullptr, 0);
        Carregado(amb, c, {});
        amb.Sql("UPDATE TesteCombo SET Codigo = " + caso.codigo + " WHERE Ordem = 4");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        Carrega_Combo(&c, Consulta, "Nome", "Codigo");
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QCOMPARE(Roteiro::Caixas()[1].titulo, QString("<<< Ocorrência de Erro %1 >>>").arg(caso.erro));
        QVERIFY2(Roteiro::Caixas()[1].prompt.startsWith(caso.texto), qPrintable(Roteiro::Caixas()[1].prompt));
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
