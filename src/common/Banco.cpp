#include "common/Banco.h"
#include "common/Erros.h"
#include "common/ParametroConsulta.h"
#include "platform/App.h"
#include "platform/Erro.h"
#include "platform/SqlCipher.h"
#include <QRegularExpression>
#include <QVarLengthArray>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

using SqlCipher::Comando;
using SqlCipher::Conexao;
using ParametroConsulta::Tipo;

QString Banco::CaminhoArquivo() { return App::Path() + QLatin1Char('/') + NomeArquivo; }

void Banco::Copia(const QString& destino) { SqlCipher::CopiaConsistente(CaminhoArquivo(), destino); }

namespace {

struct ConsultaArmazenada {
    QString nome;
    QString sql;
    std::vector<Tipo> tipos;
};

// The file's first page as it stands on disk. Every committed write, by
// this program or another, rewrites it (its change counter, encrypted anew
// under a fresh IV), so while it is unchanged no stored query has changed.
QByteArray VersaoArquivo(sqlite3* db) {
    QByteArray pagina(4096, '\0');
    const int rc = SqlCipher::LeInicioArquivo(db, pagina);
    // A short read zero-fills the rest, which is then part of the version.
    if (rc != SQLITE_OK && rc != SQLITE_IOERR_SHORT_READ) return {};
    return pagina;
}

// The stored queries read from one version of one file, for the run: a
// call reads them from the file again only when the file has changed.
struct ConsultasLidas {
    std::mutex trava;
    QString caminho;
    QByteArray versao;
    std::unordered_map<QString, std::shared_ptr<const ConsultaArmazenada>> porNome;
};
ConsultasLidas& consultasLidas() {
    static ConsultasLidas c;
    return c;
}

ConsultaArmazenada LeConsulta(const Conexao& con, const QString& nome) {
    Comando c(con, QStringLiteral("SELECT Nome, Parametros, Sql FROM Consultas WHERE Nome = ?1"));
    c.LigaTexto(1, nome);
    if (!c.Passo())
        throw ErroExecucao(3265, QStringLiteral("Consulta '%1' não encontrada no banco de dados.").arg(nome));
    ConsultaArmazenada q;
    q.nome = c.Coluna(0).toString();
    q.sql = c.Coluna(2).toString();
    const QString lista = c.Coluna(1).toString().trimmed();
    if (!lista.isEmpty()) {
        for (const QString& nomeTipo : lista.split(QLatin1Char(','))) {
            const auto tipo = ParametroConsulta::TipoDeNome(nomeTipo.trimmed());
            if (!tipo)
                throw ErroExecucao(3421, QStringLiteral("Consulta '%1': tipo de parâmetro desconhecido \"%2\".")
                                             .arg(q.nome, nomeTipo.trimmed()));
            q.tipos.push_back(*tipo);
        }
    }
    return q;
}

// The stored query, from the file's version `versao` (empty: unknown, read
// from the file).
std::shared_ptr<const ConsultaArmazenada> BuscaConsulta(const Conexao& con, const QString& caminho,
                                                        const QByteArray& versao, const QString& nome) {
    ConsultasLidas& lidas = consultasLidas();
    if (!versao.isEmpty()) {
        const std::lock_guard trava(lidas.trava);
        if (lidas.caminho == caminho && lidas.versao == versao) {
            const auto it = lidas.porNome.find(nome);
            if (it != lidas.porNome.end()) return it->second;
        }
    }
    auto q = std::make_shared<const ConsultaArmazenada>(LeConsulta(con, nome));
    if (!versao.isEmpty()) {
        const std::lock_guard trava(lidas.trava);
        if (lidas.caminho != caminho || lidas.versao != versao) {
            lidas.caminho = caminho;
            lidas.versao = versao;
            lidas.porNome.clear();
        }
        lidas.porNome[nome] = q;
    }
    return q;
}

// The file moved from version `de` to `para` without a change of its stored
// queries: those read from `de` hold for `para`.
void RenovaVersao(const QString& caminho, const QByteArray& de, const QByteArray& para) {
    if (para.isEmpty()) return;
    ConsultasLidas& lidas = consultasLidas();
    const std::lock_guard trava(lidas.trava);
    if (lidas.caminho == caminho && lidas.versao == de) lidas.versao = para;
}

// Entry i of the array fills parameter i (?i+1 in the SQL); an empty entry
// leaves its parameter unassigned, and the query is then refused.
void PreencheParametros(Comando& c, const ConsultaArmazenada& q, const QStringList& parametros) {
    const int n = int(q.tipos.size());
    QVarLengthArray<bool, 32> atribuido(n, false);
    for (qsizetype i = 0; i < parametros.size(); ++i) {
        const QString& entrada = parametros[i];
        if (entrada.isEmpty()) continue;
        if (i >= n)
            throw ErroExecucao(3265, QStringLiteral("Consulta '%1': o parâmetro %2 não existe (a consulta tem %3).")
                                         .arg(q.nome)
                                         .arg(i)
                                         .arg(n));
        const QVariant v = ParametroConsulta::Converte(q.tipos[size_t(i)], entrada);
        switch (v.typeId()) {
        case QMetaType::LongLong:
            c.LigaInteiro(int(i) + 1, v.toLongLong());
            break;
        case QMetaType::Double:
            c.LigaReal(int(i) + 1, v.toDouble());
            break;
        default:
            c.LigaTexto(int(i) + 1, v.toString());
            break;
        }
        atribuido[i] = true;
    }
    for (int i = 0; i < n; ++i)
        if (!atribuido[i])
            throw ErroExecucao(3061, QStringLiteral("Consulta '%1': parâmetro %2 sem valor.").arg(q.nome).arg(i));
    if (c.NumeroParametros() > n)
        throw ErroExecucao(3061, QStringLiteral("Consulta '%1': parâmetros insuficientes.").arg(q.nome));
}

RecordsetPtr LeSnapshot(Comando& c) {
    if (!c.SomenteLeitura())
        throw ErroExecucao(3219, QStringLiteral("Operação inválida: a instrução altera dados e não devolve registros."));
    QStringList nomes;
    for (int i = 0; i < c.Colunas(); ++i) nomes << c.NomeColuna(i);
    auto linhas =
        Recordset::CopiaLinhas(int(nomes.size()), [&] { return c.Passo(); }, [&](int i) { return c.Coluna(i); });
    // The names after the run too: a statement may only know them then.
    for (int i = 0; i < c.Colunas() && i < nomes.size(); ++i) nomes[i] = c.NomeColuna(i);
    return std::make_unique<Recordset>(std::move(nomes), std::move(linhas));
}

bool EhNomeDeConsulta(const QString& texto) {
    static const QRegularExpression re(QStringLiteral("^\\s*[A-Za-z_][A-Za-z0-9_]*\\s*$"));
    return re.match(texto).hasMatch();
}

}  // namespace

class BancoSqlCipher final : public BancoLocal {
public:
    explicit BancoSqlCipher(bool somenteLeitura)
        : caminho_(Banco::CaminhoArquivo()),
          con_(Conexao::Abre(caminho_)),
          versao_(VersaoArquivo(con_.Db())),
          somenteLeitura_(somenteLeitura) {}

    // From here on the statements join one transaction, which only
    // Confirma applies; the owner rolls it back on any failure.
    void IniciaUnidade() {
        con_.Executa(QStringLiteral("BEGIN IMMEDIATE"));
        emUnidade_ = true;
        // With the write lock held no one else changes the file: this is
        // the version the unit's statements see, until it writes itself.
        versao_ = VersaoArquivo(con_.Db());
    }
    void Confirma() {
        const QVariant antes = !consultasTocadas_ && !versao_.isEmpty() ? VersaoDados() : QVariant();
        con_.Executa(QStringLiteral("COMMIT"));
        if (antes.isNull()) return;
        // The commit rewrote the first page but left the stored queries as
        // they were: what was read from the unit's version holds for the
        // new one, unless another connection wrote meanwhile (the data
        // version counts only the others' commits).
        const QByteArray nova = VersaoArquivo(con_.Db());
        if (VersaoDados() == antes) RenovaVersao(caminho_, versao_, nova);
    }
    void Desfaz() noexcept { con_.Desfaz(); }

    RecordsetPtr AbreSnapshot(const QString& sqlOuNome) override {
        QString sql = sqlOuNome;
        if (EhNomeDeConsulta(sqlOuNome)) {
            const auto q = Busca(sqlOuNome.trimmed());
            if (!q->tipos.empty())
                throw ErroExecucao(3061, QStringLiteral("Consulta '%1': %2 parâmetro(s) sem valor.")
                                             .arg(q->nome)
                                             .arg(q->tipos.size()));
            sql = q->sql;
        }
        Comando c(con_, sql);
        ExigeSemParametros(c);
        return LeSnapshot(c);
    }

    void Executa(const QString& sql) override {
        Toca_Consultas();  // a text of its own may write anything
        Comando c(con_, sql);
        ExigeSemParametros(c);
        ExecutaInteira(c);
    }

    void ExecutaQuery(const QString& nome, const QStringList& parametros) override {
        Preparada& p = Prepara(nome);
        const Reinicio reinicio{*p.comando};
        PreencheParametros(*p.comando, *p.consulta, parametros);
        ExecutaInteira(*p.comando);
    }

    RecordsetPtr AbreQuery(const QString& nome, const QStringList& parametros) override {
        Preparada& p = Prepara(nome);
        const Reinicio reinicio{*p.comando};
        PreencheParametros(*p.comando, *p.consulta, parametros);
        return LeSnapshot(*p.comando);
    }

private:
    struct Preparada {
        std::shared_ptr<const ConsultaArmazenada> consulta;
        std::unique_ptr<Comando> comando;
    };
    // A statement back to before its first step however its use ends, so
    // the next call can bind it again and no read stays open.
    struct Reinicio {
        Comando& c;
        ~Reinicio() { c.Reinicia(); }
    };

    // The stored query and its statement. Inside a unit the write lock
    // keeps every stored query as it was, so each is looked up and prepared
    // once and then only bound per call: a step running one query for
    // thousands of rows parses it once. A handle that may have changed the
    // stored queries prepares every call anew from the file.
    Preparada& Prepara(const QString& nome) {
        if (emUnidade_ && !consultasTocadas_) {
            const auto it = preparadas_.find(nome);
            if (it != preparadas_.end()) return it->second;
        }
        Preparada p;
        p.consulta = Busca(nome);
        if (p.consulta->sql.contains(QLatin1String("Consultas"), Qt::CaseInsensitive)) Toca_Consultas();
        p.comando = std::make_unique<Comando>(con_, p.consulta->sql);
        if (!emUnidade_ || consultasTocadas_) {
            avulsa_ = std::move(p);
            return avulsa_;
        }
        return preparadas_[nome] = std::move(p);
    }

    void Toca_Consultas() {
        consultasTocadas_ = true;
        preparadas_.clear();
    }

    // The stored queries stay those of the version this handle started
    // from until it runs something that may change them: from then on its
    // lookups go to the file.
    std::shared_ptr<const ConsultaArmazenada> Busca(const QString& nome) {
        return BuscaConsulta(con_, caminho_, consultasTocadas_ ? QByteArray() : versao_, nome);
    }

    // PRAGMA data_version; null when it cannot be read. Only the stored
    // queries' reuse depends on it, never the work itself: after a commit
    // nothing may fail, or the work would be retried and applied twice.
    QVariant VersaoDados() const noexcept {
        try {
            return con_.Valor(QStringLiteral("PRAGMA data_version"));
        } catch (...) {
            return {};
        }
    }

    static void ExigeSemParametros(const Comando& c) {
        if (c.NumeroParametros() > 0)
            throw ErroExecucao(3061, QStringLiteral("Parâmetros insuficientes: a instrução espera %1.")
                                         .arg(c.NumeroParametros()));
    }

    // A statement applies whole or not at all: it runs inside its own
    // transaction, rolled back when any row fails.
    void ExecutaInteira(Comando& c) {
        if (c.SomenteLeitura()) {
            while (c.Passo()) {
            }
            return;
        }
        if (somenteLeitura_)
            throw ErroExecucao(3027, QStringLiteral("O banco de dados foi aberto somente para leitura."));
        if (emUnidade_) {
            while (c.Passo()) {
            }
            return;
        }
        con_.Executa(QStringLiteral("BEGIN IMMEDIATE"));
        try {
            while (c.Passo()) {
            }
            con_.Executa(QStringLiteral("COMMIT"));
        } catch (...) {
            c.Reinicia();
            con_.Desfaz();
            throw;
        }
    }

    QString caminho_;
    Conexao con_;
    QByteArray versao_;
    bool somenteLeitura_;
    bool emUnidade_ = false;
    bool consultasTocadas_ = false;
    // Before con_ is closed: declared after it.
    std::unordered_map<QString, Preparada> preparadas_;
    Preparada avulsa_;
};

BancoLocalPtr Abre_Banco(bool somenteLeitura) { return std::make_unique<BancoSqlCipher>(somenteLeitura); }

void Fecha_Banco(BancoLocalPtr& banco) { banco.reset(); }

RecordsetPtr Abre_Recordset(const QString& sqlOuNome) { return Abre_Banco(true)->AbreSnapshot(sqlOuNome); }

void Executa_SQL(const QString& sql) { Abre_Banco(false)->Executa(sql); }

void Executa_Query(const QString& nome, const QStringList& parametros) {
    Abre_Banco(false)->ExecutaQuery(nome, parametros);
}

RecordsetPtr Abre_Query(const QString& nome, const QStringList& parametros) {
    return Abre_Banco(true)->AbreQuery(nome, parametros);
}

UnidadeTrabalho::UnidadeTrabalho() : banco_(std::make_unique<BancoSqlCipher>(false)) { banco_->IniciaUnidade(); }

UnidadeTrabalho::~UnidadeTrabalho() {
    if (banco_) banco_->Desfaz();
}

template <class F>
auto UnidadeTrabalho::Guardado(F&& f) -> decltype(f()) {
    if (!banco_)
        throw ErroExecucao(3704, QStringLiteral("A unidade de trabalho já foi encerrada: recomece-a do início."));
    try {
        return f();
    } catch (...) {
        // Whatever the engine left of the transaction, none of it stays.
        banco_->Desfaz();
        banco_.reset();
        throw;
    }
}

RecordsetPtr UnidadeTrabalho::AbreSnapshot(const QString& sqlOuNome) {
    return Guardado([&] { return banco_->AbreSnapshot(sqlOuNome); });
}

void UnidadeTrabalho::Executa(const QString& sql) {
    Guardado([&] { banco_->Executa(sql); });
}

void UnidadeTrabalho::ExecutaQuery(const QString& nome, const QStringList& parametros) {
    Guardado([&] { banco_->ExecutaQuery(nome, parametros); });
}

RecordsetPtr UnidadeTrabalho::AbreQuery(const QString& nome, const QStringList& parametros) {
    return Guardado([&] { return banco_->AbreQuery(nome, parametros); });
}

void UnidadeTrabalho::Commit() {
    Guardado([&] { banco_->Confirma(); });
    banco_.reset();
}

void Em_Unidade(const std::function<void(UnidadeTrabalho&)>& passo) {
    UnidadeTrabalho unidade;
    passo(unidade);
    unidade.Commit();
}

bool Tenta_Unidade(const std::function<void(UnidadeTrabalho&)>& passo) {
    return Tenta([&] { Em_Unidade(passo); });
}
