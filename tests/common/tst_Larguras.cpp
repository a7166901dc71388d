// Widths count characters as the user sees them: an emoji, a flag or a
// letter with a loose accent is one character, kept or cut whole, in a
// list column and in a text box's limit alike.
#include "common/Texto.h"
#include "platform/Controles.h"
#include "support/Registro.h"
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
        QTest::addColumn<QString>("texto");
        QTest::addColumn<int>("largura");
        QTest::addColumn<QString>("alinhamento");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("emoji na última coluna") << "AB" + Sorriso + "C" << 3 << "E" << "AB" + Sorriso;
        QTest::newRow("emoji logo depois do corte") << "AB" + Sorriso << 2 << "E" << "AB";
        QTest::newRow("emoji conta um à direita") << "AB" + Sorriso << 5 << "D" << "  AB" + Sorriso;
        QTest::newRow("emoji centrado") << Sorriso << 4 << "C" << " " + Sorriso + "  ";
        QTest::newRow("emoji na primeira coluna") << Sorriso + "X" << 1 << "D" << Sorriso;
        QTest::newRow("sequência unida") << Familia + "X" << 1 << "E" << Familia;
        QTest::newRow("sequência unida com espaço") << Familia << 2 << "E" << Familia + " ";
        QTest::newRow("tom de pele") << "A" + Polegar + "B" << 2 << "E" << "A" + Polegar;
        QTest::newRow("bandeira") << Brasil + Brasil << 1 << "E" << Brasil;
        QTest::newRow("acento solto") << QAgudo + "X" << 1 << "E" << QAgudo;
        QTest::newRow("acento composto") << QStringLiteral("E\u0301X") << 1 << "E" << QStringLiteral("\u00C9");
        QTest::newRow("nome acentuado") << "JOÃO" << 6 << "D" << "  JOÃO";
    }
    void formataTexto() {
        QFETCH(QString, texto);
        QFETCH(int, largura);
        QFETCH(QString, alinhamento);
        QFETCH(QString, esperado);
        QCOMPARE(Formata_Texto(texto, largura, alinhamento), esperado);
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
