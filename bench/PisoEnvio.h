#pragma once
// The floor of the month's send: the same rows into the same central table
// through the same ODBC driver, written directly on its C API. One
// connection and one transaction; the reduced accounts of the month read in
// one query; inserts of 50 rows of one kind prepared once per send, every
// parameter bound once to a buffer that each row refills; the clock's texts
// formatted once a second; then the month's local transmission record in
// one SQLCipher transaction. No window, no progress, no checks.
#include "PisoOdbc.h"
#include <QElapsedTimer>
#include <QHash>
#include <QStringEncoder>
#include <sql.h>
#include <sqlext.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace Piso_Envio {

// A row of the month as the send reads it from the list: the values the
// row keeps and the text it shows.
struct Linha {
    QString texto;      // the 76 columns
    char tipo = 0;      // 'O', 'D' or 'S'
    int dia = 0;
    QString historico;  // as stored
    qint64 centavos = 0;
};

struct Mes {
    QString servidor;  // Param[11]
    int mes = 0, ano = 0;
    qint64 setor = 0, congregacao = 0, caixa = 0;
    QByteArray usuario;
};

// One parameter's buffer: a whole number, a text (UTF-8 bytes) or NULL.
struct Celula {
    SQLLEN ind = 0;
    qint64 n = 0;
    char t[200];
};

// The columns of the central entries table and how each travels: N a
// whole number, T a text, X always NULL.
struct Coluna {
    const char* nome;
    char tipo;
};
constexpr Coluna Colunas[] = {
    {"mes", 'N'},          {"ano", 'N'},          {"valor", 'T'},        {"membro", 'N'},       {"funcionario", 'N'},
    {"frequentador", 'N'}, {"data", 'T'},         {"hora", 'T'},         {"numero", 'N'},       {"chequebanco", 'X'},
    {"chequenumero", 'X'}, {"chequeagencia", 'X'}, {"chequevalor", 'X'},  {"chequedata", 'X'},   {"nomeportador", 'X'},
    {"setor", 'N'},        {"congregacao", 'N'},  {"mesreferencia", 'T'}, {"celula", 'N'},       {"caixa", 'N'},
    {"contacredito", 'T'}, {"conta", 'N'},        {"caixacredito", 'N'}, {"tipo", 'T'},         {"fornecedor", 'N'},
    {"departamento", 'N'}, {"formapagto", 'N'},   {"culto", 'N'},        {"tipoorigem", 'T'},   {"horario", 'T'},
    {"protocolo", 'T'},    {"historico", 'T'},    {"transacao", 'T'},    {"impcheck", 'T'},     {"datadevolucao", 'X'},
    {"semana", 'N'},       {"grupoconta", 'N'},   {"outros", 'T'},       {"nomeoutro", 'T'},    {"codlote", 'N'},
    {"centrocusto", 'N'},  {"comprovante", 'T'},  {"tipoplanilha", 'T'}, {"vlr1", 'N'},         {"forma1", 'N'},
    {"vlr2", 'N'},         {"forma2", 'N'},       {"vlr3", 'N'},         {"forma3", 'N'},       {"anexo", 'T'},
    {"parcela", 'T'},      {"codparcela", 'N'},   {"competencia", 'T'},  {"datapgto", 'T'},      {"fiscalsn", 'X'},
    {"ard", 'X'},          {"usuario", 'N'},
};
static_assert(std::size(Colunas) == 57);
constexpr int NomeOutro = 38;

// A tithe has every column; an offering or an outflow has no nomeoutro.
inline std::vector<Coluna> Colunas_De(bool dizimo) {
    std::vector<Coluna> c(std::begin(Colunas), std::end(Colunas));
    if (!dizimo) c.erase(c.begin() + NomeOutro);
    return c;
}

// An insert of `linhas` rows of one kind, every parameter bound once.
class Insercao {
public:
    Insercao(SQLHDBC dbc, bool dizimo, int linhas) : colunas_(Colunas_De(dizimo)), linhas_(linhas) {
        std::string sql = "Insert into tbllanc (";
        for (size_t i = 0; i < colunas_.size(); ++i) sql += std::string(i ? "," : "") + colunas_[i].nome;
        sql += ") values ";
        std::string marcas = "(";
        for (size_t i = 0; i < colunas_.size(); ++i) marcas += i ? ",?" : "?";
        marcas += ")";
        for (int r = 0; r < linhas; ++r) sql += (r ? "," : "") + marcas;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st_);
        if (!SQL_SUCCEEDED(SQLPrepareA(st_, reinterpret_cast<SQLCHAR*>(sql.data()), SQLINTEGER(sql.size()))))
            Piso::Falha("prepare", SQL_HANDLE_STMT, st_);
        celulas_.resize(colunas_.size() * size_t(linhas));
        for (size_t k = 0; k < celulas_.size(); ++k) {
            Celula& c = celulas_[k];
            const SQLUSMALLINT numero = SQLUSMALLINT(k + 1);
            SQLRETURN r;
            switch (colunas_[k % colunas_.size()].tipo) {
            case 'N':
                r = SQLBindParameter(st_, numero, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &c.n, 0, &c.ind);
                break;
            case 'T':
                r = SQLBindParameter(st_, numero, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_LONGVARBINARY, sizeof c.t, 0, c.t,
                                     sizeof c.t, &c.ind);
                break;
            default:
                c.ind = SQL_NULL_DATA;
                r = SQLBindParameter(st_, numero, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 0, 0, nullptr, 0, &c.ind);
            }
            if (!SQL_SUCCEEDED(r)) Piso::Falha("bind", SQL_HANDLE_STMT, st_);
        }
    }
    ~Insercao() { SQLFreeHandle(SQL_HANDLE_STMT, st_); }
    Insercao(const Insercao&) = delete;
    Insercao& operator=(const Insercao&) = delete;

    Celula* Linha(int r) { return &celulas_[size_t(r) * colunas_.size()]; }
    size_t Largura() const { return colunas_.size(); }
    void Executa() {
        if (!SQL_SUCCEEDED(SQLExecute(st_))) Piso::Falha("insert", SQL_HANDLE_STMT, st_);
    }

private:
    std::vector<Coluna> colunas_;
    int linhas_;
    SQLHSTMT st_ = nullptr;
    std::vector<Celula> celulas_;
};

// Writes one row's parameters in column order.
struct Escreve {
    Celula* c;
    QStringEncoder& utf8;
    void N(qint64 v) {
        c->n = v;
        c->ind = 0;
        ++c;
    }
    void T(const char* s, size_t n) {
        std::memcpy(c->t, s, n);
        c->ind = SQLLEN(n);
        ++c;
    }
    void T(const char* s) { T(s, std::strlen(s)); }
    void U(const char* prefixo, QStringView s) {
        const size_t n = std::strlen(prefixo);
        std::memcpy(c->t, prefixo, n);
        c->ind = SQLLEN(utf8.appendToBuffer(c->t + n, s) - c->t);
        ++c;
    }
    void X() {
        c->ind = SQL_NULL_DATA;
        ++c;
    }
};

// The whole number right after the first `marca` ("RI:", "CT:") of the
// history, up to a blank; nullopt when there is none.
inline std::optional<qint64> Numero_Apos(const QString& h, QLatin1String marca, bool ateBranco) {
    const qsizetype p = h.indexOf(marca);
    if (p < 0) return std::nullopt;
    qsizetype fim = p + 3;
    if (ateBranco) {
        while (fim < h.size() && h[fim] != QLatin1Char(' ')) ++fim;
    } else {
        while (fim < h.size() && h[fim].isDigit()) ++fim;
    }
    bool ok = false;
    const qint64 v = QStringView(h).mid(p + 3, fim - p - 3).toLongLong(&ok);
    if (!ok) return std::nullopt;
    return v;
}

class Envio {
public:
    Envio(const Mes& mes, const Piso::Local& local) : mes_(mes), local_(local) {}

    // Fixed texts for the moment of sending (hh:mm:ss, yyyy-mm-dd hh:mm:ss),
    // or the clock's.
    void Fixa(const char* hora, const char* horario) {
        fixo_ = true;
        std::snprintf(hora_, sizeof hora_, "%s", hora);
        std::snprintf(horario_, sizeof horario_, "%s", horario);
    }

    // One send of the rows; the seconds from the open transaction to the
    // local record written.
    double Envia(const std::vector<Linha>& linhas) {
        Piso::Conexao con(Central::Texto_Conexao(mes_.servidor));
        QElapsedTimer relogio;
        relogio.start();

        const QHash<qint64, qint64> contas = Contas(con, linhas);
        char referencia[8], prefixoData[12];
        std::snprintf(referencia, sizeof referencia, "%02d%04d", mes_.mes, mes_.ano);
        std::snprintf(prefixoData, sizeof prefixoData, "%04d-%02d-", mes_.ano, mes_.mes);
        QStringEncoder utf8(QStringEncoder::Utf8);
        Insercao cheias[2] = {Insercao(con.dbc, false, 50), Insercao(con.dbc, true, 50)};
        bool dizimos = false;
        int noGrupo = 0;
        auto descarrega = [&] {
            if (noGrupo == 0) return;
            if (noGrupo == 50) {
                cheias[dizimos ? 1 : 0].Executa();
            } else {
                Insercao resto(con.dbc, dizimos, noGrupo);
                for (int r = 0; r < noGrupo; ++r)
                    std::memcpy(resto.Linha(r), cheias[dizimos ? 1 : 0].Linha(r), sizeof(Celula) * resto.Largura());
                resto.Executa();
            }
            noGrupo = 0;
        };
        for (size_t i = 0; i < linhas.size(); ++i) {
            const Linha& l = linhas[i];
            const bool dizimo = l.tipo == 'D', saida = l.tipo == 'S';
            if (!dizimo && !saida && l.tipo != 'O') continue;
            if (noGrupo > 0 && dizimos != dizimo) descarrega();
            dizimos = dizimo;
            Le_Relogio();
            const QStringView celula = QStringView(l.texto).mid(5, 50);
            qint64 membro = 0;
            QStringView outro;
            if (dizimo) {
                const auto ri = Numero_Apos(l.historico, QLatin1String("RI:"), true);
                if (ri && *ri > 0) {
                    membro = *ri;
                } else {
                    const qsizetype p = celula.indexOf(QLatin1String("RI:"));
                    if (p < 0) outro = celula.trimmed();
                    else if (p > 3) outro = celula.mid(3, p - 3).trimmed();
                }
            }
            char valor[32], data[16];
            const qint64 c = l.centavos < 0 ? -l.centavos : l.centavos;
            const int nv = std::snprintf(valor, sizeof valor, "%s%lld.%02lld", l.centavos < 0 ? "-" : "",
                                         static_cast<long long>(c / 100), static_cast<long long>(c % 100));
            std::snprintf(data, sizeof data, "%s%02d", prefixoData, l.dia % 100);
            qint64 conta = dizimo ? 3101 : 3102;
            if (saida) {
                conta = 4710;
                if (l.historico.contains(QLatin1String("CT:")))
                    conta = contas.value(Numero_Apos(l.historico, QLatin1String("CT:"), false).value_or(0), 4710);
            }

            Insercao& grupo = cheias[dizimo ? 1 : 0];
            Escreve w{grupo.Linha(noGrupo), utf8};
            w.N(mes_.mes), w.N(mes_.ano), w.T(valor, size_t(nv)), w.N(membro), w.N(0), w.N(0), w.T(data, 10), w.T(hora_, 8);
            w.N(qint64(i) + 1);
            for (int k = 0; k < 6; ++k) w.X();
            w.N(mes_.setor), w.N(mes_.congregacao), w.T(referencia, 6), w.N(0), w.N(mes_.caixa), w.T("", 0), w.N(conta);
            w.N(0), w.T(saida ? "D" : "C", 1), w.N(0), w.N(0), w.N(1), w.N(0);
            w.T(dizimo ? (outro.isEmpty() ? "1" : "3") : "");
            w.T(horario_, 19), w.T("TQR", 3);
            if (dizimo) w.U("DÍZIMO ", celula.trimmed());
            else if (saida) w.U("", celula.left(48).trimmed());
            else w.T("OFERTAS NORMAIS");
            w.T(saida ? "1" : ""), w.T("", 0), w.X(), w.N(0), w.N(0), w.U("", outro);
            if (dizimo) w.U("", outro);
            w.N(0), w.N(0), w.T("", 0), w.T("", 0);
            for (int k = 0; k < 6; ++k) w.N(0);
            w.T("", 0), w.T("", 0), w.N(0), w.T(referencia, 6), w.T(data, 10), w.X(), w.X(), w.N(489);
            if (size_t(w.c - grupo.Linha(noGrupo)) != grupo.Largura()) {
                std::fprintf(stderr, "piso do envio: colunas a mais ou a menos\n");
                std::exit(1);
            }
            if (++noGrupo == 50) descarrega();
        }
        descarrega();
        con.Commit();
        Registra();
        return relogio.nsecsElapsed() / 1e9;
    }

private:
    void Le_Relogio() {
        if (fixo_) return;
        const std::time_t t = std::time(nullptr);
        if (t == visto_) return;
        visto_ = t;
        std::tm tm{};
        localtime_r(&t, &tm);
        std::strftime(hora_, sizeof hora_, "%H:%M:%S", &tm);
        std::strftime(horario_, sizeof horario_, "%Y-%m-%d %H:%M:%S", &tm);
    }

    // The reduced accounts of the month's outflow accounts, in one query.
    static QHash<qint64, qint64> Contas(Piso::Conexao& con, const std::vector<Linha>& linhas) {
        std::vector<qint64> codseqs;
        QHash<qint64, qint64> contas;
        for (const Linha& l : linhas) {
            if (l.tipo != 'S' || !l.historico.contains(QLatin1String("CT:"))) continue;
            const qint64 c = Numero_Apos(l.historico, QLatin1String("CT:"), false).value_or(0);
            if (!contas.contains(c)) {
                contas.insert(c, 4710);
                codseqs.push_back(c);
            }
        }
        if (codseqs.empty()) return contas;
        std::string sql = "Select codseq, reduzido FROM tblcontas WHERE codseq IN (";
        for (size_t i = 0; i < codseqs.size(); ++i) sql += i ? ",?" : "?";
        sql += ")";
        SQLHSTMT st = nullptr;
        SQLAllocHandle(SQL_HANDLE_STMT, con.dbc, &st);
        std::vector<SQLLEN> ind(codseqs.size(), 0);
        for (size_t i = 0; i < codseqs.size(); ++i)
            SQLBindParameter(st, SQLUSMALLINT(i + 1), SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0, &codseqs[i], 0, &ind[i]);
        if (!SQL_SUCCEEDED(SQLExecDirectA(st, reinterpret_cast<SQLCHAR*>(sql.data()), SQLINTEGER(sql.size()))))
            Piso::Falha("contas", SQL_HANDLE_STMT, st);
        qint64 codseq = 0, reduzido = 0;
        SQLLEN i1 = 0, i2 = 0;
        SQLBindCol(st, 1, SQL_C_SBIGINT, &codseq, 0, &i1);
        SQLBindCol(st, 2, SQL_C_SBIGINT, &reduzido, 0, &i2);
        while (SQL_SUCCEEDED(SQLFetch(st)))
            if (i2 != SQL_NULL_DATA) contas.insert(codseq, reduzido);
        SQLFreeHandle(SQL_HANDLE_STMT, st);
        return contas;
    }

    // The month recorded as sent, in one local transaction.
    void Registra() {
        sqlite3* db = local_.Abre();
        auto passo = [&](const char* sql, bool registro) {
            sqlite3_stmt* st = nullptr;
            if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
                std::fprintf(stderr, "piso do envio: %s\n", sqlite3_errmsg(db));
                std::exit(1);
            }
            sqlite3_bind_int(st, 1, mes_.mes);
            sqlite3_bind_int(st, 2, mes_.ano);
            if (registro) {
                sqlite3_bind_text(st, 3, horario_, -1, SQLITE_STATIC);
                sqlite3_bind_text(st, 4, mes_.usuario.constData(), int(mes_.usuario.size()), SQLITE_STATIC);
            }
            const int rc = sqlite3_step(st);
            sqlite3_finalize(st);
            if (rc != SQLITE_DONE) {
                std::fprintf(stderr, "piso do envio: %s\n", sqlite3_errmsg(db));
                std::exit(1);
            }
        };
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        passo("DELETE FROM Transmissao WHERE Mes = ?1 AND Ano = ?2", false);
        passo("INSERT INTO Transmissao (Mes, Ano, Data, Usuario) VALUES (?1, ?2, ?3, ?4)", true);
        if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "piso do envio: %s\n", sqlite3_errmsg(db));
            std::exit(1);
        }
        sqlite3_close_v2(db);
    }

    Mes mes_;
    Piso::Local local_;
    bool fixo_ = false;
    std::time_t visto_ = -1;
    char hora_[16] = {}, horario_[32] = {};
};

}  // namespace Piso_Envio
