#pragma once
// Network seams: "is the computer online" and the reachability probe.
#include <QString>
#include <functional>

namespace Rede {
// True when the machine has a usable network interface that is up and not
// loopback-only. A default route does not mean the internet is reachable.
bool ConectadoInternet();
// A TCP connect to the address and port with a short timeout: connected or
// refused counts as an answer; silence does not.
bool Responde(const QString& endereco, int porta, int tempoMs = 1500);

void DefineConectado(std::function<bool()> f);  // tests
void DefineSonda(std::function<bool(const QString&, int, int)> f);
}
