#include "platform/Arquivos.h"
#include "platform/Erro.h"
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Arquivos {

namespace {

constexpr qint64 kBloco = 1 << 20;

bool Recusa_Escrita(const QString& caminho) {
    return ::access(QFile::encodeName(caminho).constData(), W_OK) != 0;
}

const char Letras[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

QByteArray Nome_Temporario(const QByteArray& pasta) {
    QByteArray nome = pasta + "/.tesouraria-";
    for (int i = 0; i < 6; ++i) nome += Letras[QRandomGenerator::global()->bounded(int(sizeof Letras - 1))];
    return nome;
}

// A new file gets the permissions any new file gets in its folder (the
// umask applies); one that replaces another is kept from other users until
// it takes the old one's permissions.
mode_t Modo_Inicial(bool substitui) { return substitui ? 0600 : 0666; }

// A file without a name in the folder: a program stopped before it is
// named leaves nothing behind. -1 with errno where it cannot be made.
int Cria_Sem_Nome(const QByteArray& pasta, bool substitui) {
    return ::open(pasta.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, Modo_Inicial(substitui));
}

// How a file without a name is refused: by a file system without the
// support (some network and FUSE ones), by a kernel older than the flag
// (which reads it as O_DIRECTORY), or as a flag not understood.
bool Sem_Nome_Recusado(int erro) { return erro == EOPNOTSUPP || erro == EISDIR || erro == EINVAL; }

QByteArray Pelo_Proc(int fd) { return "/proc/self/fd/" + QByteArray::number(fd); }

// Whether the file without a name can be given one: any user may link it
// through /proc. Without /proc only a process with CAP_DAC_READ_SEARCH may
// link the descriptor itself, and which one has it cannot be told for sure
// (inside a user namespace the capability shows, but does not count): the
// file then gets a name of its own from the start.
bool Nomeavel(int fd) {
    struct stat st;
    return ::lstat(Pelo_Proc(fd).constData(), &st) == 0;
}

// A hidden name of its own in the folder, tried until `toma` finds one
// free: `toma(candidato)` gives 0, EEXIST for a name taken, or another
// error. 0 (with `nome`), or the error.
template <class Toma>
int Nome_Livre(const QByteArray& pasta, QByteArray& nome, Toma toma) {
    for (int tentativa = 0; tentativa < 100; ++tentativa) {
        const QByteArray candidato = Nome_Temporario(pasta);
        const int erro = toma(candidato);
        if (erro == 0) nome = candidato;
        if (erro != EEXIST) return erro;
    }
    return EEXIST;
}

// A file under a hidden name of its own, created by this call alone; 0, or
// the error.
int Cria_Temporario(const QByteArray& pasta, QByteArray& nome, bool substitui, int& fd) {
    return Nome_Livre(pasta, nome, [&](const QByteArray& candidato) {
        fd = ::open(candidato.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, Modo_Inicial(substitui));
        return fd >= 0 ? 0 : errno;
    });
}

// The file without a name takes the name `nome`, through /proc; 0, or the
// error.
int Liga(int fd, const QByteArray& nome) {
    if (::linkat(AT_FDCWD, Pelo_Proc(fd).constData(), AT_FDCWD, nome.constData(), AT_SYMLINK_FOLLOW) == 0) return 0;
    return errno;
}

// The file without a name takes a hidden name of its own; 0, or the
// error.
int Da_Nome(int fd, const QByteArray& pasta, QByteArray& nome) {
    return Nome_Livre(pasta, nome, [fd](const QByteArray& candidato) { return Liga(fd, candidato); });
}

// The program's error number of a failure to make or open a folder.
long Numero_Pasta(int erro) {
    switch (erro) {
    case ENOENT:
    case ENOTDIR: return 76;
    case EACCES:
    case EPERM:
    case EROFS: return 70;
    case ENOSPC:
    case EDQUOT: return 61;
    default: return 75;
    }
}

}  // namespace

// A folder opened before anything in it changes, so that a failure to
// open it fails the change before it happens. One that this user may
// write into but not read cannot be opened for its flush, nor flushed by
// anyone but its owner: it is left to the file system, as one that says
// it cannot flush a folder (EINVAL).
int Pasta_No_Disco::Abre(const QByteArray& pasta) {
    fd_ = ::open(pasta.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0 || errno == EACCES) return 0;
    return errno;
}

Pasta_No_Disco::~Pasta_No_Disco() {
    if (fd_ >= 0) ::close(fd_);
}

int Pasta_No_Disco::Sincroniza() {
    if (fd_ < 0) return 0;
    const int erro = ::fsync(fd_) == 0 ? 0 : errno;
    return erro == EINVAL ? 0 : erro;
}

ErroAposGravar::ErroAposGravar(const QString& caminho, int erro)
    : ErroExecucao(57, caminho + QStringLiteral(": gravado no lugar, mas o disco acusou erro ao registrá-lo na pasta (") +
                           QString::fromLocal8Bit(strerror(erro)) +
                           QStringLiteral("); confira o disco: uma queda de energia pode desfazer a gravação.")) {}

Novo::Novo(const QString& caminho) : caminho_(caminho) {
    // A link is followed: the file it names is the one replaced.
    QFileInfo info(caminho);
    for (int n = 0; n < 128 && info.isSymLink(); ++n) info.setFile(info.symLinkTarget());
    final_ = QFile::encodeName(info.isSymLink() ? caminho : info.filePath());
    struct stat st;
    if (::stat(final_.constData(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) falha(EISDIR);
        if (::access(final_.constData(), W_OK) != 0) falha(errno);
        existia_ = true;
        modo_ = st.st_mode & 07777;
    }
    pasta_ = QFile::encodeName(info.absolutePath());
    if (const int erro = pastaNoDisco_.Abre(pasta_); erro != 0) falha(erro);
    fd_ = Cria_Sem_Nome(pasta_, existia_);
    const int erroSemNome = fd_ < 0 ? errno : 0;
    if (fd_ >= 0 && Nomeavel(fd_)) {
        semNome_ = true;
        return;
    }
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    } else if (!Sem_Nome_Recusado(erroSemNome)) {
        falha(erroSemNome);
    }
    if (const int erro = Cria_Temporario(pasta_, temporario_, existia_, fd_); erro != 0) falha(erro);
}

Novo::~Novo() {
    if (fd_ >= 0) ::close(fd_);
    if (!temporario_.isEmpty()) ::unlink(temporario_.constData());
}

void Novo::falha(int erro) {
    const QString texto = caminho_ + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(erro));
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporario_.isEmpty()) ::unlink(temporario_.constData());
    temporario_.clear();
    const QFileInfo info(caminho_);
    const QString pasta = info.absolutePath();
    long numero = 75;
    if (erro == ENOSPC || erro == EDQUOT) numero = 61;
    else if (!QFileInfo(pasta).isDir()) numero = 76;
    else if (Recusa_Escrita(pasta) || (info.exists() && Recusa_Escrita(caminho_))) numero = 70;
    throw ErroExecucao(numero, texto);
}

void Novo::Escreve(const char* dados, qint64 tamanho) {
    if (fd_ < 0) falha(EBADF);
    const qint64 inicio = escritos_;
    // A write that meets the end of the disk writes what fits; the next one
    // tells why it could not go on.
    while (tamanho > 0) {
        const ssize_t escritos = ::write(fd_, dados, size_t(std::min<qint64>(tamanho, kBloco)));
        if (escritos < 0 && errno == EINTR) continue;
        if (escritos <= 0) falha(escritos < 0 ? errno : ENOSPC);
        dados += escritos;
        tamanho -= escritos;
        escritos_ += escritos;
    }
    // The disk starts writing these bytes now, while the next ones are
    // read: the flush before the rename then waits for the last of them
    // only, not for the whole file. A hint: where it is refused, the flush
    // does all the work as before.
    if (escritos_ > inicio) ::sync_file_range(fd_, inicio, escritos_ - inicio, SYNC_FILE_RANGE_WRITE);
}

void Novo::Conclui() {
    if (fd_ < 0) falha(EBADF);
    if (existia_ && ::fchmod(fd_, mode_t(modo_)) != 0) falha(errno);
    if (::fdatasync(fd_) != 0) falha(errno);
    // Named only now, when it is whole on the disk. A file that replaces
    // none takes its final name at once, and nothing is ever beside it; one
    // that replaces another (or one that came meanwhile) takes a hidden
    // name of its own, which lives until the rename a few system calls
    // later.
    bool nomeado = false;
    if (semNome_) {
        if (!existia_) {
            const int erro = Liga(fd_, final_);
            if (erro != 0 && erro != EEXIST) falha(erro);
            if (erro == 0) {
                temporario_ = final_;  // until the close tells it is whole
                nomeado = true;
            }
        }
        if (!nomeado) {
            if (const int erro = Da_Nome(fd_, pasta_, temporario_); erro != 0) falha(erro);
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) falha(errno);
    if (!nomeado && ::rename(temporario_.constData(), final_.constData()) != 0) falha(errno);
    temporario_.clear();
    // The new name lives in the folder: until the folder is on the disk a
    // power cut can bring back the old file, or leave none.
    if (const int erro = pastaNoDisco_.Sincroniza(); erro != 0) throw ErroAposGravar(caminho_, erro);
}

void Grava(const QString& caminho, const QByteArray& conteudo) {
    Novo novo(caminho);
    novo.Escreve(conteudo);
    novo.Conclui();
}

void Copia(const QString& origem, const QString& destino) {
    QFile fonte(origem);
    if (!QFileInfo(origem).isFile())
        throw ErroExecucao(53, QStringLiteral("Arquivo inexistente: ") + origem);
    if (!fonte.open(QIODevice::ReadOnly))
        throw ErroExecucao(70, origem + QStringLiteral(": ") + fonte.errorString());
    Novo novo(destino);
    QByteArray bloco(kBloco, Qt::Uninitialized);
    for (;;) {
        const qint64 lidos = fonte.read(bloco.data(), bloco.size());
        if (lidos < 0) throw ErroExecucao(57, origem + QStringLiteral(": ") + fonte.errorString());
        if (lidos == 0) break;
        novo.Escreve(bloco.constData(), lidos);
    }
    novo.Conclui();
}

void Cria_Pasta(const QString& pasta) {
    const auto falha = [&pasta](int erro) {
        throw ErroExecucao(Numero_Pasta(erro), pasta + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(erro)));
    };
    // The new folder is a name in the one that holds it, lost in a power
    // cut with everything flushed into it until that one is on the disk.
    Pasta_No_Disco mae;
    if (const int erro = mae.Abre(QFile::encodeName(QFileInfo(pasta).absolutePath())); erro != 0) falha(erro);
    if (::mkdir(QFile::encodeName(pasta).constData(), 0777) != 0) falha(errno);
    if (const int erro = mae.Sincroniza(); erro != 0) throw ErroAposGravar(pasta, erro);
}

}  // namespace Arquivos
