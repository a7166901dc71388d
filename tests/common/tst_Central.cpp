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
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>

namespace {
QString erro;  // description of an error caught by ErroDe
void Executa(const QString& sql, const QVariantList& valores = {}) {
    QVERIFY(Abre_Banco_Central(false));
    Banco_Central->Executa(sql, valores);
    Fecha_Banco_Central();
}
QStringList Prompts() {
    QStringList r;
    for (const auto& c : Roteiro::Caixas()) r << QString::number(c.estilo) + c.titulo + c.prompt;
    return r;
}
const QString Sem = "48Atenção TESTENão há Conexão com a Internet!\rExamine e tente novamente.";
const QString Nao = "48Atenção TESTESua Conexão não alcança a base Vendral!\rExamine e tente novamente.";
const auto Mudo = [](const QString&, int, int) { return false; };
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
        QVERIFY(!aberto && !Roteiro::HouveInesperada());
    }

    // The published version; silence, nothing listening (127.0.0.2: refused,
    // which is an answer) and a refused account give the program's own.
    void versao_publicada_ou_a_propria() {
        const QString atual = App::Versao();
        for (auto [linhas, esperada] : std::vector<std::pair<QVariantList, QString>>{
                 {{atual}, atual}, {{"1.0.3"}, "1.0.3"}, {{}, atual}, {{QVariant(QString())}, ""}}) {
            Executa("DELETE FROM versao_sistema");
            for (const QVariant& v : linhas) Executa("INSERT INTO versao_sistema VALUES (?)", {v});
            QCOMPARE(Versao_Servidor() + '|' + Versao_Servidor_Lida().value_or("-"), esperada + '|' + esperada);
        }
        Rede::DefineSonda(Mudo);
        QCOMPARE(Versao_Servidor() + '|' + Versao_Servidor_Lida().value_or("-"), App::Versao() + "|-");
        Roteiro::Responde(vbOK);
        QVERIFY(!Abre_Recordset_Central("SELECT 1"));
        QCOMPARE(Prompts(), QStringList{Nao});
        Rede::DefineSonda({});
        for (auto [servidor, senha, texto] : {std::tuple{"127.0.0.2", "ram@sivet", "Can't connect"},
                                              std::tuple{"127.0.0.1", "errada", "Access denied"}}) {
            Param[11] = servidor;
            Central::DefineTextoConexao(Central::Texto_Conexao(servidor).replace(Central::Senha, senha));
            QCOMPARE(ErroDe([] { Abre_Recordset_Central("SELECT 1"); }, &erro), 3151L);
            QVERIFY2(erro.contains(texto), qPrintable(erro));
            QCOMPARE(Versao_Servidor() + '|' + Versao_Servidor_Lida().value_or("-"), App::Versao() + "|-");
        }
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
    }

    // Without internet "N" shows nothing and "S" says so; a failing probe
    // goes to the error handler.
    void testa_conexao_mensagens() {
        Rede::DefineConectado([] { return false; });
        Roteiro::Responde(vbOK);
        QVERIFY(!Testa_Conexao(Servidor_Central, "N") && !Testa_Conexao(Servidor_Central, "S"));
        QCOMPARE(Prompts(), QStringList{Sem});
        Rede::DefineConectado([] { return true; });
        Rede::DefineSonda([](const QString&, int, int) -> bool { Levanta_Erro(5); });
        Roteiro::Responde(vbNo);
        QVERIFY(!Testa_Conexao(Servidor_Central, "S"));
        QCOMPARE(Roteiro::Caixas().back().titulo, QStringLiteral("<<< Ocorrência de Erro 5 >>>"));
    }

    // Qt's ODBC faults: the fixed string ends in ";" and must connect; a
    // bound text must match exactly, accents and the empty text included.
    void conexao_e_textos_ligados() {
        QCOMPARE(Central::Texto_Conexao("10.1.2.3"), "Driver={MySQL ODBC 5.1 Driver};Server=10.1.2.3;User=tavrelo;"
                                                     "Password=ram@sivet;Database=tavrelo;Port=49010;Option=3;");
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
