#pragma once
// Access to the local database file of the program folder. The file is
// opened for each operation and closed before the call returns: no handle,
// lock or transaction spans two calls.
#include "common/Recordset.h"
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class TextBox;

namespace Banco {
inline const QString NomeArquivo = QStringLiteral("Marlovinter.kwe");
inline const QString NomeAntigo = QStringLiteral("Quorvane.kwe");
QString CaminhoArquivo();  // App::Path() + "/" + NomeArquivo
}

// One open database. Each holder works on its own handle, so a nested call
// never replaces the handle of a caller that is still working.
class BancoLocal {
public:
    virtual ~BancoLocal() = default;
    // SQL text or the name of a stored query without parameters.
    virtual RecordsetPtr AbreSnapshot(const QString& sqlOuNome) = 0;
    virtual void Executa(const QString& sql) = 0;
    virtual void ExecutaQuery(const QString& nome, const QStringList& parametros) = 0;
    virtual RecordsetPtr AbreQuery(const QString& nome, const QStringList& parametros) = 0;
};
using BancoLocalPtr = std::unique_ptr<BancoLocal>;

// Errors of the engine are raised as ErroExecucao with the program's numbers.
BancoLocalPtr Abre_Banco(bool somenteLeitura);
void Fecha_Banco(BancoLocalPtr& banco);
RecordsetPtr Abre_Recordset(const QString& sqlOuNome);
void Executa_SQL(const QString& sql);
void Executa_Query(const QString& nome, const QStringList& parametros);
RecordsetPtr Abre_Query(const QString& nome, const QStringList& parametros);
void Proximo_Codigo(TextBox* alvo, const QString& nomeQuery);
// Proximo_Codigo into an emptied box, read back as a 64-bit key (never
// through a double); no value when the key could not be read. The pointer
// is the hourglass again afterwards, for the save that follows.
std::optional<qint64> Le_Proximo_Codigo(TextBox* alvo, const QString& nomeQuery);
