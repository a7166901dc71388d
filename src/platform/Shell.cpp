#include "Shell.h"
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {
std::function<bool(const QString&)>& acao() {
    static std::function<bool(const QString&)> a;
    return a;
}

QUrl endereco(const QString& alvo) {
    // A path on this machine opens as a file; anything with a scheme as a link.
    const QUrl url(alvo);
    if (url.isValid() && url.scheme().size() > 1) return url;
    return QUrl::fromLocalFile(QFileInfo(alvo).absoluteFilePath());
}
}  // namespace

bool Shell::Abre(const QString& alvo) {
    if (acao()) return acao()(alvo);
    return QDesktopServices::openUrl(endereco(alvo));
}

void Shell::DefineAcao(std::function<bool(const QString&)> a) { acao() = std::move(a); }
