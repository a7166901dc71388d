// The About box's novelty list: shown whole, with its close button beside
// it rather than over its lines, and put away again by that button.
#include "common/Parametros.h"
#include "shell/Sobre.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"

class tst_SobreNovidades : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Fecha_Tudo(); }

    void fecharNaoCobreALista() {
        Ambiente amb;
        Principal* principal = Inicia_Principal(QStringLiteral("ANA"));
        Param[11] = QStringLiteral("127.0.0.2");  // no central server: the box opens on its own version
        principal->Sobre_Sis->trigger();
        auto* s = qobject_cast<Sobre*>(Form::Procura(QStringLiteral("Sobre")));
        QVERIFY(s);
        QWidget* cliente = s->LstSobre->parentWidget();
        QVERIFY(!cliente->rect().intersects(s->LstSobre->geometry()));

        QTest::mouseClick(s->CmdVeja, Qt::LeftButton);
        QTRY_VERIFY(s->CmdFechar->isVisible());
        const QRect lista = s->LstSobre->geometry();
        const QRect fechar = s->CmdFechar->geometry();
        QVERIFY(!fechar.intersects(lista));
        QVERIFY(cliente->rect().contains(lista));
        QVERIFY(cliente->rect().contains(fechar));

        QTest::mouseClick(s->CmdFechar, Qt::LeftButton);
        QVERIFY(s->CmdFechar->isHidden());
        QVERIFY(!cliente->rect().intersects(s->LstSobre->geometry()));
        QVERIFY(Roteiro::Caixas().empty());
    }
};

REGISTRA_TESTE(tst_SobreNovidades)
#include "tst_SobreNovidades.moc"
