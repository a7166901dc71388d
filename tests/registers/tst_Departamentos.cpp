// The departments register driven from the main menu: names as typed and
// stored, correction under the same key, deletion refused while ledger
// entries use the department, and the list kept in step with the file.
#include "registers/Departamentos.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {


struct Nome { QString digitado, listado, guardado; };  // nothing stored: refused

QString guardados(Ambiente& amb) {
    return amb.Linhas("SELECT Codigo || ':' || Descricao FROM Departamentos ORDER BY Codigo").join(';');
}
}  // namespace

class tst_Departamentos : public QObject {
    Q_OBJECT

    Departamentos* abre(Ambiente& amb) {
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        return Abre_Pelo_Menu<Departamentos>(&Principal::Cad_Dep);
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    void nomes_data() {
        const QString longo = QString::fromUtf8("AÇÃO D'ÁGUA ") + QString(48, 'X');
        Tabela<Nome>({{"em branco", {"   ", "", ""}},
                      {"acentos, apóstrofo, 60 caracteres", {longo, longo.left(50), "1:" + longo.left(50)}},
                      {"minúsculas e brancos", {" jovens ", " JOVENS ", "1:JOVENS"}}});
    }
    void nomes() {
        QFETCH(Nome, caso);
        const auto& [digitado, listado, guardado] = caso;
        Ambiente amb;
        Departamentos* f = abre(amb);
        QCOMPARE(f->LblRegs->Caption(), QString(" Registro(s)"));
        Troca(f->TxtDepto, digitado);
        if (guardado.isEmpty()) Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        if (guardado.isEmpty()) {
            CONFERE_CAIXA("Preencha Nome do Departamento Corretamente.", vbExclamation);
            QCOMPARE(guardados(amb), QString());
            return;
        }
        QCOMPARE(Linhas(f->LstDepto), QStringList{listado});
        QCOMPARE(guardados(amb), guardado);
        QCOMPARE(f->TxtDepto->Text() + f->LblRegs->Caption(), QString("1 Registro(s)"));
    }

    // Keys beyond 16 bits; a correction keeps the key and the ledger's
    // entries; a department with entries is not deleted.
    void corrige_e_remove() {
        Ambiente amb;
        amb.Sql("INSERT INTO Departamentos VALUES (40000, 12, 'MOCIDADE'), (40001, 12, 'INFANTIL'), (5, 13, 'OUTRA')");
        amb.Sql("INSERT INTO LancDeptos VALUES (1, 12, 2021, 8, 40000, 1, 'E', 'X', 10)");
        Departamentos* f = abre(amb);
        QCOMPARE(Linhas(f->LstDepto), (QStringList{"INFANTIL", "MOCIDADE"}));

        // The same name twice is two departments.
        Troca(f->TxtDepto, "INFANTIL");
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QCOMPARE(guardados(amb), QString("5:OUTRA;40000:MOCIDADE;40001:INFANTIL;40002:INFANTIL"));

        // Taken back and closed unsaved: nothing is lost.
        Duplo_Clique(f->LstDepto, 2);
        QCOMPARE(f->TxtDepto->Text(), QString("MOCIDADE"));
        QCOMPARE(f->LstDepto->ListCount(), 3);
        QCOMPARE(guardados(amb), QString("5:OUTRA;40000:MOCIDADE;40001:INFANTIL;40002:INFANTIL"));
        // Another row over the one in the field asks first; No keeps it.
        Roteiro::Responde(vbNo);
        Duplo_Clique(f->LstDepto, 0);
        CONFERE_CAIXA("Existem dados em edição. Deseja sobrepor ?", vbYesNo + vbQuestion);
        QCOMPARE(f->TxtDepto->Text(), QString("MOCIDADE"));

        // Saved: the same key, the new name in the list's order.
        Troca(f->TxtDepto, "JUVENTUDE");
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QCOMPARE(guardados(amb), QString("5:OUTRA;40000:JUVENTUDE;40001:INFANTIL;40002:INFANTIL"));
        QCOMPARE(Linhas(f->LstDepto), (QStringList{"INFANTIL", "INFANTIL", "JUVENTUDE"}));
        QCOMPARE(f->LstDepto->ItemData(2), qint64(40000));
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM LancDeptos WHERE CodDepto = 40000"), 1);

        // With ledger entries: refused with the integrity message, kept.
        Tecla_Delete(f->LstDepto, 2, {vbYes, vbNo});
        QCOMPARE(Roteiro::Caixas().front().prompt, QString("Deseja remover JUVENTUDE ?"));
        QCOMPARE(Roteiro::Caixas().back().titulo, QString("<<< Ocorrência de Erro 3200 >>>"));
        QVERIFY(Roteiro::Caixas().back().prompt.startsWith(
            "Não é possível excluir ou alterar registros. Já que existem registros relacionados na tabela "
            "LancDeptos, a integridade referencial seria violada."));
        Roteiro::LimpaCaixas();
        QCOMPARE(f->LstDepto->ListCount(), 3);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM Departamentos WHERE Codigo = 40000"), 1);

        Tecla_Delete(f->LstDepto, 0, {vbYes});
        CONFERE_CAIXA("Deseja remover INFANTIL ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(f->LstDepto->ListCount(), 2);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM Departamentos"), 3);

        // Closing with a name typed asks, and Yes stores it.
        Troca(f->TxtDepto, "MÚSICA");
        Roteiro::Responde(vbYes);
        QVERIFY(f->Unload());
        CONFERE_CAIXA("Existem dados em edição. Deseja Salvar ?", vbYesNo + vbQuestion);
        QCOMPARE(amb.Conta("SELECT COUNT(*) FROM Departamentos WHERE Descricao = 'MÚSICA'"), 1);
    }
};

REGISTRA_TESTE(tst_Departamentos)
#include "tst_Departamentos.moc"
