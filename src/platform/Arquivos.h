#pragma once
// Files written whole or not at all: the bytes go into a new file beside
// the old one, which is flushed to the disk and only then renamed over it,
// so a failure (a full disk, a folder that refuses writing, the program
// stopped half way) leaves the old file byte for byte as it was and no half
// file under its name. The new file's name is short and hidden, whatever
// the length of the old one's: a name of the longest length a folder
// allows leaves no room for a suffix.
//
// Failures are raised with the program's error numbers: a source file that
// does not exist 53, a folder that does not exist 76, a folder or file that
// refuses writing 70, a full disk 61, a read that fails 57, a folder to
// be made that exists already 75, as any other failure.
#include <QByteArray>
#include <QString>

namespace Arquivos {

// One file being written anew. Destroyed before Conclui, it is discarded
// and the old file stays.
class Novo {
public:
    explicit Novo(const QString& caminho);
    ~Novo();
    Novo(const Novo&) = delete;
    Novo& operator=(const Novo&) = delete;

    void Escreve(const char* dados, qint64 tamanho);
    void Escreve(const QByteArray& dados) { Escreve(dados.constData(), dados.size()); }
    // Flushed to the disk and renamed over the old file.
    void Conclui();

private:
    [[noreturn]] void falha(int erro);
    QString caminho_;
    QByteArray final_;        // the file replaced: a link's target
    QByteArray temporario_;   // the new file until it takes the final name
    int fd_ = -1;
    bool existia_ = false;    // the old file's permissions go to the new one
    unsigned modo_ = 0;
    qint64 escritos_ = 0;
};

// The whole file anew with these bytes.
void Grava(const QString& caminho, const QByteArray& conteudo);
// A copy of `origem` under the name `destino`, replacing a file of that
// name the same way.
void Copia(const QString& origem, const QString& destino);
// A new folder; one that exists already is an error.
void Cria_Pasta(const QString& pasta);

}  // namespace Arquivos
