// The schema of the local database: a new file holds every table and
// stored query; a file made by an earlier schema is brought up to date with
// its data intact; the schema files' format; the criabanco tool.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "platform/App.h"
#include "platform/Erro.h"
#include "platform/SqlCipher.h"
#include "support/Registro.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

using SqlCipher::Comando;
using SqlCipher::Conexao;

namespace {

long ErroDe(const std::function<void()>& f) {
    try {
        f();
    } catch (const ErroExecucao& e) {
        return e.Number;
    }
    return 0;
}

QStringList ColunasDe(const Conexao& con, const QString& tabela) {
    Comando c(con, QStringLiteral("PRAGMA table_info(%1)").arg(tabela));
    QStringList nomes;
    while (c.Passo()) nomes << c.Coluna(1).toString();
    return nomes;
}

QString ColacaoDe(const Conexao& con, const char* tabela, const char* coluna) {
    const char* colacao = nullptr;
    sqlite3_table_column_metadata(con.Db(), "main", tabela, coluna, nullptr, &colacao, nullptr, nullptr, nullptr);
    return QString::fromUtf8(colacao);
}

QByteArray Bytes(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The tables and fields that the forms, printouts and exports rely on.
const std::pair<const char*, const char*> TabelasEsperadas[] = {
    {"Parametros", "Codigo Razao Tipo Reg_Setor Congrega Ano Mes Situacao Banco Agencia Conta"},
    {"Consultas", "Nome Parametros Sql"},
    {"Ofertas", "Codigo CodIg Descricao"},
    {"Dizimos", "Codigo CodIg RI Nome Cargo"},
    {"Cargos", "Codigo Descricao Abreviado"},
    {"Saidas", "Codigo CodIg Descricao"},
    {"Departamentos", "Codigo CodIg Descricao"},
    {"Agenda", "CodIg Ano Mes Dia Descricao"},
    {"Igrejas", "CodIg CodCongrega Nome Calculo"},
    {"TipoCalculo", "Tipo Descricao"},
    {"LivroCaixa", "Codigo CodIg Ano Mes Dia Tipo Historico Valor"},
    {"LancDeptos", "Codigo CodIg Ano Mes CodDepto Dia Tipo Historico Valor"},
    {"TotIgrejas", "Codigo CodIg CodCongrega Ano Mes Entradas Saidas Aluguel Agua Luz Prebenda"},
    {"Remessas", "Codigo CodIg Ano Mes Dia Valor"},
    {"Recibos", "Codigo Codig eu CPF Congrega Despesa1 Despesa2 Despesa3 Despesa4 Valor1 Valor2 Valor3 Valor4 Ano Mes Dia"},
    {"Transmissao", "Mes Ano Data Usuario"},
};

}  // namespace

class tst_Esquema : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> pasta_;
    QString Caminho() const { return Banco::CaminhoArquivo(); }

private slots:
    void init() {
        pasta_ = std::make_unique<QTemporaryDir>();
        QVERIFY(pasta_->isValid());
        App::DefinePath(pasta_->path());
    }
    void cleanup() {
        App::DefinePath(QString());
        pasta_.reset();
    }

    void criaArquivoCompleto() {
        Esquema::Cria(Caminho());
        QCOMPARE(QDir(pasta_->path()).entryList(QDir::Files), QStringList({Banco::NomeArquivo}));
        {
            Conexao con = Conexao::Abre(Caminho());
            for (const auto& [tabela, campos] : TabelasEsperadas)
                QCOMPARE(ColunasDe(con, QString::fromLatin1(tabela)).join(QLatin1Char(' ')), QString::fromLatin1(campos));
            QCOMPARE(con.Valor(QStringLiteral("PRAGMA user_version")).toInt(), Esquema::Versao);
            QCOMPARE(con.Valor(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("delete"));
            QCOMPARE(con.Valor(QStringLiteral("SELECT Parametros FROM Consultas WHERE Nome = 'ProcPesqAgendaHoje'")).toString(),
                     QStringLiteral("Long,Long,Long,Long"));
            QCOMPARE(ColacaoDe(con, "Dizimos", "Nome"), QStringLiteral("PTBR"));
        }

        // The parameter row, or none.
        QCOMPARE(Abre_Recordset(QStringLiteral("ProcPesqParametros"))->RecordCount(), 0);
        Executa_SQL(QStringLiteral("INSERT INTO Parametros VALUES (7, 'IGREJA', 'S', 'SETOR NORTE', 'VILA NOVA', 2021, 8,"
                                   " 'A', 'BANCO', '0001', '123-4')"));
        RecordsetPtr rs = Abre_Recordset(QStringLiteral("ProcPesqParametros"));
        QCOMPARE(rs->RecordCount(), 1);
        QStringList campos;
        for (int i = 0; i < rs->FieldCount(); ++i) campos << rs->Texto(rs->FieldName(i));
        QCOMPARE(campos.join(QLatin1Char('|')), QStringLiteral("7|IGREJA|SETOR NORTE|VILA NOVA|S|8|2021|BANCO|0001|123-4"));

        // The statements other writers send to the transmission table.
        Executa_SQL(QStringLiteral("DELETE FROM Transmissao WHERE Mes = 8 AND Ano = 2021"));
        QCOMPARE(Abre_Recordset(QStringLiteral("Select Usuario From Transmissao"))->RecordCount(), 0);
    }

    void criaRecusaArquivoExistenteEPastaAusente() {
        Esquema::Cria(Caminho());
        Executa_SQL(QStringLiteral("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')"));
        const QByteArray antes = Bytes(Caminho());
        QCOMPARE(ErroDe([&] { Esquema::Cria(Caminho()); }), 58L);
        QCOMPARE(Bytes(Caminho()), antes);
        QCOMPARE(ErroDe([&] { Esquema::Cria(pasta_->filePath(QStringLiteral("nada/Marlovinter.kwe"))); }), 3044L);
        QVERIFY(!QFileInfo::exists(pasta_->filePath(QStringLiteral("nada"))));
    }

    void atualizaArquivoAntigoSemTocarNosDados() {
        {
            Conexao con = Conexao::CriaArquivo(Caminho());
            con.Executa(QStringLiteral(
                "CREATE TABLE Parametros (Codigo INTEGER, Razao TEXT, Tipo TEXT, Mes INTEGER, Ano INTEGER);"
                "INSERT INTO Parametros VALUES (12, 'IGREJA VELHA', 'S', 8, 2021);"
                "CREATE TABLE Consultas (Nome TEXT PRIMARY KEY, Parametros TEXT, Sql TEXT);"
                "INSERT INTO Consultas VALUES ('ProcPesqAgendaHoje', 'Long,Long,Long',"
                "  'SELECT Descricao FROM Agenda WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3');"
                "INSERT INTO Consultas VALUES ('ProcAntiga', '', 'SELECT 1 AS Um');"
                "CREATE TABLE Agenda (CodIg INTEGER, Ano INTEGER, Mes INTEGER, Dia INTEGER, Descricao TEXT);"
                "INSERT INTO Agenda VALUES (12, 2021, 8, 5, 'PAGAR LUZ'), (12, 2021, 8, 6, 'AGUA');"
                "CREATE TABLE LivroCaixa (Codigo INTEGER PRIMARY KEY, CodIg INTEGER, Ano INTEGER, Mes INTEGER,"
                "  Dia INTEGER, Tipo TEXT, Valor REAL);"
                "INSERT INTO LivroCaixa VALUES (1, 12, 2021, 8, 5, 'O', 150.25);"));
        }
        QVERIFY(Esquema::Atualiza(Caminho()));

        {
            Conexao con = Conexao::Abre(Caminho());
            for (const auto& [tabela, campos] : TabelasEsperadas)
                for (const QString& campo : QString::fromLatin1(campos).split(QLatin1Char(' ')))
                    QVERIFY2(ColunasDe(con, QString::fromLatin1(tabela)).contains(campo), tabela);
            QCOMPARE(ColacaoDe(con, "LivroCaixa", "Historico"), QStringLiteral("PTBR"));
            QCOMPARE(con.Valor(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'LivroCaixa_Mes'")).toInt(), 1);
            QCOMPARE(con.Valor(QStringLiteral("PRAGMA user_version")).toInt(), Esquema::Versao);
            QCOMPARE(con.Valor(QStringLiteral("SELECT Valor FROM LivroCaixa WHERE Codigo = 1")).toDouble(), 150.25);
            QVERIFY(con.Valor(QStringLiteral("SELECT Historico IS NULL FROM LivroCaixa")).toBool());
        }
        // The old rows through the new queries; the query of the old file
        // that the schema does not know is kept.
        RecordsetPtr rs = Abre_Recordset(QStringLiteral("ProcPesqParametros"));
        QCOMPARE(rs->Texto(QStringLiteral("Razao")), QStringLiteral("IGREJA VELHA"));
        QVERIFY(rs->Fields(QStringLiteral("Reg_Setor")).isNull());
        rs = Abre_Query(QStringLiteral("ProcPesqAgendaHoje"),
                        {QStringLiteral("0012"), QStringLiteral("2021"), QStringLiteral("8"), QStringLiteral("5")});
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Texto(QStringLiteral("Descricao")), QStringLiteral("PAGAR LUZ"));
        QCOMPARE(Abre_Recordset(QStringLiteral("ProcAntiga"))->Fields(0).toInt(), 1);

        // Up to date: nothing is written the second time.
        const QByteArray depois = Bytes(Caminho());
        QVERIFY(!Esquema::Atualiza(Caminho()));
        QCOMPARE(Bytes(Caminho()), depois);
    }

    void atualizacaoQueFalhaNaoMudaNada() {
        {
            // A key column cannot be added to a table in use: the whole
            // upgrade is refused and undone.
            Conexao con = Conexao::CriaArquivo(Caminho());
            con.Executa(QStringLiteral("CREATE TABLE Igrejas (CodIg INTEGER, Nome TEXT);"
                                       "INSERT INTO Igrejas VALUES (12, 'VILA NOVA');"));
        }
        QCOMPARE(ErroDe([&] { Esquema::Atualiza(Caminho()); }), 3075L);
        Conexao con = Conexao::Abre(Caminho());
        QCOMPARE(con.Valor(QStringLiteral("SELECT group_concat(name) FROM sqlite_master")).toString(), QStringLiteral("Igrejas"));
        QCOMPARE(con.Valor(QStringLiteral("PRAGMA user_version")).toInt(), 0);
        QCOMPARE(con.Valor(QStringLiteral("SELECT Nome FROM Igrejas")).toString(), QStringLiteral("VILA NOVA"));
    }

    void arquivoDeVersaoMaisNovaFicaComoEsta() {
        {
            Conexao con = Conexao::CriaArquivo(Caminho());
            con.Executa(QStringLiteral("CREATE TABLE Futuro (a); PRAGMA user_version = %1").arg(Esquema::Versao + 1));
        }
        QVERIFY(!Esquema::Atualiza(Caminho()));
        Conexao con = Conexao::Abre(Caminho());
        QCOMPARE(con.Valor(QStringLiteral("SELECT group_concat(name) FROM sqlite_master")).toString(), QStringLiteral("Futuro"));
    }

    void formatoDosArquivosDeEsquema() {
        Esquema::Definicao def;
        Esquema::Interpreta(QStringLiteral("-- tabelas\n"
                                           "CREATE TABLE A (x INTEGER,\n  y TEXT);\n"
                                           "\n"
                                           "-- uma consulta\n"
                                           "-- consulta: ProcA (long, TEXT)\n"
                                           "SELECT x FROM A\n WHERE x = ?1 AND y = ?2; -- fim\n"
                                           "-- consulta: ProcB\n"
                                           "SELECT 'a;b' AS c;\n"),
                            QStringLiteral("teste.sql"), def);
        QCOMPARE(def.instrucoes, QStringList({QStringLiteral("CREATE TABLE A (x INTEGER,\n  y TEXT)")}));
        QCOMPARE(int(def.consultas.size()), 2);
        QCOMPARE(def.consultas[0].nome, QStringLiteral("ProcA"));
        QCOMPARE(def.consultas[0].parametros, QStringLiteral("Long,Text"));
        QCOMPARE(def.consultas[0].sql, QStringLiteral("SELECT x FROM A\n WHERE x = ?1 AND y = ?2; -- fim"));
        QCOMPARE(def.consultas[1].parametros, QString());
        QCOMPARE(def.consultas[1].sql, QStringLiteral("SELECT 'a;b' AS c"));

        const char* errados[] = {
            "-- consulta: ProcC (Money)\nSELECT 1;\n",
            "-- consulta: ProcD\n",
            "CREATE TABLE B (y)\n",
        };
        for (const char* texto : errados) {
            Esquema::Definicao d;
            QVERIFY2(ErroDe([&] { Esquema::Interpreta(QString::fromUtf8(texto), QStringLiteral("x.sql"), d); }) == 3075,
                     texto);
        }

        // Every stored query of the program compiles with the parameters it declares.
        const Esquema::Definicao esquema = Esquema::Carrega();
        QVERIFY(!esquema.consultas.empty());
        Esquema::Cria(Caminho());
        Conexao con = Conexao::Abre(Caminho());
        for (const auto& q : esquema.consultas) {
            Comando c(con, q.sql);
            QCOMPARE(c.NumeroParametros(), q.parametros.isEmpty() ? 0 : int(q.parametros.split(QLatin1Char(',')).size()));
        }
    }

    void ferramentaCriabanco() {
        const QString programa = QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../criabanco"));
        if (!QFileInfo::exists(programa)) QSKIP("criabanco não foi compilado");
        const auto roda = [&](const QString& pasta) {
            QProcess p;
            p.start(programa, {pasta});
            p.waitForFinished(30000);
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        };
        QCOMPARE(roda(pasta_->path()), 0);
        QVERIFY(QFileInfo::exists(Caminho()));
        Executa_SQL(QStringLiteral("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')"));
        QCOMPARE(roda(pasta_->path()), 0);  // upgrades, keeps the data
        QCOMPARE(Abre_Recordset(QStringLiteral("SELECT * FROM Cargos"))->RecordCount(), 1);
        QVERIFY(roda(pasta_->filePath(QStringLiteral("nada"))) != 0);
        QFile lixo(pasta_->filePath(QStringLiteral("Marlovinter.kwe")));
        QVERIFY(lixo.open(QIODevice::WriteOnly | QIODevice::Truncate));
        lixo.write(QByteArray(4096, 'x'));
        lixo.close();
        QVERIFY(roda(pasta_->path()) != 0);
    }
};

REGISTRA_TESTE(tst_Esquema)
#include "tst_Esquema.moc"
