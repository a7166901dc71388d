#pragma once
// What the floors of the central benchmarks share: a connection of the
// driver's own C API with the program's connection text, and the local
// file opened directly on SQLCipher with the program's key.
#include "common/Central.h"
#include "platform/SqlCipher.h"
#include <QByteArray>
#include <QString>
#include <sql.h>
#include <sqlext.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace Piso {

[[noreturn]] inline void Falha(const char* onde, SQLSMALLINT tipo, SQLHANDLE h) {
    SQLCHAR estado[8] = {}, texto[512] = {};
    SQLINTEGER nativo = 0;
    SQLSMALLINT n = 0;
    SQLGetDiagRecA(tipo, h, 1, estado, &nativo, texto, sizeof texto, &n);
    std::fprintf(stderr, "piso, %s: %s %s\n", onde, reinterpret_cast<char*>(estado), reinterpret_cast<char*>(texto));
    std::exit(1);
}

inline SQLPOINTER Atributo(uintptr_t v) { return reinterpret_cast<SQLPOINTER>(v); }

struct Conexao {
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    // The program's own connection text, as its driver gets it.
    explicit Conexao(QString texto) {
        while (texto.endsWith(QLatin1Char(';'))) texto.chop(1);
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, Atributo(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
        const QByteArray t = texto.toUtf8();
        if (!SQL_SUCCEEDED(SQLDriverConnectA(dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(t.constData())),
                                             SQLSMALLINT(t.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT)))
            Falha("conexão", SQL_HANDLE_DBC, dbc);
        SQLSetConnectAttr(dbc, SQL_ATTR_AUTOCOMMIT, Atributo(SQL_AUTOCOMMIT_OFF), 0);
    }
    ~Conexao() {
        SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_ROLLBACK);
        SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
    Conexao(const Conexao&) = delete;
    Conexao& operator=(const Conexao&) = delete;
    void Commit() {
        if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc, SQL_COMMIT))) Falha("commit", SQL_HANDLE_DBC, dbc);
    }
};

// The local file, keyed as the program keys it.
struct Local {
    QByteArray caminho, chave;
    sqlite3* Abre() const {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(caminho.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK ||
            sqlite3_key(db, chave.constData(), int(chave.size())) != SQLITE_OK) {
            std::fprintf(stderr, "piso: arquivo local\n");
            std::exit(1);
        }
        sqlite3_busy_timeout(db, 1000);
        SqlCipher::RegistraColacao(db);
        return db;
    }
};

}  // namespace Piso
