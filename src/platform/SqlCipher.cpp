#include "platform/SqlCipher.h"
#include "platform/Arquivos.h"
#include "platform/Colacao.h"
#include <QCollator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <map>
#include <mutex>
#include <openssl/evp.h>
#include <unistd.h>
#include <vector>

namespace SqlCipher {

// ---------------------------------------------------------------- errors

namespace {

// The table an engine message names, when it names one.
QString TabelaDaMensagem(const QString& texto) {
    static const QRegularExpression padroes[] = {
        QRegularExpression(QStringLiteral("constraint failed: (?:main\\.)?([A-Za-z_][A-Za-z0-9_]*)\\.")),
        QRegularExpression(QStringLiteral("no such table: (?:main\\.)?([A-Za-z_][A-Za-z0-9_]*)")),
        QRegularExpression(QStringLiteral("^table (?:main\\.)?([A-Za-z_][A-Za-z0-9_]*) (?:has no column|already exists)")),
    };
    for (const auto& re : padroes) {
        const auto m = re.match(texto);
        if (m.hasMatch()) return m.captured(1);
    }
    return {};
}

}  // namespace

long NumeroErro(int rc, const QString& texto) {
    switch (rc) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
        return 3022;
    case SQLITE_CONSTRAINT_NOTNULL:
        return 3315;
    case SQLITE_CONSTRAINT_FOREIGNKEY:
        return 3201;
    default:
        break;
    }
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
        return 3317;  // a validation rule (CHECK, trigger) refused the values
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return 3260;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH:
    case SQLITE_PERM:
        return 3011;
    case SQLITE_READONLY:
        return 3027;
    case SQLITE_FULL:
        return 61;
    case SQLITE_IOERR:
        return 3043;
    case SQLITE_NOMEM:
        return 7;
    case SQLITE_MISMATCH:
        return 3421;
    case SQLITE_TOOBIG:
        return 3163;
    case SQLITE_RANGE:
        return 3265;
    case SQLITE_ERROR:
        if (texto.startsWith(QLatin1String("no such table"))) return 3078;
        if (texto.startsWith(QLatin1String("no such column")) || texto.contains(QLatin1String("has no column named")))
            return 3265;
        if (texto.contains(QLatin1String("already exists"))) return 3010;
        if (texto.startsWith(QLatin1String("no such function"))) return 3085;
        return 3075;
    default:
        return 3011;
    }
}

void Falha(sqlite3* db, int rc) {
    QString texto = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    // The engine reports a journal it cannot create beside a file it did
    // open as "cannot open": to the user that file cannot be updated, which
    // is not the same as a file that cannot be opened at all.
    const auto diarioImpossivel = [&] {
        if (!db || (rc & 0xff) != SQLITE_CANTOPEN) return false;
        const char* nome = sqlite3_db_filename(db, "main");
        if (!nome || !*nome) return false;
        const QByteArray pasta = QFile::encodeName(QFileInfo(QFile::decodeName(nome)).absolutePath());
        return ::access(nome, R_OK) == 0 && ::access(pasta.constData(), W_OK) != 0;
    };
    const long numero = NumeroErro(diarioImpossivel() ? SQLITE_READONLY : rc, texto);
    // The error handler takes the table's name from between the first two
    // apostrophes of the description, so put it there first.
    const QString tabela = TabelaDaMensagem(texto);
    if (!tabela.isEmpty()) texto = QStringLiteral("Tabela '%1': %2").arg(tabela, texto);
    throw ErroExecucao(numero, texto);
}

// ------------------------------------------------------------------- key

namespace {

struct ParametrosKdf {
    const EVP_MD* algoritmo = nullptr;
    int iteracoes = 0;
};

QVariant ValorDe(sqlite3* db, const char* sql) {
    sqlite3_stmt* st = nullptr;
    QVariant v;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && st && sqlite3_step(st) == SQLITE_ROW)
        v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return v;
}

// The linked SQLCipher's default key derivation, read from the library
// itself so that the raw key always matches what the password would give:
// SQLCipher 3 derives with PBKDF2-HMAC-SHA1 (64,000 iterations), SQLCipher 4
// with PBKDF2-HMAC-SHA512 (256,000); both make a 32-byte key.
// Also refuses to run on an SQLite without the cipher, which would write
// the file in clear.
const ParametrosKdf& Kdf() {
    static std::mutex m;
    static ParametrosKdf p;
    std::lock_guard trava(m);
    if (p.algoritmo) return p;
    sqlite3* db = nullptr;
    sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const QString versao = ValorDe(db, "PRAGMA cipher_version").toString();
    const int iteracoes = ValorDe(db, "PRAGMA cipher_default_kdf_iter").toInt();
    const QString algoritmo = ValorDe(db, "PRAGMA cipher_default_kdf_algorithm").toString();
    sqlite3_close_v2(db);
    if (versao.isEmpty() || iteracoes <= 0)
        throw ErroExecucao(3011, QStringLiteral("O mecanismo de banco de dados não tem cifragem (cipher_version vazio)."));
    const EVP_MD* md = nullptr;
    if (algoritmo.isEmpty())
        md = versao.startsWith(QLatin1String("3.")) ? EVP_sha1() : EVP_sha512();
    else if (algoritmo.endsWith(QLatin1String("SHA1")))
        md = EVP_sha1();
    else if (algoritmo.endsWith(QLatin1String("SHA256")))
        md = EVP_sha256();
    else if (algoritmo.endsWith(QLatin1String("SHA512")))
        md = EVP_sha512();
    else
        throw ErroExecucao(3011, QStringLiteral("Derivação de chave desconhecida: ") + algoritmo);
    p.iteracoes = iteracoes;
    p.algoritmo = md;
    return p;
}

std::mutex g_mutexChaves;
std::map<QByteArray, QByteArray> g_chaves;
int g_derivadas = 0;

}  // namespace

QByteArray Chave(const QByteArray& sal) {
    const ParametrosKdf& kdf = Kdf();
    std::lock_guard trava(g_mutexChaves);
    auto it = g_chaves.find(sal);
    if (it != g_chaves.end()) return it->second;
    QByteArray chave(32, '\0');
    if (PKCS5_PBKDF2_HMAC(Senha, int(sizeof(Senha) - 1), reinterpret_cast<const unsigned char*>(sal.constData()),
                          int(sal.size()), kdf.iteracoes, kdf.algoritmo, int(chave.size()),
                          reinterpret_cast<unsigned char*>(chave.data())) != 1)
        throw ErroExecucao(3011, QStringLiteral("Falha ao derivar a chave do banco de dados."));
    ++g_derivadas;
    g_chaves.emplace(sal, chave);
    return chave;
}

int ChavesDerivadas() {
    std::lock_guard trava(g_mutexChaves);
    return g_derivadas;
}

// ------------------------------------------------------------ connection

namespace {

[[noreturn]] void FalhaEFecha(sqlite3* db, int rc) {
    try {
        Falha(db, rc);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
}

void Prepara(sqlite3* db) {
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, EsperaBloqueio);
    RegistraColacao(db);
}

// The connection's main file as the engine holds it open, read below the
// cipher; null when there is none to read.
sqlite3_file* ArquivoPrincipal(sqlite3* db) {
    sqlite3_file* arquivo = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &arquivo) != SQLITE_OK || !arquivo ||
        !arquivo->pMethods)
        return nullptr;
    return arquivo;
}

}  // namespace

Conexao& Conexao::operator=(Conexao&& outra) noexcept {
    if (this != &outra) {
        if (db_) sqlite3_close_v2(db_);
        db_ = outra.db_;
        outra.db_ = nullptr;
    }
    return *this;
}

Conexao::~Conexao() {
    if (db_) sqlite3_close_v2(db_);
}

int LeInicioArquivo(sqlite3* db, QByteArray& destino) {
    sqlite3_file* arquivo = ArquivoPrincipal(db);
    if (!arquivo) return SQLITE_IOERR;
    return arquivo->pMethods->xRead(arquivo, destino.data(), int(destino.size()), 0);
}

Conexao Conexao::Abre(const QString& caminho) {
    if (!QFileInfo::exists(caminho))
        throw ErroExecucao(53, QStringLiteral("Arquivo inexistente: ") + caminho);

    sqlite3* db = nullptr;
    const QByteArray nome = QFile::encodeName(caminho);
    // Never SQLITE_OPEN_CREATE: a file that vanished is an error, not a new
    // empty database.
    const int rc = sqlite3_open_v2(nome.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        if (!QFileInfo::exists(caminho)) {
            sqlite3_close_v2(db);
            throw ErroExecucao(53, QStringLiteral("Arquivo inexistente: ") + caminho);
        }
        FalhaEFecha(db, rc);
    }
    // The salt through the connection, which keeps a unit of work's write
    // lock on the file.
    QByteArray sal(16, '\0');
    const int lido = LeInicioArquivo(db, sal);
    if (lido != SQLITE_OK) {
        sqlite3_close_v2(db);
        throw ErroExecucao(3011, caminho + (lido == SQLITE_IOERR_SHORT_READ
                                                ? QStringLiteral(": arquivo vazio ou truncado, não é um banco de dados.")
                                                : QStringLiteral(": o arquivo não pode ser lido.")));
    }
    QByteArray chave;
    try {
        chave = Chave(sal);
    } catch (...) {
        sqlite3_close_v2(db);
        throw;
    }
    Prepara(db);
    const QByteArray chaveCrua = "x'" + chave.toHex() + "'";
    if (sqlite3_key(db, chaveCrua.constData(), int(chaveCrua.size())) != SQLITE_OK) FalhaEFecha(db, SQLITE_NOTADB);
    // The key is only checked when a page is read: read the schema now so
    // that a wrong key or a damaged file fails here, at the open.
    sqlite3_stmt* st = nullptr;
    int r = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &st, nullptr);
    if (r == SQLITE_OK) r = sqlite3_step(st);
    sqlite3_finalize(st);
    if (r != SQLITE_ROW) FalhaEFecha(db, r == SQLITE_OK ? SQLITE_NOTADB : sqlite3_extended_errcode(db));
    return Conexao(db);
}

Conexao Conexao::CriaArquivo(const QString& caminho) {
    if (QFileInfo::exists(caminho))
        throw ErroExecucao(58, QStringLiteral("O arquivo já existe: ") + caminho);
    Kdf();  // refuses an engine without the cipher before writing anything
    sqlite3* db = nullptr;
    const QByteArray nome = QFile::encodeName(caminho);
    const int rc = sqlite3_open_v2(nome.constData(), &db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) FalhaEFecha(db, rc);
    Prepara(db);
    if (sqlite3_key(db, Senha, int(sizeof(Senha) - 1)) != SQLITE_OK) FalhaEFecha(db, SQLITE_NOTADB);
    return Conexao(db);
}

Conexao Conexao::Memoria() {
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) FalhaEFecha(db, rc);
    Prepara(db);
    return Conexao(db);
}

void Conexao::Executa(const QString& sql) const {
    const QByteArray texto = sql.toUtf8();
    const int rc = sqlite3_exec(db_, texto.constData(), nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) Falha(db_, sqlite3_extended_errcode(db_));
}

QVariant Conexao::Valor(const QString& sql) const {
    Comando c(*this, sql);
    return c.Passo() ? c.Coluna(0) : QVariant();
}

void Conexao::Desfaz() const noexcept { sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr); }

// ------------------------------------------------------------------ copy

// Not the online backup interface: with this SQLCipher it decrypts and
// encrypts each 1 KB page again (over ten times the time of this copy),
// to end with the same bytes this gives.
void CopiaConsistente(const QString& origem, const QString& destino) {
    const Conexao fonte = Conexao::Abre(origem);
    // Inside a transaction the shared lock taken by the first read stays
    // until the transaction ends; a writer waits for it to go. True when
    // the file keeps its rollback journal.
    const auto le = [&] {
        fonte.Executa(QStringLiteral("BEGIN"));
        fonte.Valor(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        return fonte.Valor(QStringLiteral("PRAGMA journal_mode")).toString().compare(QLatin1String("delete"),
                                                                                    Qt::CaseInsensitive) == 0;
    };
    // Another program (a database browser) may have put the file in
    // write-ahead mode: committed transactions then live in the log beside
    // it, which a copy of the file alone would leave out. They go into the
    // file and the rollback journal comes back first; while another
    // connection keeps the log open that is refused (3260), and nothing is
    // copied.
    if (!le()) {
        fonte.Desfaz();  // the mode changes outside a transaction only
        fonte.Valor(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        fonte.Valor(QStringLiteral("PRAGMA journal_mode = DELETE"));
        if (!le())
            throw ErroExecucao(3260, origem + QStringLiteral(": aberto por outro programa no modo WAL; "
                                                             "a cópia ficaria sem as últimas gravações."));
    }
    // Through the connection's own descriptor: opening and closing another
    // one on the file would drop the lock (a POSIX lock belongs to the
    // process and the file, and goes with any descriptor's close).
    sqlite3* db = fonte.Db();
    sqlite3_file* arquivo = ArquivoPrincipal(db);
    if (!arquivo) Falha(db, SQLITE_IOERR);
    sqlite3_int64 tamanho = 0;
    if (const int rc = arquivo->pMethods->xFileSize(arquivo, &tamanho); rc != SQLITE_OK) Falha(db, rc);

    Arquivos::Novo copia(destino);
    QByteArray bloco(1 << 20, Qt::Uninitialized);
    for (sqlite3_int64 lido = 0; lido < tamanho;) {
        const int n = int(std::min<sqlite3_int64>(bloco.size(), tamanho - lido));
        if (const int rc = arquivo->pMethods->xRead(arquivo, bloco.data(), n, lido); rc != SQLITE_OK) Falha(db, rc);
        copia.Escreve(bloco.constData(), n);
        lido += n;
    }
    // Writers may go on while the copy reaches the disk.
    fonte.Desfaz();
    copia.Conclui();
}

// -------------------------------------------------------------- statement

Comando::Comando(const Conexao& conexao, const QString& sql) : db_(conexao.Db()) {
    const QByteArray texto = sql.toUtf8();
    const char* resto = nullptr;
    const int rc = sqlite3_prepare_v2(db_, texto.constData(), int(texto.size()), &stmt_, &resto);
    if (rc != SQLITE_OK) Falha(db_, rc);
    if (!stmt_) throw ErroExecucao(3129, QStringLiteral("Instrução SQL vazia."));
    // Only blanks, comments and semicolons may follow the statement.
    const char* fim = texto.constData() + texto.size();
    if (resto && resto < fim) {
        sqlite3_stmt* outro = nullptr;
        const int r2 = sqlite3_prepare_v2(db_, resto, int(fim - resto), &outro, nullptr);
        const bool haOutro = r2 != SQLITE_OK || outro != nullptr;
        sqlite3_finalize(outro);
        if (haOutro) {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw ErroExecucao(3142, QStringLiteral("Caracteres encontrados após o fim da instrução SQL: ") +
                                         QString::fromUtf8(resto, int(fim - resto)).trimmed());
        }
    }
}

Comando::~Comando() { sqlite3_finalize(stmt_); }

int Comando::NumeroParametros() const { return sqlite3_bind_parameter_count(stmt_); }
bool Comando::SomenteLeitura() const { return sqlite3_stmt_readonly(stmt_) != 0; }

void Comando::LigaTexto(int indice, const QString& valor) {
    // Encoded into the parameter's own buffer, which stays as it is until
    // the parameter is bound again: no copy per call, for a statement bound
    // thousands of times.
    if (indice < 1) Falha(db_, SQLITE_RANGE);
    if (textos_.size() < size_t(indice)) textos_.resize(size_t(indice));
    QByteArray& t = textos_[size_t(indice) - 1];
    t.resize(valor.size() * 3);
    char* fim = utf8_.appendToBuffer(t.data(), valor);
    // An empty text is a text, never NULL: its pointer is never null.
    const int rc = sqlite3_bind_text(stmt_, indice, fim == t.constData() ? "" : t.constData(), int(fim - t.constData()),
                                     SQLITE_STATIC);
    if (rc != SQLITE_OK) Falha(db_, rc);
}

void Comando::LigaInteiro(int indice, qint64 valor) {
    const int rc = sqlite3_bind_int64(stmt_, indice, valor);
    if (rc != SQLITE_OK) Falha(db_, rc);
}

void Comando::LigaReal(int indice, double valor) {
    const int rc = sqlite3_bind_double(stmt_, indice, valor);
    if (rc != SQLITE_OK) Falha(db_, rc);
}

bool Comando::Passo() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    Falha(db_, rc);
}

void Comando::Reinicia() { sqlite3_reset(stmt_); }

int Comando::Colunas() const { return sqlite3_column_count(stmt_); }

QString Comando::NomeColuna(int i) const { return QString::fromUtf8(sqlite3_column_name(stmt_, i)); }

QVariant Comando::Coluna(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, i));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i)),
                                          sqlite3_column_bytes(stmt_, i)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt_, i)),
                                   sqlite3_column_bytes(stmt_, i)));
    default:
        return QVariant();
    }
}

// -------------------------------------------------------------- collation

namespace {

int ColacaoSqlite(void*, int na, const void* a, int nb, const void* b) {
    return Compara_PTBR_Utf8(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}

}  // namespace

void RegistraColacao(sqlite3* db) {
    sqlite3_create_collation_v2(db, "PTBR", SQLITE_UTF8, nullptr, ColacaoSqlite, nullptr);
}

}  // namespace SqlCipher
