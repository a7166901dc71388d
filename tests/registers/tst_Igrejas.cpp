// The sector's congregations driven from the main window's menu: the rows
// and their order, saving, the refusals, correction, deletion by the whole
// code, closing with a congregation in the fields; and what the file holds.
#include "common/Banco.h"
#include "registers/Igrejas.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
struct Recusa { QString nome, codigo; int tipo; QString mensagem; int estilo; };

QString linha(const QString& codigo, const QString& nome, const QString& tipo) {
    return codigo.leftJustified(5) + nome.leftJustified(30) + " " + tipo;
}


}  // namespace

class tst_Igrejas : public QObject {
    Q_OBJECT

    // Church 12 with three congregations (one of five digits, one whose
    // first four digits are another's code) and another church's.
    Igrejas* abre(Ambiente& amb) {
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        amb.Sql("INSERT INTO Igrejas VALUES (12, 1234, 'BAIRRO ALTO', 2), (12, 12345, 'VILA NOVA', 3), "
                "(12, 7, 'CENTRO', 1), (13, 5, 'OUTRA', 1)");
        return Abre_Pelo_Menu<Igrejas>(&Principal::Igr_Setor);
    }
    static QString guardadas(Ambiente& amb) {
        return amb.Linhas("SELECT CodCongrega || ':' || Nome || ':' || Calculo FROM Igrejas WHERE CodIg = 12 "
                          "ORDER BY CodCongrega").join('|');
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    void gravaCorrigeERemove() {
        Ambiente amb;
        Igrejas* f = abre(amb);
        QCOMPARE(f->Caption(), QString(" Igrejas que compoem o setor"));
        QCOMPARE(f->CboTipo->ListCount(), 6);
        QCOMPARE(f->CboTipo->List(5), QString("Cálculo 06"));
        QCOMPARE(Linhas(f->LstIgreja), (QStringList{linha("0007", "CENTRO", "01"), linha("1234", "BAIRRO ALTO", "02"),
                                                    "12345VILA NOVA" + QString(21, ' ') + " 03"}));
        QCOMPARE(f->LblRegs->Caption(), QString("3 Registro(s)"));

        // Typed keys are upper-cased; a name is cut at the table's 30
        // characters; a code typed with leading zeros is stored as a number.
        Digita(f->TxtDescricao, "são joão d'água do pôr do sol leste");
        QCOMPARE(f->TxtDescricao->Text(), QString("SÃO JOÃO D'ÁGUA DO PÔR DO SOL "));
        Digita(f->TxtCodigo, "0012");
        f->CboTipo->setListIndex(2);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(f->LstIgreja->List(1), linha("0012", "SÃO JOÃO D'ÁGUA DO PÔR DO SOL", "03"));
        QCOMPARE(f->TxtDescricao->Text() + f->TxtCodigo->Text() + QString::number(f->CboTipo->ListIndex()), QString("-1"));
        QCOMPARE(f->LblRegs->Caption(), QString("4 Registro(s)"));

        // Deleting 12345 leaves 1234 alone.
        Tecla_Delete(f->LstIgreja, 3, {vbYes});
        CONFERE_CAIXA("Deseja remover VILA NOVA ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(guardadas(amb), QString("7:CENTRO:1|12:SÃO JOÃO D'ÁGUA DO PÔR DO SOL:3|1234:BAIRRO ALTO:2"));

        // A correction takes the row back and deletes it at once.
        Duplo_Clique(f->LstIgreja, 2);
        QCOMPARE(f->TxtCodigo->Text() + "|" + f->TxtDescricao->Text() + "|" + f->CboTipo->Text(),
                 QString("1234|BAIRRO ALTO|Cálculo 02"));
        QCOMPARE(f->LstIgreja->ListCount(), 2);
        QCOMPARE(amb.Conta("SELECT count(*) FROM Igrejas WHERE CodCongrega = 1234"), 0);
        Roteiro::Responde(vbNo);
        Duplo_Clique(f->LstIgreja, 0);
        CONFERE_CAIXA("Existem dados em edição. Confirma sobrepor ?", vbYesNo + vbQuestion + vbDefaultButton2);

        // A failed save on closing keeps the window and the fields; a good
        // one stores the congregation again.
        Troca(f->TxtCodigo, "12AB");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbOK);
        QVERIFY(!f->Unload());
        CONFERE_CAIXA("Preencha Código Oficial Corretamente.", vbExclamation);
        Troca(f->TxtCodigo, "1234");
        Roteiro::Responde(vbYes);
        QVERIFY(f->Unload());
        CONFERE_CAIXA("Existem dados em edição. Deseja Salvar ?", vbYesNo + vbQuestion);
        QCOMPARE(guardadas(amb), QString("7:CENTRO:1|12:SÃO JOÃO D'ÁGUA DO PÔR DO SOL:3|1234:BAIRRO ALTO:2"));
        QCOMPARE(amb.Conta("SELECT count(*) FROM Igrejas WHERE CodIg = 13"), 1);
        // Whoever writes a congregation, its name keeps the table's 30 characters.
        Executa_Query("ProcInsIgreja", {"0012", "77", QString(35, QChar(0xC9)), "3"});
        QCOMPARE(amb.Le("SELECT Nome FROM Igrejas WHERE CodCongrega = 77")->Texto("Nome"), QString(30, QChar(0xC9)));
    }

    void recusa_data() {
        // The name first, then the code, then the type.
        Tabela<Recusa>({
            {"nome em branco", {"   ", "5", 0, "Preencha Nome da Igreja / Localidade Corretamente.", vbExclamation}},
            {"código vazio", {"X", "", 0, "Preencha Código Oficial Corretamente.", vbExclamation}},
            {"código zero", {"X", "0", 0, "Preencha Código Oficial Corretamente.", vbExclamation}},
            {"código de letras", {"X", "abc", 0, "Preencha Código Oficial Corretamente.", vbExclamation}},
            {"código com letras", {"X", "12AB", 0, "Preencha Código Oficial Corretamente.", vbExclamation}},
            {"código fracionário", {"X", "1,5", 0, "Preencha Código Oficial Corretamente.", vbExclamation}},
            {"código negativo", {"X", "-3", 0, "Preencha Código Oficial Corretamente.", vbExclamation}},
            {"sem tipo", {"X", "5", -1, "Preencha Tipo de Cálculo Corretamente.", vbExclamation}},
            {"código repetido", {"X", "00007", 0, "Já existe uma Igreja com este Código.", vbInformation}},
        });
    }
    void recusa() {
        QFETCH(Recusa, caso);
        Ambiente amb;
        Igrejas* f = abre(amb);
        Digita(f->TxtDescricao, caso.nome);
        Digita(f->TxtCodigo, caso.codigo);
        f->CboTipo->setListIndex(caso.tipo);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        CONFERE_CAIXA(caso.mensagem, caso.estilo);
        QCOMPARE(f->TxtCodigo->Text(), caso.codigo);
        QCOMPARE(f->LstIgreja->ListCount(), 3);
        QCOMPARE(guardadas(amb), QString("7:CENTRO:1|1234:BAIRRO ALTO:2|12345:VILA NOVA:3"));
    }
};

REGISTRA_TESTE(tst_Igrejas)
#include "tst_Igrejas.moc"
