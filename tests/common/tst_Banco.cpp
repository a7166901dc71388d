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

private slots:
    void init() { amb = std::make_unique<Ambiente>(); }
    void cleanup() { amb.reset(); }

    void snapshotEBancoSemAlcaRetida() {
        amb->Sql("INSERT INTO Ofertas VALUES (1, 12, 'DOMINGO - CULTO'), (2, 12, NULL)");
        RecordsetPtr rs = Abre_Recordset("SELECT Codigo, Descricao FROM Ofertas ORDER BY Codigo");
        QVERIFY(!ArquivoAberto(amb->Arquivo()));
        QVERIFY(QFile::remove(amb->Arquivo()));  // the rows live on without the file
        QCOMPARE(rs->Fields("codigo").toLongLong(), 1);  // names without regard to case
        rs->MoveNext();
        QVERIFY(rs->Fields("Descricao").isNull() && rs->Texto("Descricao").isEmpty());
        rs->MoveNext();
        QVERIFY(rs->Eof());
        QCOMPARE(ErroDe([&] { rs->Fields(0); }), 3021L);
        QCOMPARE(Recordset({"Valor"}, {{QVariant(1234.5)}}).Texto("Valor"), QString("1234,5"));  // regional form

        // A read-only handle refuses writes and lets go of the file once closed; a snapshot runs no action.
        Esquema::Cria(amb->Arquivo());
        amb->Sql("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')");
        BancoLocalPtr leitura = Abre_Banco(true);
        QCOMPARE(ErroDe([&] { leitura->Executa("DELETE FROM Cargos"); }), 3027L);
        Fecha_Banco(leitura);
        QVERIFY(!ArquivoAberto(amb->Arquivo()));
        QCOMPARE(ErroDe([&] { Abre_Recordset("DELETE FROM Cargos"); }), 3219L);
        QCOMPARE(Valor("SELECT count(*) FROM Cargos").toInt(), 1);
    }

    void parametrosPorPosicao() {
        amb->Sql("INSERT INTO Agenda VALUES (12, 2021, 8, 5, 'PAGAR ALUGUEL'), (12, 2021, 8, 5, 'LUZ'),"
                 " (12, 2021, 8, 6, 'AGUA'), (13, 2021, 8, 5, 'OUTRA IGREJA')");
        const QString q = "ProcPesqAgendaHoje";
        QCOMPARE(Abre_Query(q, {"0012", "2021", "08", "05"})->RecordCount(), 2);
        // An empty entry leaves its parameter unassigned; one past the query's parameters is refused.
        QCOMPARE(ErroDe([&] { Abre_Query(q, {"12", QString(), "8", "5"}); }), 3061L);
        QCOMPARE(ErroDe([&] { Abre_Query(q, {"12", "2021", "8", "5", "1"}); }), 3265L);

        // A blank entry is passed unchanged; apostrophes and SQL in a text entry are only data.
        amb->Sql("INSERT INTO Consultas VALUES ('TesteInsOfertas', 'Long,Long,Text',"
                 " 'INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (?1, ?2, ?3)')");
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
            {T::Long, " 1.234 ", "1234"}, {T::Long, "05", "5"}, {T::Long, "2,5", "2"}, {T::Long, "3,5", "4"},  // halves to even
            {T::Long, "900000000000000001", "900000000000000001"}, {T::Currency, "1.234,56", "1234.56"},
            {T::DateTime, "31/08/2021 14:05", "2021-08-31 14:05:00"}, {T::Text, " 05 ", " 05 "},
        };
        for (const Caso& c : aceitos) {
            const QVariant v = Converte(c.tipo, QString::fromUtf8(c.texto));
            QCOMPARE(v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString(), QString(c.valor));
        }
        const std::pair<T, const char*> recusados[] = {
            {T::Long, "1234.56"}, {T::Long, "99999999999999999999"}, {T::Integer, "32768"},
            {T::Currency, "1.23,4"}, {T::DateTime, "31/02/2021"},
        };
        for (const auto& [tipo, texto] : recusados)
            QVERIFY2(ErroDe([&] { Converte(tipo, QString::fromUtf8(texto)); }) == 3421, texto);
        QLocale::setDefault(QLocale::system());
    }

    void errosDoMotorSemEscritaParcial() {
        amb->Sql("INSERT INTO Ofertas VALUES (1, 12, 'A')");
        const std::pair<std::function<void()>, long> casos[] = {
            // A statement whose later row fails leaves nothing of its earlier rows,
            // even when its conflict clause would keep them.
            {[] { Executa_SQL("INSERT OR FAIL INTO Ofertas VALUES (3, 12, 'E'), (1, 12, 'F')"); }, 3022},
            // One statement per call: a second one is refused and nothing runs.
            {[] { Executa_SQL("DELETE FROM Ofertas; INSERT INTO Ofertas VALUES (5, 12, 'G')"); }, 3142},
            {[] { Executa_SQL("DELET FROM Ofertas"); }, 3075},
            {[] { Executa_SQL("DELETE FROM Nada"); }, 3078},
            {[] { Abre_Recordset("SELECT Nada FROM Ofertas"); }, 3265},
            {[] { Executa_SQL("INSERT INTO Ofertas VALUES ('x', 1, 'y')"); }, 3421},
            {[] { Abre_Query("ProcPesqNada", {"1"}); }, 3265},
        };
        for (const auto& [f, erro] : casos) QCOMPARE(ErroDe(f), erro);
        QCOMPARE(Valor("SELECT group_concat(Codigo) FROM Ofertas").toString(), QString("1"));
        Executa_SQL("DELETE FROM Ofertas WHERE Codigo = 99; -- nada");  // no row, a trailing comment: no error

        // The handler reads the table's name between the first apostrophes.
        QString descricao;
        QCOMPARE(ErroDe([] { Executa_SQL("INSERT INTO Igrejas (CodIg, Nome) VALUES (1, 'X')"); }, &descricao), 3315L);
        QCOMPARE(descricao.section('\'', 1, 1), QString("Igrejas"));
    }

    void arquivoAusenteOuIlegivelFicaComoEsta() {
        const QString caminho = amb->Arquivo();
        QVERIFY(QFile::remove(caminho));
        QCOMPARE(ErroDe([] { Executa_SQL("CREATE TABLE T (a)"); }), 53L);
        QCOMPARE(QDir(amb->Pasta()).entryList(QDir::Files), QStringList());  // never created

        for (const char* caso : {"outra senha", "vazio", "lixo"}) {
            QFile::remove(caminho);
            if (caso[0] == 'o') {
                sqlite3* db = nullptr;
                sqlite3_open_v2(QFile::encodeName(caminho).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
                QCOMPARE(sqlite3_key(db, "outra", 5), SQLITE_OK);
                QCOMPARE(sqlite3_exec(db, "CREATE TABLE Ofertas (Codigo);", nullptr, nullptr, nullptr), SQLITE_OK);
                sqlite3_close(db);
            } else {
                QFile f(caminho);
                QVERIFY(f.open(QIODevice::WriteOnly));
                for (int i = 0; caso[0] == 'l' && i < 1024; ++i) f.write(QByteArray::number(QRandomGenerator::global()->generate()));
            }
            const QByteArray antes = Bytes(caminho);
            QVERIFY2(ErroDe([] { Abre_Recordset("SELECT * FROM Ofertas"); }) == 3011, caso);
            QVERIFY2(ErroDe([] { Executa_SQL("DELETE FROM Ofertas"); }) == 3011, caso);
            QVERIFY2(Bytes(caminho) == antes, caso);
        }
    }

    void arquivoBloqueado() {
        SqlCipher::Conexao outra = SqlCipher::Conexao::Abre(amb->Arquivo());
        outra.Executa("BEGIN IMMEDIATE");
        outra.Executa("INSERT INTO Cargos VALUES (9, 'X', 'X')");
        // Another writer: reading goes on (without its rows), writing waits and then fails.
        QCOMPARE(Abre_Recordset("SELECT * FROM Cargos")->RecordCount(), 0);
        QCOMPARE(ErroDe([] { Executa_SQL("INSERT INTO Cargos VALUES (1, 'PASTOR', 'PR')"); }), 3260L);
        outra.Executa("ROLLBACK");
    }

    void arquivoCifradoEChaveDerivadaUmaVez() {
        Executa_SQL("INSERT INTO Cargos VALUES (1, 'TEXTOCONHECIDOEMCLARO', 'PR')");
        const QByteArray bytes = Bytes(amb->Arquivo());
        QVERIFY(!bytes.isEmpty() && !bytes.startsWith("SQLite format 3") && !bytes.contains("TEXTOCONHECIDOEMCLARO"));
        const int antes = SqlCipher::ChavesDerivadas();
        for (int i = 0; i < 5; ++i) QCOMPARE(Abre_Recordset("SELECT * FROM Cargos")->RecordCount(), 1);
        QVERIFY(SqlCipher::ChavesDerivadas() - antes <= 1);
    }

    void colacaoPTBR() {
        Executa_SQL("INSERT INTO Ofertas VALUES (1, 1, 'Zebra'), (2, 1, 'ÉDEN'), (3, 1, 'abelha'),"
                    " (4, 1, 'Ábaco'), (5, 1, 'eden'), (6, 1, 'ébano')");
        RecordsetPtr rs = Abre_Recordset("SELECT group_concat(Descricao, ' ') FROM (SELECT Descricao FROM Ofertas "
                                         "ORDER BY Descricao, Codigo)");
        QCOMPARE(rs->Texto(rs->FieldName(0)), QString("Ábaco abelha ébano eden ÉDEN Zebra"));
        // Case does not count, accents do.
        rs = Abre_Recordset("SELECT sum(Descricao = 'ÁBACO'), sum(Descricao = 'abaco') FROM Ofertas");
        QCOMPARE(QList<int>({rs->Fields(0).toInt(), rs->Fields(1).toInt()}), QList<int>({1, 0}));

        // The ASCII fast paths of the lists and of the database agree with the collator itself.
        const QByteArray alfabeto = " -_.,;:!'\"()/&0123456789aAbBcCeEzZ~|{}@#$%^*+=<>?`[]\\";
        auto* rnd = QRandomGenerator::global();
        QCollator referencia(QLocale(QLocale::Portuguese, QLocale::Brazil));
        referencia.setCaseSensitivity(Qt::CaseInsensitive);
        for (int i = 0; i < 5000; ++i) {
            QByteArray a;
            for (int k = int(rnd->bounded(6)); k > 0; --k) a += alfabeto[int(rnd->bounded(alfabeto.size()))];
            QByteArray b = a.left(int(rnd->bounded(a.size() + 1)));
            for (int k = int(rnd->bounded(4)); k > 0; --k) b += alfabeto[int(rnd->bounded(alfabeto.size()))];
            const int c = referencia.compare(QString::fromLatin1(a), QString::fromLatin1(b)), esperado = (c > 0) - (c < 0);
            QVERIFY2(Compara_PTBR_Utf8(a.constData(), int(a.size()), b.constData(), int(b.size())) == esperado, (a + " | " + b).constData());
            QVERIFY2(Compara_PTBR(QString::fromLatin1(a), QString::fromLatin1(b)) == esperado, (a + " | " + b).constData());
        }
    }
};

REGISTRA_TESTE(tst_Banco)
#include "tst_Banco.moc"
