#include "common/Esquema.h"
#include "common/ParametroConsulta.h"
#include "platform/Erro.h"
#include "platform/SqlCipher.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <optional>

// The schema files are compiled into the core library; a static library
// keeps its resources only when something refers to their initialiser.
static void IniciaRecursosEsquema() { Q_INIT_RESOURCE(esquema); }

using SqlCipher::Comando;
using SqlCipher::Conexao;

namespace Esquema {

namespace {

[[noreturn]] void ErroEsquema(const QString& onde, const QString& texto) {
    throw ErroExecucao(3075, QStringLiteral("Esquema do banco (%1): %2").arg(onde, texto));
}

QString Aspas(const QString& nome) {
    return QLatin1Char('"') + QString(nome).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// Makes the whole schema in a private in-memory database: proves that every
// statement runs and that every stored query compiles with as many
// parameters as it declares, and serves as the model an old file is
// compared with.
Conexao Referencia(const Definicao& def) {
    Conexao mem = Conexao::Memoria();
    for (const QStringList* lista : {&def.instrucoes, &def.sementes}) {
        for (const QString& instrucao : *lista) {
            try {
                mem.Executa(instrucao);
            } catch (const ErroExecucao& e) {
                ErroEsquema(instrucao.section(QLatin1Char('\n'), 0, 0), e.Description);
            }
        }
    }
    if (mem.Valor(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'Consultas'")).toInt() != 1)
        ErroEsquema(QStringLiteral("Consultas"), QStringLiteral("a tabela das consultas não está definida"));
    for (const Consulta& q : def.consultas) {
        const int declarados = q.parametros.isEmpty() ? 0 : int(q.parametros.count(QLatin1Char(',')) + 1);
        int noSql = 0;
        try {
            noSql = Comando(mem, q.sql).NumeroParametros();
        } catch (const ErroExecucao& e) {
            ErroEsquema(q.nome, e.Description);
        }
        if (noSql != declarados)
            ErroEsquema(q.nome,
                        QStringLiteral("o SQL tem %1 parâmetro(s), o cabeçalho declara %2").arg(noSql).arg(declarados));
    }
    return mem;
}

void GravaConsulta(const Conexao& con, const Consulta& q) {
    Comando c(con, QStringLiteral("INSERT OR REPLACE INTO Consultas (Nome, Parametros, Sql) VALUES (?1, ?2, ?3)"));
    c.LigaTexto(1, q.nome);
    c.LigaTexto(2, q.parametros);
    c.LigaTexto(3, q.sql);
    c.Passo();
}

struct Objeto {
    QString tipo, nome, sql;
};

std::vector<Objeto> Objetos(const Conexao& con) {
    Comando c(con, QStringLiteral("SELECT type, name, sql FROM sqlite_master "
                                  "WHERE sql IS NOT NULL AND name NOT LIKE 'sqlite_%' ORDER BY rowid"));
    std::vector<Objeto> lista;
    while (c.Passo()) lista.push_back({c.Coluna(0).toString(), c.Coluna(1).toString(), c.Coluna(2).toString()});
    return lista;
}

QSet<QString> Colunas(const Conexao& con, const QString& tabela) {
    Comando c(con, QStringLiteral("PRAGMA table_info(%1)").arg(Aspas(tabela)));
    QSet<QString> nomes;
    while (c.Passo()) nomes.insert(c.Coluna(1).toString().toLower());
    return nomes;
}

// "ADD COLUMN" text of a column of the model, with its type, collation,
// default and NOT NULL.
QString DefinicaoColuna(const Conexao& ref, const QString& tabela, const QString& coluna, const QVariant& padrao,
                        bool naoNulo, bool chave) {
    if (chave) ErroEsquema(tabela, QStringLiteral("a coluna de chave %1 não pode ser acrescentada").arg(coluna));
    if (naoNulo && padrao.isNull())
        ErroEsquema(tabela, QStringLiteral("a coluna NOT NULL %1 precisa de um valor padrão").arg(coluna));
    const char* tipo = nullptr;
    const char* colacao = nullptr;
    const QByteArray t = tabela.toUtf8(), c = coluna.toUtf8();
    sqlite3_table_column_metadata(ref.Db(), "main", t.constData(), c.constData(), &tipo, &colacao, nullptr,
                                  nullptr, nullptr);
    QString def = Aspas(coluna);
    if (tipo && *tipo) def += QLatin1Char(' ') + QString::fromUtf8(tipo);
    if (naoNulo) def += QLatin1String(" NOT NULL");
    if (!padrao.isNull()) def += QLatin1String(" DEFAULT ") + padrao.toString();
    if (colacao && QByteArray(colacao).compare("BINARY", Qt::CaseInsensitive) != 0)
        def += QLatin1String(" COLLATE ") + QString::fromUtf8(colacao);
    return def;
}

// What a file lacks of the model, found by reading only, so that a file
// already up to date is never written (it may sit on a medium that cannot
// be written, and it must still open).
struct Pendencias {
    QStringList instrucoes;  // tables, columns, indexes, in the order they must run
    std::vector<const Consulta*> consultas;
    bool Vazia() const { return instrucoes.isEmpty() && consultas.empty(); }
};

void PendenciasEstrutura(const Conexao& con, const Conexao& ref, Pendencias& p) {
    QSet<QString> existentes;
    for (const Objeto& o : Objetos(con)) existentes.insert(o.nome.toLower());
    const std::vector<Objeto> modelo = Objetos(ref);
    for (const Objeto& o : modelo) {
        if (o.tipo != QLatin1String("table")) continue;
        if (!existentes.contains(o.nome.toLower())) {
            p.instrucoes << o.sql;
            continue;
        }
        const QSet<QString> presentes = Colunas(con, o.nome);
        Comando info(ref, QStringLiteral("PRAGMA table_info(%1)").arg(Aspas(o.nome)));
        while (info.Passo()) {
            const QString coluna = info.Coluna(1).toString();
            if (presentes.contains(coluna.toLower())) continue;
            p.instrucoes << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                                .arg(Aspas(o.nome),
                                     DefinicaoColuna(ref, o.nome, coluna, info.Coluna(4), info.Coluna(3).toInt() != 0,
                                                     info.Coluna(5).toInt() != 0));
        }
    }
    for (const Objeto& o : modelo) {
        if (o.tipo == QLatin1String("table") || existentes.contains(o.nome.toLower())) continue;
        p.instrucoes << o.sql;
    }
}

void PendenciasConsultas(const Conexao& con, const Definicao& def, Pendencias& p) {
    for (const Consulta& q : def.consultas) {
        Comando c(con, QStringLiteral("SELECT Parametros, Sql FROM Consultas WHERE Nome = ?1"));
        c.LigaTexto(1, q.nome);
        if (c.Passo() && c.Coluna(0).toString() == q.parametros && c.Coluna(1).toString() == q.sql) continue;
        p.consultas.push_back(&q);
    }
}

Pendencias Compara(const Conexao& con, const Conexao& ref, const Definicao& def) {
    Pendencias p;
    PendenciasEstrutura(con, ref, p);
    PendenciasConsultas(con, def, p);
    return p;
}

int VersaoDe(const Conexao& con) { return con.Valor(QStringLiteral("PRAGMA user_version")).toInt(); }

}  // namespace

void Interpreta(const QString& texto, const QString& arquivo, Definicao& def) {
    static const QRegularExpression inicioCabecalho(QStringLiteral("^--\\s*consulta\\s*:"),
                                                    QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression cabecalho(
        QStringLiteral("^--\\s*consulta\\s*:\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*(?:\\(([^)]*)\\))?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    QString acumulado;
    std::optional<Consulta> pendente;
    int numeroLinha = 0;
    const auto onde = [&] { return QStringLiteral("%1:%2").arg(arquivo).arg(numeroLinha); };
    for (const QString& linha : texto.split(QLatin1Char('\n'))) {
        ++numeroLinha;
        const QString t = linha.trimmed();
        if (acumulado.isEmpty()) {
            if (t.isEmpty()) continue;
            if (t.startsWith(QLatin1String("--"))) {
                if (inicioCabecalho.match(t).hasMatch()) {
                    const auto m = cabecalho.match(t);
                    if (!m.hasMatch()) ErroEsquema(onde(), QStringLiteral("cabeçalho de consulta inválido: ") + t);
                    if (pendente) ErroEsquema(onde(), QStringLiteral("consulta %1 sem SQL").arg(pendente->nome));
                    Consulta q;
                    q.nome = m.captured(1);
                    QStringList tipos;
                    for (const QString& nomeTipo : m.captured(2).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                        const auto tipo = ParametroConsulta::TipoDeNome(nomeTipo.trimmed());
                        if (!tipo) ErroEsquema(onde(), QStringLiteral("tipo desconhecido: ") + nomeTipo.trimmed());
                        tipos << ParametroConsulta::NomeDoTipo(*tipo);
                    }
                    q.parametros = tipos.join(QLatin1Char(','));
                    pendente = q;
                }
                continue;  // a comment between statements
            }
        }
        acumulado += linha + QLatin1Char('\n');
        if (!sqlite3_complete(acumulado.toUtf8().constData())) continue;
        QString instrucao = acumulado.trimmed();
        acumulado.clear();
        if (instrucao.endsWith(QLatin1Char(';'))) instrucao.chop(1);
        instrucao = instrucao.trimmed();
        if (pendente) {
            pendente->sql = instrucao;
            def.consultas.push_back(*pendente);
            pendente.reset();
        } else if (instrucao.startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive)) {
            def.sementes << instrucao;
        } else {
            def.instrucoes << instrucao;
        }
    }
    if (!acumulado.trimmed().isEmpty()) ErroEsquema(onde(), QStringLiteral("instrução sem ';' final"));
    if (pendente) ErroEsquema(onde(), QStringLiteral("consulta %1 sem SQL").arg(pendente->nome));
}

Definicao Carrega() {
    IniciaRecursosEsquema();
    const QDir pasta(QStringLiteral(":/db/local"));
    const QStringList arquivos = pasta.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    if (arquivos.isEmpty()) ErroEsquema(pasta.path(), QStringLiteral("nenhum arquivo de esquema"));
    Definicao def;
    for (const QString& nome : arquivos) {
        QFile f(pasta.filePath(nome));
        if (!f.open(QIODevice::ReadOnly)) ErroEsquema(nome, f.errorString());
        Interpreta(QString::fromUtf8(f.readAll()), nome, def);
    }
    QSet<QString> nomes;
    for (const Consulta& q : def.consultas) {
        if (nomes.contains(q.nome.toLower())) ErroEsquema(q.nome, QStringLiteral("consulta definida duas vezes"));
        nomes.insert(q.nome.toLower());
    }
    return def;
}

void Cria(const QString& caminho) {
    const QFileInfo info(caminho);
    if (info.exists()) throw ErroExecucao(58, QStringLiteral("O arquivo já existe: ") + caminho);
    if (!info.absoluteDir().exists())
        throw ErroExecucao(3044, QStringLiteral("Pasta inexistente: ") + info.absolutePath());
    const Definicao def = Carrega();
    Referencia(def);
    // Built under a temporary name and renamed when complete, so that a
    // failure never leaves a half-made database under the real name.
    const QString temporario =
        caminho + QStringLiteral(".criando.") + QString::number(QCoreApplication::applicationPid());
    const auto limpa = [&] {
        QFile::remove(temporario);
        QFile::remove(temporario + QStringLiteral("-journal"));
    };
    limpa();
    try {
        {
            Conexao con = Conexao::CriaArquivo(temporario);
            con.Executa(QStringLiteral("BEGIN"));
            for (const QString& instrucao : def.instrucoes) con.Executa(instrucao);
            for (const QString& semente : def.sementes) con.Executa(semente);
            for (const Consulta& q : def.consultas) GravaConsulta(con, q);
            con.Executa(QStringLiteral("PRAGMA user_version = %1").arg(Versao));
            con.Executa(QStringLiteral("COMMIT"));
        }
        if (!QFile::rename(temporario, caminho))
            throw ErroExecucao(QFileInfo::exists(caminho) ? 58 : 3044,
                               QStringLiteral("Não foi possível criar ") + caminho);
    } catch (...) {
        limpa();
        throw;
    }
}

bool Atualiza(const QString& caminho) {
    const Definicao def = Carrega();
    const Conexao ref = Referencia(def);
    Conexao con = Conexao::Abre(caminho);
    const int versao = VersaoDe(con);
    if (versao > Versao) return false;  // made by a newer program: leave its schema alone
    // A copy of the file must be a whole backup: no write-ahead log.
    const bool diarioCerto = con.Valor(QStringLiteral("PRAGMA journal_mode"))
                                 .toString()
                                 .compare(QLatin1String("delete"), Qt::CaseInsensitive) == 0;
    if (diarioCerto && versao == Versao && Compara(con, ref, def).Vazia()) return false;
    if (!diarioCerto) con.Executa(QStringLiteral("PRAGMA journal_mode = DELETE"));
    con.Executa(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        // Compared again under the write lock: another program may have
        // changed the file since it was read.
        const Pendencias p = Compara(con, ref, def);
        for (const QString& instrucao : p.instrucoes) con.Executa(instrucao);
        for (const Consulta* q : p.consultas) GravaConsulta(con, *q);
        const bool novaVersao = VersaoDe(con) < Versao;
        if (novaVersao) {
            // Only on the way up: rows the user or a download removed later
            // are not put back at every start.
            for (const QString& semente : def.sementes) con.Executa(semente);
            con.Executa(QStringLiteral("PRAGMA user_version = %1").arg(Versao));
        }
        if (p.Vazia() && !novaVersao) {
            con.Desfaz();
            return !diarioCerto;
        }
        con.Executa(QStringLiteral("COMMIT"));
        return true;
    } catch (...) {
        con.Desfaz();
        throw;
    }
}

}  // namespace Esquema
