#include "platform/Arquivos.h"
#include "platform/Erro.h"
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

}  // namespace

Novo::Novo(const QString& caminho) : caminho_(caminho), arquivo_(std::make_unique<QSaveFile>(caminho)) {
    // Unbuffered: a full disk then shows at the write that meets it, with
    // its own error, not later as a failed flush.
    if (!arquivo_->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) falha();
}

Novo::~Novo() {
    if (arquivo_ && arquivo_->isOpen()) arquivo_->cancelWriting();
}

void Novo::falha() {
    const QFileDevice::FileError erro = arquivo_->error();
    const QString texto = caminho_ + QStringLiteral(": ") + arquivo_->errorString();
    if (arquivo_->isOpen()) arquivo_->cancelWriting();
    const QFileInfo info(caminho_);
    const QString pasta = info.absolutePath();
    long numero = 75;
    if (erro == QFileDevice::ResourceError) numero = 61;
    else if (!QFileInfo(pasta).isDir()) numero = 76;
    else if (Recusa_Escrita(pasta) || (info.exists() && Recusa_Escrita(caminho_))) numero = 70;
    throw ErroExecucao(numero, texto);
}

void Novo::Escreve(const char* dados, qint64 tamanho) {
    const qint64 inicio = escritos_;
    // A write that meets the end of the disk writes what fits; the next one
    // tells why it could not go on.
    while (tamanho > 0) {
        const qint64 escritos = arquivo_->write(dados, tamanho);
        if (escritos <= 0) falha();
        dados += escritos;
        tamanho -= escritos;
        escritos_ += escritos;
    }
    // The disk starts writing these bytes now, while the next ones are
    // read: the flush before the rename then waits for the last of them
    // only, not for the whole file. A hint: where it is refused, the flush
    // does all the work as before.
    if (const int fd = arquivo_->handle(); fd >= 0 && escritos_ > inicio)
        ::sync_file_range(fd, inicio, escritos_ - inicio, SYNC_FILE_RANGE_WRITE);
}

void Novo::Conclui() {
    if (!arquivo_->commit()) falha();
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
    if (::mkdir(QFile::encodeName(pasta).constData(), 0777) == 0) return;
    const int erro = errno;
    long numero = 75;
    switch (erro) {
    case ENOENT:
    case ENOTDIR: numero = 76; break;
    case EACCES:
    case EPERM:
    case EROFS: numero = 70; break;
    case ENOSPC:
    case EDQUOT: numero = 61; break;
    default: break;
    }
    throw ErroExecucao(numero, pasta + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(erro)));
}

}  // namespace Arquivos
