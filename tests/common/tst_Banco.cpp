// The local database layer: snapshots, stored queries and their parameters,
// the engine's failures as the program's error numbers, encryption and the
// key, locks, and the PTBR collation.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "platform/MsgBox.h"
#include "common/ParametroConsulta.h"
#include "platform/Colacao.h"
#include "platform/SqlCipher.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
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
        QVERIFY(rs->Fields("Descricao").isNull());
        QCOMPARE(rs->Texto("Descricao"), QString());
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

    void conversaoBrasileira_data() {
        using T = ParametroConsulta::Tipo;
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QString>("valor");  // empty: refused with 3421
        QTest::newRow("milhar com brancos") << int(T::Long) << " 1.234 " << "1234";
        QTest::newRow("zero à esquerda") << int(T::Long) << "05" << "5";
        QTest::newRow("meio para o par abaixo") << int(T::Long) << "2,5" << "2";
        QTest::newRow("meio para o par acima") << int(T::Long) << "3,5" << "4";
        QTest::newRow("Long de 64 bits") << int(T::Long) << "900000000000000001" << "900000000000000001";
        QTest::newRow("Currency") << int(T::Currency) << "1.234,56" << "1234.56";
        QTest::newRow("DateTime") << int(T::DateTime) << "31/08/2021 14:05" << "2021-08-31 14:05:00";
        QTest::newRow("Text intacto") << int(T::Text) << " 05 " << " 05 ";
        QTest::newRow("ponto decimal") << int(T::Long) << "1234.56" << "";
        QTest::newRow("além de 64 bits") << int(T::Long) << "99999999999999999999" << "";
        QTest::newRow("Integer além de 16 bits") << int(T::Integer) << "32768" << "";
        QTest::newRow("milhar malformado") << int(T::Currency) << "1.23,4" << "";
        QTest::newRow("data inexistente") << int(T::DateTime) << "31/02/2021" << "";
    }
    void conversaoBrasileira() {
        QFETCH(int, tipo);
        QFETCH(QString, texto);
        QFETCH(QString, valor);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // whatever the machine's locale
        const auto restaura = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        QVariant v;
        const long erro = ErroDe([&] { v = ParametroConsulta::Converte(ParametroConsulta::Tipo(tipo), texto); });
        QCOMPARE(erro, valor.isEmpty() ? 3421L : 0L);
        if (!valor.isEmpty())
            QCOMPARE(v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString(), valor);
    }

    void errosDoMotorSemEscritaParcial_data() {
        QTest::addColumn<QString>("chamada");  // "sql", "recordset" or "query"
        QTest::addColumn<QString>("texto");
        QTest::addColumn<long>("erro");
        // A statement whose later row fails leaves nothing of its earlier
        // rows, even when its conflict clause would keep them.
        QTest::newRow("linha posterior viola a chave")
            << "sql" << "INSERT OR FAIL INTO Ofertas VALUES (3, 12, 'E'), (1, 12, 'F')" << 3022L;
        // One statement per call: a second one is refused and nothing runs.
        QTest::newRow("segunda instrução")
            << "sql" << "DELETE FROM Ofertas; INSERT INTO Ofertas VALUES (5, 12, 'G')" << 3142L;
        QTest::newRow("sintaxe") << "sql" << "DELET FROM Ofertas" << 3075L;
        QTest::newRow("tabela inexistente") << "sql" << "DELETE FROM Nada" << 3078L;
        QTest::newRow("campo inexistente") << "recordset" << "SELECT Nada FROM Ofertas" << 3265L;
        QTest::newRow("tipo incompatível") << "sql" << "INSERT INTO Ofertas VALUES ('x', 1, 'y')" << 3421L;
        QTest::newRow("consulta inexistente") << "query" << "ProcPesqNada" << 3265L;
        QTest::newRow("sem linha e com comentário") << "sql" << "DELETE FROM Ofertas WHERE Codigo = 99; -- nada" << 0L;
    }
    void errosDoMotorSemEscritaParcial() {
        QFETCH(QString, chamada);
        QFETCH(QString, texto);
        QFETCH(long, erro);
        amb->Sql("INSERT INTO Ofertas VALUES (1, 12, 'A')");
        QCOMPARE(ErroDe([&] {
                     if (chamada == "sql") Executa_SQL(texto);
                     else if (chamada == "recordset") Abre_Recordset(texto);
                     else Abre_Query(texto, {"1"});
                 }),
                 erro);
        QCOMPARE(Valor("SELECT group_concat(Codigo) FROM Ofertas").toString(), QString("1"));
    }

    // The handler reads the table's name between the first apostrophes.
    void descricaoNomeiaATabela() {
        QString descricao;
        QCOMPARE(ErroDe([] { Executa_SQL("INSERT INTO Igrejas (CodIg, Nome) VALUES (1, 'X')"); }, &descricao), 3315L);
        QCOMPARE(descricao.section('\'', 1, 1), QString("Igrejas"));
    }

    void arquivoAusenteNaoECriado() {
        QVERIFY(QFile::remove(amb->Arquivo()));
        QCOMPARE(ErroDe([] { Executa_SQL("CREATE TABLE T (a)"); }), 53L);
        QCOMPARE(QDir(amb->Pasta()).entryList(QDir::Files), QStringList());
    }

    void arquivoIlegivelFicaComoEsta_data() {
        QTest::addColumn<QString>("caso");
        QTest::newRow("outra senha") << "senha";
        QTest::newRow("vazio") << "vazio";
        QTest::newRow("lixo") << "lixo";
    }
    void arquivoIlegivelFicaComoEsta() {
        QFETCH(QString, caso);
        const QString caminho = amb->Arquivo();
        QVERIFY(QFile::remove(caminho));
        if (caso == "senha") {
            sqlite3* db = nullptr;
            sqlite3_open_v2(QFile::encodeName(caminho).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            QCOMPARE(sqlite3_key(db, "outra", 5), SQLITE_OK);
            QCOMPARE(sqlite3_exec(db, "CREATE TABLE Ofertas (Codigo);", nullptr, nullptr, nullptr), SQLITE_OK);
            sqlite3_close(db);
        } else {
            QFile f(caminho);
            QVERIFY(f.open(QIODevice::WriteOnly));
            if (caso == "lixo") {
                const quint32 semente = QRandomGenerator::global()->generate();
                qInfo("semente %u", semente);
                QRandomGenerator rnd(semente);
                for (int i = 0; i < 1024; ++i) f.write(QByteArray::number(rnd.generate()));
            }
        }
        const QByteArray antes = Bytes(caminho);
        QCOMPARE(ErroDe([] { Abre_Recordset("SELECT * FROM Ofertas"); }), 3011L);
        QCOMPARE(ErroDe([] { Executa_SQL("DELETE FROM Ofertas"); }), 3011L);
        QCOMPARE(ErroDe([] { UnidadeTrabalho u; }), 3011L);
        QCOMPARE(Bytes(caminho), antes);
    }

    // Statements of a unit apply together or not at all; any failure undoes
    // the unit's earlier statements too.
    void unidadeDeTrabalho_data() {
        QTest::addColumn<QString>("segunda");
        QTest::addColumn<bool>("confirma");
        QTest::addColumn<long>("erro");
        QTest::addColumn<QString>("guardado");
        const QString boa = "INSERT INTO Ofertas VALUES (2, 12, 'B')";
        QTest::newRow("confirmada") << boa << true << 0L << "1,2";
        QTest::newRow("sem Commit") << boa << false << 0L << "";
        QTest::newRow("segunda viola a chave") << "INSERT INTO Ofertas VALUES (1, 12, 'B')" << true << 3022L << "";
        QTest::newRow("segunda sem tabela") << "DELETE FROM Nada" << true << 3078L << "";
        QTest::newRow("segunda em duas instruções") << boa + "; " + boa << true << 3142L << "";
    }
    void unidadeDeTrabalho() {
        QFETCH(QString, segunda);
        QFETCH(bool, confirma);
        QFETCH(long, erro);
        QFETCH(QString, guardado);
        amb->Sql("INSERT INTO Consultas VALUES ('TesteInsOfertas', 'Long,Long,Text',"
                 " 'INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (?1, ?2, ?3)')");
        QCOMPARE(ErroDe([&] {
                     UnidadeTrabalho u;
                     u.ExecutaQuery("TesteInsOfertas", {"1", "12", "A"});
                     u.Executa(segunda);
                     if (confirma) u.Commit();
                 }),
                 erro);
        QCOMPARE(Valor("SELECT group_concat(Codigo) FROM Ofertas").toString(), guardado);
        QVERIFY(!ArquivoAberto(amb->Arquivo()));
    }

    // A unit rolled back by a failure refuses the rest, so no statement runs
    // apart from its companions; meanwhile it sees its own writes and holds
    // the write lock, and others see nothing of it.
    void unidadeDesfeitaRecusaORestoEBloqueiaOutros() {
        UnidadeTrabalho u;
        u.Executa("INSERT INTO Ofertas VALUES (1, 12, 'A')");
        QCOMPARE(u.AbreSnapshot("SELECT count(*) FROM Ofertas")->Fields(0).toInt(), 1);
        QCOMPARE(Abre_Recordset("SELECT count(*) FROM Ofertas")->Fields(0).toInt(), 0);
        QCOMPARE(ErroDe([] { Executa_SQL("INSERT INTO Ofertas VALUES (7, 12, 'X')"); }), 3260L);
        QCOMPARE(ErroDe([&] { u.Executa("INSERT INTO Ofertas VALUES (1, 12, 'B')"); }), 3022L);
        QVERIFY(!ArquivoAberto(amb->Arquivo()));
        QCOMPARE(ErroDe([&] { u.Executa("INSERT INTO Ofertas VALUES (2, 12, 'C')"); }), 3704L);
        QCOMPARE(ErroDe([&] { u.Commit(); }), 3704L);
        QCOMPARE(Valor("SELECT count(*) FROM Ofertas").toInt(), 0);
    }

    // Yes to "Continua Tentando ?" runs the whole unit again from its start
    // (the first statement's row of the failed run is gone, so the rerun
    // takes the same key); No leaves nothing.
    void tentaUnidadeRecomecaDoInicio_data() {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<bool>("gravado");
        QTest::addColumn<int>("execucoes");
        QTest::addColumn<QString>("guardado");
        QTest::newRow("Sim") << int(vbYes) << true << 2 << "1";
        QTest::newRow("Não") << int(vbNo) << false << 1 << "";
    }
    void tentaUnidadeRecomecaDoInicio() {
        QFETCH(int, resposta);
        QFETCH(bool, gravado);
        QFETCH(int, execucoes);
        QFETCH(QString, guardado);
        Roteiro::Responde(resposta);
        int vezes = 0;
        const bool ok = Tenta_Unidade([&](UnidadeTrabalho& u) {
            ++vezes;
            u.Executa("INSERT INTO Ofertas SELECT COALESCE(MAX(Codigo), 0) + 1, 12, 'A' FROM Ofertas");
            if (vezes == 1) u.Executa("DELETE FROM Nada");
        });
        QCOMPARE(ok, gravado);
        QCOMPARE(vezes, execucoes);
        QCOMPARE(Valor("SELECT group_concat(Codigo) FROM Ofertas").toString(), guardado);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas().front().titulo, QString("<<< Ocorrência de Erro 3078 >>>"));
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
        QVERIFY(!bytes.isEmpty());
        QVERIFY(!bytes.startsWith("SQLite format 3"));
        QVERIFY(!bytes.contains("TEXTOCONHECIDOEMCLARO"));
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
        const quint32 semente = QRandomGenerator::global()->generate();
        qInfo("semente %u", semente);
        QRandomGenerator gerador(semente);
        auto* rnd = &gerador;
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
