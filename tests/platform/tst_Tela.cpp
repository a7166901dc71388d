#include "support/Registro.h"
#include "platform/Rede.h"
#include "platform/Tela.h"
#include <QGuiApplication>
#include <QScreen>
#include <QTcpServer>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>
#include <arpa/inet.h>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

class tst_Tela : public QObject {
    Q_OBJECT
private slots:
    void ponteiroNaoEmpilha() {
        Screen::MousePointer(11);
        Screen::MousePointer(11);
        QCOMPARE(Screen::MousePointerAtual(), 11);
        Screen::MousePointer(0);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QCOMPARE(Screen::MousePointerAtual(), 0);
        // Whoever stacked cursors before, 0 leaves the default pointer.
        QGuiApplication::setOverrideCursor(Qt::IBeamCursor);
        QGuiApplication::setOverrideCursor(Qt::CrossCursor);
        Screen::MousePointer(11);
        QCOMPARE(Screen::MousePointerAtual(), 11);
        Screen::MousePointer(0);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }

    void twips() {
        const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
        QCOMPARE(Twips::PorPixelX(), qRound(1440 / dpi));
        QCOMPARE(Twips::ParaPixelX(1440), qRound(dpi));
        for (int px = 0; px < 2000; ++px) {
            QCOMPARE(Twips::ParaPixelX(Twips::DePixelX(px)), px);
            QCOMPARE(Twips::ParaPixelY(Twips::DePixelY(px)), px);
        }
    }

    void sondaDeRede() {
        QTcpServer escuta;
        QVERIFY(escuta.listen(QHostAddress::LocalHost));
        QVERIFY(Rede::Responde("127.0.0.1", escuta.serverPort(), 1000));
        const quint16 porta = escuta.serverPort();
        escuta.close();
        // A refused connection is an answer: the machine is there.
        QVERIFY(Rede::Responde("127.0.0.1", porta, 1000));
        // Silence is no answer: a listener whose queue is full drops the
        // connection request without a word.
        const int mudo = ::socket(AF_INET, SOCK_STREAM, 0);
        QVERIFY(mudo >= 0);
        sockaddr_in end{};
        end.sin_family = AF_INET;
        end.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t tam = sizeof end;
        QVERIFY(::bind(mudo, reinterpret_cast<sockaddr*>(&end), sizeof end) == 0);
        QVERIFY(::listen(mudo, 0) == 0);
        QVERIFY(::getsockname(mudo, reinterpret_cast<sockaddr*>(&end), &tam) == 0);
        const quint16 portaMuda = ntohs(end.sin_port);
        std::vector<std::unique_ptr<QTcpSocket>> fila;
        for (int i = 0; i < 3; ++i) {
            fila.push_back(std::make_unique<QTcpSocket>());
            fila.back()->connectToHost("127.0.0.1", portaMuda);
            fila.back()->waitForConnected(200);
        }
        QElapsedTimer t;
        t.start();
        QVERIFY(!Rede::Responde("127.0.0.1", portaMuda, 300));
        QVERIFY(t.elapsed() >= 250);
        fila.clear();
        ::close(mudo);

        Rede::DefineSonda([](const QString& e, int p, int) { return e == "10.0.0.9" && p == 3306; });
        QVERIFY(Rede::Responde("10.0.0.9", 3306));
        QVERIFY(!Rede::Responde("127.0.0.1", porta));
        Rede::DefineSonda({});
        Rede::DefineConectado([] { return false; });
        QVERIFY(!Rede::ConectadoInternet());
        Rede::DefineConectado({});
    }
};

REGISTRA_TESTE(tst_Tela)
#include "tst_Tela.moc"
