// The month loader by kind: which stored entries it appends, in what order,
// what each row keeps beside its text, the totals to the cent, the calls
// to the form's totals and count, a load that gives up; and the readers of
// the membership and account tags.
#include "common/LancamentosMes.h"
#include "common/MarcasHistorico.h"
#include "common/Parametros.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace LM = Lancamentos_Mes;
namespace MH = Marcas_Historico;

namespace {
struct RI { QString historico; std::optional<QString> numero; };
struct CT { QString historico; std::optional<qint64> numero; };

void mes(Ambiente& amb) {
    Param[1] = "12";
    Param[10] = "2021";
    Param[9] = "8";
    // Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor.
    const QList<QVariantList> linhas = {
        {1, 12, 2021, 8, 20, "S", "CONTA DE LUZ CT:123", 80.1},
        {2, 12, 2021, 8, 9, "O", "CULTO", 0.1},
        {3, 12, 2021, 8, 3, "D", "ANA LIMA RI:00000451 DC", 150.0},
        {4, 12, 2021, 8, 3, "O", "ESCOLA", 0.2},
        {5, 12, 2021, 8, 1, "O", "DOAÇÃO", 1000000.0},  // wider than its cell
        {6, 13, 2021, 8, 1, "O", "OUTRA IGREJA", 7.0},
        {7, 12, 2021, 7, 1, "O", "OUTRO MÊS", 7.0},
        {8, 12, 2020, 8, 1, "O", "OUTRO ANO", 7.0},
        {9, 12, 2021, 8, 1, "o", "TIPO MINÚSCULO", 7.0},
        {10, 12, 2021, 8, 9, "O", "CULTO DA NOITE", 0.3},
    };
    for (const QVariantList& v : linhas) amb.Sql("INSERT INTO LivroCaixa VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)", v);
}
}  // namespace

class tst_LancamentosMes : public QObject {
    Q_OBJECT

private slots:
    // Each kind appends its own block of this church's month, by day; the
    // form's totals then its count run once per kind, after the rows; each
    // row keeps its code, its stored history and its amount in cents.
    void carregaPorTipo() {
        Ambiente amb;
        mes(amb);
        ListBox lista;
        lista.AddItem("JÁ NA LISTA");
        QStringList chamadas;
        for (const QString tipo : {"O", "D", "S"})
            QVERIFY(LM::Carrega_Lancamentos(
                &lista, tipo, [&] { chamadas << "saldo:" + QString::number(lista.ListCount()); },
                [&] { chamadas << "regs:" + QString::number(lista.ListCount()); }));
        QCOMPARE(chamadas, (QStringList{"saldo:5", "regs:5", "saldo:6", "regs:6", "saldo:7", "regs:7"}));
        QStringList codigos, inicios;
        for (int i = 1; i < lista.ListCount(); ++i) {
            const LM::Lancamento l = Linha_Lista::Da_Lista(&lista, i);
            codigos << QString::number(l.codigo);
            inicios << l.linha.left(10);
        }
        QCOMPARE(lista.List(0), QString("JÁ NA LISTA"));  // appended, never cleared
        QCOMPARE(codigos, (QStringList{"5", "4", "2", "10", "3", "1"}));
        QCOMPARE(inicios, (QStringList{"O 01 DOAÇÃ", "O 03 ESCOL", "O 09 CULTO", "O 09 CULTO", "D 03 DC AN", "S 20 CONTA"}));

        const LM::Lancamento dizimo = Linha_Lista::Da_Lista(&lista, 5);
        QCOMPARE(dizimo.tipo + QString::number(dizimo.dia), QString("D3"));
        QCOMPARE(dizimo.historico, QString("ANA LIMA RI:00000451 DC"));
        QCOMPARE(dizimo.entrada.Centavos(), 15000);
        QCOMPARE(dizimo.saida.Centavos(), 0);
        const LM::Lancamento saida = Linha_Lista::Da_Lista(&lista, 6);
        QCOMPARE(saida.entrada.Centavos(), 0);
        QCOMPARE(saida.saida.Centavos(), 8010);

        // A million does not fit its 10-character cell; the total is still exact.
        Dinheiro entradas, saidas;
        Linha_Lista::Soma(&lista, entradas, saidas);
        QCOMPARE(entradas.Centavos(), 100000000 + 10 + 20 + 30 + 15000);
        QCOMPARE(saidas.Centavos(), 8010);
        QCOMPARE(lista.ListCount(), 7);
    }

    // Amounts a file may hold from before the save refused them: the cell
    // shows "##########", the totals the stored cents, and the user is told
    // once however many kinds show such cells.
    void valoresQueNaoCabem() {
        Ambiente amb;
        Param[1] = "12";
        Param[10] = "2021";
        Param[9] = "8";
        const QList<QVariantList> linhas = {
            {1, 12, 2021, 8, 1, "O", "GRANDE", 12345678.9},  {2, 12, 2021, 8, 2, "O", "MILHÃO", 1000000.0},
            {3, 12, 2021, 8, 3, "D", "ANA RI:1 MB", 999999.99}, {4, 12, 2021, 8, 4, "S", "ESTORNO CT:1", -999999.99},
            {5, 12, 2021, 8, 5, "S", "AJUSTE CT:1", -99999.99},
        };
        for (const QVariantList& v : linhas) amb.Sql("INSERT INTO LivroCaixa VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)", v);
        ListBox lista;
        Roteiro::Responde(vbOK);
        for (const QString tipo : {"O", "D", "S"}) QVERIFY(LM::Carrega_Lancamentos(&lista, tipo, {}, {}));
        QStringList fins;
        for (int i = 0; i < lista.ListCount(); ++i) fins << lista.List(i).right(21);
        QCOMPARE(fins, (QStringList{"##########       ----", "##########       ----", "999.999,99       ----",
                                    "      ---- ##########", "      ---- -99.999,99"}));
        Dinheiro e, s;
        Linha_Lista::Soma(&lista, e, s);
        QCOMPARE(e.Centavos(), 1234567890 + 100000000 + 99999999);
        QCOMPARE(s.Centavos(), -99999999 - 9999999);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas().back().prompt, QString("Há lançamentos com valores que não cabem na coluna (##########). "
                                                          "Os totais estão corretos; confira esses lançamentos."));
        QCOMPARE(Roteiro::Caixas().back().estilo, int(vbInformation));
        QVERIFY(!Roteiro::HouveInesperada());
    }

    // Random amounts of a month: the totals are the exact sums of the
    // stored amounts, whatever binary fractions the file holds.
    void totaisAoCentavo() {
        Ambiente amb;
        Param[1] = "12";
        Param[10] = "2021";
        Param[9] = "8";
        QRandomGenerator g = Gerador_Semeado();
        qint64 entradas = 0, saidas = 0;
        for (int i = 1; i <= 300; ++i) {
            const qint64 c = g.bounded(1, 10000000);
            const QString tipo = QStringList{"O", "D", "S"}[g.bounded(3)];
            (tipo == "S" ? saidas : entradas) += c;
            amb.Sql("INSERT INTO LivroCaixa VALUES (?1, 12, 2021, 8, ?2, ?3, ?4, ?5)",
                    {i, int(g.bounded(1, 32)), tipo, tipo == "D" ? "X RI:1 MB" : "H CT:1", double(c) / 100.0});
        }
        ListBox lista;
        for (const QString tipo : {"O", "D", "S"}) QVERIFY(LM::Carrega_Lancamentos(&lista, tipo, {}, {}));
        Dinheiro e, s;
        Linha_Lista::Soma(&lista, e, s);
        QCOMPARE(lista.ListCount(), 300);
        QCOMPARE(e.Centavos(), entradas);
        QCOMPARE(s.Centavos(), saidas);
    }

    // A load that cannot read the month asks whether to go on trying; No
    // gives up without refreshing the totals or the count, Yes once the
    // fault is mended loads the whole kind.
    void falhaDeCarga() {
        Ambiente amb;
        mes(amb);
        amb.Sql("UPDATE Consultas SET Sql = 'SELECT Tipo FROM Inexistente' WHERE Nome = ?1", {LM::Consulta()});
        ListBox lista;
        int chamadas = 0;
        Roteiro::Responde(vbNo);
        QVERIFY(!LM::Carrega_Lancamentos(&lista, "O", [&] { ++chamadas; }, [&] { ++chamadas; }));
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro"));
        QCOMPARE(chamadas, 0);
        QCOMPARE(lista.ListCount(), 0);

        QString sql = "SELECT Tipo, Dia, Historico, Valor, Codigo FROM LivroCaixa "
                      "WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3 AND Tipo = ?4 ORDER BY Dia, Codigo";
        Roteiro::LimpaCaixas();
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbOK);  // the million does not fit its cell
        QTimer::singleShot(0, [&] { amb.Sql("UPDATE Consultas SET Sql = ?1 WHERE Nome = ?2", {sql, LM::Consulta()}); });
        QVERIFY(LM::Carrega_Lancamentos(&lista, "O", [&] { ++chamadas; }, [&] { ++chamadas; }));
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(chamadas, 2);
        QCOMPARE(lista.ListCount(), 4);
    }

    void numeroRI_data() {
        Tabela<RI>({
            {"oito dígitos", {"ANA LIMA RI:00000451 DC", "00000451"}},
            {"mais de oito", {"ANA RI:1234567890 MB", "1234567890"}},
            {"menos de oito, no fim", {"ANA RI:451", "451"}},
            {"com ponto", {"ANA RI:12.345 MB", "12.345"}},
            {"zerado", {"JOSE RI:00000000 CG", "00000000"}},
            {"marca vazia no fim", {"ANA RI:", ""}},
            {"primeira de duas", {"RI:1 RI:2 MB", "1"}},
            {"minúsculas não contam", {"ANA ri:451 MB", std::nullopt}},
            {"sem marca", {"ANA LIMA MB", std::nullopt}},
        });
    }
    void numeroRI() {
        QFETCH(RI, caso);
        QCOMPARE(MH::Numero_RI(caso.historico), caso.numero);
    }

    void numeroConta_data() {
        Tabela<CT>({
            {"no fim", {"CONTA DE LUZ CT:123", 123}},
            {"seguida de texto", {"CT:4710 ÁGUA", 4710}},
            {"além de 32 bits", {"X CT:12345678901", 12345678901LL}},
            {"letra cola", {"X CT:12A", 12}},
            {"sem dígito", {"X CT: 12", std::nullopt}},
            {"marca vazia", {"X CT:", std::nullopt}},
            {"sem marca", {"CONTA DE LUZ", std::nullopt}},
            {"além de 64 bits", {"CT:99999999999999999999", std::nullopt}},
        });
    }
    void numeroConta() {
        QFETCH(CT, caso);
        QCOMPARE(MH::Numero_Conta(caso.historico), caso.numero);
        QCOMPARE(MH::Tem_Conta(caso.historico), caso.historico.contains("CT:"));
    }
};

REGISTRA_TESTE(tst_LancamentosMes)
#include "tst_LancamentosMes.moc"
