#pragma once
// The connection to the organisation's central database. Each central step
// checks that the computer is online, probes the server and connects; a
// single query closes again at once, a transmission keeps its connection
// for its transaction.
#include "common/Recordset.h"
#include <QString>
#include <QVariantList>
#include <memory>
#include <optional>
#include <vector>

// Account, password, database name and port of the central system.
namespace Central {
inline const QString Conta = QStringLiteral("tavrelo");
inline const QString Senha = QStringLiteral("ram@sivet");
inline const QString Base = QStringLiteral("tavrelo");
constexpr int Porta = 49010;
// "Driver={MySQL ODBC 5.1 Driver};Server=<servidor>;User=...;Port=49010;Option=3;"
QString Texto_Conexao(const QString& servidor);
// Seconds a connection may take before it counts as failed (3151).
constexpr int TempoConexao = 5;
// Tests: connect with this text instead of Texto_Conexao(Param[11]); the
// empty text restores the program's own.
void DefineTextoConexao(const QString& texto);
}

class QSqlQuery;

// One connection to the central database, owned by whoever opened it: each
// holder has its own, so a version check or a register download never
// replaces or drops the connection of a transmission in progress. Values
// travel as bound parameters; failures of a statement, the link included,
// are error 3146.
class ConexaoCentral {
public:
    // Connects to the program's central server (Param[11], or the test's
    // text); failures are 3151. Without testing the link first: see
    // Abre_Conexao_Central.
    explicit ConexaoCentral(bool somenteLeitura);
    // An open transaction is rolled back.
    ~ConexaoCentral();
    ConexaoCentral(const ConexaoCentral&) = delete;
    ConexaoCentral& operator=(const ConexaoCentral&) = delete;

    void Executa(const QString& sql, const QVariantList& valores = {});
    // Rows copied into memory; exact numbers (DECIMAL) arrive as text
    // ("1234.56").
    RecordsetPtr AbreSnapshot(const QString& sql, const QVariantList& valores = {});

    // Statements between Begin and Commit apply together or not at all.
    void Begin();
    void Commit();
    // Never fails, as it runs while another failure is being reported: a
    // server that cannot be told has lost the transaction with the link.
    void Rollback() noexcept;

private:
    friend class ComandoCentral;
    QSqlQuery NovaConsulta() const;
    QString nome_;
    bool emTransacao_ = false;
};

// The values of a statement's parameters, in their order, kept as they
// travel: whole numbers, real numbers, texts as their UTF-8 bytes, NULLs.
// Cleared without giving its memory back, so a run that fills it again for
// every group of rows allocates nothing per row.
class ValoresCentral {
public:
    struct Nulo {};

    ValoresCentral& operator<<(qint64 v);
    ValoresCentral& operator<<(int v) { return *this << qint64(v); }
    ValoresCentral& operator<<(const QString& t);
    ValoresCentral& operator<<(Nulo);
    // Any value as ComandoCentral::Executa(QVariantList) sends it: a null of
    // any type is NULL, bytes go unchanged, dates and moments as ISO texts.
    void Acrescenta(const QVariant& v);
    void Limpa();

private:
    friend class ComandoCentral;
    enum class Tipo : char { Inteiro, Real, Texto, Nulo };
    struct Valor {
        Tipo tipo;
        qint64 inteiro = 0;
        double real = 0;
        qsizetype inicio = 0, tamanho = 0;  // of a text, in bytes_
    };
    void Bytes(const char* dados, qsizetype tamanho);
    std::vector<Valor> valores_;
    QByteArray bytes_;  // grows without zero-filling, keeps its room when cleared
};

// A statement prepared once on a connection and run for many rows: each
// Executa binds one row's values and runs it, inside the connection's
// transaction. It must not outlive its connection. Texts travel as their
// UTF-8 bytes, integers as integers, a null of any type as NULL; exact
// numbers go as their decimal text.
class ComandoCentral {
public:
    ComandoCentral(ConexaoCentral& conexao, const QString& sql);
    ~ComandoCentral();
    ComandoCentral(const ComandoCentral&) = delete;
    ComandoCentral& operator=(const ComandoCentral&) = delete;
    void Executa(const QVariantList& valores);
    void Executa(const ValoresCentral& valores);
    // Runs a query with these values and copies its rows.
    RecordsetPtr AbreSnapshot(const QVariantList& valores);

private:
    struct Nativo;
    ConexaoCentral& conexao_;
    std::unique_ptr<Nativo> nativo_;
};

// The connection of the code that called Abre_Banco_Central, until its
// Fecha_Banco_Central (the transmission executes its inserts and deletes on
// it). No other procedure uses, replaces or clears it.
extern std::unique_ptr<ConexaoCentral> Banco_Central;

bool Conectado_Internet();
// The two warnings of a missing link: "Não há Conexão com a Internet!" and
// "Sua Conexão não alcança a base Vendral!", each asking to try again.
void Avisa_Sem_Internet();
void Avisa_Sem_Alcance();
// True when the computer is online and the address answers; messages only
// when mostra is exactly "S".
bool Testa_Conexao(const QString& servidor, const QString& mostra);
// Tests the connection with messages, then opens a connection of the
// caller's own; none when the server cannot be reached (the user saw why).
// Connection failures are raised (3151).
std::unique_ptr<ConexaoCentral> Abre_Conexao_Central(bool somenteLeitura);
// As Abre_Conexao_Central, into Banco_Central.
bool Abre_Banco_Central(bool somenteLeitura);
void Fecha_Banco_Central();
// A snapshot of the query on a connection of its own, closed before it
// returns, or nullptr when the server cannot be reached.
RecordsetPtr Abre_Recordset_Central(const QString& sql, const QVariantList& valores = {});
// The version the central system publishes, or the program's own when it
// cannot be read. Never fails.
QString Versao_Servidor();
// As Versao_Servidor, but no value when the central version could not be
// read (unreachable, refused, the query failing): the About box must not
// claim the program is current then. An empty view still gives the own
// version, and a null version the empty text, as Versao_Servidor does.
std::optional<QString> Versao_Servidor_Lida();
// Whether the version `propria` is the same as `central` or newer. Both
// read as whole numbers between points ("1.0.21") compare part by part
// as numbers, so 1.0.3 is older than 1.0.21; a version not written so
// compares as text, character by character.
bool Versao_Em_Dia(const QString& propria, const QString& central);
void Abre_Link(const QString& alvo);
