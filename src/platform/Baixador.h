#pragma once
// Downloads over HTTPS into a file of this machine. The file appears only
// after a complete, successful transfer; a failed or cut transfer leaves
// whatever was there before untouched. Nothing is cached and certificates
// are always checked.
#include <QList>
#include <QSslCertificate>
#include <QString>

namespace Baixador {
// Downloads the https address into the file; true when the whole body of a
// 200 answer was received and the file saved. Any other scheme, a
// certificate the system does not trust, a redirect to a weaker scheme, an
// HTTP error status, a body shorter than announced or a transfer that stalls
// for tempoMs gives false. User input is held back while it runs, as the
// window's hourglass says.
bool Baixa(const QString& endereco, const QString& arquivo, int tempoMs = 60000);

// Certificate authorities trusted besides the system's own (tests serve the
// download with a certificate of their own authority).
void ConfiaAutoridades(const QList<QSslCertificate>& autoridades);
}
