#include "support/Registro.h"
#include "platform/Rede.h"
#include "platform/Tela.h"
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class tst_Tela : public QObject {
    Q_OBJECT
private slots:
    void ponteiroNaoEmpilha() {
        // Whoever stacked cursors before, and however often 11 was asked, 0 leaves the default pointer.
        QGuiApplication::setOverrideCursor(Qt::IBeamCursor);
        QGuiApplication::setOverrideCursor(Qt::CrossCursor);
        Screen::MousePointer(11);
        Screen::MousePointer(11);
        Screen::MousePointer(0);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void sondaDeRede() {
        QTcpServer escuta;
        QVERIFY(escuta.listen(QHostAddress::LocalHost));
        const quint16 porta = escuta.serverPort();
        escuta.close();
        // A refused connection is an answer: the machine is there.
        QVERIFY(Rede::Responde("127.0.0.1", porta, 1000));
        // Silence is no answer: a listener whose queue is full drops the request without a word.
        const int mudo = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in end{};
        end.sin_family = AF_INET;
        end.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t tam = sizeof end;
        QCOMPARE(::bind(mudo, reinterpret_cast<sockaddr*>(&end), sizeof end), 0);
        QCOMPARE(::listen(mudo, 0), 0);
        QCOMPARE(::getsockname(mudo, reinterpret_cast<sockaddr*>(&end), &tam), 0);
        QTcpSocket fila[3];
        for (QTcpSocket& s : fila) {
            s.connectToHost("127.0.0.1", ntohs(end.sin_port));
            s.waitForConnected(200);
        }
        QElapsedTimer t;
        t.start();
        QVERIFY(!Rede::Responde("127.0.0.1", ntohs(end.sin_port), 300));
        QVERIFY(t.elapsed() >= 250);
        ::close(mudo);
    }
};

REGISTRA_TESTE(tst_Tela)
#include "tst_Tela.moc"
