// The agenda driven from the main window's menu as a user does: the rows
// and their order, the refused entries, saving, correction and deletion of
// one entry of two identical ones, and today's entries in the day's notices.
#include "operations/Avisos.h"
#include "platform/Relogio.h"
#include "registers/Agenda.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
QString linha(const QString& dia, const QString& descricao) { return dia + ' ' + descricao.leftJustified(40); }

// What the file holds for church 12 in February 2021, by day and description.
QStringList guardadas(Ambiente& amb) {
    return amb.Linhas("SELECT Dia, Descricao FROM Agenda WHERE CodIg = 12 AND Ano = 2021 AND Mes = 2 ORDER BY Dia, Descricao");
}

void salva(Agenda* f, const QString& dia, const QString& descricao) {
    Digita(f->TxtDia, dia);
    Digita(f->TxtCompromisso, descricao);
    QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
}


struct Recusa { QString dia, descricao; bool semMes; QString mensagem; };
}  // namespace

class tst_Agenda : public QObject {
    Q_OBJECT

    // Church 12 in February 2021 (28 days), with entries of its own out of
    // order and of another church and month.
    Agenda* abre(Ambiente& amb) {
        amb.Parametros(12, "SETOR", "IGREJA", "S", 2, 2021);
        amb.Sql("INSERT INTO Agenda (CodIg, Ano, Mes, Dia, Descricao) VALUES (12, 2021, 2, 20, 'ALUGUEL'), "
                "(12, 2021, 2, 3, 'LUZ'), (12, 2021, 2, 20, 'ÁGUA'), (13, 2021, 2, 1, 'OUTRA'), (12, 2021, 3, 1, 'MARÇO')");
        Relogio::Define(QDateTime(QDate(2021, 3, 9), QTime(9, 0)));
        auto* f = Abre_Pelo_Menu<Agenda>(&Principal::Agf_Fin);
        // Its activation puts the focus in the day's box.
        if (!QTest::qWaitFor([f] { return QApplication::focusWidget() == f->TxtDia; })) qFatal("sem foco no dia");
        return f;
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    void recusas_data() {
        Tabela<Recusa>({
            {"dia vazio", {"", "LUZ", false, "Preencha Dia Corretamente."}},
            {"dia zero", {"0", "LUZ", false, "Preencha Dia Corretamente."}},
            {"dia 32", {"32", "LUZ", false, "Dia inválido. Preencha corretamente."}},
            {"29 de fevereiro fora de ano bissexto", {"29", "LUZ", false, "Dia inválido. Preencha corretamente."}},
            {"compromisso em branco", {"5", "   ", false, "Preencha Descrição do Compromisso Corretamente."}},
            {"mês em branco", {"5", "LUZ", true, "Preencha Mês de Referência Corretamente."}},
        });
    }
    void recusas() {
        QFETCH(Recusa, caso);
        Ambiente amb;
        Agenda* f = abre(amb);
        if (caso.semMes) f->CboMesAno->setText_({});
        Roteiro::Responde(vbOK);
        salva(f, caso.dia, caso.descricao);
        CONFERE_CAIXA(caso.mensagem, vbExclamation);
        QCOMPARE(guardadas(amb).size(), 3);
        QCOMPARE(f->LstAgenda->ListCount(), 3);
    }

    void grava_corrige_e_remove() {
        Ambiente amb;
        Agenda* f = abre(amb);
        QCOMPARE(f->Caption(), QString(" Agenda de Compromissos"));
        QCOMPARE(f->CboMesAno->Text(), QString("FEVEREIRO / 2021"));
        QCOMPARE(Linhas(f->LstAgenda), (QStringList{linha("03", "LUZ"), linha("20", "ÁGUA"), linha("20", "ALUGUEL")}));
        QCOMPARE(f->LblRegs->Caption(), QString("3 Registro(s)"));

        // A day typed "5" and saved at once is day 5, listed "05" in its
        // place; the description keys are upper-cased, its blanks trimmed;
        // the same entry twice is two entries.
        salva(f, "5", "  conta d'água  ");
        salva(f, "20", "aluguel");
        QCOMPARE(guardadas(amb), (QStringList{"3|LUZ", "5|CONTA D'ÁGUA", "20|ÁGUA", "20|ALUGUEL", "20|ALUGUEL"}));
        QCOMPARE(Linhas(f->LstAgenda), (QStringList{linha("03", "LUZ"), linha("05", "CONTA D'ÁGUA"), linha("20", "ÁGUA"),
                                                    linha("20", "ALUGUEL"), linha("20", "ALUGUEL")}));
        QCOMPARE(f->LblRegs->Caption(), QString("5 Registro(s)"));
        QCOMPARE(f->TxtDia->Text() + f->TxtCompromisso->Text(), QString());
        QVERIFY(Roteiro::Caixas().empty());

        // Deleting one of two identical entries leaves the other, in the
        // file and in the list; No keeps both.
        Tecla_Delete(f->LstAgenda, 3, {vbNo});
        CONFERE_CAIXA("Deseja remover ALUGUEL ?", vbYesNo + vbQuestion + vbDefaultButton2);
        Tecla_Delete(f->LstAgenda, 3, {vbYes});
        CONFERE_CAIXA("Deseja remover ALUGUEL ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(guardadas(amb), (QStringList{"3|LUZ", "5|CONTA D'ÁGUA", "20|ÁGUA", "20|ALUGUEL"}));
        QCOMPARE(f->LstAgenda->ListCount(), 4);
        QCOMPARE(f->LblRegs->Caption(), QString("4 Registro(s)"));

        // A deletion that fails says so and keeps the row, by either road.
        amb.Sql("CREATE TRIGGER Bloqueia BEFORE DELETE ON Agenda BEGIN SELECT RAISE(ABORT, 'bloqueada'); END");
        Tecla_Delete(f->LstAgenda, 1, {vbYes, vbNo});
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro"));
        Roteiro::LimpaCaixas();
        Roteiro::Responde(vbNo);
        Duplo_Clique(f->LstAgenda, 1);
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro"));
        QVERIFY(!Roteiro::HouveInesperada());
        Roteiro::LimpaCaixas();
        QCOMPARE(f->LstAgenda->ListCount(), 4);
        QCOMPARE(f->TxtDia->Text() + f->TxtCompromisso->Text(), QString());
        QCOMPARE(guardadas(amb).size(), 4);
        amb.Sql("DROP TRIGGER Bloqueia");

        // A double-click takes the entry out of the file into the boxes;
        // closing then offers to save it again.
        Duplo_Clique(f->LstAgenda, 1);
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(f->TxtDia->Text() + '|' + f->TxtCompromisso->Text(), QString("05|CONTA D'ÁGUA"));
        QCOMPARE(guardadas(amb), (QStringList{"3|LUZ", "20|ÁGUA", "20|ALUGUEL"}));
        QCOMPARE(f->LstAgenda->ListCount(), 3);
        Roteiro::Responde(vbNo);
        Duplo_Clique(f->LstAgenda, 0);
        CONFERE_CAIXA("Existem dados em edição. Confirma sobrepor?", vbYesNo + vbQuestion + vbDefaultButton2);
        // A closing save that fails keeps the window open with the only
        // copy of the entry.
        amb.Sql("CREATE TRIGGER Recusa BEFORE INSERT ON Agenda BEGIN SELECT RAISE(ABORT, 'recusada'); END");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        QVERIFY(!f->Unload());
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro"));
        Roteiro::LimpaCaixas();
        QCOMPARE(f->TxtDia->Text() + '|' + f->TxtCompromisso->Text(), QString("05|CONTA D'ÁGUA"));
        amb.Sql("DROP TRIGGER Recusa");
        Roteiro::Responde(vbYes);
        QVERIFY(f->Unload());
        CONFERE_CAIXA("Existem dados em edição. Deseja Salvar ?", vbYesNo + vbQuestion);
        QCOMPARE(guardadas(amb), (QStringList{"3|LUZ", "5|CONTA D'ÁGUA", "20|ÁGUA", "20|ALUGUEL"}));
    }

    void compromissos_de_hoje_nos_avisos() {
        Ambiente amb;
        Agenda* f = abre(amb);
        Relogio::Define(QDateTime(QDate(2021, 2, 5), QTime(9, 0)));
        salva(f, "5", "DÍZIMO DO SETOR");
        // Sixty characters typed: the box keeps forty.
        salva(f, "6", QString("AMANHÃ ").repeated(9).left(60));
        QCOMPARE(amb.Le("SELECT length(Descricao) FROM Agenda WHERE Dia = 6")->Fields(0).toInt(), 40);
        Fecha_Tudo();
        Inicia_Principal("JOANA");
        auto* avisos = qobject_cast<Avisos*>(Form::Procura("Avisos"));
        QVERIFY(avisos);
        QCOMPARE(Linhas(avisos->LstAvisos), QStringList{"DÍZIMO DO SETOR"});
    }
};

REGISTRA_TESTE(tst_Agenda)
#include "tst_Agenda.moc"
