#pragma once
// The floor of the register download of the outflow accounts and the
// tithers: the same central reads, on one connection of the driver's own C
// API (rows fetched into bound buffers), then the same local rows written
// in one SQLCipher transaction by the program's own stored statements,
// each prepared once and bound per row: the outflow accounts replaced,
// each tither found by membership number and edited, or added with the
// next code. No window, no progress, no pauses.
#include "PisoOdbc.h"
#include <QElapsedTimer>
#include <QHash>
#include <QStringEncoder>
#include <map>
#include <string>
#include <vector>

namespace Piso_Atualizacoes {

struct Tempos {
    double total = 0;
    double leituraDizimistas = 0;  // the tithers' query, executed and fetched
};

class Atualizacao {
public:
    Atualizacao(const QString& servidor, const Piso::Local& local, qint64 igreja)
        : servidor_(servidor), local_(local), igreja_(igreja) {
        sqlite3* db = local_.Abre();
        for (const char* nome : {"ProcAtuDelSaidas", "ProcAtuInsSaida", "ProcAtuPesqDizimos", "ProcProximoDizimos",
                                 "ProcAtuInsDizimo", "ProcAtuUpdDizimo"}) {
            Stmt q(db, "SELECT Sql FROM Consultas WHERE Nome = ?1");
            sqlite3_bind_text(q.st, 1, nome, -1, SQLITE_STATIC);
            if (!q.Passo()) Stmt::Falha(db);
            sql_[nome] = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(q.st, 0)));
        }
        sqlite3_close_v2(db);
    }

    Tempos Roda() {
        Tempos t;
        QElapsedTimer relogio;
        relogio.start();
        std::vector<Conta> contas;
        std::vector<Membro> membros;
        {
            Piso::Conexao con(Central::Texto_Conexao(servidor_));
            contas = Le_Contas(con);
            const qint64 antes = relogio.nsecsElapsed();
            membros = Le_Membros(con);
            t.leituraDizimistas = (relogio.nsecsElapsed() - antes) / 1e9;
        }
        Grava(contas, membros);
        t.total = relogio.nsecsElapsed() / 1e9;
        return t;
    }

private:
    struct Conta {
        qint64 codigo;
        QString descricao;
    };
    struct Membro {
        QString ri, nome;
        bool temCargo;
        qint64 cargo;
    };

    static QString Texto(const SQLWCHAR* t, SQLLEN ind) {
        if (ind == SQL_NULL_DATA || ind <= 0) return QString();
        return QString::fromUtf16(reinterpret_cast<const char16_t*>(t), qsizetype(ind / SQLLEN(sizeof(SQLWCHAR))));
    }

    static std::vector<Conta> Le_Contas(Piso::Conexao& con) {
        SQLHSTMT st = nullptr;
        SQLAllocHandle(SQL_HANDLE_STMT, con.dbc, &st);
        char sql[] = "Select CodSeq,Descricao FROM tblcontas WHERE tipo = 'D' ORDER BY CodSeq";
        if (!SQL_SUCCEEDED(SQLExecDirectA(st, reinterpret_cast<SQLCHAR*>(sql), SQL_NTS))) Piso::Falha("contas", SQL_HANDLE_STMT, st);
        qint64 codigo = 0;
        SQLWCHAR descricao[256];
        SQLLEN i1 = 0, i2 = 0;
        SQLBindCol(st, 1, SQL_C_SBIGINT, &codigo, 0, &i1);
        SQLBindCol(st, 2, SQL_C_WCHAR, descricao, sizeof descricao, &i2);
        std::vector<Conta> contas;
        while (SQL_SUCCEEDED(SQLFetch(st))) contas.push_back({codigo, Texto(descricao, i2).toUpper()});
        SQLFreeHandle(SQL_HANDLE_STMT, st);
        return contas;
    }

    // The members of the congregation, one per membership number (a later
    // row of the same number replaces the earlier in its place), none
    // without a number.
    std::vector<Membro> Le_Membros(Piso::Conexao& con) const {
        SQLHSTMT st = nullptr;
        SQLAllocHandle(SQL_HANDLE_STMT, con.dbc, &st);
        qint64 igreja = igreja_;
        SQLLEN ip = 0;
        SQLBindParameter(st, 1, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &igreja, 0, &ip);
        char sql[] = "SELECT * FROM vws_getmember WHERE Congregacao = ?";
        if (!SQL_SUCCEEDED(SQLExecDirectA(st, reinterpret_cast<SQLCHAR*>(sql), SQL_NTS)))
            Piso::Falha("membros", SQL_HANDLE_STMT, st);
        qint64 congregacao = 0, cargo = 0;
        SQLWCHAR ri[64], nome[256];
        SQLLEN i1 = 0, i2 = 0, i3 = 0, i4 = 0;
        SQLBindCol(st, 1, SQL_C_SBIGINT, &congregacao, 0, &i1);
        SQLBindCol(st, 2, SQL_C_WCHAR, ri, sizeof ri, &i2);
        SQLBindCol(st, 3, SQL_C_WCHAR, nome, sizeof nome, &i3);
        SQLBindCol(st, 4, SQL_C_SBIGINT, &cargo, 0, &i4);
        std::vector<Membro> membros;
        QHash<QString, size_t> posicao;
        while (SQL_SUCCEEDED(SQLFetch(st))) {
            Membro m{Texto(ri, i2), Texto(nome, i3).toUpper(), i4 != SQL_NULL_DATA, cargo};
            if (m.ri.isEmpty()) continue;
            const auto achado = posicao.constFind(m.ri);
            if (achado != posicao.constEnd()) {
                membros[*achado] = std::move(m);
            } else {
                posicao.insert(m.ri, membros.size());
                membros.push_back(std::move(m));
            }
        }
        SQLFreeHandle(SQL_HANDLE_STMT, st);
        return membros;
    }

    struct Stmt {
        sqlite3_stmt* st = nullptr;
        Stmt(sqlite3* db, const char* sql) {
            if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) Falha(db);
        }
        ~Stmt() { sqlite3_finalize(st); }
        bool Passo() {
            const int rc = sqlite3_step(st);
            if (rc != SQLITE_ROW && rc != SQLITE_DONE) Falha(sqlite3_db_handle(st));
            return rc == SQLITE_ROW;
        }
        void Roda() {
            Passo();
            sqlite3_reset(st);
        }
        // A text as the download's statements take it: after one "=".
        void Texto(int i, const QString& t) {
            texto.resize(1 + t.size() * 3);
            texto[0] = '=';
            utf8.resetState();
            char* fim = utf8.appendToBuffer(texto.data() + 1, t);
            sqlite3_bind_text(st, i, texto.constData(), int(fim - texto.constData()), SQLITE_TRANSIENT);
        }
        void Cargo(int i, bool tem, qint64 cargo) {
            if (tem) Texto(i, QString::number(cargo));
            else sqlite3_bind_text(st, i, "=", 1, SQLITE_STATIC);
        }
        QByteArray texto;
        QStringEncoder utf8{QStringEncoder::Utf8};
        [[noreturn]] static void Falha(sqlite3* db) {
            std::fprintf(stderr, "piso da atualização: %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
    };

    void Grava(const std::vector<Conta>& contas, const std::vector<Membro>& membros) const {
        sqlite3* db = local_.Abre();
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        {
            if (!contas.empty()) {
                Stmt(db, Sql("ProcAtuDelSaidas")).Roda();
                Stmt ins(db, Sql("ProcAtuInsSaida"));
                sqlite3_bind_int64(ins.st, 2, igreja_);
                for (const Conta& c : contas) {
                    sqlite3_bind_int64(ins.st, 1, c.codigo);
                    ins.Texto(3, c.descricao);
                    ins.Roda();
                }
            }
            if (!membros.empty()) {
                QHash<QString, qint64> locais;
                Stmt pesq(db, Sql("ProcAtuPesqDizimos"));
                while (pesq.Passo())
                    locais.insert(QString::fromUtf16(static_cast<const char16_t*>(sqlite3_column_text16(pesq.st, 0)),
                                                     sqlite3_column_bytes16(pesq.st, 0) / 2),
                                  sqlite3_column_int64(pesq.st, 1));
                Stmt proximo(db, Sql("ProcProximoDizimos"));
                proximo.Passo();
                qint64 codigo = sqlite3_column_type(proximo.st, 0) == SQLITE_NULL ? 1 : sqlite3_column_int64(proximo.st, 0);
                Stmt ins(db, Sql("ProcAtuInsDizimo"));
                Stmt upd(db, Sql("ProcAtuUpdDizimo"));
                sqlite3_bind_int64(ins.st, 2, igreja_);
                sqlite3_bind_int64(upd.st, 2, igreja_);
                for (const Membro& m : membros) {
                    const auto achado = locais.constFind(m.ri);
                    if (achado != locais.constEnd()) {
                        sqlite3_bind_int64(upd.st, 1, *achado);
                        upd.Texto(3, m.nome);
                        upd.Cargo(4, m.temCargo, m.cargo);
                        upd.Roda();
                    } else {
                        sqlite3_bind_int64(ins.st, 1, codigo);
                        ins.Texto(3, m.ri);
                        ins.Texto(4, m.nome);
                        ins.Cargo(5, m.temCargo, m.cargo);
                        ins.Roda();
                        locais.insert(m.ri, codigo++);
                    }
                }
            }
        }
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) Stmt::Falha(db);
        sqlite3_close_v2(db);
    }

    const char* Sql(const char* nome) const { return sql_.at(nome).constData(); }

    QString servidor_;
    Piso::Local local_;
    qint64 igreja_;
    std::map<std::string, QByteArray> sql_;  // the program's stored statements
};

}  // namespace Piso_Atualizacoes
