// The department ledger driven from the main menu: its row read back where
// it was written, the balance carried from the months before, the entry
// checks, correction, deletion and closing; and what the file holds.
#include "common/LinhaLancamentoDepto.h"
#include "operations/Movto_Deptos.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QApplication>
#include <QClipboard>
#include <QtTest>

namespace {
constexpr qint64 Grande = qint64(1) << 40;  // keys beyond 32 bits

QString linha(int dia, const QString& tipo, const QString& h, const QString& valor) {
    return QString("%1 ").arg(dia, 2, 10, QChar('0')) + tipo + " " + h.leftJustified(50) +
           (tipo == "S" ? "      ---- " + valor.rightJustified(10) : valor.rightJustified(10) + "       ----");
}

struct Linha { QString tipo, historico; qint64 centavos; QString esperada; };
struct Saldo { QList<QVariantList> lancamentos; int mes; QString esperada; };
// Without a department; the message, or the new row.
struct Entrada { bool semDepto; QString tipo, dia, hist, valor, resultado; };

QString totais(Movto_Deptos* f) {
    return f->TxtEntradas->Text() + "|" + f->TxtSaidas->Text() + "|" + f->TxtSaldo->Text() + "|" + f->LblRegs->Caption();
}
}  // namespace

class tst_Movto_Deptos : public QObject {
    Q_OBJECT

    // Church 12 in September 2021 (30 days): JOVENS is department 1,
    // SENHORAS a key beyond 32 bits.
    Movto_Deptos* abre(Ambiente& amb, const QList<QVariantList>& lancamentos = {}, int mes = 9, int ano = 2021) {
        amb.Parametros(12, "SETOR", "IGREJA", "S", mes, ano);
        amb.Sql("INSERT INTO Departamentos VALUES (1, 12, 'JOVENS'), (?1, 12, 'SENHORAS'), (2, 13, 'OUTRA')", {Grande});
        amb.Sql("INSERT INTO Ofertas VALUES (1, 12, 'BAZAR'), (2, 12, 'BAZAR DE NATAL')");
        amb.Sql("INSERT INTO Saidas VALUES (123, 12, 'LANCHE')");
        for (const QVariantList& v : lancamentos)
            amb.Sql("INSERT INTO LancDeptos VALUES (?1, 12, ?2, ?3, ?4, ?5, ?6, ?7, ?8)", v);
        return Abre_Pelo_Menu<Movto_Deptos>(&Principal::Lan_Dep);
    }
    static void preenche(Movto_Deptos* f, const QString& tipo, const QString& dia, const QString& hist, const QString& valor) {
        QTest::mouseClick(tipo == "S" ? f->OptSaida : f->OptEntrada, Qt::LeftButton);
        Troca(f->TxtDia, dia);
        Troca(f->CboHistorico, hist);
        if (valor.contains('.')) {  // pasted: through the key filter too
            Troca(f->TxtValor, "");
            QApplication::clipboard()->setText(valor);
            f->TxtValor->Cola();
        } else {
            Troca(f->TxtValor, valor);
        }
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    void monta_e_le_data() {
        Tabela<Linha>({
            {"entrada", {"E", "BAZAR", 123456, linha(7, "E", "BAZAR", "1.234,56")}},
            {"saída negativa", {"S", "AÇÚCAR", -5, linha(7, "S", "AÇÚCAR", "-0,05")}},
            {"histórico cortado", {"E", QString(60, 'H'), 1, linha(7, "E", QString(50, 'H'), "0,01")}},
            {"outro tipo", {"X", "AJUSTE", 100, QString("07 X AJUSTE").leftJustified(55)}},
        });
    }
    void monta_e_le() {
        QFETCH(Linha, caso);
        const QString l = Linha_Lancamento_Depto::Monta(7, caso.tipo, caso.historico, Dinheiro::DeCentavos(caso.centavos));
        QCOMPARE(l, caso.esperada);
        const auto lida = Linha_Lancamento_Depto::Le(l);
        QCOMPARE(lida.dia + lida.tipo + lida.historico, "07" + caso.tipo + caso.historico.left(50));
        QCOMPARE(lida.entrada.Centavos(), caso.tipo == "E" ? caso.centavos : 0);
        QCOMPARE(lida.saida.Centavos(), caso.tipo == "S" ? caso.centavos : 0);
        // The row with its values, as the list keeps it.
        ListBox lista;
        Linha_Lista::Adiciona(&lista, Linha_Lancamento_Depto::De_Registro(3, 7, caso.tipo, caso.historico,
                                                                          Dinheiro::DeCentavos(caso.centavos)));
        QCOMPARE(lista.List(0), l);
        QCOMPARE(lista.ItemData(0), qint64(3));
        QCOMPARE(Linha_Lista::Da_Lista(&lista, 0).historico, caso.historico);
        Dinheiro e, s;
        Linha_Lista::Soma(&lista, e, s);
        QCOMPARE(e.Centavos() - s.Centavos(), caso.tipo == "S" ? -caso.centavos : caso.tipo == "E" ? caso.centavos : 0);
    }

    void saldo_anterior_data() {
        const QString agosto = "SALDO ANTERIOR (08/2021)";
        Tabela<Saldo>({
            {"sem movimento", {{}, 9, linha(1, "E", agosto, "0,00")}},
            {"saídas maiores",
             {{{10, 2021, 8, 1, 3, "E", "A", 100.0}, {11, 2021, 8, 1, 4, "S", "B", 250.0},
               {12, 2021, 8, Grande, 4, "E", "OUTRO DEPTO", 900.0}},
              9, linha(1, "S", agosto, "150,00")}},
            // August has nothing: the balance is June's, not zero.
            {"mês anterior vazio",
             {{{10, 2021, 6, 1, 3, "E", "A", 300.1}, {11, 2021, 6, 1, 4, "S", "B", 0.05}, {12, 2021, 5, 1, 4, "E", "C", 7.0}},
              9, linha(1, "E", agosto, "300,05")}},
            {"janeiro",
             {{{10, 2020, 12, 1, 3, "E", "A", 50.0}, {11, 2021, 12, 1, 3, "E", "DEPOIS", 9.0}}, 1,
              linha(1, "E", "SALDO ANTERIOR (12/2020)", "50,00")}},
        });
    }
    void saldo_anterior() {
        QFETCH(Saldo, caso);
        Ambiente amb;
        Movto_Deptos* f = abre(amb, caso.lancamentos, caso.mes);
        QCOMPARE(f->LstDeptos->ListCount(), 0);
        f->CboDepto->setListIndex(0);  // JOVENS
        QCOMPARE(Linhas(f->LstDeptos), QStringList{caso.esperada});
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM LancDeptos WHERE Mes = ?1 AND Ano = 2021 AND CodDepto = 1", {caso.mes}), 1);
        // Chosen again with its row there: nothing more is posted.
        f->CboDepto->setListIndex(1);
        f->CboDepto->setListIndex(0);
        QCOMPARE(f->LstDeptos->ListCount(), 1);
        QVERIFY(Roteiro::Caixas().empty());
    }

    // A stored amount wider than its cell shows ten "#" and still counts
    // whole in the totals.
    void valor_que_nao_cabe() {
        Ambiente amb;
        Movto_Deptos* f = abre(amb, {{10, 2021, 9, 1, 3, "E", "BAZAR", 12345678.9}, {11, 2021, 9, 1, 4, "S", "LUZ", 0.05}});
        f->CboDepto->setListIndex(0);  // JOVENS
        QCOMPARE(Linhas(f->LstDeptos), (QStringList{"03 E BAZAR" + QString(45, ' ') + "##########       ----",
                                                    linha(4, "S", "LUZ", "0,05")}));
        QCOMPARE(totais(f), QString("12.345.678,90|0,05|12.345.678,85|2 Registro(s)"));
    }

    void grava_data() {
        const QString dia = "Dia inválido. Preencha corretamente.", valor = "Preencha Valor R$ Corretamente.";
        Tabela<Entrada>({
            {"sem departamento", {true, "E", "5", "X", "1", "Preencha Departamento Corretamente."}},
            {"dia 0", {false, "E", "0", "X", "1", dia}},
            {"dia 32", {false, "E", "32", "X", "1", dia}},
            {"31 num mês de 30", {false, "E", "31", "X", "1", dia}},
            {"sem histórico", {false, "E", "5", "", "1", "Preencha Descrição do Histórico Corretamente."}},
            {"valor com letras", {false, "E", "5", "X", "abc", valor}},
            {"valor enorme", {false, "E", "5", "X", "9999999999999", valor}},
            {"ponto colado vira vírgula", {false, "E", "30", "X", "1234.56", linha(30, "E", "X", "1.234,56")}},
            {"milhar colado", {false, "E", "30", "X", "1.234,56", valor}},  // "1,234,56", as typed
            {"negativo", {false, "S", "5", "X", "-50", linha(5, "S", "X", "-50,00")}},
            {"apóstrofo", {false, "E", "5", "D'ÁGUA", "2,5", linha(5, "E", "D'ÁGUA", "2,50")}},
        });
    }
    void grava() {
        QFETCH(Entrada, caso);
        const auto& [semDepto, tipo, dia, hist, valor, resultado] = caso;
        Ambiente amb;
        Movto_Deptos* f = abre(amb, {{10, 2021, 9, 1, 2, "E", "INICIAL", 10.0}});
        if (!semDepto) f->CboDepto->setListIndex(0);
        preenche(f, tipo, dia, hist, valor);
        if (!resultado.startsWith(dia.rightJustified(2, '0'))) {
            Roteiro::Responde(vbOK);
            QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
            CONFERE_CAIXA(resultado, vbExclamation);
            QCOMPARE(amb.Conta("SELECT COUNT(*) FROM LancDeptos"), 1);
            QCOMPARE(f->CboHistorico->Text(), hist);
            return;
        }
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QVERIFY(Linhas(f->LstDeptos).contains(resultado));
        auto rs = amb.Le("SELECT Dia || '|' || Tipo || '|' || Historico || '|' || printf('%.2f', Valor) || '|' || CodDepto || '|' || Mes "
                         "FROM LancDeptos WHERE Codigo = 11");
        QCOMPARE(rs->Fields(0).toString(),
                 QString("%1|%2|%3|%4|1|9").arg(dia.toInt()).arg(tipo, hist, QString::number(Dinheiro::Le(QString(valor).replace('.', ','))->Numero(), 'f', 2)));
        QCOMPARE(f->TxtDia->Text() + f->CboHistorico->Text() + f->TxtValor->Text(), QString());
    }

    void corrige_remove_e_fecha() {
        Ambiente amb;
        Movto_Deptos* f = abre(amb, {{Grande, 2021, 9, Grande, 3, "E", "BAZAR", 100.0},
                                     {2, 2021, 9, Grande, 5, "S", "LANCHE CT:123", 30.0},
                                     {3, 2021, 9, Grande, 3, "E", "ALMOÇO", 0.1}});
        f->CboDepto->setListIndex(1);  // SENHORAS
        QCOMPARE(Linhas(f->LstDeptos), (QStringList{linha(3, "E", "ALMOÇO", "0,10"), linha(3, "E", "BAZAR", "100,00"),
                                                    linha(5, "S", "LANCHE CT:123", "30,00")}));
        QCOMPARE(totais(f), QString("100,10|30,00|70,10|3 Registro(s)"));

        // Taken back: its own history from the list, the stored entry gone.
        Duplo_Clique(f->LstDeptos, 1);
        QCOMPARE(f->TxtDia->Text() + "|" + f->CboHistorico->Text() + "|" + f->TxtValor->Text(), QString("03|BAZAR|100,00"));
        QCOMPARE(f->CboHistorico->ListIndex(), 0);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM LancDeptos WHERE Codigo = ?1", {Grande}), 0);
        QCOMPARE(totais(f), QString("0,10|30,00|-29,90|2 Registro(s)"));
        QTRY_COMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::black));
        QTRY_COMPARE(f->TxtSaldo->ForeColor(), QColor(Qt::yellow));
        // The kind taken back blinks; the other stays yellow.
        QTRY_COMPARE(f->OptEntrada->ForeColor(), QColor(Qt::black));
        QCOMPARE(f->OptSaida->ForeColor(), QColor(Qt::yellow));
        QTRY_COMPARE(f->OptEntrada->ForeColor(), QColor(Qt::yellow));
        // Another row over the one in the fields asks; No keeps both.
        Roteiro::Responde(vbNo);
        Duplo_Clique(f->LstDeptos, 0);
        CONFERE_CAIXA("Existem dados em edição. Confirma sobrepor?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(f->LstDeptos->ListCount(), 2);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QCOMPARE(amb.Le("SELECT group_concat(Codigo || Historico || Valor || CodDepto) FROM LancDeptos WHERE Dia = 3 AND Valor > 1")
                     ->Fields(0)
                     .toString(),
                 "4BAZAR100.0" + QString::number(Grande));

        Roteiro::Responde(vbYes);
        Tecla_Delete(f->LstDeptos, 2);
        CONFERE_CAIXA("Deseja remover 05 S LANCHE CT:123 ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM LancDeptos WHERE Codigo = 2"), 0);
        QCOMPARE(totais(f), QString("100,10|0,00|100,10|2 Registro(s)"));

        // A failed save on closing keeps the form open with the entry.
        amb.Sql("CREATE TRIGGER falha BEFORE INSERT ON LancDeptos BEGIN SELECT RAISE(ABORT, 'cheio'); END");
        preenche(f, "E", "6", "DOAÇÃO", "5");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);  // "Continua Tentando ?"
        QVERIFY(!f->Unload());
        QCOMPARE(f->CboHistorico->Text(), QString("DOAÇÃO"));
        amb.Sql("DROP TRIGGER falha");
        Roteiro::LimpaCaixas();
        Roteiro::Responde(vbYes);
        QVERIFY(f->Unload());
        CONFERE_CAIXA("Existem dados em edição. Deseja Salvar ?", vbYesNo + vbQuestion);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM LancDeptos WHERE Historico = 'DOAÇÃO'"), 1);
    }
};

REGISTRA_TESTE(tst_Movto_Deptos)
#include "tst_Movto_Deptos.moc"
