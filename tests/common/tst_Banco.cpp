// The local database layer: snapshots, stored queries and their parameters,
// the engine's failures as the program's error numbers, encryption and the
// key, locks, and the PTBR collation.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "common/ParametroConsulta.h"
#include "platform/App.h"
#include "platform/Erro.h"
#include "platform/Colacao.h"
#include "platform/SqlCipher.h"
#include "support/Registro.h"
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>
#include <memory>

using SqlCipher::Comando;
using SqlCipher::Conexao;

namespace {

// The error number a call raises; 0 when it completes.
long ErroDe(const std::function<void()>& f, QString* descricao = nullptr) {
    try {
        f();
    } catch (const ErroExecucao& e) {
        if (descricao) *descricao = e.Description;
        return e.Number;
    }
    return 0;
}

// Runs a statement on the database file with bound values, outside the
// layer under test.
void Sql(const QString& sql, const QVariantList& valores = {}) {
    Conexao con = Conexao::Abre(Banco::CaminhoArquivo());
    Comando c(con, sql);
    for (int i = 0; i < valores.size(); ++i) {
        const QVariant& v = valores[i];
        if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
            c.LigaInteiro(i + 1, v.toLongLong());
        else if (v.typeId() == QMetaType::Double)
            c.LigaReal(i + 1, v.toDouble());
        else
            c.LigaTexto(i + 1, v.toString());
    }
    while (c.Passo()) {
    }
}

QVariant Valor(const QString& sql) { return Conexao::Abre(Banco::CaminhoArquivo()).Valor(sql); }

void CriaConsulta(const QString& nome, const QString& tipos, const QString& sql) {
    Sql(QStringLiteral("INSERT INTO Consultas (Nome, Parametros, Sql) VALUES (?1, ?2, ?3)"), {nome, tipos, sql});
}

// Does this process hold any descriptor on the file?
bool ArquivoAberto(const QString& caminho) {
    const QString alvo = QFileInfo(caminho).canonicalFilePath();
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System))
        if (QFile::symLinkTarget(fds.filePath(fd)) == alvo) return true;
    return false;
}

}  // namespace

class tst_Banco : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> pasta_;

private slots:
    void init() {
        pasta_ = std::make_unique<QTemporaryDir>();
        QVERIFY(pasta_->isValid());
        App::DefinePath(pasta_->path());
        Esquema::Cria(Banco::CaminhoArquivo());
    }
    void cleanup() {
        App::DefinePath(QString());
        pasta_.reset();
    }

    void snapshotLegivelDepoisDeFechado() {
        Sql(QStringLiteral("INSERT INTO Ofertas VALUES (1, 12, 'DOMINGO - CULTO'), (2, 12, NULL)"));
        RecordsetPtr rs = Abre_Recordset(QStringLiteral("SELECT Codigo, Descricao FROM Ofertas ORDER BY Codigo"));
        QVERIFY(!ArquivoAberto(Banco::CaminhoArquivo()));
        QVERIFY(QFile::remove(Banco::CaminhoArquivo()));  // the rows live on without the file

        QCOMPARE(rs->RecordCount(), 2);
        QCOMPARE(rs->FieldName(1), QStringLiteral("Descricao"));
        QCOMPARE(rs->Fields(QStringLiteral("codigo")).toLongLong(), 1);  // names without regard to case
        QCOMPARE(rs->Texto(QStringLiteral("Descricao")), QStringLiteral("DOMINGO - CULTO"));
        rs->MoveNext();
        QVERIFY(rs->Fields(QStringLiteral("Descricao")).isNull());
        QCOMPARE(rs->Texto(QStringLiteral("Descricao")), QString());
        QCOMPARE(ErroDe([&] { rs->Fields(QStringLiteral("Nada")); }), 3265L);
        QCOMPARE(ErroDe([&] { rs->Fields(7); }), 3265L);
        rs->MoveNext();
        QVERIFY(rs->Eof());
        QCOMPARE(ErroDe([&] { rs->Fields(0); }), 3021L);
        QCOMPARE(ErroDe([&] { rs->MoveNext(); }), 3021L);

        // Amounts join text in the regional form.
        Recordset r({QStringLiteral("Valor")}, {{QVariant(1234.5)}});
        QCOMPARE(r.Texto(QStringLiteral("Valor")), QStringLiteral("1234,5"));
    }

    void bancoAbertoPorChamadaSemAlcaRetida() {
        BancoLocalPtr b1 = Abre_Banco(false);
        BancoLocalPtr b2 = Abre_Banco(false);
        b2->Executa(QStringLiteral("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')"));
        QCOMPARE(b1->AbreSnapshot(QStringLiteral("SELECT * FROM Cargos"))->RecordCount(), 1);
        Fecha_Banco(b2);
        QVERIFY(!b2);
        Fecha_Banco(b1);
        QVERIFY(!ArquivoAberto(Banco::CaminhoArquivo()));

        BancoLocalPtr leitura = Abre_Banco(true);
        QCOMPARE(ErroDe([&] { leitura->Executa(QStringLiteral("DELETE FROM Cargos")); }), 3027L);
        QCOMPARE(ErroDe([&] { Abre_Recordset(QStringLiteral("DELETE FROM Cargos")); }), 3219L);
        QCOMPARE(Valor(QStringLiteral("SELECT count(*) FROM Cargos")).toInt(), 1);
    }

    void parametrosPorPosicao() {
        Sql(QStringLiteral("INSERT INTO Agenda VALUES (12, 2021, 8, 5, 'PAGAR ALUGUEL'), (12, 2021, 8, 5, 'LUZ'),"
                           " (12, 2021, 8, 6, 'AGUA'), (13, 2021, 8, 5, 'OUTRA IGREJA')"));
        const QString q = QStringLiteral("ProcPesqAgendaHoje");
        RecordsetPtr rs = Abre_Query(q, {QStringLiteral("0012"), QStringLiteral("2021"), QStringLiteral("08"),
                                         QStringLiteral("05")});
        QStringList achados;
        for (; !rs->Eof(); rs->MoveNext()) achados << rs->Texto(QStringLiteral("Descricao"));
        achados.sort();
        QCOMPARE(achados, QStringList({QStringLiteral("LUZ"), QStringLiteral("PAGAR ALUGUEL")}));

        // An empty entry leaves its parameter unassigned, later ones keep
        // their positions; an entry past the query's parameters is refused,
        // an empty one there is ignored.
        QCOMPARE(ErroDe([&] { Abre_Query(q, {QStringLiteral("12"), QString(), QStringLiteral("8"), QStringLiteral("5")}); }),
                 3061L);
        QCOMPARE(ErroDe([&] { Abre_Query(q, {QStringLiteral("12"), QStringLiteral("2021"), QStringLiteral("8")}); }), 3061L);
        QCOMPARE(ErroDe([&] {
                     Abre_Query(q, {QStringLiteral("12"), QStringLiteral("2021"), QStringLiteral("8"),
                                    QStringLiteral("5"), QStringLiteral("1")});
                 }),
                 3265L);
        QCOMPARE(Abre_Query(q, {QStringLiteral("12"), QStringLiteral("2021"), QStringLiteral("8"), QStringLiteral("6"),
                                QString(), QString()})
                     ->RecordCount(),
                 1);
        QCOMPARE(ErroDe([&] { Abre_Query(q, {QStringLiteral("doze"), QStringLiteral("2021"), QStringLiteral("8"), QStringLiteral("5")}); }),
                 3421L);

        // A blank entry is not empty: it is passed unchanged.
        CriaConsulta(QStringLiteral("TesteInsOfertas"), QStringLiteral("Long,Long,Text"),
                     QStringLiteral("INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (?1, ?2, ?3)"));
        Executa_Query(QStringLiteral("TesteInsOfertas"), {QStringLiteral("7"), QStringLiteral("12"), QStringLiteral(" ")});
        QCOMPARE(Valor(QStringLiteral("SELECT Descricao FROM Ofertas WHERE Codigo = 7")).toString(), QStringLiteral(" "));
        // Apostrophes and SQL in a text entry are only data.
        Executa_Query(QStringLiteral("TesteInsOfertas"),
                      {QStringLiteral("8"), QStringLiteral("12"), QStringLiteral("D'AVILA'); DROP TABLE Ofertas; --")});
        QCOMPARE(Valor(QStringLiteral("SELECT Descricao FROM Ofertas WHERE Codigo = 8")).toString(),
                 QStringLiteral("D'AVILA'); DROP TABLE Ofertas; --"));
    }

    void conversaoBrasileira() {
        using ParametroConsulta::Converte;
        using T = ParametroConsulta::Tipo;
        // Whatever the machine's locale.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(Converte(T::Long, QStringLiteral("05")).toLongLong(), 5);
        QCOMPARE(Converte(T::Long, QStringLiteral(" 1.234 ")).toLongLong(), 1234);
        QCOMPARE(Converte(T::Long, QStringLiteral("2,5")).toLongLong(), 2);   // halves to even, as CLng
        QCOMPARE(Converte(T::Long, QStringLiteral("3,5")).toLongLong(), 4);
        QCOMPARE(Converte(T::Long, QStringLiteral("-2,5")).toLongLong(), -2);
        QCOMPARE(Converte(T::Long, QStringLiteral("2,500001")).toLongLong(), 3);
        QCOMPARE(Converte(T::Long, QStringLiteral("900000000000000001")).toLongLong(), Q_INT64_C(900000000000000001));
        QCOMPARE(Converte(T::Currency, QStringLiteral("1.234,56")).toDouble(), 1234.56);
        QCOMPARE(Converte(T::Currency, QStringLiteral("-0,5")).toDouble(), -0.5);
        QCOMPARE(Converte(T::Currency, QStringLiteral("0,00005")).toDouble(), 0.0);
        QCOMPARE(Converte(T::Currency, QStringLiteral("0,00015")).toDouble(), 0.0002);
        QCOMPARE(Converte(T::Double, QStringLiteral("1.234,5")).toDouble(), 1234.5);
        QCOMPARE(Converte(T::Integer, QStringLiteral("-32768")).toLongLong(), -32768);
        QCOMPARE(Converte(T::Byte, QStringLiteral("255")).toLongLong(), 255);
        QCOMPARE(Converte(T::DateTime, QStringLiteral("31/08/2021 14:05")).toString(), QStringLiteral("2021-08-31 14:05:00"));
        QCOMPARE(Converte(T::DateTime, QStringLiteral("5/8/2021")).toString(), QStringLiteral("2021-08-05 00:00:00"));
        QCOMPARE(Converte(T::Boolean, QStringLiteral("verdadeiro")).toLongLong(), 1);
        QCOMPARE(Converte(T::Boolean, QStringLiteral("0")).toLongLong(), 0);
        QCOMPARE(Converte(T::Text, QStringLiteral(" 05 ")).toString(), QStringLiteral(" 05 "));

        const std::pair<T, const char*> recusados[] = {
            {T::Long, "abc"},         {T::Long, "1234.56"},     {T::Long, "12.5"},       {T::Long, "99999999999999999999"},
            {T::Long, "-99999999999999999999"}, {T::Long, "1,2,3"},       {T::Long, ","},          {T::Long, "1 000"},
            {T::Integer, "32768"},    {T::Byte, "-1"},          {T::Byte, "256"},        {T::Currency, "1.23,4"},
            {T::Currency, "R$ 5"},    {T::Double, "1e3"},       {T::DateTime, "31/02/2021"},
            {T::DateTime, "2021-08-31"}, {T::DateTime, "31/08/2021 25:00"}, {T::Boolean, "talvez"},
        };
        for (const auto& [tipo, texto] : recusados)
            QVERIFY2(ErroDe([&] { Converte(tipo, QString::fromUtf8(texto)); }) == 3421, texto);
        QLocale::setDefault(QLocale::system());

        // Amounts go in and come back exact to the cent, one by one and summed.
        CriaConsulta(QStringLiteral("TesteInsRemessa"), QStringLiteral("Long,Currency"),
                     QStringLiteral("INSERT INTO Remessas (Codigo, CodIg, Ano, Mes, Dia, Valor) VALUES (?1, 1, 2021, 8, 1, ?2)"));
        const QStringList valores = {QStringLiteral("0,10"), QStringLiteral("0,20"), QStringLiteral("1.234.567,89"),
                                     QStringLiteral("-0,01"), QStringLiteral("19,99")};
        for (int i = 0; i < valores.size(); ++i)
            Executa_Query(QStringLiteral("TesteInsRemessa"), {QString::number(i + 1), valores[i]});
        RecordsetPtr rs = Abre_Recordset(QStringLiteral("SELECT Valor FROM Remessas ORDER BY Codigo"));
        const qint64 centavos[] = {10, 20, 123456789, -1, 1999};
        for (qint64 c : centavos) {
            QCOMPARE(std::llround(rs->Fields(0).toDouble() * 100), c);
            rs->MoveNext();
        }
        const double soma = Abre_Recordset(QStringLiteral("SELECT SUM(Valor) AS Total FROM Remessas"))
                                ->Fields(QStringLiteral("Total"))
                                .toDouble();
        QCOMPARE(std::llround(soma * 100), 10 + 20 + 123456789 - 1 + 1999);
        QCOMPARE(ErroDe([&] { Executa_Query(QStringLiteral("TesteInsRemessa"), {QStringLiteral("9"), QStringLiteral("1234.56")}); }),
                 3421L);
    }

    void errosDoMotorSemEscritaParcial() {
        Sql(QStringLiteral("INSERT INTO Ofertas VALUES (1, 12, 'A')"));
        QString descricao;
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("INSERT INTO Ofertas VALUES (1, 12, 'B')")); }, &descricao), 3022L);
        // The handler reads the table's name between the first apostrophes.
        QCOMPARE(descricao.section(QLatin1Char('\''), 1, 1), QStringLiteral("Ofertas"));

        // A statement whose later row fails leaves nothing of its earlier rows,
        // even when its conflict clause would keep them.
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("INSERT INTO Ofertas VALUES (2, 12, 'C'), (1, 12, 'D')")); }), 3022L);
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("INSERT OR FAIL INTO Ofertas VALUES (3, 12, 'E'), (1, 12, 'F')")); }),
                 3022L);
        QCOMPARE(Valor(QStringLiteral("SELECT count(*) FROM Ofertas")).toInt(), 1);
        CriaConsulta(QStringLiteral("TesteCopiaOfertas"), QStringLiteral("Long"),
                     QStringLiteral("INSERT OR FAIL INTO Ofertas SELECT Codigo + ?1, CodIg, Descricao FROM Ofertas "
                                    "UNION ALL SELECT 1, 0, 'X'"));
        QCOMPARE(ErroDe([] { Executa_Query(QStringLiteral("TesteCopiaOfertas"), {QStringLiteral("10")}); }), 3022L);
        QCOMPARE(Valor(QStringLiteral("SELECT count(*) FROM Ofertas")).toInt(), 1);

        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("INSERT INTO Igrejas (CodIg, Nome) VALUES (1, 'X')")); }, &descricao),
                 3315L);
        QCOMPARE(descricao.section(QLatin1Char('\''), 1, 1), QStringLiteral("Igrejas"));
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("DELET FROM Ofertas")); }), 3075L);
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("DELETE FROM Nada")); }), 3078L);
        QCOMPARE(ErroDe([] { Abre_Recordset(QStringLiteral("SELECT Nada FROM Ofertas")); }), 3265L);
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("INSERT INTO Ofertas (Nada) VALUES (1)")); }), 3265L);
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("INSERT INTO Ofertas VALUES ('x', 1, 'y')")); }), 3421L);
        QCOMPARE(ErroDe([] { Abre_Recordset(QStringLiteral("SELECT * FROM Ofertas WHERE Codigo = ?")); }), 3061L);

        // One statement per call: a second one is refused and nothing runs.
        QCOMPARE(ErroDe([] {
                     Executa_SQL(QStringLiteral("DELETE FROM Ofertas; INSERT INTO Ofertas VALUES (5, 12, 'G')"));
                 }),
                 3142L);
        QCOMPARE(Valor(QStringLiteral("SELECT count(*) FROM Ofertas")).toInt(), 1);
        Executa_SQL(QStringLiteral("DELETE FROM Ofertas WHERE Codigo = 99; -- nada"));  // no row: no error
        QCOMPARE(Valor(QStringLiteral("SELECT count(*) FROM Ofertas")).toInt(), 1);
    }

    void consultaArmazenadaInexistente() {
        QCOMPARE(ErroDe([] { Abre_Query(QStringLiteral("ProcPesqNada"), {QStringLiteral("1")}); }), 3265L);
        QCOMPARE(ErroDe([] { Executa_Query(QStringLiteral("ProcDelNada"), {QStringLiteral("1")}); }), 3265L);
        QCOMPARE(ErroDe([] { Abre_Recordset(QStringLiteral("ProcProximoNada")); }), 3265L);
        // A stored query that needs parameters cannot be opened by name alone.
        QCOMPARE(ErroDe([] { Abre_Recordset(QStringLiteral("ProcPesqAgendaHoje")); }), 3061L);
        Sql(QStringLiteral("INSERT INTO Parametros (Codigo, Razao, Mes, Ano) VALUES (12, 'IGREJA', 8, 2021)"));
        RecordsetPtr rs = Abre_Recordset(QStringLiteral("ProcPesqParametros"));
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->Texto(QStringLiteral("Razao")), QStringLiteral("IGREJA"));
    }

    void arquivoAusenteNaoECriado() {
        QVERIFY(QFile::remove(Banco::CaminhoArquivo()));
        QCOMPARE(ErroDe([] { Abre_Recordset(QStringLiteral("SELECT 1")); }), 53L);
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("CREATE TABLE T (a)")); }), 53L);
        QVERIFY(!QFile::exists(Banco::CaminhoArquivo()));
        QCOMPARE(QDir(pasta_->path()).entryList(QDir::Files), QStringList());
    }

    void arquivoIlegivel_data() {
        QTest::addColumn<int>("caso");
        QTest::newRow("outra senha") << 0;
        QTest::newRow("vazio") << 1;
        QTest::newRow("lixo") << 2;
        QTest::newRow("sqlite sem cifra") << 3;
    }
    void arquivoIlegivel() {
        QFETCH(int, caso);
        const QString caminho = Banco::CaminhoArquivo();
        QVERIFY(QFile::remove(caminho));
        if (caso == 1 || caso == 2) {
            QFile f(caminho);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (caso == 2)
                for (int i = 0; i < 1024; ++i) f.write(QByteArray::number(QRandomGenerator::global()->generate()));
        } else {
            sqlite3* db = nullptr;
            QCOMPARE(sqlite3_open_v2(QFile::encodeName(caminho).constData(), &db,
                                     SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
                     SQLITE_OK);
            if (caso == 0) QCOMPARE(sqlite3_key(db, "outra", 5), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db, "CREATE TABLE Ofertas (Codigo); INSERT INTO Ofertas VALUES (1);", nullptr,
                                  nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close(db);
        }
        const QByteArray antes = [&] { QFile f(caminho); f.open(QIODevice::ReadOnly); return f.readAll(); }();
        QCOMPARE(ErroDe([] { Abre_Recordset(QStringLiteral("SELECT * FROM Ofertas")); }), 3011L);
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("DELETE FROM Ofertas")); }), 3011L);
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), antes);
    }

    void paginaDanificada() {
        // A damaged page past the first fails the reading of its table with
        // 3011, never a crash or wrong rows.
        Sql(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                           "INSERT INTO LivroCaixa SELECT i, 12, 2021, 8, 1, 'O', 'OFERTA DO CULTO DE DOMINGO', 10.5 FROM n"));
        const QString caminho = Banco::CaminhoArquivo();
        QFile f(caminho);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const qint64 tamanho = f.size();
        QVERIFY(tamanho > 8 * 1024);
        for (qint64 pos = 2048; pos < tamanho; pos += 1024) {
            f.seek(pos + 100);
            f.write("estragado");
        }
        f.close();
        QCOMPARE(ErroDe([] { Abre_Recordset(QStringLiteral("SELECT * FROM LivroCaixa")); }), 3011L);
    }

    void arquivoBloqueado() {
        Conexao outra = Conexao::Abre(Banco::CaminhoArquivo());
        outra.Executa(QStringLiteral("BEGIN IMMEDIATE"));
        outra.Executa(QStringLiteral("INSERT INTO Cargos VALUES (9, 'X', 'X')"));
        // Another writer: reading goes on, writing waits and then fails.
        QCOMPARE(Abre_Recordset(QStringLiteral("SELECT * FROM Cargos"))->RecordCount(), 0);
        QCOMPARE(ErroDe([] { Executa_SQL(QStringLiteral("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')")); }), 3260L);
        outra.Executa(QStringLiteral("ROLLBACK"));
        outra.Executa(QStringLiteral("BEGIN EXCLUSIVE"));
        QCOMPARE(ErroDe([] { Abre_Recordset(QStringLiteral("SELECT * FROM Cargos")); }), 3260L);
        outra.Executa(QStringLiteral("ROLLBACK"));
        Executa_SQL(QStringLiteral("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')"));
        QCOMPARE(Abre_Recordset(QStringLiteral("SELECT * FROM Cargos"))->RecordCount(), 1);
    }

    void arquivoCifradoEChaveDerivadaUmaVez() {
        const QByteArray marca = "TEXTOCONHECIDOEMCLARO";
        Executa_SQL(QStringLiteral("INSERT INTO Cargos VALUES (1, '%1', 'PR')").arg(QString::fromLatin1(marca)));
        QFile f(Banco::CaminhoArquivo());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        f.close();
        QVERIFY(!bytes.startsWith("SQLite format 3"));
        QVERIFY(!bytes.contains(marca));
        QVERIFY(!bytes.contains("CREATE TABLE"));

        // The file made with the password opens with the raw key, and the
        // key is derived once for it.
        const int antes = SqlCipher::ChavesDerivadas();
        for (int i = 0; i < 5; ++i) QCOMPARE(Abre_Recordset(QStringLiteral("SELECT * FROM Cargos"))->RecordCount(), 1);
        QVERIFY(SqlCipher::ChavesDerivadas() - antes <= 1);
        const int depois = SqlCipher::ChavesDerivadas();
        // Another file in its place has its own salt: derived again, once.
        QVERIFY(QFile::remove(Banco::CaminhoArquivo()));
        Esquema::Cria(Banco::CaminhoArquivo());
        for (int i = 0; i < 3; ++i) QCOMPARE(Abre_Recordset(QStringLiteral("SELECT * FROM Cargos"))->RecordCount(), 0);
        QCOMPARE(SqlCipher::ChavesDerivadas(), depois + 1);

        // And the file keyed by us opens with the password alone.
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open_v2(QFile::encodeName(Banco::CaminhoArquivo()).constData(), &db, SQLITE_OPEN_READONLY,
                                 nullptr),
                 SQLITE_OK);
        QCOMPARE(sqlite3_key(db, SqlCipher::Senha, int(strlen(SqlCipher::Senha))), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "SELECT count(*) FROM Consultas", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        QVERIFY(!QFile::exists(Banco::CaminhoArquivo() + QStringLiteral("-journal")));
    }

    void colacaoPTBR() {
        Executa_SQL(QStringLiteral("INSERT INTO Ofertas VALUES (1, 1, 'Zebra'), (2, 1, 'ÉDEN'), (3, 1, 'abelha'),"
                                   " (4, 1, 'Ábaco'), (5, 1, 'eden'), (6, 1, 'ébano')"));
        RecordsetPtr rs = Abre_Recordset(QStringLiteral("SELECT Descricao FROM Ofertas ORDER BY Descricao, Codigo"));
        QStringList ordem;
        for (; !rs->Eof(); rs->MoveNext()) ordem << rs->Texto(QStringLiteral("Descricao"));
        QCOMPARE(ordem, QStringList({QStringLiteral("Ábaco"), QStringLiteral("abelha"), QStringLiteral("ébano"),
                                     QStringLiteral("eden"), QStringLiteral("ÉDEN"), QStringLiteral("Zebra")}));
        // Case does not count, accents do.
        QCOMPARE(Abre_Recordset(QStringLiteral("SELECT * FROM Ofertas WHERE Descricao = 'ÁBACO'"))->RecordCount(), 1);
        QCOMPARE(Abre_Recordset(QStringLiteral("SELECT * FROM Ofertas WHERE Descricao = 'abaco'"))->RecordCount(), 0);
        QCOMPARE(Abre_Recordset(QStringLiteral("SELECT * FROM Ofertas WHERE Descricao = 'Éden'"))->RecordCount(), 1);

        // The ASCII fast path agrees with the collator itself.
        const QByteArray alfabeto = " -_.,;:!'\"()/&0123456789aAbBcCeEzZ~|{}@#$%^*+=<>?`[]\\";
        auto* rnd = QRandomGenerator::global();
        QCollator referencia(QLocale(QLocale::Portuguese, QLocale::Brazil));
        referencia.setCaseSensitivity(Qt::CaseInsensitive);
        for (int i = 0; i < 20000; ++i) {
            QByteArray a, b;
            for (int k = int(rnd->bounded(6)); k > 0; --k) a += alfabeto[int(rnd->bounded(alfabeto.size()))];
            b = a.left(int(rnd->bounded(a.size() + 1)));
            for (int k = int(rnd->bounded(4)); k > 0; --k) b += alfabeto[int(rnd->bounded(alfabeto.size()))];
            const int rapido = Compara_PTBR_Utf8(a.constData(), int(a.size()), b.constData(), int(b.size()));
            const int c = referencia.compare(QString::fromLatin1(a), QString::fromLatin1(b));
            const int colador = (c > 0) - (c < 0);
            QVERIFY2(rapido == colador, (a + " | " + b).constData());
        }
    }
};

REGISTRA_TESTE(tst_Banco)
#include "tst_Banco.moc"
