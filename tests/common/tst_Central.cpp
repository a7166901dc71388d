// The central connection against the real test server (scripts/central.sh).
// USA_BANCO_CENTRAL
#include "common/Central.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "platform/App.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "platform/Rede.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTcpServer>
#include <QTest>

namespace {
QString erro;  // description of an error caught by ErroDe
// On a connection of its own, as another program would.
void Executa(const QString& sql, const QVariantList& valores = {}) { ConexaoCentral(false).Executa(sql, valores); }
QString Le(const QString& sql) { return ConexaoCentral(true).AbreSnapshot(sql)->Texto("v"); }
QStringList Prompts() {
    QStringList r;
    for (const auto& c : Roteiro::Caixas()) r << QString::number(c.estilo) + c.titulo + c.prompt;
    return r;
}
const QString Sem = "48Atenção TESTENão há Conexão com a Internet!\rExamine e tente novamente.";
const QString Nao = "48Atenção TESTESua Conexão não alcança a base Vendral!\rExamine e tente novamente.";
const auto Mudo = [](const QString&, int, int) { return false; };
struct Publicada { QVariantList linhas; QString esperada; };
struct Inalcancavel { QString servidor, senha, texto; };
struct Fim { QString fim; long numero; QString guardado; };
}  // namespace

class tst_Central : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb;

private slots:
    void init() {
        amb = std::make_unique<Ambiente>(false);
        Param[11] = Servidor_Central;
        Rede::DefineConectado([] { return true; });
        Rede::DefineSonda({});
        Central::DefineTextoConexao({});
        if (ErroDe([] { Executa("DELETE FROM versao_sistema"); }, &erro))
            QFAIL(qPrintable("servidor central de testes fora do ar (bash scripts/central.sh inicia): " + erro));
    }
    void cleanup() {
        const bool aberto = bool(Banco_Central);
        Fecha_Banco_Central();
        Rede::DefineConectado({});
        QVERIFY(!aberto);
        QVERIFY(!Roteiro::HouveInesperada());
    }

    // The published version: the view's row, the program's own when it has
    // none, the empty text for a null one.
    void versao_publicada_data() {
        Tabela<Publicada>({{"a da vista", {{"1.0.3"}, "1.0.3"}}, {"vista vazia", {{}, App::Versao()}},
                           {"versão nula", {{QVariant(QString())}, ""}}});
    }
    void versao_publicada() {
        QFETCH(Publicada, caso);
        for (const QVariant& v : caso.linhas) Executa("INSERT INTO versao_sistema VALUES (?)", {v});
        QCOMPARE(Versao_Servidor(), caso.esperada);
        QCOMPARE(Versao_Servidor_Lida().value_or("-"), caso.esperada);
    }

    // Silence, nothing listening (127.0.0.2: refused, which is an answer)
    // and a refused account give the program's own version, and no version
    // read; only the silent probe's open says why.
    void versao_inalcancavel_e_a_propria_data() {
        // The driver's complaint; none: the probe is silent.
        Tabela<Inalcancavel>({{"sonda muda", {"127.0.0.1", Central::Senha, ""}},
                              {"ninguém escuta", {"127.0.0.2", Central::Senha, "Can't connect"}},
                              {"conta recusada", {"127.0.0.1", "errada", "Access denied"}}});
    }
    void versao_inalcancavel_e_a_propria() {
        QFETCH(Inalcancavel, caso);
        Param[11] = caso.servidor;
        Central::DefineTextoConexao(Central::Texto_Conexao(caso.servidor).replace(Central::Senha, caso.senha));
        if (caso.texto.isEmpty()) Rede::DefineSonda(Mudo);
        QCOMPARE(Versao_Servidor(), App::Versao());
        QCOMPARE(Versao_Servidor_Lida().value_or("-"), QString("-"));
        QVERIFY(Roteiro::Caixas().empty());
        if (caso.texto.isEmpty()) {
            Roteiro::Responde(vbOK);
            QVERIFY(!Abre_Recordset_Central("SELECT 1"));
            QCOMPARE(Prompts(), QStringList{Nao});
            return;
        }
        QCOMPARE(ErroDe([] { Abre_Recordset_Central("SELECT 1"); }, &erro), 3151L);
        QVERIFY2(erro.contains(caso.texto), qPrintable(erro));
    }

    // Each holder has its own connection: a version read or a query while
    // the transmission's connection is open leaves it, and its open
    // transaction, as they were.
    void versao_lida_nao_toca_outra_conexao() {
        Executa("INSERT INTO versao_sistema VALUES (?)", {"1.0.9"});
        QVERIFY(Abre_Banco_Central(false));
        Banco_Central->Executa("CREATE TEMPORARY TABLE pendentes (valor DECIMAL(14,2)) ENGINE=InnoDB");
        Banco_Central->Begin();
        Banco_Central->Executa("INSERT INTO pendentes VALUES (?)", {"1.00"});
        QCOMPARE(Versao_Servidor(), QString("1.0.9"));
        QCOMPARE(Abre_Recordset_Central("SELECT 2 AS v")->Texto("v"), QString("2"));
        QVERIFY(Banco_Central);
        QCOMPARE(Banco_Central->AbreSnapshot("SELECT COUNT(*) AS n FROM pendentes")->Texto("n"), QString("1"));
        Banco_Central->Rollback();
        QCOMPARE(Banco_Central->AbreSnapshot("SELECT COUNT(*) AS n FROM pendentes")->Texto("n"), QString("0"));
        Fecha_Banco_Central();
    }

    // Rows prepared once and bound one by one apply at Commit, exact to the
    // cent; a rollback, a connection closed before its commit or one the
    // server dropped (the link error) leave nothing.
    void transacao_e_comando_preparado_data() {
        Tabela<Fim>({{"Commit", {"commit", 0, "3|0.30|99999999999.30"}}, {"Rollback", {"rollback", 0, "0||"}},
                     {"fechada sem Commit", {"fecha", 0, "0||"}}, {"derrubada pelo servidor", {"kill", 3146, "0||"}}});
    }
    void transacao_e_comando_preparado() {
        QFETCH(Fim, caso);
        const QString fim = caso.fim;
        // Its own table: other worktrees' tests may share the server.
        const QString tabela = QString("teste_transacao_%1").arg(QCoreApplication::applicationPid());
        Executa("DROP TABLE IF EXISTS " + tabela);
        Executa("CREATE TABLE " + tabela + " (valor DECIMAL(14,2)) ENGINE=InnoDB");
        const auto remove = qScopeGuard([&] { Executa("DROP TABLE " + tabela); });

        QVERIFY(Abre_Banco_Central(false));
        Banco_Central->Begin();
        {
            ComandoCentral insere(*Banco_Central, "INSERT INTO " + tabela + " VALUES (?)");
            for (const QString v : {"0.10", "0.20", "99999999999.00"}) insere.Executa({v});
        }
        if (fim == "kill") {
            const qint64 id = Banco_Central->AbreSnapshot("SELECT CONNECTION_ID() AS id")->Fields("id").toLongLong();
            Executa("KILL " + QString::number(id));
        }
        QCOMPARE(ErroDe([&] {
                     if (fim == "commit" || fim == "kill") Banco_Central->Commit();
                     else if (fim == "rollback") Banco_Central->Rollback();
                 }),
                 caso.numero);
        Fecha_Banco_Central();
        QCOMPARE(Le("SELECT CONCAT(COUNT(*), '|', COALESCE(SUM(CASE WHEN valor < 1 THEN valor END), ''), '|', "
                    "COALESCE(SUM(valor), '')) AS v FROM " + tabela),
                 caso.guardado);
    }

    // Without internet "N" shows nothing and "S" says so; a failing probe
    // goes to the error handler.
    void testa_conexao_mensagens() {
        Rede::DefineConectado([] { return false; });
        Roteiro::Responde(vbOK);
        QVERIFY(!Testa_Conexao(Servidor_Central, "N"));
        QVERIFY(!Testa_Conexao(Servidor_Central, "S"));
        QCOMPARE(Prompts(), QStringList{Sem});
        Rede::DefineConectado([] { return true; });
        Rede::DefineSonda([](const QString&, int, int) -> bool { Levanta_Erro(5); });
        Roteiro::Responde(vbNo);
        QVERIFY(!Testa_Conexao(Servidor_Central, "S"));
        QCOMPARE(Roteiro::Caixas().back().titulo, QStringLiteral("<<< Ocorrência de Erro 5 >>>"));
    }

    // Qt's ODBC fault: a bound text must match exactly, accents and the
    // empty text included.
    void conexao_e_textos_ligados() {
        for (const QString v : {"São João 1.0", "", "x"}) Executa("INSERT INTO versao_sistema VALUES (?)", {v});
        auto rs = Abre_Recordset_Central("SELECT CONCAT(versao, '|', LENGTH(versao)) AS v FROM versao_sistema "
                                         "WHERE versao = ? OR versao = ? ORDER BY versao",
                                         {QStringLiteral("São João 1.0"), QString("")});
        QStringList lidos;
        for (; !rs->Eof(); rs->MoveNext()) lidos << rs->Texto("v");
        QCOMPARE(lidos, QStringList({"|0", "São João 1.0|14"}));
    }

    // Money arrives exact; a value the server refuses, or a broken link, is
    // an error, never a silent success.
    void dinheiro_e_falhas_de_consulta() {
        QVERIFY(Abre_Banco_Central(false));
        Banco_Central->Executa("CREATE TEMPORARY TABLE valores (valor DECIMAL(14,2))");
        Banco_Central->Executa("INSERT INTO valores VALUES (?), (?), (?)", {"1234.56", "99999999999.99", "0.10"});
        QStringList lidos;
        for (auto rs = Banco_Central->AbreSnapshot("SELECT valor FROM valores UNION ALL SELECT SUM(valor) FROM valores");
             !rs->Eof(); rs->MoveNext())
            lidos << QString::number(Dinheiro::DeCampo(rs->Fields("valor")).Centavos());
        QCOMPARE(lidos.join(' '), QStringLiteral("123456 9999999999999 10 10000000123465"));
        QCOMPARE(ErroDe([] { Banco_Central->Executa("INSERT INTO valores VALUES (?)", {"12x"}); }), 3146L);
        QCOMPARE(ErroDe([] { Banco_Central->Executa("KILL CONNECTION_ID()"); }), 3146L);
        QCOMPARE(ErroDe([] { Banco_Central->AbreSnapshot("SELECT 1"); }, &erro), 3146L);
        QVERIFY2(erro.contains("connection", Qt::CaseInsensitive), qPrintable(erro));
        Fecha_Banco_Central();
    }

    // A snapshot carries each value in the type its column gives it, a NULL
    // as the callers have always read it, and a text longer than any
    // buffer whole, whether the query has parameters or not.
    void snapshot_tipos_e_textos_longos() {
        QVERIFY(Abre_Banco_Central(false));
        Banco_Central->Executa("CREATE TEMPORARY TABLE tipos (n INT, i INT, u INT UNSIGNED, b BIGINT, t MEDIUMTEXT, "
                               "v VARCHAR(20), d DECIMAL(14,2), dt DATE, h TIME, m DATETIME)");
        const QString longo = QStringLiteral("Ação çé ").repeated(9000);
        Banco_Central->Executa("INSERT INTO tipos VALUES (1, -7, 4000000000, 5000000000, ?, '', 1234.56, '2021-08-15', "
                               "'10:00:07', '2021-08-15 10:00:07'), (2, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)",
                               {longo});
        // The type of a NULL: an int for a whole number, signed or not, none
        // for a text or an amount.
        const QList<QMetaType::Type> nulos = {QMetaType::Int,   QMetaType::Int,   QMetaType::LongLong,
                                              QMetaType::UnknownType, QMetaType::UnknownType, QMetaType::UnknownType,
                                              QMetaType::QDate, QMetaType::QTime, QMetaType::QDateTime};
        const QVariantList esperados = {-7, 4000000000u, qlonglong(5000000000), longo, QString(""), QString("1234.56"),
                                        QDate(2021, 8, 15), QTime(10, 0, 7),
                                        QDateTime(QDate(2021, 8, 15), QTime(10, 0, 7))};
        for (const bool comValor : {false, true}) {
            const QString sql = "SELECT i, u, b, t, v, d, dt, h, m FROM tipos WHERE n > " + QString(comValor ? "?" : "0") +
                                " ORDER BY n";
            auto rs = comValor ? Banco_Central->AbreSnapshot(sql, {0}) : Banco_Central->AbreSnapshot(sql);
            QCOMPARE(rs->RecordCount(), 2);
            QCOMPARE(rs->FieldName(3), QString("t"));
            for (int c = 0; c < rs->FieldCount(); ++c) {
                const QVariant v = rs->Fields(c);
                QCOMPARE(v.typeId(), esperados[c].typeId());
                QCOMPARE(v, esperados[c]);
                QVERIFY(!v.isNull());
            }
            rs->MoveNext();
            for (int c = 0; c < rs->FieldCount(); ++c) {
                QVERIFY2(rs->Fields(c).isNull(), qPrintable(rs->FieldName(c)));
                QCOMPARE(rs->Fields(c).typeId(), int(nulos[c]));
            }
        }
        Fecha_Banco_Central();
    }

    // A statement prepared once keeps its values apart from row to row
    // while their kind and length change: NULL, then a value, then NULL
    // again; a text longer than any before; integers past 32 bits.
    void comando_liga_cada_linha() {
        QVERIFY(Abre_Banco_Central(false));
        Banco_Central->Executa("CREATE TEMPORARY TABLE ligados (n INT AUTO_INCREMENT PRIMARY KEY, t VARCHAR(300), "
                               "i BIGINT, d DECIMAL(14,2), h DATETIME(3))");
        const QVariant nulo{QMetaType(QMetaType::QString)};
        const QString longo = QStringLiteral("Ação ").repeated(50);
        const QVariant instante = QDateTime(QDate(2021, 8, 15), QTime(10, 0, 7, 250));
        const QList<QVariantList> linhas = {{nulo, nulo, nulo, nulo},
                                            {"", qint64(5000000000), "0.10", instante},
                                            {"D'ARC \\ Í ç \"x\"", 7, "99999999999.99", nulo},
                                            {longo, nulo, QByteArray("1234.56"), QDate(2021, 8, 31)},
                                            {"x", -1, nulo, nulo}};
        {
            ComandoCentral comando(*Banco_Central, "INSERT INTO ligados (t, i, d, h) VALUES (?, ?, ?, ?)");
            for (const QVariantList& l : linhas) comando.Executa(l);
        }
        const QStringList esperadas = {"-|-|-|-", "|5000000000|0.10|2021-08-15 10:00:07.250",
                                       "D'ARC \\ Í ç \"x\"|7|99999999999.99|-",
                                       longo + "|-|1234.56|2021-08-31 00:00:00.000", "x|-1|-|-"};
        auto rs = Banco_Central->AbreSnapshot("SELECT CONCAT(COALESCE(t, '-'), '|', COALESCE(i, '-'), '|', "
                                              "COALESCE(d, '-'), '|', COALESCE(h, '-')) AS v FROM ligados ORDER BY n");
        for (const QString& esperada : esperadas) {
            QVERIFY(!rs->Eof());
            QCOMPARE(rs->Texto("v"), esperada);
            rs->MoveNext();
        }
        QVERIFY(rs->Eof());
        Fecha_Banco_Central();
    }

    void servidor_mudo_tem_prazo() {
        QTcpServer mudo;  // accepts, never speaks
        QVERIFY(mudo.listen(QHostAddress::LocalHost));
        Central::DefineTextoConexao(Central::Texto_Conexao("127.0.0.1").replace("49010", QString::number(mudo.serverPort())));
        QElapsedTimer t;
        t.start();
        QCOMPARE(ErroDe([] { Abre_Banco_Central(true); }), 3151L);
        QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
    }
};

REGISTRA_TESTE(tst_Central)
#include "tst_Central.moc"
