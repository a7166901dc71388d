#include "common/Central.h"
#include "common/Erros.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Rede.h"
#include "platform/Shell.h"
#include "platform/Tela.h"
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QStringEncoder>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QScopeGuard>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>
#include <sql.h>
#include <sqlext.h>

std::unique_ptr<ConexaoCentral> Banco_Central;

namespace {
const QString NomeDriver = QStringLiteral("MySQL ODBC 5.1 Driver");

QString& textoTeste() {
    static QString t;
    return t;
}

// The connection string names its driver "MySQL ODBC 5.1 Driver"; on this
// system that is MariaDB's ODBC driver, registered under that name in an
// odbcinst.ini of our own. When neither the environment nor the system
// says where the drivers are registered, the copy beside the program is used.
void Localiza_Driver() {
    if (qEnvironmentVariableIsSet("ODBCSYSINI")) return;
    QFile sistema(QStringLiteral("/etc/odbcinst.ini"));
    if (sistema.open(QIODevice::ReadOnly) && sistema.readAll().contains(("[" + NomeDriver + "]").toUtf8())) return;
    if (QFileInfo::exists(App::Path() + QStringLiteral("/odbcinst.ini")))
        qputenv("ODBCSYSINI", QFile::encodeName(App::Path()));
}

// Qt 6.4's ODBC driver fails to parse a connection string that ends in ";".
// MariaDB's driver ignores the login-timeout attribute, so its own
// CONN_TIMEOUT bounds the connect and the server's greeting: a silent server
// would otherwise hold the program for minutes.
QString Texto_Para_Driver(QString texto) {
    while (texto.endsWith(QLatin1Char(';'))) texto.chop(1);
    return texto + QStringLiteral(";CONN_TIMEOUT=") + QString::number(Central::TempoConexao);
}

QString Texto(const QSqlError& e) {
    const QString t = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return t.isNull() ? QStringLiteral("") : t;
}

// A bound statement the server refuses with a data error (a number that is
// not one, a text too long) is reported by the driver as a success that
// changed nothing; ask the server.
void Confere_Recusa(const QString& conexao) {
    QSqlQuery e(QSqlDatabase::database(conexao, false));
    if (e.exec(QStringLiteral("SHOW ERRORS")) && e.next()) Levanta_Erro(3146, e.value(2).toString());
}

// The driver's messages about a handle, as Qt reports them.
QString Diagnostico(SQLSMALLINT tipo, SQLHANDLE h) {
    QStringList partes;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR estado[SQL_SQLSTATE_SIZE + 1];
        SQLWCHAR texto[SQL_MAX_MESSAGE_LENGTH];
        SQLINTEGER nativo = 0;
        SQLSMALLINT tamanho = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(tipo, h, i, estado, &nativo, texto, SQL_MAX_MESSAGE_LENGTH, &tamanho))) break;
        partes << QString::fromUtf16(reinterpret_cast<const char16_t*>(texto),
                                     std::clamp<qsizetype>(tamanho, 0, SQL_MAX_MESSAGE_LENGTH - 1));
    }
    return partes.join(QLatin1Char(' '));
}

// The ODBC handle under the Qt connection: statements run on it share the
// connection's transaction.
SQLHDBC Handle_Conexao(const QString& nome) {
    const QSqlDatabase db = QSqlDatabase::database(nome, false);
    const QVariant h = db.isOpen() ? db.driver()->handle() : QVariant();
    if (!h.isValid() || h.metaType().sizeOf() != int(sizeof(SQLHDBC))) return nullptr;
    return *static_cast<const SQLHDBC*>(h.constData());
}

// The rows of an executed statement, its cursor closed afterwards.
RecordsetPtr Le_Linhas(SQLHSTMT stmt);

QString Texto_Da_Conexao() {
    Localiza_Driver();
    return textoTeste().isEmpty() ? Central::Texto_Conexao(Param[11]) : textoTeste();
}
std::optional<QString> Le_Versao() {
    try {
        if (!Testa_Conexao(Param[11], QStringLiteral("N"))) return std::nullopt;
        const RecordsetPtr rs = Abre_Recordset_Central(QStringLiteral("Select versao from vws_versao"));
        if (!rs) return std::nullopt;
        if (rs->Eof()) return App::Versao();
        return rs->Texto(QStringLiteral("versao"));
    } catch (...) {
        // The version check must never stop the login or the About box.
        return std::nullopt;
    }
}
}  // namespace

QString Central::Texto_Conexao(const QString& servidor) {
    return QStringLiteral("Driver={") + NomeDriver + QStringLiteral("};Server=") + servidor + QStringLiteral(";User=") +
           Conta + QStringLiteral(";Password=") + Senha + QStringLiteral(";Database=") + Base +
           QStringLiteral(";Port=") + QString::number(Porta) + QStringLiteral(";Option=3;");
}

void Central::DefineTextoConexao(const QString& texto) { textoTeste() = texto; }

bool Conectado_Internet() { return Rede::ConectadoInternet(); }

void Avisa_Sem_Internet() {
    MsgBox(QStringLiteral("Não há Conexão com a Internet!\rExamine e tente novamente."),
           vbExclamation, Titulo_Atencao());
}

void Avisa_Sem_Alcance() {
    MsgBox(QStringLiteral("Sua Conexão não alcança a base Vendral!\rExamine e tente novamente."),
           vbExclamation, Titulo_Atencao());
}

bool Testa_Conexao(const QString& servidor, const QString& mostra) {
    const bool mensagens = mostra == QLatin1String("S");
    bool resultado = false;
    bool online = false;
    if (!Tenta([&] { online = Conectado_Internet(); })) return resultado;
    if (!online) {
        if (mensagens) Avisa_Sem_Internet();
        return false;
    }
    // Any answer counts, a refused connection too; only silence does not.
    if (!Tenta([&] { resultado = Rede::Responde(servidor, Central::Porta); })) return resultado;
    if (!resultado && mensagens) Avisa_Sem_Alcance();
    return resultado;
}

ConexaoCentral::ConexaoCentral(bool somenteLeitura) {
    static int serie = 0;
    nome_ = QStringLiteral("central-%1").arg(++serie);
    QString erro;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), nome_);
        db.setDatabaseName(Texto_Para_Driver(Texto_Da_Conexao()));
        QString opcoes = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(Central::TempoConexao);
        if (somenteLeitura) opcoes += QStringLiteral(";SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY");
        db.setConnectOptions(opcoes);
        if (!db.open()) erro = Texto(db.lastError());
    }
    if (!erro.isNull()) {
        QSqlDatabase::removeDatabase(nome_);
        Levanta_Erro(3151, erro);
    }
}

ConexaoCentral::~ConexaoCentral() {
    // The driver refuses to disconnect in the middle of a transaction.
    if (emTransacao_) Rollback();
    QSqlDatabase::database(nome_, false).close();
    QSqlDatabase::removeDatabase(nome_);
}

QSqlQuery ConexaoCentral::NovaConsulta() const {
    QSqlQuery q(QSqlDatabase::database(nome_, false));
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);  // money stays exact, as text
    return q;
}

void ConexaoCentral::Executa(const QString& sql, const QVariantList& valores) {
    if (!valores.isEmpty()) {
        ComandoCentral(*this, sql).Executa(valores);
        return;
    }
    QSqlQuery q = NovaConsulta();
    if (!q.exec(sql)) Levanta_Erro(3146, Texto(q.lastError()));
}

RecordsetPtr ConexaoCentral::AbreSnapshot(const QString& sql, const QVariantList& valores) {
    if (!valores.isEmpty()) return ComandoCentral(*this, sql).AbreSnapshot(valores);
    const SQLHDBC dbc = Handle_Conexao(nome_);
    if (!dbc) Levanta_Erro(3146, QStringLiteral("Connection not open"));
    SQLHSTMT stmt = nullptr;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt))) Levanta_Erro(3146, Diagnostico(SQL_HANDLE_DBC, dbc));
    const auto libera = qScopeGuard([&] { SQLFreeHandle(SQL_HANDLE_STMT, stmt); });
    std::u16string texto = sql.toStdU16String();
    const SQLRETURN r = SQLExecDirectW(stmt, reinterpret_cast<SQLWCHAR*>(texto.data()), SQLINTEGER(texto.size()));
    if (!SQL_SUCCEEDED(r) && r != SQL_NO_DATA) Levanta_Erro(3146, Diagnostico(SQL_HANDLE_STMT, stmt));
    return Le_Linhas(stmt);
}

void ConexaoCentral::Begin() {
    QSqlDatabase db = QSqlDatabase::database(nome_, false);
    if (!db.transaction()) Levanta_Erro(3146, Texto(db.lastError()));
    emTransacao_ = true;
}

void ConexaoCentral::Commit() {
    QSqlDatabase db = QSqlDatabase::database(nome_, false);
    // Still open after a failed commit: the destructor or the holder's
    // Rollback ends it.
    if (!db.commit()) Levanta_Erro(3146, Texto(db.lastError()));
    emTransacao_ = false;
}

void ConexaoCentral::Rollback() noexcept {
    emTransacao_ = false;
    QSqlDatabase::database(nome_, false).rollback();
}

// A result read straight from the driver into a snapshot, each value of
// the type Qt's ODBC driver gives it (and so the type every reader of a
// central recordset expects): whole numbers as int or qlonglong (unsigned
// ones as uint or qulonglong), exact and real numbers as their text
// (money stays exact), dates, times and moments as QDate, QTime and
// QDateTime, texts as QString, bytes as QByteArray; a NULL is a null of
// the type Qt's ODBC driver gives it (an int for a whole number, a
// qlonglong for a big one, none for a text or an amount). Qt's own reading
// costs a field description per value.
namespace {
struct ColunaLida {
    QString nome;
    QMetaType tipo;
    SQLULEN tamanho = 0;
};

QMetaType Tipo_Da_Coluna(SQLSMALLINT tipoSql, bool comSinal) {
    switch (tipoSql) {
    case SQL_DECIMAL:
    case SQL_NUMERIC:
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return QMetaType::fromType<double>();
    case SQL_SMALLINT:
    case SQL_INTEGER:
    case SQL_BIT:
        return comSinal ? QMetaType::fromType<int>() : QMetaType::fromType<uint>();
    case SQL_TINYINT:
        return QMetaType::fromType<uint>();
    case SQL_BIGINT:
        return comSinal ? QMetaType::fromType<qlonglong>() : QMetaType::fromType<qulonglong>();
    case SQL_BINARY:
    case SQL_VARBINARY:
    case SQL_LONGVARBINARY:
        return QMetaType::fromType<QByteArray>();
    case SQL_DATE:
    case SQL_TYPE_DATE:
        return QMetaType::fromType<QDate>();
    case SQL_TIME:
    case SQL_TYPE_TIME:
        return QMetaType::fromType<QTime>();
    case SQL_TIMESTAMP:
    case SQL_TYPE_TIMESTAMP:
        return QMetaType::fromType<QDateTime>();
    case SQL_WCHAR:
    case SQL_WVARCHAR:
    case SQL_WLONGVARCHAR:
    case SQL_CHAR:
    case SQL_VARCHAR:
    case SQL_LONGVARCHAR:
    case SQL_GUID:
        return QMetaType::fromType<QString>();
    default:
        return QMetaType::fromType<QByteArray>();
    }
}

class Leitor {
public:
    explicit Leitor(SQLHSTMT stmt) : stmt_(stmt) {}

    [[noreturn]] void Falha() const { Levanta_Erro(3146, Diagnostico(SQL_HANDLE_STMT, stmt_)); }

    template <class T>
    bool Fixo(SQLUSMALLINT n, SQLSMALLINT tipoC, T& valor) {
        SQLLEN ind = 0;
        const SQLRETURN r = SQLGetData(stmt_, n, tipoC, &valor, sizeof valor, &ind);
        if (!SQL_SUCCEEDED(r)) Falha();
        return ind != SQL_NULL_DATA;
    }

    // Texts in UTF-16, the exact and real numbers as characters; read in
    // parts when longer than the buffer.
    template <class Unidade>
    bool Partes(SQLUSMALLINT n, SQLSMALLINT tipoC, std::vector<Unidade>& buffer, QString& texto) {
        for (;;) {
            SQLLEN ind = 0;
            const SQLLEN bytes = SQLLEN(buffer.size() * sizeof(Unidade));
            const SQLRETURN r = SQLGetData(stmt_, n, tipoC, buffer.data(), bytes, &ind);
            if (r == SQL_NO_DATA) return true;
            if (!SQL_SUCCEEDED(r)) Falha();
            if (ind == SQL_NULL_DATA) return false;
            const bool cortado = ind == SQL_NO_TOTAL || ind >= bytes;
            const qsizetype unidades = cortado ? qsizetype(buffer.size()) - 1 : qsizetype(ind / SQLLEN(sizeof(Unidade)));
            if constexpr (sizeof(Unidade) == 1)
                texto += QString::fromUtf8(reinterpret_cast<const char*>(buffer.data()), unidades);
            else
                texto += QStringView(reinterpret_cast<const char16_t*>(buffer.data()), unidades);
            if (!cortado) return true;
            if (ind != SQL_NO_TOTAL) buffer.resize(size_t(ind) / sizeof(Unidade) + 1);
        }
    }

    QVariant Valor(SQLUSMALLINT n, const ColunaLida& c) {
        switch (c.tipo.id()) {
        case QMetaType::Int: return Inteiro<SQLINTEGER, int, int>(n, SQL_C_SLONG);
        case QMetaType::UInt: return Inteiro<SQLUINTEGER, uint, int>(n, SQL_C_ULONG);
        case QMetaType::LongLong: return Inteiro<SQLBIGINT, qlonglong, qlonglong>(n, SQL_C_SBIGINT);
        case QMetaType::ULongLong: return Inteiro<SQLUBIGINT, qulonglong, qlonglong>(n, SQL_C_UBIGINT);
        case QMetaType::QDate: {
            DATE_STRUCT d{};
            return Fixo(n, SQL_C_DATE, d) ? QVariant(QDate(d.year, d.month, d.day)) : QVariant(c.tipo);
        }
        case QMetaType::QTime: {
            TIME_STRUCT t{};
            return Fixo(n, SQL_C_TIME, t) ? QVariant(QTime(t.hour, t.minute, t.second)) : QVariant(c.tipo);
        }
        case QMetaType::QDateTime: {
            TIMESTAMP_STRUCT t{};
            if (!Fixo(n, SQL_C_TIMESTAMP, t)) return QVariant(c.tipo);
            return QVariant(QDateTime(QDate(t.year, t.month, t.day),
                                      QTime(t.hour, t.minute, t.second, int(t.fraction / 1000000))));
        }
        case QMetaType::Double: {
            // Exact to the last digit, as text.
            Dimensiona(caracteres_, c.tamanho + 2);
            QString t;
            return Partes(n, SQL_C_CHAR, caracteres_, t) ? QVariant(t) : QVariant();
        }
        case QMetaType::QString: {
            Dimensiona(utf16_, c.tamanho + 1);
            QString t;
            return Partes(n, SQL_C_WCHAR, utf16_, t) ? QVariant(t) : QVariant();
        }
        default: {
            QByteArray b;
            for (;;) {
                char parte[4096];
                SQLLEN ind = 0;
                const SQLRETURN r = SQLGetData(stmt_, n, SQL_C_BINARY, parte, sizeof parte, &ind);
                if (r == SQL_NO_DATA) break;
                if (!SQL_SUCCEEDED(r)) Falha();
                if (ind == SQL_NULL_DATA) return QVariant(c.tipo);
                const bool cortado = ind == SQL_NO_TOTAL || ind > SQLLEN(sizeof parte);
                b.append(parte, cortado ? qsizetype(sizeof parte) : qsizetype(ind));
                if (!cortado) break;
            }
            return b;
        }
        }
    }

private:
    // A whole number of the C type Nativo, as a Valor; a NULL as a null of
    // type Nulo.
    template <class Nativo, class Valor, class Nulo>
    QVariant Inteiro(SQLUSMALLINT n, SQLSMALLINT tipoC) {
        Nativo v = 0;
        return Fixo(n, tipoC, v) ? QVariant(Valor(v)) : QVariant(QMetaType::fromType<Nulo>());
    }

    template <class Unidade>
    static void Dimensiona(std::vector<Unidade>& buffer, SQLULEN tamanho) {
        const size_t desejado = size_t(std::clamp<SQLULEN>(tamanho, 64, 65536));
        if (buffer.size() < desejado) buffer.resize(desejado);
    }

    SQLHSTMT stmt_;
    std::vector<char> caracteres_;
    std::vector<SQLWCHAR> utf16_;
};
}  // namespace

namespace {
RecordsetPtr Le_Linhas(SQLHSTMT stmt) {
    SQLSMALLINT n = 0;
    if (!SQL_SUCCEEDED(SQLNumResultCols(stmt, &n))) Levanta_Erro(3146, Diagnostico(SQL_HANDLE_STMT, stmt));
    std::vector<ColunaLida> colunas(size_t(qMax<SQLSMALLINT>(n, 0)));
    QStringList nomes;
    for (SQLUSMALLINT i = 1; i <= colunas.size(); ++i) {
        SQLWCHAR nome[256];
        SQLSMALLINT tamanhoNome = 0, tipoSql = 0, decimais = 0, nulavel = 0;
        SQLULEN tamanho = 0;
        if (!SQL_SUCCEEDED(SQLDescribeColW(stmt, i, nome, 256, &tamanhoNome, &tipoSql, &tamanho, &decimais, &nulavel)))
            Levanta_Erro(3146, Diagnostico(SQL_HANDLE_STMT, stmt));
        SQLLEN semSinal = SQL_FALSE;
        SQLColAttributeW(stmt, i, SQL_DESC_UNSIGNED, nullptr, 0, nullptr, &semSinal);
        ColunaLida& c = colunas[i - 1];
        c.nome = QString::fromUtf16(reinterpret_cast<const char16_t*>(nome), qsizetype(qBound<SQLSMALLINT>(0, tamanhoNome, SQLSMALLINT(255))));
        c.tipo = Tipo_Da_Coluna(tipoSql, semSinal == SQL_FALSE);
        c.tamanho = tamanho;
        nomes << c.nome;
    }
    // Closed however the reading ends: a prepared statement run again
    // finds no cursor left open by a failed read.
    const auto fecha = qScopeGuard([&] { SQLFreeStmt(stmt, SQL_CLOSE); });
    Leitor leitor(stmt);
    std::vector<std::vector<QVariant>> linhas;
    if (!colunas.empty()) {
        SQLRETURN r;
        while (SQL_SUCCEEDED(r = SQLFetch(stmt))) {
            std::vector<QVariant> linha;
            linha.reserve(colunas.size());
            for (SQLUSMALLINT i = 1; i <= colunas.size(); ++i) linha.push_back(leitor.Valor(i, colunas[i - 1]));
            linhas.push_back(std::move(linha));
        }
        if (r != SQL_NO_DATA) leitor.Falha();
    }
    return std::make_unique<Recordset>(std::move(nomes), std::move(linhas));
}
}  // namespace

// One parameter's buffer, bound once and refilled for each row; bound again
// only when the value's kind changes or its text outgrows the buffer. Qt's
// own binding costs more than the insert itself on a month's rows.
struct Parametro {
    SQLSMALLINT tipoC = 0, tipoSql = 0;
    SQLLEN capacidade = -1;
    SQLLEN indicador = 0;
    qint64 inteiro = 0;
    double real = 0;
    std::unique_ptr<char[]> bytes;
};

namespace {
QStringEncoder& Codificador() {
    thread_local QStringEncoder c(QStringEncoder::Utf8);
    return c;
}
}  // namespace

ValoresCentral& ValoresCentral::operator<<(qint64 v) {
    valores_.push_back({Tipo::Inteiro, v});
    return *this;
}

ValoresCentral& ValoresCentral::operator<<(const QString& t) {
    // At most three bytes a character, written in place.
    const qsizetype inicio = bytes_.size();
    bytes_.resize(inicio + t.size() * 3);
    QStringEncoder& c = Codificador();
    c.resetState();
    char* fim = c.appendToBuffer(bytes_.data() + inicio, t);
    bytes_.resize(fim - bytes_.constData());
    valores_.push_back({Tipo::Texto, 0, 0, inicio, bytes_.size() - inicio});
    return *this;
}

ValoresCentral& ValoresCentral::operator<<(Nulo) {
    valores_.push_back({Tipo::Nulo});
    return *this;
}

void ValoresCentral::Bytes(const char* dados, qsizetype tamanho) {
    const qsizetype inicio = bytes_.size();
    bytes_.append(dados, tamanho);
    valores_.push_back({Tipo::Texto, 0, 0, inicio, tamanho});
}

void ValoresCentral::Acrescenta(const QVariant& v) {
    if (v.isNull()) {
        *this << Nulo{};
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::Long:
        *this << qint64(v.toLongLong());
        return;
    case QMetaType::Bool:
        *this << qint64(v.toBool() ? 1 : 0);
        return;
    case QMetaType::Double:
        valores_.push_back({Tipo::Real, 0, v.toDouble()});
        return;
    case QMetaType::QByteArray: {
        const QByteArray b = v.toByteArray();
        Bytes(b.constData(), b.size());
        return;
    }
    case QMetaType::QString:
        *this << *static_cast<const QString*>(v.constData());
        return;
    default:
        // Dates and moments become ISO texts, which the server reads.
        *this << v.toString();
    }
}

void ValoresCentral::Limpa() {
    valores_.clear();
    bytes_.resize(0);
}

struct ComandoCentral::Nativo {
    SQLHSTMT stmt = nullptr;
    std::vector<Parametro> parametros;
    ValoresCentral linha;  // reused by the QVariantList form

    ~Nativo() {
        if (stmt) SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    }
    [[noreturn]] void Falha() const { Levanta_Erro(3146, Diagnostico(SQL_HANDLE_STMT, stmt)); }

    void Liga(SQLUSMALLINT numero, Parametro& p, SQLSMALLINT c, SQLSMALLINT s, void* dados, SQLLEN capacidade) {
        p.tipoC = c;
        p.tipoSql = s;
        p.capacidade = capacidade;
        const SQLULEN coluna = c == SQL_C_BINARY ? SQLULEN(qMax<SQLLEN>(capacidade, 1)) : 0;
        if (!SQL_SUCCEEDED(SQLBindParameter(stmt, numero, SQL_PARAM_INPUT, c, s, coluna, 0, dados, capacidade, &p.indicador)))
            Falha();
    }
    void Numero(SQLUSMALLINT numero, Parametro& p, SQLSMALLINT c, SQLSMALLINT s, void* dados, SQLLEN tamanho) {
        if (p.tipoC != c) Liga(numero, p, c, s, dados, tamanho);
        p.indicador = 0;
    }
    // Bytes as Qt sends a QByteArray: binary data the server stores as the
    // column's text, so UTF-8 arrives unchanged.
    void Bytes(SQLUSMALLINT numero, Parametro& p, const char* dados, qsizetype tamanho) {
        if (p.tipoC != SQL_C_BINARY || SQLLEN(tamanho) > p.capacidade) {
            const SQLLEN capacidade = qMax<SQLLEN>(64, SQLLEN(qNextPowerOfTwo(quint64(tamanho))));
            p.bytes = std::make_unique<char[]>(size_t(capacidade));
            Liga(numero, p, SQL_C_BINARY, SQL_LONGVARBINARY, p.bytes.get(), capacidade);
        }
        if (tamanho > 0) std::memcpy(p.bytes.get(), dados, size_t(tamanho));
        p.indicador = SQLLEN(tamanho);
    }
    // Binds one row's values and runs the statement; a failure is raised.
    SQLRETURN Executa(const ValoresCentral& valores) {
        if (parametros.size() != valores.valores_.size()) {
            SQLFreeStmt(stmt, SQL_RESET_PARAMS);
            parametros = std::vector<Parametro>(valores.valores_.size());
        }
        for (size_t i = 0; i < valores.valores_.size(); ++i)
            Valor(SQLUSMALLINT(i + 1), parametros[i], valores, valores.valores_[i]);
        const SQLRETURN r = SQLExecute(stmt);
        if (!SQL_SUCCEEDED(r) && r != SQL_NO_DATA) Falha();
        return r;
    }
    // The values of the QVariantList forms, in the buffer they reuse.
    const ValoresCentral& Linha(const QVariantList& valores) {
        linha.Limpa();
        for (const QVariant& v : valores) linha.Acrescenta(v);
        return linha;
    }
    void Valor(SQLUSMALLINT numero, Parametro& p, const ValoresCentral& valores, const ValoresCentral::Valor& v) {
        switch (v.tipo) {
        case ValoresCentral::Tipo::Inteiro:
            p.inteiro = v.inteiro;
            Numero(numero, p, SQL_C_SBIGINT, SQL_BIGINT, &p.inteiro, sizeof p.inteiro);
            return;
        case ValoresCentral::Tipo::Real:
            p.real = v.real;
            Numero(numero, p, SQL_C_DOUBLE, SQL_DOUBLE, &p.real, sizeof p.real);
            return;
        case ValoresCentral::Tipo::Texto:
            Bytes(numero, p, valores.bytes_.constData() + v.inicio, v.tamanho);
            return;
        case ValoresCentral::Tipo::Nulo:
            if (p.tipoC == 0) Liga(numero, p, SQL_C_CHAR, SQL_VARCHAR, nullptr, 0);
            p.indicador = SQL_NULL_DATA;
            return;
        }
    }
};

ComandoCentral::ComandoCentral(ConexaoCentral& conexao, const QString& sql)
    : conexao_(conexao), nativo_(std::make_unique<Nativo>()) {
    const SQLHDBC dbc = Handle_Conexao(conexao.nome_);
    if (!dbc) Levanta_Erro(3146, QStringLiteral("Connection not open"));
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &nativo_->stmt))) {
        nativo_->stmt = nullptr;
        Levanta_Erro(3146, Diagnostico(SQL_HANDLE_DBC, dbc));
    }
    std::u16string texto = sql.toStdU16String();
    if (!SQL_SUCCEEDED(SQLPrepareW(nativo_->stmt, reinterpret_cast<SQLWCHAR*>(texto.data()), SQLINTEGER(texto.size()))))
        nativo_->Falha();
}

ComandoCentral::~ComandoCentral() = default;

void ComandoCentral::Executa(const QVariantList& valores) { Executa(nativo_->Linha(valores)); }

RecordsetPtr ComandoCentral::AbreSnapshot(const QVariantList& valores) {
    Nativo& n = *nativo_;
    n.Executa(n.Linha(valores));
    return Le_Linhas(n.stmt);
}

void ComandoCentral::Executa(const ValoresCentral& valores) {
    Nativo& n = *nativo_;
    const SQLRETURN r = n.Executa(valores);
    SQLSMALLINT colunas = 0;
    SQLNumResultCols(n.stmt, &colunas);
    if (colunas > 0) {
        SQLFreeStmt(n.stmt, SQL_CLOSE);
        return;
    }
    SQLLEN linhas = 0;
    if (r == SQL_NO_DATA || !SQL_SUCCEEDED(SQLRowCount(n.stmt, &linhas)) || linhas <= 0) Confere_Recusa(conexao_.nome_);
}

std::unique_ptr<ConexaoCentral> Abre_Conexao_Central(bool somenteLeitura) {
    if (!Testa_Conexao(Param[11], QStringLiteral("S"))) return nullptr;
    return std::make_unique<ConexaoCentral>(somenteLeitura);
}

bool Abre_Banco_Central(bool somenteLeitura) {
    if (!Testa_Conexao(Param[11], QStringLiteral("S"))) return false;
    Banco_Central.reset();
    Banco_Central = std::make_unique<ConexaoCentral>(somenteLeitura);
    return true;
}

void Fecha_Banco_Central() { Banco_Central.reset(); }

RecordsetPtr Abre_Recordset_Central(const QString& sql, const QVariantList& valores) {
    const std::unique_ptr<ConexaoCentral> conexao = Abre_Conexao_Central(true);
    if (!conexao) return nullptr;
    return conexao->AbreSnapshot(sql, valores);
}

QString Versao_Servidor() { return Le_Versao().value_or(App::Versao()); }

std::optional<QString> Versao_Servidor_Lida() { return Le_Versao(); }

namespace {
// "1.0.21" as {1, 0, 21}; nothing when any part is not a whole number of
// at most nine digits.
std::optional<std::vector<int>> Partes_Versao(const QString& versao) {
    std::vector<int> partes;
    for (const QStringView parte : QStringView(versao).split(QLatin1Char('.'))) {
        if (parte.isEmpty() || parte.size() > 9) return std::nullopt;
        int valor = 0;
        for (const QChar c : parte) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
            valor = valor * 10 + (c.unicode() - '0');
        }
        partes.push_back(valor);
    }
    return partes;
}
}  // namespace

bool Versao_Em_Dia(const QString& propria, const QString& central) {
    const auto p = Partes_Versao(propria), c = Partes_Versao(central);
    // Of equal parts, the one with fewer is the older, as with texts.
    if (p && c) return *p >= *c;
    return propria >= central;
}

void Abre_Link(const QString& alvo) {
    const Screen::Ampulheta ampulheta;
    Shell::Abre(alvo);
}
