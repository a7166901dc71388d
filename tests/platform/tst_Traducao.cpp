// Qt's own texts in Brazilian Portuguese: the context menu of a text box
// (whose paste still keeps to the box's limit) and the buttons of a
// standard dialog.
#include "platform/Controles.h"
#include "platform/Traducao.h"
#include "support/Registro.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

class tst_Traducao : public QObject {
    Q_OBJECT
    QScopedPointer<QTranslator> tradutor;

private slots:
    void initTestCase() {
        tradutor.reset(Traducao::InstalaQt());
        QVERIFY2(tradutor, "qtbase_pt_BR.qm ausente: instale qt6-translations-l10n");
    }
    void cleanupTestCase() { tradutor.reset(); }

    void menuDaCaixaDeTexto() {
        TextBox caixa;
        caixa.setMaxLength_(2);
        caixa.show();
        QVERIFY(QTest::qWaitForWindowExposed(&caixa));
        QGuiApplication::clipboard()->setText(QStringLiteral("XYZ"));
        QContextMenuEvent pedido(QContextMenuEvent::Mouse, QPoint(5, 5), caixa.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(&caixa, &pedido);
        QMenu* menu = caixa.findChild<QMenu*>();
        QVERIFY(menu);
        QAction* colar = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
        QVERIFY(colar);
        QCOMPARE(colar->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&')), QStringLiteral("Colar"));
        colar->trigger();
        menu->close();
        QCOMPARE(caixa.Text(), QStringLiteral("XY"));
    }

    void botoesDeDialogo() {
        QDialogButtonBox caixa{QDialogButtonBox::No | QDialogButtonBox::Cancel};
        QCOMPARE(caixa.button(QDialogButtonBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Não"));
        QCOMPARE(caixa.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&')), QStringLiteral("Cancelar"));
    }
};

REGISTRA_TESTE(tst_Traducao)
#include "tst_Traducao.moc"
