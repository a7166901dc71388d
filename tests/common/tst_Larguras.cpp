// Widths count characters as the user sees them: an emoji, a flag or a
// letter with a loose accent is one character, kept or cut whole, in a
// list column and in a text box's limit alike.
#include "common/Texto.h"
#include "platform/Controles.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace {
const QString Sorriso = QString::fromUtf8("\xF0\x9F\x98\x80");  // U+1F600
// Three pictures joined into one.
const QString Familia =
    QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7");
const QString Polegar = QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD");  // with a skin tone
const QString Brasil = QString::fromUtf8("\xF0\x9F\x87\xA7\xF0\x9F\x87\xB7");   // a flag
const QString QAgudo = QStringLiteral("q\u0301");  // no precomposed form exists

struct Largura { QString texto; int largura; QString alinhamento, esperado; };

void tecla(QWidget* w, const QString& texto) {
    QKeyEvent p(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &p);
    QKeyEvent s(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, texto);
    QApplication::sendEvent(w, &s);
}
}  // namespace

class tst_Larguras : public QObject {
    Q_OBJECT
private slots:
    void formataTexto_data() {
        Tabela<Largura>({
            {"emoji na última coluna", {"AB" + Sorriso + "C", 3, "E", "AB" + Sorriso}},
            {"emoji logo depois do corte", {"AB" + Sorriso, 2, "E", "AB"}},
            {"emoji conta um à direita", {"AB" + Sorriso, 5, "D", "  AB" + Sorriso}},
            {"emoji centrado, sobra à direita", {Sorriso, 4, "C", " " + Sorriso + "  "}},
            {"sequência unida com espaço", {Familia, 2, "E", Familia + " "}},
            {"tom de pele", {"A" + Polegar + "B", 2, "E", "A" + Polegar}}, {"bandeira", {Brasil + Brasil, 1, "E", Brasil}},
            {"acento solto", {QAgudo + "X", 1, "E", QAgudo}}, {"acento composto", {"E\u0301X", 1, "E", "\u00C9"}},
        });
    }
    void formataTexto() {
        QFETCH(Largura, caso);
        QCOMPARE(Formata_Texto(caso.texto, caso.largura, caso.alinhamento), caso.esperado);
    }

    void limiteDaCaixaDeTexto() {
        // The last place of the box takes an emoji whole; a full box
        // refuses it whole, never keeping half of it.
        TextBox t;
        t.setMaxLength_(5);
        t.show();
        t.setFocus();
        for (const QString& s : {QStringLiteral("ABC"), Sorriso, Familia, Sorriso})
            tecla(&t, s);
        QCOMPARE(t.Text(), "ABC" + Sorriso + Familia);
        t.setText_(QStringLiteral("ABCDE"));
        t.end(false);
        tecla(&t, Sorriso);
        QCOMPARE(t.Text(), QStringLiteral("ABCDE"));
    }
};

REGISTRA_TESTE(tst_Larguras)
#include "tst_Larguras.moc"
