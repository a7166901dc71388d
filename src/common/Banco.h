#pragma once
// Access to the local database file of the program folder. The file is
// opened for each operation and closed before the call returns: no handle,
// lock or transaction spans two calls, except inside a unit of work.
#include "common/Recordset.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class TextBox;

namespace Banco {
inline const QString NomeArquivo = QStringLiteral("Marlovinter.kwe");
inline const QString NomeAntigo = QStringLiteral("Quorvane.kwe");
QString CaminhoArquivo();  // App::Path() + "/" + NomeArquivo
// A copy of the file as it stands at one instant, whoever else has it
// open, under the name `destino`; it opens with the same password.
void Copia(const QString& destino);
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

class BancoSqlCipher;

// Several statements that apply together or not at all, on one handle
// opened for writing. Creating it takes the file's write lock (another
// program instance waits, then fails with 3260) and begins a transaction;
// Commit applies it. Any failure of a call rolls the whole unit back at
// once and ends it: a later call or Commit raises 3704, so no statement can
// run on its own after its companions were undone. Destroyed uncommitted,
// it rolls back. Use it through Tenta_Unidade, which retries from the start.
class UnidadeTrabalho final : public BancoLocal {
public:
    UnidadeTrabalho();
    ~UnidadeTrabalho() override;
    UnidadeTrabalho(const UnidadeTrabalho&) = delete;
    UnidadeTrabalho& operator=(const UnidadeTrabalho&) = delete;

    RecordsetPtr AbreSnapshot(const QString& sqlOuNome) override;
    void Executa(const QString& sql) override;
    void ExecutaQuery(const QString& nome, const QStringList& parametros) override;
    RecordsetPtr AbreQuery(const QString& nome, const QStringList& parametros) override;
    void Commit();

private:
    template <class F>
    auto Guardado(F&& f) -> decltype(f());
    std::unique_ptr<BancoSqlCipher> banco_;  // null once committed or rolled back
};

// One unit of work without a retry: passo runs inside a new unit, which is
// then committed. A failure is raised to the caller, the unit already
// rolled back.
void Em_Unidade(const std::function<void(UnidadeTrabalho&)>& passo);

// The retry convention over a unit of work: passo runs inside a new unit,
// which is then committed. On a failure the unit is already rolled back;
// Yes to "Continua Tentando ?" runs passo again from its start in a new
// unit, No returns false. True once committed.
bool Tenta_Unidade(const std::function<void(UnidadeTrabalho&)>& passo);

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
// The same inside a unit of work: the key read and the insert that follows
// hold the write lock together, so two program instances never take the
// same key. Failures are raised (a key that is not a number: 3421), for the
// unit's retry to run again from the start.
qint64 Le_Proximo_Codigo(BancoLocal& banco, TextBox* alvo, const QString& nomeQuery);
