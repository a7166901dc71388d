#pragma once
// The connection to the organisation's central database. It is never kept
// open: each central step checks that the computer is online, probes the
// server, connects, runs one query and closes again.
#include "common/Recordset.h"
#include <QString>
#include <QVariantList>
#include <memory>
#include <optional>

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

// The open central database between Abre_Banco_Central and
// Fecha_Banco_Central (the transmission executes its inserts and deletes
// on it). Values travel as bound parameters.
class BancoCentral {
public:
    virtual ~BancoCentral() = default;
    // Failures of the statement, the link included, are error 3146.
    virtual void Executa(const QString& sql, const QVariantList& valores = {}) = 0;
    // Rows copied into memory; exact numbers (DECIMAL) arrive as text
    // ("1234.56").
    virtual RecordsetPtr AbreSnapshot(const QString& sql, const QVariantList& valores = {}) = 0;
};
extern std::unique_ptr<BancoCentral> Banco_Central;

bool Conectado_Internet();
// The two warnings of a missing link: "Não há Conexão com a Internet!" and
// "Sua Conexão não alcança a base Vendral!", each asking to try again.
void Avisa_Sem_Internet();
void Avisa_Sem_Alcance();
// True when the computer is online and the address answers; messages only
// when mostra is exactly "S".
bool Testa_Conexao(const QString& servidor, const QString& mostra);
// Tests the connection with messages, then opens Banco_Central. Connection
// failures are raised (3151); a broken link is 3146.
bool Abre_Banco_Central(bool somenteLeitura);
void Fecha_Banco_Central();
// A snapshot of the query on the central database, or nullptr when the
// server cannot be reached.
RecordsetPtr Abre_Recordset_Central(const QString& sql, const QVariantList& valores = {});
// The version the central system publishes, or the program's own when it
// cannot be read. Never fails.
QString Versao_Servidor();
// As Versao_Servidor, but no value when the central version could not be
// read (unreachable, refused, the query failing): the About box must not
// claim the program is current then. An empty view still gives the own
// version, and a null version the empty text, as Versao_Servidor does.
std::optional<QString> Versao_Servidor_Lida();
void Abre_Link(const QString& alvo);
