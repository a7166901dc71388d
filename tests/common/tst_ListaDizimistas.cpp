// The tithers as the printing and export forms list them: the month's row
// built from a tithe history (with and without positions, short and Null
// histories), the widget-free read of a month, the list filler reading the
// working month at every load and handing it back, a load given up, and
// the register's rows with Null fields and long membership numbers.
#include "common/ListaDizimistas.h"
#include "common/Parametros.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace DM = Dizimistas_Mes;
namespace DC = Dizimistas_Cadastro;

namespace {
struct Caso { QString historico, sem, com; };

void Lanca(Ambiente& amb, int codigo, int igreja, int mes, const QString& tipo, const QVariant& historico) {
    amb.Sql("INSERT INTO LivroCaixa VALUES (?1, ?2, 2021, ?3, 1, ?4, ?5, 10)", {codigo, igreja, mes, tipo, historico});
}

QStringList Textos(const std::vector<Linha_Lista::Linha>& ls) {
    QStringList r;
    for (const auto& l : ls) r << l.linha;
    return r;
}
}  // namespace

class tst_ListaDizimistas : public QObject {
    Q_OBJECT

private slots:
    void linha_data() {
        Tabela<Caso>({
            {"com cargo", {"JOAO DA SILVA RI:00012345 MB", "JOAO DA SILVA RI:00012345", "MB. JOAO DA SILVA RI:00012345"}},
            {"sem RI", {"MARIA SOUZA RI:00000000 CG", "MARIA SOUZA RI:00000000", "CG. MARIA SOUZA RI:00000000"}},
            {"três letras", {"ANA", "", "NA. "}},
            {"sem cargo no fim", {"ANA PAULA", "ANA PA", "LA. ANA PA"}},
            {"duas letras", {"AB", "", "AB. "}},
            {"vazio", {"", "", ". "}},
            {"acentos", {"JOSÉ D'ÁVILA RI:451 DC", "JOSÉ D'ÁVILA RI:451", "DC. JOSÉ D'ÁVILA RI:451"}},
        });
    }
    // The last three characters go whatever they are; a history too short
    // keeps no name, without an error.
    void linha() {
        QFETCH(Caso, caso);
        QCOMPARE(DM::De_Historico(caso.historico, false).linha, caso.sem);
        const Linha_Lista::Linha l = DM::De_Historico(caso.historico, true);
        QCOMPARE(l.linha, caso.com);
        QCOMPARE(l.historico, caso.historico);
    }

    // The month read by itself, for any church and month; the filler reads
    // the working month anew at each load and hands it back; a Null history
    // is an empty one.
    void carrega() {
        Ambiente amb;
        Lanca(amb, 1, 12, 8, "D", "ZÉLIA RI:00000001 MB");
        Lanca(amb, 2, 12, 8, "D", "álvaro RI:00000002 PR");
        Lanca(amb, 3, 12, 8, "D", "ALINE RI:00000003 DC");
        Lanca(amb, 4, 12, 8, "D", QVariant());
        Lanca(amb, 5, 12, 8, "O", "OFERTA RI:00000009 MB");
        Lanca(amb, 6, 13, 8, "D", "OUTRA IGREJA RI:1 MB");
        Lanca(amb, 7, 12, 9, "D", "SETEMBRO RI:00000007 CG");

        QCOMPARE(Textos(DM::Le({"13", "2021", "8"}, true)), QStringList{"MB. OUTRA IGREJA RI:1"});

        Param[1] = "0012";
        Param[10] = "2021";
        Param[9] = "8";
        ListBox lista;
        lista.setSorted(true);
        lista.AddItem("ANTIGA");
        int contagens = 0;
        std::optional<DM::Mes> mes = DM::Carrega(&lista, false, [&] { ++contagens; });
        QVERIFY(mes);
        QCOMPARE(mes->Texto(), QString("AGOSTO / 2021"));
        // Portuguese order, case and accents aside.
        QCOMPARE(Linhas(&lista), (QStringList{"", "ALINE RI:00000003", "álvaro RI:00000002", "ZÉLIA RI:00000001"}));
        QCOMPARE(contagens, 1);

        Param[9] = "9";
        mes = DM::Carrega(&lista, true, {});
        QCOMPARE(mes->mes, QString("9"));
        QCOMPARE(mes->Texto(), QString("SETEMBRO / 2021"));
        QCOMPARE(Linhas(&lista), QStringList{"CG. SETEMBRO RI:00000007"});

        // No month to show for a month that is none.
        QCOMPARE((DM::Mes{"12", "2021", "13"}).Texto(), QString("13 / 2021"));
    }

    // A load given up keeps the rows read so far, does not count, and
    // hands back no month.
    void desiste() {
        Ambiente amb;
        Lanca(amb, 1, 12, 8, "D", "ANA RI:1 MB");
        Param[1] = "12";
        Param[10] = "2021";
        Param[9] = "8";
        amb.Sql("UPDATE Consultas SET Sql = 'SELECT x FROM Nada' WHERE Nome = ?1", {DM::Consulta()});
        ListBox lista;
        lista.AddItem("ANTIGA");
        int contagens = 0;
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        QVERIFY(!DM::Carrega(&lista, false, [&] { ++contagens; }));
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QCOMPARE(lista.ListCount(), 0);
        QCOMPARE(contagens, 0);
    }

    // The register's rows: Null fields are empty texts; the membership
    // number is kept whole and trimmed beside a row that shows 10 of it,
    // trimmed too, so blanks typed before it push none of it out.
    void cadastro() {
        Ambiente amb;
        amb.Sql("INSERT INTO Cargos VALUES (1, 'PRESBÍTERO', 'PB')");
        amb.Sql("INSERT INTO Dizimos VALUES (1, 12, ' 00000042 ', 'ANA', 1)");
        amb.Sql("INSERT INTO Dizimos VALUES (2, 12, NULL, NULL, NULL)");
        amb.Sql("INSERT INTO Dizimos VALUES (3, 12, '123456789012', 'BIA', 9)");
        amb.Sql("INSERT INTO Dizimos VALUES (4, 13, '1', 'OUTRA', 1)");
        amb.Sql("INSERT INTO Dizimos VALUES (5, 12, '  N1QObject', 'CIA', 1)");
        const std::vector<Linha_Lista::Linha> ls = DC::Le("12");
        QCOMPARE(ls.size(), size_t(4));
        QCOMPARE(ls[0].linha, ".   " + QString(51, ' ') + QString(10, ' '));
        QCOMPARE(ls[0].ri, QString());
        QCOMPARE(ls[1].linha, "PB. ANA" + QString(48, ' ') + "00000042  ");
        QCOMPARE(ls[1].ri, QString("00000042"));
        QCOMPARE(ls[1].historico, QString("ANA"));
        QCOMPARE(ls[2].linha, ".   BIA" + QString(48, ' ') + "1234567890");
        QCOMPARE(ls[2].ri, QString("123456789012"));
        QCOMPARE(ls[3].linha, "PB. CIA" + QString(48, ' ') + "N1QObject ");
        QCOMPARE(ls[3].ri, QString("N1QObject"));
    }
};

REGISTRA_TESTE(tst_ListaDizimistas)
#include "tst_ListaDizimistas.moc"
