#include "Rede.h"
#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpSocket>

namespace {
std::function<bool()>& conectado() {
    static std::function<bool()> f;
    return f;
}
std::function<bool(const QString&, int, int)>& sonda() {
    static std::function<bool(const QString&, int, int)> f;
    return f;
}
}  // namespace

bool Rede::ConectadoInternet() {
    if (conectado()) return conectado()();
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& i : interfaces) {
        const auto f = i.flags();
        if (!(f & QNetworkInterface::IsUp) || !(f & QNetworkInterface::IsRunning) || (f & QNetworkInterface::IsLoopBack))
            continue;
        // A link-local address alone is what an unplugged or unconfigured
        // interface gets; it reaches nothing beyond the cable.
        for (const QNetworkAddressEntry& e : i.addressEntries()) {
            const QHostAddress a = e.ip();
            if (!a.isNull() && !a.isLoopback() && !a.isLinkLocal()) return true;
        }
    }
    return false;
}

bool Rede::Responde(const QString& endereco, int porta, int tempoMs) {
    if (sonda()) return sonda()(endereco, porta, tempoMs);
    QTcpSocket s;
    s.connectToHost(endereco, quint16(porta));
    if (s.waitForConnected(tempoMs)) {
        s.abort();
        return true;
    }
    // A refusal is an answer: the machine is there, only the port is closed.
    return s.error() == QAbstractSocket::ConnectionRefusedError;
}

void Rede::DefineConectado(std::function<bool()> f) { conectado() = std::move(f); }
void Rede::DefineSonda(std::function<bool(const QString&, int, int)> f) { sonda() = std::move(f); }
