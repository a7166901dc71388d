#pragma once
// The tables and stored queries of the local database file, written as SQL
// in db/local/*.sql and carried inside the program as resources, so that a
// new file can be made and a file of an older version brought up to date.
//
// Format of the schema files: plain SQL statements (tables, indexes; an
// INSERT is a seed, see Definicao::sementes), and
// stored queries, each introduced by a header line naming it and the
// declared types of its positional parameters ?1, ?2, ...:
//
//     -- consulta: ProcPesqAgendaHoje (Long, Long, Long, Long)
//     SELECT Descricao FROM Agenda WHERE CodIg = ?1 AND Ano = ?2 ...;
//
// A query without parameters has no parenthesis (or an empty one). Types:
// Text, Long, Integer, Byte, Currency, Double, DateTime, Boolean.
#include <QString>
#include <QStringList>
#include <vector>

namespace Esquema {

// The schema version written in the file (PRAGMA user_version). Raise it
// whenever a schema file changes, so that files in use are brought up to
// date at the next start.
inline constexpr int Versao = 7;

struct Consulta {
    QString nome;
    QString parametros;  // the declared types joined by commas: "Long,Text"
    QString sql;         // one statement, without the final semicolon
};

struct Definicao {
    QStringList instrucoes;          // tables and indexes, in file order
    // Rows a new file starts with, and that a file of an older version gets
    // when it is brought up to date; each statement says itself when it
    // applies (into an empty table only), so that it never doubles rows.
    QStringList sementes;
    std::vector<Consulta> consultas;
};

// Reads one schema file's text into the definition; a malformed header or
// an unknown type raises 3075 naming the file.
void Interpreta(const QString& texto, const QString& arquivo, Definicao& definicao);
// Every db/local/*.sql of the resources, in file-name order.
Definicao Carrega();

// Makes a new encrypted database file with every table and stored query
// and the current version. Refuses an existing file (58) and a folder that
// does not exist (3044). The file appears only when complete.
void Cria(const QString& caminho);

// Brings a file made by an earlier schema up to date, in one transaction:
// missing tables, columns and indexes added, stored queries added or
// replaced, the version raised; its data untouched. A file already up to
// date is only read (it may not be writable, and must still open), and a
// file of a newer version is left alone.
// Returns true when the file was changed.
bool Atualiza(const QString& caminho);

}  // namespace Esquema
