// The QR-code window and the appeal it opens: the code read back by an
// independent reader, one appeal however often it is clicked, and a text
// the user cannot change.
#include "shell/Donativo.h"
#include "shell/QRCode.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include <QPlainTextEdit>

class tst_Donativo : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { Fecha_Tudo(); }

    void codigo_lido_e_um_apelo_so() {
        Ambiente amb;
        Principal* p = Inicia_Principal("TESTE");
        auto* qr = Form::Instancia<QRCode>();
        qr->Show();
        QCOMPARE(QPoint(qr->Left(), qr->Top()), QPoint(p->Width() - 3100, p->Height() - 3700));

        // What the window shows, enlarged without smoothing as a camera would.
        QTemporaryDir dir;
        const QImage tela = qr->Image1->grab().toImage();
        QVERIFY(tela.scaled(tela.size() * 3).save(dir.filePath("qr.png")));
        QProcess zbar;
        zbar.start("zbarimg", {"--raw", "-q", dir.filePath("qr.png")});
        QVERIFY(zbar.waitForFinished(20000));
        const QString lido = QString::fromUtf8(zbar.readAllStandardOutput()).trimmed();
        QCOMPARE(lido, QRCode::Texto_Pagamento());
        QVERIFY(lido.contains("@exemplo.invalid"));  // a key under a name reserved never to exist

        QTest::mouseClick(qr->Image1, Qt::LeftButton);
        QTest::mouseClick(qr, Qt::LeftButton, {}, QPoint(1, 1));  // the window itself
        const std::vector<Form*> todos = Form::Forms();
        QCOMPARE(std::count_if(todos.begin(), todos.end(), [](Form* f) { return f->Name() == "Donativo"; }), 1);
        auto* d = qobject_cast<Donativo*>(Form::Procura("Donativo"));
        const QString texto = d->TxtDoa->toPlainText();
        QCOMPARE(texto, Donativo::Texto_Apelo());
        QVERIFY(!texto.contains('\n'));
        QVERIFY(!texto.contains('\r'));
        Digita(d->TxtDoa, "xyz");
        QTest::keyClick(d->TxtDoa, Qt::Key_Backspace);
        QTest::keyClick(d->TxtDoa, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(d->TxtDoa->toPlainText(), texto);
    }
};

REGISTRA_TESTE(tst_Donativo)
#include "tst_Donativo.moc"
