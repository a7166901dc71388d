// The congregations' monthly figures driven from the main window's menu:
// the month's rows, saving with its checks in their order, the duplicate,
// correction (also of a row whose congregation left the register),
// deletion and closing; and what the file holds afterwards.
#include "operations/TotaisIgrejas.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QApplication>
#include <QClipboard>
#include <QtTest>

namespace {
constexpr qint64 Grande = qint64(1) << 40;  // a row key beyond 32 bits

const QString Valores_Incorretos =
    "Alguns valores informados podem estar incorretos:\r"
    "1º) O valor de Entrada menor que o valor de Saída,\r"
    "2º) A soma dos valores de Aluguel, Água, Luz e Prebenda maiores\r"
    "      que o valor de Saída\r"
    "Para prosseguir, verifique e corrija.";

// Six amounts as typed (a leading "=" pastes the rest instead), the message
// of the refusal or, when accepted, the amounts as the row shows them.
struct Caso { QStringList digitados; QString mensagem; QStringList mostrados = {}; };

QString linha(const QString& nome, const QStringList& valores, const QString& codigo) {
    QString l = nome.leftJustified(31);
    for (const QString& v : valores) l += v.rightJustified(10);
    return l + "     " + codigo;
}

void escolhe(ComboBox* c, const QString& nome) { c->setListIndex(c->findText(nome)); }
}  // namespace

class tst_TotaisIgrejas : public QObject {
    Q_OBJECT

    // Church 12 in August 2021: one row of BAIRRO ALTO, one of a
    // congregation no longer registered, and rows of another month and
    // another church.
    TotaisIgrejas* abre(Ambiente& amb) {
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        amb.Sql("INSERT INTO Igrejas VALUES (12, 7, 'CENTRO', 1), (12, 12345, 'VILA NOVA', 3), (12, 1234, 'BAIRRO ALTO', 2)");
        amb.Sql("INSERT INTO TotIgrejas VALUES (?1, 12, 1234, 2021, 8, 500, 400, 100, 50, 25, 25), "
                "(3, 12, 99, 2021, 8, 10, 0, 0, 0, 0, 0), (4, 12, 7, 2021, 7, 1, 1, 0, 0, 0, 0), "
                "(5, 13, 7, 2021, 8, 1, 1, 0, 0, 0, 0)",
                {Grande});
        return Abre_Pelo_Menu<TotaisIgrejas>(&Principal::Set_Igr);
    }
    static void preenche(TotaisIgrejas* f, const QStringList& valores) {
        TextBox* caixas[] = {f->TxtEntradas, f->TxtSaidas, f->TxtAluguel, f->TxtAgua, f->TxtLuz, f->TxtPrebenda};
        for (int i = 0; i < 6; ++i) {
            if (valores[i].startsWith('=')) {
                QApplication::clipboard()->setText(valores[i].mid(1));
                caixas[i]->SetFocus();
                caixas[i]->Cola();
            } else {
                Digita(caixas[i], valores[i]);
            }
        }
        f->CmdEnvia->setFocus();
    }
    static QString guardadas(Ambiente& amb) {
        return amb.Linhas("SELECT Codigo || ':' || CodCongrega || ':' || Entradas || ':' || Saidas || ':' || Aluguel || ':' || "
                          "Agua || ':' || Luz || ':' || Prebenda FROM TotIgrejas WHERE CodIg = 12 AND Ano = 2021 AND Mes = 8 "
                          "ORDER BY Codigo").join('|');
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    void gravaCorrigeERemove() {
        Ambiente amb;
        TotaisIgrejas* f = abre(amb);
        QCOMPARE(f->CboMesAno->Text(), QString("AGOSTO / 2021"));
        const QString orfa = linha("", {"10,00", "0,00", "0,00", "0,00", "0,00", "0,00"}, "99");
        const QString bairro = linha("BAIRRO ALTO", {"500,00", "400,00", "100,00", "50,00", "25,00", "25,00"}, "1234");
        QCOMPARE(Linhas(f->LstIgrejas), (QStringList{orfa, bairro}));
        QCOMPARE(f->LblRegs->Caption(), QString("2 Registro(s)"));

        escolhe(f->CboIgreja, "VILA NOVA");
        preenche(f, {"1500", "300", "100", "50", "25,5", "0"});
        QCOMPARE(f->TxtEntradas->Text(), QString("1.500,00"));
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(f->LstIgrejas->List(2),
                 linha("VILA NOVA", {"1.500,00", "300,00", "100,00", "50,00", "25,50", "0,00"}, "12345"));
        QCOMPARE(f->LstIgrejas->ItemData(2), Grande + 1);
        QCOMPARE(f->CboIgreja->ListIndex(), -1);
        QCOMPARE(f->TxtEntradas->Text(), QString());

        // A congregation already in the month: refused before any check.
        escolhe(f->CboIgreja, "BAIRRO ALTO");
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        CONFERE_CAIXA("A Igreja selecionada já encontra-se na lista abaixo.", vbExclamation);

        // The orphan row cannot be taken back: it stays, listed and stored.
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbOK);
        Duplo_Clique(f->LstIgrejas, 0);
        CONFERE_CAIXA("Igreja não cadastrada. Cadastre-a em 'Igrejas que compoem o Setor' antes de corrigir.",
                      vbInformation);
        QCOMPARE(f->LstIgrejas->ListCount(), 3);

        // Correction: the overwrite question, the amounts back, the stored row gone.
        Roteiro::Responde(vbYes);
        Duplo_Clique(f->LstIgrejas, 1);
        CONFERE_CAIXA("Existem dados em edição. Confirma sobrepor?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(f->CboIgreja->Text(), QString("BAIRRO ALTO"));
        QCOMPARE(QStringList({f->TxtEntradas->Text(), f->TxtSaidas->Text(), f->TxtAluguel->Text(), f->TxtAgua->Text(),
                              f->TxtLuz->Text(), f->TxtPrebenda->Text()}),
                 QStringList({"500,00", "400,00", "100,00", "50,00", "25,00", "25,00"}));
        QCOMPARE(amb.Conta("SELECT count(*) FROM TotIgrejas WHERE Codigo = ?1", {Grande}), 0);

        Tecla_Delete(f->LstIgrejas, 1, {vbYes});
        CONFERE_CAIXA("Deseja remover VILA NOVA" + QString(21, ' ') + " ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(Linhas(f->LstIgrejas), QStringList{orfa});

        // Closing saves the row taken back, under a new key.
        Roteiro::Responde(vbYes);
        QVERIFY(f->Unload());
        CONFERE_CAIXA("Existem dados em edição. Deseja Salvar ?", vbYesNo + vbQuestion);
        QCOMPARE(guardadas(amb), QString("3:99:10.0:0.0:0.0:0.0:0.0:0.0|6:1234:500.0:400.0:100.0:50.0:25.0:25.0"));
    }

    void valores_data() {
        const QString zeros = "0,00";
        Tabela<Caso>({
            {"entradas vazias", {{"", "1", "0", "0", "0", "0"}, "Preencha Entradas R$ Corretamente."}},
            {"saídas com letras", {{"10", "abc", "0", "0", "0", "0"}, "Preencha Saídas R$ Corretamente."}},
            {"um milhão", {{"1000000", "0", "0", "0", "0", "0"}, "Preencha Entradas R$ Corretamente."}},
            {"aluguel negativo", {{"10", "5", "-1", "0", "0", "0"}, "Preencha Aluguel R$ Corretamente."}},
            // A paste goes through the key filter as typing does: its point
            // becomes a comma, so "1234.56" is 1.234,56 and never 123456, and
            // a thousands point makes the amount malformed.
            {"ponto colado", {{"=1234.56", "0", "0", "0", "0", "0"}, {}, {"1.234,56", zeros, zeros, zeros, zeros, zeros}}},
            {"milhar colado", {{"=1.234,56", "0", "0", "0", "0", "0"}, "Preencha Entradas R$ Corretamente."}},
            {"saídas um centavo acima", {{"500", "500,01", "0", "0", "0", "0"}, Valores_Incorretos}},
            {"despesas um centavo acima", {{"1000", "199,99", "100", "50", "25", "25"}, Valores_Incorretos}},
            {"tudo zero", {{"0", "0", "0", "0", "0", "0"}, {}, {zeros, zeros, zeros, zeros, zeros, zeros}}},
            {"iguais nos limites",
             {{"=999999.99", "200", "100", "50", "25", "25"}, {}, {"999.999,99", "200,00", "100,00", "50,00", "25,00", "25,00"}}},
        });
    }
    void valores() {
        QFETCH(Caso, caso);
        Ambiente amb;
        TotaisIgrejas* f = abre(amb);
        const QString antes = guardadas(amb);
        escolhe(f->CboIgreja, "CENTRO");
        preenche(f, caso.digitados);
        if (!caso.mensagem.isEmpty()) Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        if (!caso.mensagem.isEmpty()) {
            CONFERE_CAIXA(caso.mensagem, vbExclamation);
            QCOMPARE(guardadas(amb), antes);
            QCOMPARE(f->CboIgreja->Text(), QString("CENTRO"));
            return;
        }
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(f->LstIgrejas->List(2), linha("CENTRO", caso.mostrados, "7"));
        QCOMPARE(amb.Conta("SELECT count(*) FROM TotIgrejas WHERE CodCongrega = 7 AND Ano = 2021 AND Mes = 8 AND CodIg = 12"), 1);
    }
};

REGISTRA_TESTE(tst_TotaisIgrejas)
#include "tst_TotaisIgrejas.moc"
