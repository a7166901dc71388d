#pragma once
// Thin wrapper over the SQLCipher C API: encrypted connections opened with a
// raw key derived once per run, prepared statements, the engine's failures
// raised as ErroExecucao with the program's error numbers, and the PTBR
// collation registered on every connection.
#include "platform/Erro.h"
#include <sqlcipher/sqlite3.h>
#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringView>
#include <QVariant>
#include <vector>

namespace SqlCipher {

// The password of the local database files.
inline constexpr char Senha[] = "wodrak";

// Milliseconds a statement waits for another connection's lock before the
// operation fails with 3260.
inline constexpr int EsperaBloqueio = 1000;
// The backup's copy waits longer for its read lock: it runs once, behind
// its own progress, and another program saving entry after entry may hold
// the file for a second at a time.
inline constexpr int EsperaCopia = 10000;

// Raises the engine's failure `rc` (extended code) on `db` as the program's
// error number, with the engine's text as the description.
[[noreturn]] void Falha(sqlite3* db, int rc);
// The program's error number for an extended result code and engine text.
long NumeroErro(int rc, const QString& textoMotor);

class Conexao {
public:
    // An existing database file, keyed with the program's raw key. Never
    // creates a file: a missing file is error 53, a file that cannot be read
    // with the key (wrong password, corrupt, not a database) error 3011, a
    // file locked by another connection for longer than `esperaMs` (which
    // every statement of the connection waits as well) error 3260.
    static Conexao Abre(const QString& caminho, int esperaMs = EsperaBloqueio);
    // A new encrypted file keyed with the password; refuses an existing
    // file (58). Only the schema builder uses this.
    static Conexao CriaArquivo(const QString& caminho);
    // A private in-memory database (not encrypted), with the collation.
    static Conexao Memoria();

    Conexao(Conexao&& outra) noexcept : db_(outra.db_) { outra.db_ = nullptr; }
    Conexao& operator=(Conexao&& outra) noexcept;
    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;
    ~Conexao();

    sqlite3* Db() const { return db_; }
    // Runs SQL without parameters and without results (one or more
    // statements); failures are raised.
    void Executa(const QString& sql) const;
    // First column of the first row of a statement without parameters;
    // null when it returns no row.
    QVariant Valor(const QString& sql) const;
    // Rolls back the open transaction, if any; never fails, as it runs
    // while another failure is being reported.
    void Desfaz() const noexcept;

private:
    explicit Conexao(sqlite3* db) : db_(db) {}
    sqlite3* db_ = nullptr;
};

// A prepared statement over one connection.
class Comando {
public:
    // Prepares exactly one statement: text after it is refused (3142), an
    // empty text too (3129).
    Comando(const Conexao& conexao, const QString& sql);
    Comando(const Comando&) = delete;
    Comando& operator=(const Comando&) = delete;
    ~Comando();

    int NumeroParametros() const;  // highest ?N of the statement
    bool SomenteLeitura() const;   // the statement does not write
    void LigaTexto(int indice, const QString& valor);  // indices from 1
    void LigaInteiro(int indice, qint64 valor);
    void LigaReal(int indice, double valor);

    // Steps once: true with a row ready, false when done.
    bool Passo();
    // Back to before the first step (bindings kept); a failed statement is
    // reset before its transaction is rolled back.
    void Reinicia();
    int Colunas() const;
    QString NomeColuna(int i) const;
    // The column of the current row: NULL is a null QVariant, INTEGER a
    // qlonglong, REAL a double, TEXT a QString, BLOB a QByteArray.
    QVariant Coluna(int i) const;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
    std::vector<QByteArray> textos_;  // the texts bound, one per parameter
    // Without state between calls: half a character pair at a text's end
    // gets the replacement character, as it does anywhere else, instead of
    // being held back for a next text and lost.
    QStringEncoder utf8_{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
};

// The first destino.size() bytes of the connection's main file, read
// through the connection's own descriptor: opening and closing another one
// on the file would drop every lock this process holds on it. SQLITE_OK,
// SQLITE_IOERR_SHORT_READ (the rest zero-filled) or another failure code.
int LeInicioArquivo(sqlite3* db, QByteArray& destino);

// A copy of the database file `origem` under the name `destino` (replaced
// whole or not at all, as Arquivos::Novo does), as the file stands at one
// instant: the copy is read while a read transaction holds the file's
// shared lock, which no connection of this or another program can write
// under, and a journal left by a write cut short has been rolled back by
// then. Byte for byte the file, so it opens with the program's password.
// A missing file is 53, a file locked by a writer for longer than
// EsperaCopia 3260, a file that is not the program's database 3011.
void CopiaConsistente(const QString& origem, const QString& destino);

// PBKDF2 key of a password and a file's salt, with the parameters of the
// linked SQLCipher's default settings. Results are cached by salt for the
// life of the program; ChavesDerivadas counts the derivations done.
QByteArray Chave(const QByteArray& sal);
int ChavesDerivadas();

// Registers the collation "PTBR" on a connection.
void RegistraColacao(sqlite3* db);

}  // namespace SqlCipher
