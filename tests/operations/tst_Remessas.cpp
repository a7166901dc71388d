// The remittances to the head church driven from the main window's menu:
// the month's rows and sum, saving with its checks, the day the month does
// not have, correction, deletion, the month box's reload and closing; and
// what the file holds afterwards.
#include "common/Numeros.h"
#include "operations/Remessas.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
constexpr qint64 Grande = qint64(1) << 40;  // a row key beyond 32 bits

struct Caso { QString dia, valor; int mes, ano; QString mensagem; QString linha = {}; };

QString linha(const QString& dia, const QString& valor) { return dia + " " + valor.rightJustified(12); }
}  // namespace

class tst_Remessas : public QObject {
    Q_OBJECT

    Remessas* abre(Ambiente& amb, int mes = 8, int ano = 2021) {
        amb.Parametros(12, "SETOR", "IGREJA", "S", mes, ano);
        amb.Sql("INSERT INTO Remessas VALUES (?1, 12, 2021, 8, 20, 1000), (2, 12, 2021, 8, 3, 100), "
                "(3, 12, 2021, 8, 10, 250.5), (4, 12, 2021, 7, 1, 9), (5, 13, 2021, 8, 1, 9)",
                {Grande});
        return Abre_Pelo_Menu<Remessas>(&Principal::Rem_Mat);
    }
    static QString guardadas(Ambiente& amb) {
        return amb.Linhas("SELECT Dia || ':' || Valor FROM Remessas WHERE CodIg = 12 AND Ano = 2021 AND Mes = 8 "
                          "ORDER BY Dia, Valor").join('|');
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    void gravaCorrigeERemove() {
        Ambiente amb;
        Remessas* f = abre(amb);
        QCOMPARE(f->Caption(), QString(" Remessas enviadas à Matriz"));
        QCOMPARE(Linhas(f->LstRemessas), (QStringList{linha("03", "100,00"), linha("10", "250,50"), linha("20", "1.000,00")}));
        QCOMPARE(f->TxtSaldo->Text(), QString("1.350,50"));
        QCOMPARE(f->LblRegs->Caption(), QString("3 Registro(s)"));

        // Leaving the month box reloads the working month.
        amb.Sql("INSERT INTO Remessas VALUES (9, 12, 2021, 8, 25, 0.01)");
        f->CboMesAno->SetFocus();
        f->TxtDia->SetFocus();
        QTRY_COMPARE(f->LstRemessas->ListCount(), 4);
        QCOMPARE(f->TxtSaldo->Text(), QString("1.350,51"));

        Tecla_Delete(f->LstRemessas, 1, {vbYes});
        CONFERE_CAIXA("Deseja remover dia 10       250,50 ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(f->TxtSaldo->Text(), QString("1.100,01"));

        // Two on the same day; the day and the value shown formatted.
        for (const char* valor : {"1000", "0,5"}) {
            Digita(f->TxtDia, "5");
            Digita(f->TxtValor, valor);
            QCOMPARE(f->TxtDia->Text(), QString("05"));
            QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        }
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(f->LstRemessas->List(0), linha("03", "100,00"));
        QCOMPARE(f->LstRemessas->ListCount(), 5);
        QCOMPARE(f->TxtSaldo->Text(), QString("2.100,51"));
        QCOMPARE(f->TxtDia->Text() + f->TxtValor->Text(), QString());

        // Correction: back into the fields, the stored row gone at once.
        Duplo_Clique(f->LstRemessas, 3);
        QCOMPARE(f->TxtDia->Text() + "|" + f->TxtValor->Text(), QString("20|1.000,00"));
        QCOMPARE(amb.Conta("SELECT count(*) FROM Remessas WHERE Codigo = ?1", {Grande}), 0);
        QCOMPARE(f->TxtSaldo->Text(), QString("1.100,51"));
        Roteiro::Responde(vbNo);
        Duplo_Clique(f->LstRemessas, 0);
        CONFERE_CAIXA("Existem dados em edição. Confirma sobrepor?", vbYesNo + vbQuestion + vbDefaultButton2);

        // Closing: a failed save keeps the window and the entry; a good one stores it.
        f->TxtDia->setText_("32");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbOK);
        QVERIFY(!f->Unload());
        CONFERE_CAIXA("Dia inválido. Preencha corretamente.", vbExclamation);
        QCOMPARE(f->TxtValor->Text(), QString("1.000,00"));
        f->TxtDia->setText_("31");
        Roteiro::Responde(vbYes);
        QVERIFY(f->Unload());
        CONFERE_CAIXA("Existem dados em edição. Deseja Salvar ?", vbYesNo + vbQuestion);
        QCOMPARE(guardadas(amb), QString("3:100.0|5:0.5|5:1000.0|25:0.01|31:1000.0"));
    }

    void recusaEAceita_data() {
        Tabela<Caso>({
            {"dia vazio", {"", "10", 8, 2021, "Preencha Dia Corretamente."}},
            {"dia zero", {"0", "10", 8, 2021, "Preencha Dia Corretamente."}},
            {"dia 32", {"32", "10", 8, 2021, "Dia inválido. Preencha corretamente."}},
            {"31 de fevereiro", {"31", "10", 2, 2024, "Dia inválido. Preencha corretamente."}},
            {"31 de setembro", {"31", "10", 9, 2021, "Dia inválido. Preencha corretamente."}},
            {"29 de fevereiro de 2021", {"29", "10", 2, 2021, "Dia inválido. Preencha corretamente."}},
            {"valor vazio", {"5", "", 8, 2021, "Preencha Valor R$ Corretamente."}},
            {"valor sem lugar na coluna", {"5", "99999999,9", 8, 2021, "Preencha Valor R$ Corretamente."}},
            {"29 de fevereiro de 2024", {"29", "10", 2, 2024, {}, linha("29", "10,00")}},
            {"negativo", {"1", "-50", 8, 2021, {}, linha("01", "-50,00")}},
            {"maior que cabe", {"1", "9999999,99", 8, 2021, {}, linha("01", "9.999.999,99")}},
        });
    }
    void recusaEAceita() {
        QFETCH(Caso, caso);
        Ambiente amb;
        Remessas* f = abre(amb, caso.mes, caso.ano);
        const int antes = amb.Conta("SELECT count(*) FROM Remessas");
        Digita(f->TxtDia, caso.dia);
        Digita(f->TxtValor, caso.valor);
        if (!caso.mensagem.isEmpty()) Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        if (!caso.mensagem.isEmpty()) {
            CONFERE_CAIXA(caso.mensagem, vbExclamation);
            QCOMPARE(amb.Conta("SELECT count(*) FROM Remessas"), antes);
            return;
        }
        QVERIFY(!Roteiro::HouveInesperada());
        QVERIFY2(Linhas(f->LstRemessas).contains(caso.linha), qPrintable(Linhas(f->LstRemessas).join("|")));
        QCOMPARE(amb.Conta("SELECT count(*) FROM Remessas"), antes + 1);
    }

    // The month's sum is exact to the cent, whatever the amounts.
    void somaExata() {
        Ambiente amb;
        QRandomGenerator gerador = Gerador_Semeado();
        qint64 soma = 0;
        for (int i = 0; i < 60; ++i) {
            const qint64 centavos = gerador.bounded(1, 100000000);
            soma += centavos;
            amb.Sql("INSERT INTO Remessas VALUES (?1, 12, 2021, 8, ?2, ?3)",
                    {100 + i, 1 + i % 28, Dinheiro::DeCentavos(centavos).Numero()});
        }
        Remessas* f = abre(amb);
        QCOMPARE(f->TxtSaldo->Text(), Dinheiro::DeCentavos(soma + 135050).Formata());
    }
};

REGISTRA_TESTE(tst_Remessas)
#include "tst_Remessas.moc"
