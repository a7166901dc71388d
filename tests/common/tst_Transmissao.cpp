// The local record of the months sent: on a file made by our schema, on an
// older file without the table and on one whose table has other columns;
// alone and inside a unit of work that applies or rolls back as a whole.
#include "common/Banco.h"
#include "common/Parametros.h"
#include "common/Transmissao.h"
#include "common/Usuario.h"
#include "platform/Relogio.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
// The file as found: "novo" as our schema makes it, "antigo" from before
// the table, "alheio" with a table of that name but other columns.
struct Arquivo { QString forma; bool tem; long erroRegistra; };
const QString Antes = "7/2021/2021-08-01/ANA;8/2021/2021-09-01/ANA;8/2022/2022-09-01/ANA";
}  // namespace

class tst_Transmissao : public QObject {
    Q_OBJECT
    std::unique_ptr<Ambiente> amb;

    QString registros() {
        QStringList r;
        for (auto rs = amb->Le("SELECT Mes || '/' || Ano || '/' || Data || '/' || Usuario AS v FROM Transmissao "
                               "ORDER BY Ano, Mes, Data");
             !rs->Eof(); rs->MoveNext())
            r << rs->Texto("v");
        return r.join(';');
    }
    void prepara(const QString& forma) {
        if (forma == "antigo") amb->Sql("DROP TABLE Transmissao");
        if (forma == "alheio") {
            amb->Sql("DROP TABLE Transmissao");
            amb->Sql("CREATE TABLE Transmissao (Mes integer, Ano integer)");
        }
        if (forma == "novo")
            amb->Sql("INSERT INTO Transmissao VALUES (7, 2021, '2021-08-01', 'ANA'), (8, 2021, '2021-09-01', 'ANA'), "
                     "(8, 2022, '2022-09-01', 'ANA')");
    }

private slots:
    void init() {
        amb = std::make_unique<Ambiente>();
        Param[9] = "8";
        Param[10] = "2021";
        Nome_Usuario = "D'ARC";
        Relogio::Define(QDateTime(QDate(2021, 8, 31), QTime(14, 5, 9)));
    }
    void cleanup() { amb.reset(); }

    void registra_e_elimina_data() {
        Tabela<Arquivo>({{"arquivo do esquema", {"novo", true, 0}},
                         {"arquivo antigo sem a tabela", {"antigo", false, 0}},
                         {"tabela de outras colunas", {"alheio", false, 3010}}});
    }
    // Removing touches only the working month and never fails for a missing
    // table; recording creates the table when missing, binds the user as
    // typed and stamps the clock; two sends in a row leave one row.
    void registra_e_elimina() {
        QFETCH(Arquivo, caso);
        prepara(caso.forma);
        QCOMPARE(Tem_Tabela(), caso.tem);
        QCOMPARE(ErroDe([] { Elimina_Transmissao(); }), 0L);
        if (caso.forma == "novo") QCOMPARE(registros(), QString("7/2021/2021-08-01/ANA;8/2022/2022-09-01/ANA"));
        QCOMPARE(ErroDe([] { Registra_Transmissao(); }), caso.erroRegistra);
        if (caso.erroRegistra) {
            QCOMPARE(amb->Conta("SELECT COUNT(*) FROM Transmissao"), 0);
            QCOMPARE(Tem_Tabela(), false);
            return;
        }
        QVERIFY(Tem_Tabela());
        const QString registro = "8/2021/2021-08-31 14:05:09/D'ARC";
        const auto junta = [&](const QString& mes) {
            return caso.forma == "novo" ? "7/2021/2021-08-01/ANA;" + mes + ";8/2022/2022-09-01/ANA" : mes;
        };
        QCOMPARE(registros(), junta(registro));
        Relogio::Define(QDateTime(QDate(2021, 9, 2), QTime(8, 0, 0)));
        Elimina_Transmissao();
        Registra_Transmissao();
        QCOMPARE(registros(), junta("8/2021/2021-09-02 08:00:00/D'ARC"));
    }

    // The send's local step: the old record removed and the new one written
    // in one unit. Rolled back, the month keeps the record it had (or none,
    // and no table is left half-made); committed, only the new one.
    void troca_numa_unidade_data() {
        Tabela<Arquivo>({{"arquivo do esquema", {"novo", true, 0}}, {"arquivo antigo sem a tabela", {"antigo", false, 0}}});
    }
    void troca_numa_unidade() {
        QFETCH(Arquivo, caso);
        prepara(caso.forma);
        {
            UnidadeTrabalho u;
            Elimina_Transmissao(u);
            Registra_Transmissao(u);
            QCOMPARE(Tem_Tabela(u), true);
        }
        QCOMPARE(Tem_Tabela(), caso.tem);
        if (caso.tem) QCOMPARE(registros(), Antes);
        QVERIFY(Tenta_Unidade([](UnidadeTrabalho& u) {
            Elimina_Transmissao(u);
            Registra_Transmissao(u);
        }));
        QCOMPARE(registros(), caso.tem ? "7/2021/2021-08-01/ANA;8/2021/2021-08-31 14:05:09/D'ARC;8/2022/2022-09-01/ANA"
                                       : "8/2021/2021-08-31 14:05:09/D'ARC");
    }
};

REGISTRA_TESTE(tst_Transmissao)
#include "tst_Transmissao.moc"
