#include "support/DiscoCheio.h"
#include <QDir>
#include <QFile>
#include <QtGlobal>
#include <csignal>
#include <sched.h>
#include <sys/mount.h>

namespace {
// Puts the test's thread, once, in a mount namespace of its own whose
// mounts reach no one else. False where the test may not.
bool Namespace_Proprio() {
    static const bool ok =
        unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return ok;
}

bool Monta(const QString& pasta, const QByteArray& opcoes, unsigned long flags = 0) {
    return mount("tmpfs", QFile::encodeName(pasta).constData(), "tmpfs", MS_NOSUID | MS_NODEV | flags,
                 opcoes.constData()) == 0;
}
}  // namespace

Disco_Cheio::Disco_Cheio(qint64 bytes, Meio meio) : pasta_(dir_.path() + QStringLiteral("/disco")) {
    QDir().mkpath(pasta_);
    const QByteArray tamanho = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (meio == Meio::Tmpfs && Namespace_Proprio() && Monta(pasta_, tamanho)) {
        usado_ = Meio::Tmpfs;
        qInfo("disco cheio: um tmpfs de %lld bytes", bytes);
        return;
    }
    usado_ = Meio::Limite;
    getrlimit(RLIMIT_FSIZE, &antes_);
    rlimit r = antes_;
    r.rlim_cur = rlim_t(bytes);
    // Past the limit a write fails instead of ending the process.
    sinalAntes_ = signal(SIGXFSZ, SIG_IGN);
    preso_ = setrlimit(RLIMIT_FSIZE, &r) == 0;
    if (!preso_) qFatal("não foi possível limitar o tamanho dos arquivos");
    qInfo("disco cheio: o limite de %lld bytes por arquivo", bytes);
}

void Disco_Cheio::Libera() {
    if (usado_ == Meio::Tmpfs) {
        if (!Monta(pasta_, "size=64m", MS_REMOUNT)) qFatal("o tmpfs não cresceu");
        return;
    }
    if (preso_) setrlimit(RLIMIT_FSIZE, &antes_);
    preso_ = false;
}

Disco_Cheio::~Disco_Cheio() {
    if (usado_ == Meio::Tmpfs) {
        umount2(QFile::encodeName(pasta_).constData(), MNT_DETACH);
        return;
    }
    Libera();
    signal(SIGXFSZ, sinalAntes_);
}
