#pragma once
// Files written whole or not at all: the bytes go into a new file without
// a name in the old one's folder, which is flushed to the disk and only
// then named: the file's own name where there was none, or a hidden name
// of its own that is renamed over the old file at once; the folder is
// then flushed too, so that a power cut cannot bring the old file back.
// Where the folder's file system cannot make a file without a name, or the
// file could not be named (no /proc), the new file has the hidden name
// from the start, and a program stopped half way leaves it behind. That
// name is short, whatever the length of the old one's: a name of the
// longest length a folder allows leaves no room for a suffix.
//
// What a failure leaves:
// - Any failure raised as ErroExecucao (a full disk, a folder that refuses
//   writing or cannot be opened for its flush, no descriptor left, the
//   program stopped half way) leaves the old file byte for byte as it was,
//   no half file under its name and none beside it.
// - ErroAposGravar alone comes after the new file took the name: it is
//   whole in its place, but the disk failed to flush the folder (an I/O
//   error), so a power cut may still bring back the old file or leave
//   none.
// A folder this user may write into but not read cannot be flushed by
// this user (nor by anyone but its owner): the new file takes its name
// there without that flush, as on a file system that cannot flush
// folders.
//
// Failures are raised with the program's error numbers: a source file that
// does not exist 53, a folder that does not exist 76, a folder or file that
// refuses writing 70, a full disk 61, a read that fails 57, the folder's
// flush after the new file took its name 57 (ErroAposGravar), a folder to
// be made that exists already 75, as any other failure.
#include "platform/Erro.h"
#include <QByteArray>
#include <QString>

namespace Arquivos {

// The new file (or folder) is in place, but the disk failed to flush the
// folder that names it.
class ErroAposGravar : public ErroExecucao {
public:
    ErroAposGravar(const QString& caminho, int erro);
};

// A folder held open for the flush of its entries; see Abre.
class Pasta_No_Disco {
public:
    Pasta_No_Disco() = default;
    ~Pasta_No_Disco();
    Pasta_No_Disco(const Pasta_No_Disco&) = delete;
    Pasta_No_Disco& operator=(const Pasta_No_Disco&) = delete;
    // 0, or the error that opening it met; a folder this user may not read
    // is no error, and is then never flushed.
    int Abre(const QByteArray& pasta);
    // 0, or the flush's error.
    int Sincroniza();

private:
    int fd_ = -1;
};

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
    // Flushed to the disk and renamed over the old file, then the folder
    // flushed (ErroAposGravar when that fails).
    void Conclui();

private:
    [[noreturn]] void falha(int erro);
    QString caminho_;
    QByteArray final_;        // the file replaced: a link's target
    QByteArray pasta_;        // the folder the new file is named in
    Pasta_No_Disco pastaNoDisco_;
    bool semNome_ = false;    // made without a name
    QByteArray temporario_;   // its name until it takes the final one
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
// A new folder, the folder that holds it flushed then (ErroAposGravar when
// that fails); one that exists already is an error.
void Cria_Pasta(const QString& pasta);

}  // namespace Arquivos
