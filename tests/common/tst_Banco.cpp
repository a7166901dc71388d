// The local database layer: snapshots, stored queries and their parameters,
// the engine's failures as the program's error numbers, encryption and the
// key, locks, and the PTBR collation.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "common/ParametroConsulta.h"
#include "platform/Colacao.h"
#include "platform/SqlCipher.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <functional>
#include <memory>

namespace {
// Does this process hold any descriptor on the file?
bool ArquivoAberto(const QString& caminho) {
    const QString alvo = QFileInfo(caminho).canonicalFilePath();
    const QDir fds("/proc/self/fd");
    for (const QString& fd : fds.entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System))
        if (QFile::symLinkTarget(fds.filePath(fd)) == alvo) return true;
    return false;
}
}  // namespace

class tst_Banco : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb;
    QVariant Valor(const QString& sql) { return amb->Le(sql)->Fields(0); }
    void CriaConsulta(const QString& nome, const QString& tipos, const QString& sql) {
        amb->Sql("INSERT INTO Consultas (Nome, Parametros, Sql) VALUES (?1, ?2, ?3)", {nome, tipos, sql});
    }

private slots:
    void init() { amb = std::make_unique<Ambiente>(); }
    void cleanup() { amb.reset(); }

    void snapshotLegivelDepoisDeFechado() {
        amb->Sql("INSERT INTO Ofertas VALUES (1, 12, 'DOMINGO - CULTO'), (2, 12, NULL)");
        RecordsetPtr rs = Abre_Recordset("SELECT Codigo, Descricao FROM Ofertas ORDER BY Codigo");
        QVERIFY(!ArquivoAberto(amb->Arquivo()));
        QVERIFY(QFile::remove(amb->Arquivo()));  // the rows live on without the file
        QCOMPARE(rs->RecordCount(), 2);
        QCOMPARE(rs->Fields("codigo").toLongLong(), 1);  // names without regard to case
        QCOMPARE(ErroDe([&] { rs->Fields("Nada"); }), 3265L);
        rs->MoveNext();
        QVERIFY(rs->Fields("Descricao").isNull() && rs->Texto("Descricao").isEmpty());
        rs->MoveNext();
        QVERIFY(rs->Eof());
        QCOMPARE(ErroDe([&] { rs->Fields(0); }), 3021L);
        QCOMPARE(ErroDe([&] { rs->MoveNext(); }), 3021L);
        // Amounts join text in the regional form.
        QCOMPARE(Recordset({"Valor"}, {{QVariant(1234.5)}}).Texto("Valor"), QString("1234,5"));
    }

    void bancoAbertoPorChamadaSemAlcaRetida() {
        BancoLocalPtr b1 = Abre_Banco(false), b2 = Abre_Banco(false);
        b2->Executa("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')");
        QCOMPARE(b1->AbreSnapshot("SELECT * FROM Cargos")->RecordCount(), 1);
        Fecha_Banco(b2);
        QVERIFY(!b2);
        Fecha_Banco(b1);
        QVERIFY(!ArquivoAberto(amb->Arquivo()));
        BancoLocalPtr leitura = Abre_Banco(true);
        QCOMPARE(ErroDe([&] { leitura->Executa("DELETE FROM Cargos"); }), 3027L);
        QCOMPARE(ErroDe([&] { Abre_Recordset("DELETE FROM Cargos"); }), 3219L);
        QCOMPARE(Valor("SELECT count(*) FROM Cargos").toInt(), 1);
    }

    void parametrosPorPosicao() {
        amb->Sql("INSERT INTO Agenda VALUES (12, 2021, 8, 5, 'PAGAR ALUGUEL'), (12, 2021, 8, 5, 'LUZ'),"
                 " (12, 2021, 8, 6, 'AGUA'), (13, 2021, 8, 5, 'OUTRA IGREJA')");
        const QString q = "ProcPesqAgendaHoje";
        RecordsetPtr rs = Abre_Query(q, {"0012", "2021", "08", "05"});
        QStringList achados;
        for (; !rs->Eof(); rs->MoveNext()) achados << rs->Texto("Descricao");
        achados.sort();
        QCOMPARE(achados, QStringList({"LUZ", "PAGAR ALUGUEL"}));
        // An empty entry leaves its parameter unassigned, later ones keep their
        // positions; an entry past the query's parameters is refused, an empty one there is ignored.
        QCOMPARE(ErroDe([&] { Abre_Query(q, {"12", QString(), "8", "5"}); }), 3061L);
        QCOMPARE(ErroDe([&] { Abre_Query(q, {"12", "2021", "8"}); }), 3061L);
        QCOMPARE(ErroDe([&] { Abre_Query(q, {"12", "2021", "8", "5", "1"}); }), 3265L);
        QCOMPARE(Abre_Query(q, {"12", "2021", "8", "6", QString(), QString()})->RecordCount(), 1);
        QCOMPARE(ErroDe([&] { Abre_Query(q, {"doze", "2021", "8", "5"}); }), 3421L);
        QCOMPARE(ErroDe([] { Abre_Recordset("ProcPesqAgendaHoje"); }), 3061L);  // needs its parameters

        // A blank entry is passed unchanged; apostrophes and SQL in a text entry are only data.
        CriaConsulta("TesteInsOfertas", "Long,Long,Text", "INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (?1, ?2, ?3)");
        const QString ataque = "D'AVILA'); DROP TABLE Ofertas; --";
        Executa_Query("TesteInsOfertas", {"7", "12", " "});
        Executa_Query("TesteInsOfertas", {"8", "12", ataque});
        QCOMPARE(Valor("SELECT group_concat(Descricao, '|') FROM Ofertas").toString(), " |" + ataque);
    }

    void conversaoBrasileira() {
        using ParametroConsulta::Converte;
        using T = ParametroConsulta::Tipo;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // whatever the machine's locale
        struct Caso { T tipo; const char* texto; const char* valor; };
        const Caso aceitos[] = {
            {T::Long, " 1.234 ", "1234"}, {T::Long, "2,5", "2"}, {T::Long, "3,5", "4"},  // halves to even, as CLng
            {T::Long, "900000000000000001", "900000000000000001"}, {T::Currency, "0,00015", "0.0002"},
            {T::Double, "1.234,5", "1234.5"}, {T::DateTime, "31/08/2021 14:05", "2021-08-31 14:05:00"},
            {T::DateTime, "5/8/2021", "2021-08-05 00:00:00"}, {T::Boolean, "verdadeiro", "1"}, {T::Text, " 05 ", " 05 "},
        };
        for (const Caso& c : aceitos) {
            const QVariant v = Converte(c.tipo, QString::fromUtf8(c.texto));
            QCOMPARE(v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString(), QString(c.valor));
        }
        const std::pair<T, const char*> recusados[] = {
            {T::Long, "1234.56"}, {T::Long, "12.5"}, {T::Long, "99999999999999999999"}, {T::Long, "1 000"},
            {T::Integer, "32768"}, {T::Byte, "256"}, {T::Currency, "1.23,4"}, {T::Double, "1e3"},
            {T::DateTime, "31/02/2021"}, {T::DateTime, "2021-08-31"}, {T::Boolean, "talvez"},
        };
        for (const auto& [tipo, texto] : recusados)
            QVERIFY2(ErroDe([&] { Converte(tipo, QString::fromUtf8(texto)); }) == 3421, texto);
        QLocale::setDefault(QLocale::system());

        // Amounts go in and come back exact to the cent, one by one and summed.
        CriaConsulta("TesteInsRemessa", "Long,Currency",
                     "INSERT INTO Remessas (Codigo, CodIg, Ano, Mes, Dia, Valor) VALUES (?1, 1, 2021, 8, 1, ?2)");
        const QStringList valores = {"0,10", "0,20", "1.234.567,89", "-0,01", "19,99"};
        for (int i = 0; i < valores.size(); ++i) Executa_Query("TesteInsRemessa", {QString::number(i + 1), valores[i]});
        RecordsetPtr rs = Abre_Recordset("SELECT group_concat(CAST(round(Valor * 100) AS INTEGER)), round(SUM(Valor) * 100) "
                                         "FROM (SELECT Valor FROM Remessas ORDER BY Codigo)");
        QCOMPARE(rs->Fields(0).toString(), QString("10,20,123456789,-1,1999"));
        QCOMPARE(rs->Fields(1).toLongLong(), 10 + 20 + 123456789 - 1 + 1999);
    }

    void errosDoMotorSemEscritaParcial() {
        amb->Sql("INSERT INTO Ofertas VALUES (1, 12, 'A')");
        CriaConsulta("TesteCopiaOfertas", "Long",
                     "INSERT OR FAIL INTO Ofertas SELECT Codigo + ?1, CodIg, Descricao FROM Ofertas UNION ALL SELECT 1, 0, 'X'");
        const std::pair<std::function<void()>, long> casos[] = {
            // A statement whose later row fails leaves nothing of its earlier rows,
            // even when its conflict clause would keep them.
            {[] { Executa_SQL("INSERT INTO Ofertas VALUES (2, 12, 'C'), (1, 12, 'D')"); }, 3022},
            {[] { Executa_SQL("INSERT OR FAIL INTO Ofertas VALUES (3, 12, 'E'), (1, 12, 'F')"); }, 3022},
            {[] { Executa_Query("TesteCopiaOfertas", {"10"}); }, 3022},
            // One statement per call: a second one is refused and nothing runs.
            {[] { Executa_SQL("DELETE FROM Ofertas; INSERT INTO Ofertas VALUES (5, 12, 'G')"); }, 3142},
            {[] { Executa_SQL("DELET FROM Ofertas"); }, 3075},
            {[] { Executa_SQL("DELETE FROM Nada"); }, 3078},
            {[] { Abre_Recordset("SELECT Nada FROM Ofertas"); }, 3265},
            {[] { Executa_SQL("INSERT INTO Ofertas (Nada) VALUES (1)"); }, 3265},
            {[] { Executa_SQL("INSERT INTO Ofertas VALUES ('x', 1, 'y')"); }, 3421},
            {[] { Abre_Recordset("SELECT * FROM Ofertas WHERE Codigo = ?"); }, 3061},
            {[] { Abre_Query("ProcPesqNada", {"1"}); }, 3265},
        };
        for (const auto& [f, erro] : casos) QCOMPARE(ErroDe(f), erro);
        QCOMPARE(Valor("SELECT group_concat(Codigo) FROM Ofertas").toString(), QString("1"));
        Executa_SQL("DELETE FROM Ofertas WHERE Codigo = 99; -- nada");  // no row, a trailing comment: no error

        // The handler reads the table's name between the first apostrophes.
        QString descricao;
        QCOMPARE(ErroDe([] { Executa_SQL("INSERT INTO Ofertas VALUES (1, 12, 'B')"); }, &descricao), 3022L);
        QCOMPARE(descricao.section('\'', 1, 1), QString("Ofertas"));
        QCOMPARE(ErroDe([] { Executa_SQL("INSERT INTO Igrejas (CodIg, Nome) VALUES (1, 'X')"); }, &descricao), 3315L);
        QCOMPARE(descricao.section('\'', 1, 1), QString("Igrejas"));
    }

    void arquivoAusenteNaoECriado() {
        QVERIFY(QFile::remove(amb->Arquivo()));
        QCOMPARE(ErroDe([] { Abre_Recordset("SELECT 1"); }), 53L);
        QCOMPARE(ErroDe([] { Executa_SQL("CREATE TABLE T (a)"); }), 53L);
        QCOMPARE(QDir(amb->Pasta()).entryList(QDir::Files), QStringList());
    }

    void arquivoIlegivelFicaIntacto() {
        const QString caminho = amb->Arquivo();
        for (const char* caso : {"outra senha", "vazio", "lixo", "sqlite sem cifra"}) {
            QVERIFY(QFile::remove(caminho));
            if (caso[0] == 'v' || caso[0] == 'l') {
                QFile f(caminho);
                QVERIFY(f.open(QIODevice::WriteOnly));
                for (int i = 0; caso[0] == 'l' && i < 1024; ++i) f.write(QByteArray::number(QRandomGenerator::global()->generate()));
            } else {
                sqlite3* db = nullptr;
                sqlite3_open_v2(QFile::encodeName(caminho).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
                if (caso[0] == 'o') QCOMPARE(sqlite3_key(db, "outra", 5), SQLITE_OK);
                QCOMPARE(sqlite3_exec(db, "CREATE TABLE Ofertas (Codigo); INSERT INTO Ofertas VALUES (1);", nullptr, nullptr, nullptr),
                         SQLITE_OK);
                sqlite3_close(db);
            }
            const QByteArray antes = Bytes(caminho);
            QVERIFY2(ErroDe([] { Abre_Recordset("SELECT * FROM Ofertas"); }) == 3011, caso);
            QVERIFY2(ErroDe([] { Executa_SQL("DELETE FROM Ofertas"); }) == 3011, caso);
            QVERIFY2(Bytes(caminho) == antes, caso);
        }
    }

    void paginaDanificada() {
        // A damaged page past the first fails the reading of its table with 3011, never a crash or wrong rows.
        amb->Sql("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                 "INSERT INTO LivroCaixa SELECT i, 12, 2021, 8, 1, 'O', 'OFERTA DO CULTO DE DOMINGO', 10.5 FROM n");
        QFile f(amb->Arquivo());
        QVERIFY(f.open(QIODevice::ReadWrite) && f.size() > 8 * 1024);
        for (qint64 pos = 2048; pos < f.size(); pos += 1024) {
            f.seek(pos + 100);
            f.write("estragado");
        }
        f.close();
        QCOMPARE(ErroDe([] { Abre_Recordset("SELECT * FROM LivroCaixa"); }), 3011L);
    }

    void arquivoBloqueado() {
        SqlCipher::Conexao outra = SqlCipher::Conexao::Abre(amb->Arquivo());
        outra.Executa("BEGIN IMMEDIATE");
        outra.Executa("INSERT INTO Cargos VALUES (9, 'X', 'X')");
        // Another writer: reading goes on (without its rows), writing waits and then fails.
        QCOMPARE(Abre_Recordset("SELECT * FROM Cargos")->RecordCount(), 0);
        QCOMPARE(ErroDe([] { Executa_SQL("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')"); }), 3260L);
        outra.Executa("ROLLBACK");
        Executa_SQL("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')");
    }

    void arquivoCifradoEChaveDerivadaUmaVez() {
        Executa_SQL("INSERT INTO Cargos VALUES (1, 'TEXTOCONHECIDOEMCLARO', 'PR')");
        const QByteArray bytes = Bytes(amb->Arquivo());
        QVERIFY(!bytes.isEmpty() && !bytes.startsWith("SQLite format 3"));
        QVERIFY(!bytes.contains("TEXTOCONHECIDOEMCLARO") && !bytes.contains("CREATE TABLE"));
        // The key is derived once per file, not at every opening.
        const int antes = SqlCipher::ChavesDerivadas();
        for (int i = 0; i < 5; ++i) QCOMPARE(Abre_Recordset("SELECT * FROM Cargos")->RecordCount(), 1);
        QVERIFY(SqlCipher::ChavesDerivadas() - antes <= 1);
        // And the file keyed by us opens with the password alone.
        sqlite3* db = nullptr;
        sqlite3_open_v2(QFile::encodeName(amb->Arquivo()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        QCOMPARE(sqlite3_key(db, SqlCipher::Senha, int(strlen(SqlCipher::Senha))), SQLITE_OK);
        QCOMPARE(sqlite3_exec(db, "SELECT count(*) FROM Consultas", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }

    void colacaoPTBR() {
        Executa_SQL("INSERT INTO Ofertas VALUES (1, 1, 'Zebra'), (2, 1, 'ÉDEN'), (3, 1, 'abelha'),"
                    " (4, 1, 'Ábaco'), (5, 1, 'eden'), (6, 1, 'ébano')");
        RecordsetPtr rs = Abre_Recordset("SELECT group_concat(Descricao, ' ') FROM (SELECT Descricao FROM Ofertas "
                                         "ORDER BY Descricao, Codigo)");
        QCOMPARE(rs->Texto(rs->FieldName(0)), QString("Ábaco abelha ébano eden ÉDEN Zebra"));
        // Case does not count, accents do.
        rs = Abre_Recordset("SELECT sum(Descricao = 'ÁBACO'), sum(Descricao = 'abaco'), sum(Descricao = 'Éden') FROM Ofertas");
        QCOMPARE(QList<int>({rs->Fields(0).toInt(), rs->Fields(1).toInt(), rs->Fields(2).toInt()}), QList<int>({1, 0, 1}));

        // The ASCII fast paths of the lists and of the database agree with the collator itself.
        const QByteArray alfabeto = " -_.,;:!'\"()/&0123456789aAbBcCeEzZ~|{}@#$%^*+=<>?`[]\\";
        auto* rnd = QRandomGenerator::global();
        QCollator referencia(QLocale(QLocale::Portuguese, QLocale::Brazil));
        referencia.setCaseSensitivity(Qt::CaseInsensitive);
        auto sinal = [](int x) { return (x > 0) - (x < 0); };
        for (int i = 0; i < 20000; ++i) {
            QByteArray a, b;
            for (int k = int(rnd->bounded(6)); k > 0; --k) a += alfabeto[int(rnd->bounded(alfabeto.size()))];
            b = a.left(int(rnd->bounded(a.size() + 1)));
            for (int k = int(rnd->bounded(4)); k > 0; --k) b += alfabeto[int(rnd->bounded(alfabeto.size()))];
            const int esperado = sinal(referencia.compare(QString::fromLatin1(a), QString::fromLatin1(b)));
            QVERIFY2(Compara_PTBR_Utf8(a.constData(), int(a.size()), b.constData(), int(b.size())) == esperado, (a + " | " + b).constData());
            QVERIFY2(Compara_PTBR(QString::fromLatin1(a), QString::fromLatin1(b)) == esperado, (a + " | " + b).constData());
        }
    }
};

REGISTRA_TESTE(tst_Banco)
#include "tst_Banco.moc"
