// The local database layer: snapshots, stored queries and their parameters,
// the engine's failures as the program's error numbers, units of work,
// encryption and the key, and the PTBR collation.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "platform/MsgBox.h"
#include "common/ParametroConsulta.h"
#include "platform/Colacao.h"
#include "platform/SqlCipher.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTest>
#include <QProcess>
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
const QString Codigos = "SELECT group_concat(Codigo) FROM Ofertas";
struct Conversao { ParametroConsulta::Tipo tipo; QString texto, valor; };
struct Falha { char chamada; QString texto; long erro; };  // Executa_SQL, Abre_Recordset or Abre_Query
struct Unidade { QString segunda; bool confirma; long erro; QString guardado; };
}  // namespace

class tst_Banco : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb;
    QVariant Valor(const QString& sql) { return amb->Le(sql)->Fields(0); }
    void ConsultaDeInsercao() {
        amb->Sql("INSERT INTO Consultas VALUES ('TesteInsOfertas', 'Long,Long,Text',"
                 " 'INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (?1, ?2, ?3)')");
    }

private slots:
    void init() { amb = std::make_unique<Ambiente>(); }
    void cleanup() { amb.reset(); }

    void snapshotEBancoSemAlcaRetida() {
        amb->Sql("INSERT INTO Ofertas VALUES (1, 12, 'DOMINGO - CULTO'), (2, 12, NULL)");
        RecordsetPtr rs = Abre_Recordset("SELECT Codigo, Descricao FROM Ofertas ORDER BY Codigo");
        QVERIFY(!ArquivoAberto(amb->Arquivo()));
        QVERIFY(QFile::remove(amb->Arquivo()));  // the rows live on without the file
        QCOMPARE(rs->Fields("codigo").toLongLong(), 1);
        rs->MoveNext();
        QCOMPARE(rs->Texto("Descricao"), QString());
        rs->MoveNext();
        QVERIFY(rs->Eof());
        QCOMPARE(ErroDe([&] { rs->Fields(0); }), 3021L);
        QCOMPARE(Recordset({"Valor"}, {{QVariant(1234.5)}}).Texto("Valor"), QString("1234,5"));

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
        ConsultaDeInsercao();
        const QString ataque = "D'AVILA'); DROP TABLE Ofertas; --";
        Executa_Query("TesteInsOfertas", {"7", "12", " "});
        Executa_Query("TesteInsOfertas", {"8", "12", ataque});
        QCOMPARE(Valor("SELECT group_concat(Descricao, '|') FROM Ofertas").toString(), " |" + ataque);
    }

    void conversaoBrasileira_data() {
        using T = ParametroConsulta::Tipo;
        // An empty value: refused with 3421.
        Tabela<Conversao>({
            {"milhar com brancos", {T::Long, " 1.234 ", "1234"}}, {"zero à esquerda", {T::Long, "05", "5"}},
            {"meio para o par abaixo", {T::Long, "2,5", "2"}}, {"meio para o par acima", {T::Long, "3,5", "4"}},
            {"Long de 64 bits", {T::Long, "900000000000000001", "900000000000000001"}},
            {"Currency", {T::Currency, "1.234,56", "1234.56"}}, {"Text intacto", {T::Text, " 05 ", " 05 "}},
            {"DateTime", {T::DateTime, "31/08/2021 14:05", "2021-08-31 14:05:00"}},
            {"ponto decimal", {T::Long, "1234.56", ""}}, {"além de 64 bits", {T::Long, "99999999999999999999", ""}},
            {"Integer além de 16 bits", {T::Integer, "32768", ""}}, {"data inexistente", {T::DateTime, "31/02/2021", ""}},
        });
    }
    void conversaoBrasileira() {
        QFETCH(Conversao, caso);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));  // whatever the machine's locale
        const auto restaura = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
        QVariant v;
        QCOMPARE(ErroDe([&] { v = ParametroConsulta::Converte(caso.tipo, caso.texto); }), caso.valor.isEmpty() ? 3421L : 0L);
        if (!caso.valor.isEmpty())
            QCOMPARE(v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 15) : v.toString(), caso.valor);
    }

    void errosDoMotorSemEscritaParcial_data() {
        // A later row's failure leaves nothing of the earlier ones, even under a conflict clause that keeps them.
        Tabela<Falha>({
            {"linha posterior viola a chave", {'s', "INSERT OR FAIL INTO Ofertas VALUES (3, 12, 'E'), (1, 12, 'F')", 3022}},
            {"segunda instrução", {'s', "DELETE FROM Ofertas; INSERT INTO Ofertas VALUES (5, 12, 'G')", 3142}},
            {"sintaxe", {'s', "DELET FROM Ofertas", 3075}}, {"campo inexistente", {'r', "SELECT Nada FROM Ofertas", 3265}},
            {"tipo incompatível", {'s', "INSERT INTO Ofertas VALUES ('x', 1, 'y')", 3421}},
            {"consulta inexistente", {'q', "ProcPesqNada", 3265}},
            {"sem linha e com comentário", {'s', "DELETE FROM Ofertas WHERE Codigo = 99; -- nada", 0}},
        });
    }
    void errosDoMotorSemEscritaParcial() {
        QFETCH(Falha, caso);
        amb->Sql("INSERT INTO Ofertas VALUES (1, 12, 'A')");
        QCOMPARE(ErroDe([&] {
                     if (caso.chamada == 's') Executa_SQL(caso.texto);
                     else if (caso.chamada == 'r') Abre_Recordset(caso.texto);
                     else Abre_Query(caso.texto, {"1"});
                 }),
                 caso.erro);
        QCOMPARE(Valor(Codigos).toString(), QString("1"));
    }

    void descricaoEArquivoAusente() {
        // The handler reads the table's name between the first apostrophes.
        QString descricao;
        QCOMPARE(ErroDe([] { Executa_SQL("INSERT INTO Igrejas (CodIg, Nome) VALUES (1, 'X')"); }, &descricao), 3315L);
        QCOMPARE(descricao.section('\'', 1, 1), QString("Igrejas"));
        // A missing file is an error, never a new empty file.
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
            QRandomGenerator rnd = caso == "lixo" ? Gerador_Semeado() : QRandomGenerator();
            for (int i = 0; caso == "lixo" && i < 1024; ++i) f.write(QByteArray::number(rnd.generate()));
        }
        const QByteArray antes = Bytes(caminho);
        QCOMPARE(ErroDe([] { Abre_Recordset("SELECT * FROM Ofertas"); }), 3011L);
        QCOMPARE(ErroDe([] { Executa_SQL("DELETE FROM Ofertas"); }), 3011L);
        QCOMPARE(ErroDe([] { UnidadeTrabalho u; }), 3011L);
        QCOMPARE(Bytes(caminho), antes);
    }

    // Statements of a unit apply together or not at all.
    void unidadeDeTrabalho_data() {
        const QString boa = "INSERT INTO Ofertas VALUES (2, 12, 'B')";
        Tabela<Unidade>({
            {"confirmada", {boa, true, 0, "1,2"}}, {"sem Commit", {boa, false, 0, ""}},
            {"segunda viola a chave", {"INSERT INTO Ofertas VALUES (1, 12, 'B')", true, 3022, ""}},
            {"segunda em duas instruções", {boa + "; " + boa, true, 3142, ""}},
        });
    }
    void unidadeDeTrabalho() {
        QFETCH(Unidade, caso);
        ConsultaDeInsercao();
        QCOMPARE(ErroDe([&] {
                     UnidadeTrabalho u;
                     u.ExecutaQuery("TesteInsOfertas", {"1", "12", "A"});
                     u.Executa(caso.segunda);
                     if (caso.confirma) u.Commit();
                 }),
                 caso.erro);
        QCOMPARE(Valor(Codigos).toString(), caso.guardado);
        QVERIFY(!ArquivoAberto(amb->Arquivo()));
    }

    // A unit rolled back by a failure refuses the rest, so no statement runs
    // apart from its companions; meanwhile it sees its own writes and holds
    // the write lock (others read without its rows and cannot write).
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
    // (the failed run's first row is gone, so the rerun takes the same key).
    void tentaUnidadeRecomecaDoInicio_data() {
        QTest::addColumn<int>("resposta");
        QTest::addColumn<int>("execucoes");
        QTest::addColumn<QString>("guardado");  // empty: not saved
        QTest::newRow("Sim") << int(vbYes) << 2 << "1";
        QTest::newRow("Não") << int(vbNo) << 1 << "";
    }
    void tentaUnidadeRecomecaDoInicio() {
        QFETCH(int, resposta);
        QFETCH(int, execucoes);
        QFETCH(QString, guardado);
        Roteiro::Responde(resposta);
        int vezes = 0;
        const bool ok = Tenta_Unidade([&](UnidadeTrabalho& u) {
            u.Executa("INSERT INTO Ofertas SELECT COALESCE(MAX(Codigo), 0) + 1, 12, 'A' FROM Ofertas");
            if (++vezes == 1) u.Executa("DELETE FROM Nada");
        });
        QCOMPARE(ok, !guardado.isEmpty());
        QCOMPARE(vezes, execucoes);
        QCOMPARE(Valor(Codigos).toString(), guardado);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas().front().titulo, QString("<<< Ocorrência de Erro 3078 >>>"));
    }

    void arquivoCifradoEChaveDerivadaUmaVez() {
        Executa_SQL("INSERT INTO Cargos VALUES (1, 'TEXTOCONHECIDOEMCLARO', 'PR')");
        const QByteArray bytes = Bytes(amb->Arquivo());
        QVERIFY(!bytes.startsWith("SQLite format 3"));
        QVERIFY(!bytes.contains("TEXTOCONHECIDOEMCLARO"));
        const int antes = SqlCipher::ChavesDerivadas();
        for (int i = 0; i < 5; ++i) QCOMPARE(Abre_Recordset("SELECT * FROM Cargos")->RecordCount(), 1);
        QVERIFY(SqlCipher::ChavesDerivadas() - antes <= 1);
    }

    void travaDaUnidadeSobreviveALeituraAninhada() {
        // A read on a handle of its own inside a unit of work leaves the
        // unit's write lock in place: another program (here Python over the
        // system's SQLCipher) still cannot begin writing.
        const char* outroPrograma =
            "import ctypes, sys\n"
            "l = ctypes.CDLL('libsqlcipher.so.0')\n"
            "db = ctypes.c_void_p()\n"
            "l.sqlite3_open(sys.argv[1].encode(), ctypes.byref(db))\n"
            "l.sqlite3_key(db, b'wodrak', 6)\n"
            "print(l.sqlite3_exec(db, b'BEGIN IMMEDIATE', None, None, None))\n";
        UnidadeTrabalho unidade;
        unidade.Executa("INSERT INTO Ofertas VALUES (1, 12, 'A')");
        QCOMPARE(Abre_Recordset("SELECT count(*) FROM Ofertas")->Fields(0).toInt(), 0);
        QProcess outro;
        outro.start("/usr/bin/python3", {"-c", outroPrograma, amb->Arquivo()});
        QVERIFY(outro.waitForFinished(30000));
        QCOMPARE(outro.readAllStandardOutput().trimmed(), QByteArray("5"));  // SQLITE_BUSY
        unidade.Commit();
    }

    void consultaMudadaPorOutroProgramaValeJa() {
        // The stored queries are remembered for the run, never past a change of the file.
        amb->Sql("INSERT INTO Consultas VALUES ('TesteUm', '', 'SELECT 1 AS N')");
        QCOMPARE(Abre_Query("TesteUm", {})->Fields(0).toInt(), 1);
        amb->Sql("UPDATE Consultas SET Sql = 'SELECT 2 AS N' WHERE Nome = 'TesteUm'");
        QCOMPARE(Abre_Query("TesteUm", {})->Fields(0).toInt(), 2);
        QCOMPARE(Abre_Query("TesteUm", {})->Fields(0).toInt(), 2);
        // Nor past a unit of work of this program that changed them.
        QVERIFY(Tenta_Unidade([](UnidadeTrabalho& u) {
            u.AbreQuery("TesteUm", {});
            u.Executa("UPDATE Consultas SET Sql = 'SELECT 3 AS N' WHERE Nome = 'TesteUm'");
        }));
        QCOMPARE(Abre_Query("TesteUm", {})->Fields(0).toInt(), 3);
    }

    // Inside a unit a stored query run again is bound anew each call: every
    // call gets its own values, a missing one is still refused (the last
    // call's is not reused), and a change of the stored query made in the
    // unit holds at once.
    void consultaRepetidaNaUnidade() {
        ConsultaDeInsercao();
        amb->Sql("INSERT INTO Consultas VALUES ('TestePesqOferta', 'Long', 'SELECT Descricao FROM Ofertas WHERE Codigo = ?1')");
        QStringList lidas;
        QVERIFY(Tenta_Unidade([&](UnidadeTrabalho& u) {
            for (int i = 1; i <= 3; ++i) u.ExecutaQuery("TesteInsOfertas", {QString::number(i), "12", QString("OFERTA %1").arg(i)});
            for (const char* codigo : {"2", "3", "9"}) {
                const RecordsetPtr rs = u.AbreQuery("TestePesqOferta", {codigo});
                lidas << (rs->Eof() ? "-" : rs->Texto(0));
            }
            u.Executa("UPDATE Consultas SET Sql = 'SELECT Descricao || ''!'' FROM Ofertas WHERE Codigo = ?1'"
                      " WHERE Nome = 'TestePesqOferta'");
            lidas << u.AbreQuery("TestePesqOferta", {"1"})->Texto(0);
        }));
        QCOMPARE(lidas, (QStringList{"OFERTA 2", "OFERTA 3", "-", "OFERTA 1!"}));
        QCOMPARE(ErroDe([] {
                     UnidadeTrabalho u;
                     u.ExecutaQuery("TesteInsOfertas", {"4", "12", "QUARTA"});
                     u.ExecutaQuery("TesteInsOfertas", {"5", QString(), "QUINTA"});
                     u.Commit();
                 }),
                 3061L);
        QCOMPARE(Valor("SELECT group_concat(Codigo || ' ' || Descricao, ',') FROM Ofertas").toString(),
                 QString("1 OFERTA 1,2 OFERTA 2,3 OFERTA 3"));
    }

    void colacaoPTBR() {
        Executa_SQL("INSERT INTO Ofertas VALUES (1, 1, 'Zebra'), (2, 1, 'ÉDEN'), (3, 1, 'abelha'),"
                    " (4, 1, 'Ábaco'), (5, 1, 'eden'), (6, 1, 'ébano')");
        QCOMPARE(Valor("SELECT group_concat(Descricao, ' ') FROM (SELECT Descricao FROM Ofertas ORDER BY Descricao, Codigo)")
                     .toString(),
                 QString("Ábaco abelha ébano eden ÉDEN Zebra"));
        // Case does not count, accents do.
        QCOMPARE(Valor("SELECT sum(Descricao = 'ÁBACO') || sum(Descricao = 'abaco') FROM Ofertas").toString(), "10");

        // The ASCII fast paths of the lists and of the database agree with the collator itself.
        const QByteArray alfabeto = " -_.,;:!'\"()/&0123456789aAbBcCeEzZ~|{}@#$%^*+=<>?`[]\\";
        QRandomGenerator rnd = Gerador_Semeado();
        const auto letra = [&] { return alfabeto[int(rnd.bounded(alfabeto.size()))]; };
        QCollator referencia(QLocale(QLocale::Portuguese, QLocale::Brazil));
        referencia.setCaseSensitivity(Qt::CaseInsensitive);
        for (int i = 0; i < 5000; ++i) {
            QByteArray a;
            for (int k = int(rnd.bounded(6)); k > 0; --k) a += letra();
            QByteArray b = a.left(int(rnd.bounded(a.size() + 1)));
            for (int k = int(rnd.bounded(4)); k > 0; --k) b += letra();
            const int c = referencia.compare(QString::fromLatin1(a), QString::fromLatin1(b)), esperado = (c > 0) - (c < 0);
            QVERIFY2(Compara_PTBR_Utf8(a.constData(), int(a.size()), b.constData(), int(b.size())) == esperado, (a + " | " + b).constData());
            QVERIFY2(Compara_PTBR(QString::fromLatin1(a), QString::fromLatin1(b)) == esperado, (a + " | " + b).constData());
        }
        // So do they past accents, combining marks and a shared prefix, as a list's rows have.
        const QStringList pecas{"a", "A", "á", "Á", "e", "É", "\u0301", "u", "Ú", "ç", "Ç", "z", " ", "-", "0", "9", "\u00A0"};
        for (int i = 0; i < 5000; ++i) {
            QString comum, a, b;
            for (int k = int(rnd.bounded(8)); k > 0; --k) comum += pecas[int(rnd.bounded(int(pecas.size())))];
            for (int k = int(rnd.bounded(3)); k > 0; --k) a += pecas[int(rnd.bounded(int(pecas.size())))];
            for (int k = int(rnd.bounded(3)); k > 0; --k) b += pecas[int(rnd.bounded(int(pecas.size())))];
            a.prepend(comum);
            b.prepend(rnd.bounded(2) ? comum : comum.toUpper());
            const int c = referencia.compare(a, b), esperado = (c > 0) - (c < 0);
            const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
            QVERIFY2(Compara_PTBR(a, b) == esperado, qPrintable(a + " | " + b));
            QVERIFY2(Compara_PTBR_Utf8(ua.constData(), int(ua.size()), ub.constData(), int(ub.size())) == esperado,
                     qPrintable(a + " | " + b));
        }
    }
};

REGISTRA_TESTE(tst_Banco)
#include "tst_Banco.moc"
