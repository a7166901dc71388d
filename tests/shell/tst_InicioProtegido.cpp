// The program starts on a database file that cannot be written, as long as
// the file is up to date: no message, no write, the parameters read.
#include "common/Parametros.h"
#include "platform/MsgBox.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Protecao.h"
#include "support/Registro.h"
#include <QDateTime>

class tst_InicioProtegido : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        Fecha_Tudo();
        Roteiro::Remove();  // drops the answer no box took
        Roteiro::Instala();
    }

    void iniciaSemEscrever() {
        Ambiente amb;
        amb.Parametros(7, QStringLiteral("SETOR"), QStringLiteral("IGREJA"), QStringLiteral("S"), 3, 2024,
                       QStringLiteral("IGREJA DO MORRO"));
        const QByteArray antes = Bytes(amb.Arquivo());
        const QDateTime modificado = QFileInfo(amb.Arquivo()).lastModified();
        Protecao protecao(amb.Arquivo());
        if (!protecao.Protegido()) QSKIP("este sistema não deixa proteger o arquivo contra escrita");

        // An error box would be answered No, so that start-up goes on.
        Roteiro::Responde(vbNo);
        Inicia_Principal(QStringLiteral("ANA"));
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));
        QCOMPARE(Param[2], QStringLiteral("IGREJA DO MORRO"));
        QCOMPARE(Bytes(amb.Arquivo()), antes);
        QCOMPARE(QFileInfo(amb.Arquivo()).lastModified(), modificado);
    }
};

REGISTRA_TESTE(tst_InicioProtegido)
#include "tst_InicioProtegido.moc"
