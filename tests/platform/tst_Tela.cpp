#include "support/Registro.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <arpa/inet.h>
#include <ctime>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class tst_Tela : public QObject {
    Q_OBJECT
private slots:
    // The clock of the loops that stamp every row: the local moment to the
    // second, a new one as soon as the second changes; a clock set by a
    // test comes as set.
    void relogioAoSegundo() {
        const QByteArray tz = qgetenv("TZ");
        const auto restaura = qScopeGuard([&] {
            tz.isNull() ? qunsetenv("TZ") : qputenv("TZ", tz);
            tzset();
        });
        qputenv("TZ", "BRT3");
        tzset();
        for (int vez = 0; vez < 2; ++vez) {
            const qint64 antes = QDateTime::currentSecsSinceEpoch();
            QTRY_VERIFY(QDateTime::currentSecsSinceEpoch() > antes);
            const QDateTime agora = Relogio::Agora_Segundo();
            QVERIFY(agora.toSecsSinceEpoch() > antes);
            QVERIFY(agora.toSecsSinceEpoch() <= QDateTime::currentSecsSinceEpoch());
            QCOMPARE(agora.offsetFromUtc(), -3 * 3600);
            QCOMPARE(agora.time().msec(), 0);
        }
        const QDateTime fixo(QDate(2021, 8, 15), QTime(10, 0, 7, 900));
        Relogio::Define(fixo);
        const auto solta = qScopeGuard([] { Relogio::Define({}); });
        QCOMPARE(Relogio::Agora_Segundo(), fixo);
    }

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
