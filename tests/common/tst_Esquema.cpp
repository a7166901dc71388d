// The schema of the local database: a new file holds every table and
// stored query; a file made by an earlier schema is brought up to date with
// its data intact; the schema files' format; the criabanco tool.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "platform/SqlCipher.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using SqlCipher::Comando;
using SqlCipher::Conexao;

namespace {
// Every "Table.Column" and index name of a file.
QSet<QString> Estrutura(const QString& caminho) {
    Conexao con = Conexao::Abre(caminho);
    QSet<QString> r;
    Comando t(con, "SELECT name, type FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' AND type IN ('table', 'index')");
    while (t.Passo()) {
        const QString nome = t.Coluna(0).toString();
        r << nome;
        if (t.Coluna(1).toString() != "table") continue;
        Comando c(con, QString("PRAGMA table_info(%1)").arg(nome));
        while (c.Passo()) r << nome + '.' + c.Coluna(1).toString();
    }
    return r;
}

struct Intacto { QString sql; long erro; };
struct Tipos { QString antigo, tipos; };  // an older file's layout ("": a new file), the types it ends with

// Makes a file with an older layout.
void Antigo(const QString& caminho, const QString& sql) { Conexao::CriaArquivo(caminho).Executa(sql); }
}  // namespace

class tst_Esquema : public QObject {
    Q_OBJECT

private slots:
    void criaArquivoCompleto() {
        Ambiente amb(false);
        Esquema::Cria(amb.Arquivo());
        QCOMPARE(QDir(amb.Pasta()).entryList(QDir::Files), QStringList({Banco::NomeArquivo}));
        Conexao con = Conexao::Abre(amb.Arquivo());
        QCOMPARE(con.Valor("PRAGMA user_version").toInt(), Esquema::Versao);
        // Never over an existing file.
        const QByteArray antes = Bytes(amb.Arquivo());
        QCOMPARE(ErroDe([&] { Esquema::Cria(amb.Arquivo()); }), 58L);
        QCOMPARE(Bytes(amb.Arquivo()), antes);
    }

    void atualizaArquivoAntigoSemTocarNosDados() {
        Ambiente amb(false);
        Antigo(amb.Arquivo(),
               "CREATE TABLE Parametros (Codigo INTEGER, Razao TEXT, Tipo TEXT, Mes INTEGER, Ano INTEGER);"
               "INSERT INTO Parametros VALUES (12, 'IGREJA VELHA', 'S', 8, 2021);"
               "CREATE TABLE Consultas (Nome TEXT PRIMARY KEY, Parametros TEXT, Sql TEXT);"
               "INSERT INTO Consultas VALUES ('ProcPesqAgendaHoje', 'Long,Long,Long',"
               "  'SELECT Descricao FROM Agenda WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3');"
               "CREATE TABLE Agenda (CodIg INTEGER, Ano INTEGER, Mes INTEGER, Dia INTEGER, Descricao TEXT);"
               "INSERT INTO Agenda VALUES (12, 2021, 8, 5, 'PAGAR LUZ'), (12, 2021, 8, 6, 'AGUA');"
               "CREATE TABLE LivroCaixa (Codigo INTEGER PRIMARY KEY, CodIg INTEGER, Ano INTEGER, Mes INTEGER,"
               "  Dia INTEGER, Tipo TEXT, Valor REAL);"
               "INSERT INTO LivroCaixa VALUES (1, 12, 2021, 8, 5, 'O', 150.25);");
        QVERIFY(Esquema::Atualiza(amb.Arquivo()));

        // Every table, column and index of a new file, and the old data.
        QTemporaryDir nova;
        Esquema::Cria(nova.filePath(Banco::NomeArquivo));
        const QSet<QString> falta = Estrutura(nova.filePath(Banco::NomeArquivo)) - Estrutura(amb.Arquivo());
        QVERIFY2(falta.isEmpty(), qPrintable(QStringList(falta.values()).join(' ')));
        {
            Conexao con = Conexao::Abre(amb.Arquivo());
            const char* colacao = nullptr;
            sqlite3_table_column_metadata(con.Db(), "main", "LivroCaixa", "Historico", nullptr, &colacao, nullptr, nullptr, nullptr);
            QCOMPARE(QString(colacao), QString("PTBR"));
            QCOMPARE(con.Valor("SELECT Valor FROM LivroCaixa WHERE Codigo = 1").toDouble(), 150.25);
        }
        // The old rows through the new queries.
        RecordsetPtr rs = Abre_Recordset("ProcPesqParametros");
        QCOMPARE(rs->Texto("Razao"), QString("IGREJA VELHA"));
        QCOMPARE(Abre_Query("ProcPesqAgendaHoje", {"0012", "2021", "8", "5"})->Texto("Descricao"), QString("PAGAR LUZ"));

        // Up to date: nothing is written the second time.
        const QByteArray depois = Bytes(amb.Arquivo());
        QVERIFY(!Esquema::Atualiza(amb.Arquivo()));
        QCOMPARE(Bytes(amb.Arquivo()), depois);
    }

    void atualizacaoQueNaoMudaNada_data() {
        // A key column cannot be added to a table in use: the whole upgrade is undone.
        Tabela<Intacto>({
            {"chave numa tabela com linhas",
             {"CREATE TABLE Igrejas (CodIg INTEGER, Nome TEXT); INSERT INTO Igrejas VALUES (12, 'VILA NOVA');", 3075}},
            {"arquivo de versão mais nova",
             {QString("CREATE TABLE Futuro (a); PRAGMA user_version = %1").arg(Esquema::Versao + 1), 0}},
        });
    }
    void atualizacaoQueNaoMudaNada() {
        QFETCH(Intacto, caso);
        Ambiente amb(false);
        Antigo(amb.Arquivo(), caso.sql);
        const QByteArray antes = Bytes(amb.Arquivo());
        bool atualizou = false;
        QCOMPARE(ErroDe([&] { atualizou = Esquema::Atualiza(amb.Arquivo()); }), caso.erro);
        QVERIFY(!atualizou);
        QCOMPARE(Bytes(amb.Arquivo()), antes);
    }

    // The calculation types: a new file has them; an older file gets them
    // only into an empty table; a file already up to date is left alone.
    void tiposDeCalculo_data() {
        const QString seis = "1:Cálculo 01,2:Cálculo 02,3:Cálculo 03,4:Cálculo 04,5:Cálculo 05,6:Cálculo 06";
        const QString tabela = "CREATE TABLE TipoCalculo (Tipo INTEGER PRIMARY KEY, Descricao TEXT);";
        Tabela<Tipos>({
            {"arquivo novo", {{}, seis}},
            {"antigo com a tabela vazia", {tabela + " PRAGMA user_version = 3", seis}},
            {"antigo sem a tabela", {"CREATE TABLE Agenda (CodIg INTEGER); PRAGMA user_version = 3", seis}},
            {"antigo com a tabela baixada",
             {tabela + "INSERT INTO TipoCalculo VALUES (3, 'BAIXADO'); PRAGMA user_version = 3", "3:BAIXADO"}},
        });
    }
    void tiposDeCalculo() {
        QFETCH(Tipos, caso);
        const auto& [antigo, tipos] = caso;
        Ambiente amb(false);
        if (antigo.isEmpty()) Esquema::Cria(amb.Arquivo());
        else Antigo(amb.Arquivo(), "CREATE TABLE Consultas (Nome TEXT PRIMARY KEY, Parametros TEXT, Sql TEXT);" + antigo);
        Esquema::Atualiza(amb.Arquivo());
        const QString lista = "SELECT group_concat(Tipo || ':' || Descricao) FROM (SELECT * FROM TipoCalculo ORDER BY Tipo)";
        QCOMPARE(amb.Le(lista)->Fields(0).toString(), tipos);
        // Emptied afterwards (a download found none), it stays empty.
        amb.Sql("DELETE FROM TipoCalculo");
        QVERIFY(!Esquema::Atualiza(amb.Arquivo()));
        QCOMPARE(amb.Conta("SELECT count(*) FROM TipoCalculo"), 0);
    }

    void formatoDosArquivosDeEsquema() {
        Esquema::Definicao def;
        Esquema::Interpreta("-- tabelas\nCREATE TABLE A (x INTEGER,\n  y TEXT);\n\n-- uma consulta\n"
                            "-- consulta: ProcA (long, TEXT)\nSELECT x FROM A\n WHERE x = ?1 AND y = ?2; -- fim\n"
                            "-- consulta: ProcB\nSELECT 'a;b' AS c;\n",
                            "teste.sql", def);
        QCOMPARE(def.instrucoes, QStringList({"CREATE TABLE A (x INTEGER,\n  y TEXT)"}));
        QStringList consultas;
        for (const auto& q : def.consultas) consultas << q.nome + " (" + q.parametros + ") " + q.sql;
        QCOMPARE(consultas, QStringList({"ProcA (Long,Text) SELECT x FROM A\n WHERE x = ?1 AND y = ?2; -- fim",
                                         "ProcB () SELECT 'a;b' AS c"}));
        // An unknown parameter type, a statement without its ";".
        QCOMPARE(ErroDe([&] { Esquema::Interpreta("-- consulta: ProcC (Money)\nSELECT 1;\n", "x.sql", def); }), 3075L);
        QCOMPARE(ErroDe([&] { Esquema::Interpreta("CREATE TABLE B (y)\n", "x.sql", def); }), 3075L);
    }

    void ferramentaCriabanco() {
        Ambiente amb(false);
        const QString programa = QCoreApplication::applicationDirPath() + "/../criabanco";
        if (!QFileInfo::exists(programa)) QSKIP("criabanco não foi compilado");
        const auto roda = [&] { return QProcess::execute(programa, {amb.Pasta()}); };
        QCOMPARE(roda(), 0);
        QVERIFY(QFileInfo::exists(amb.Arquivo()));
        // A file that is not a database stays as it is.
        QFile lixo(amb.Arquivo());
        QVERIFY(lixo.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(lixo.write(QByteArray(4096, 'x')), 4096);
        lixo.close();
        QVERIFY(roda() != 0);
        QCOMPARE(Bytes(amb.Arquivo()), QByteArray(4096, 'x'));
    }
};

REGISTRA_TESTE(tst_Esquema)
#include "tst_Esquema.moc"
