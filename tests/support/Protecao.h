#pragma once
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

// Makes a file or folder unwritable for as long as it lives. Tests run as
// root, whom permission bits do not stop, so the immutable attribute is the
// first choice; permission bits serve where it is refused (another user, a
// filesystem without it). Protegido() says whether the path really refuses
// writes.
class Protecao {
public:
    explicit Protecao(const QString& caminho) : caminho_(caminho) {
        if (!MudaImutavel(true)) {
            permissoes_ = QFile::permissions(caminho_);
            QFile::setPermissions(caminho_, permissoes_ & ~(QFile::WriteOwner | QFile::WriteUser |
                                                            QFile::WriteGroup | QFile::WriteOther));
            porPermissao_ = true;
        }
    }
    ~Protecao() {
        if (porPermissao_)
            QFile::setPermissions(caminho_, permissoes_);
        else
            MudaImutavel(false);
    }
    bool Protegido() const {
        if (!QFileInfo(caminho_).isDir()) return !QFile(caminho_).open(QIODevice::ReadWrite | QIODevice::ExistingOnly);
        QFile teste(caminho_ + QStringLiteral("/.teste-escrita"));
        if (!teste.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return true;
        teste.remove();
        return false;
    }

private:
    bool MudaImutavel(bool liga) const {
        const QByteArray nome = QFile::encodeName(caminho_);
        const int fd = ::open(nome.constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = liga ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    QString caminho_;
    QFile::Permissions permissoes_;
    bool porPermissao_ = false;
};
