// The histories register driven from the main window's menu as a user does:
// the three kinds, the rows and their order, saving, correction, deletion,
// the ten-zero membership number, what the file holds afterwards, and a
// key another program takes while a save runs.
#include "platform/SqlCipher.h"
#include "registers/Descricoes.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
// Another church's offering whose next code a double cannot hold exactly.
constexpr qint64 Alto = (qint64(1) << 53) + 2;


struct Recusa { QString ri, ficou, mensagem; int estilo; };
// A kind of history and another program's insert into its table, the key
// bound as ?1.
struct Outro { bool dizimista; QString tabela, insercao; };

// Another program's insert on a connection of its own that does not wait
// for a lock: the error it meets, 0 once its row is stored.
long Insere_Em_Outro_Programa(const QString& arquivo, const QString& sql, qint64 codigo) {
    return ErroDe([&] {
        const auto con = SqlCipher::Conexao::Abre(arquivo);
        sqlite3_busy_timeout(con.Db(), 0);
        SqlCipher::Comando cmd(con, sql);
        cmd.LigaInteiro(1, codigo);
        cmd.Passo();
    });
}

// The RI after the user chooses the position and goes back to the RI box.
QString saiDoCargo(Descricoes* f, int cargo) {
    f->TxtRI->setText_("12345678");
    f->CboCargo->SetFocus();
    f->CboCargo->setListIndex(cargo);
    f->TxtRI->SetFocus();
    return f->TxtRI->Text();
}

QString campos(Descricoes* f) {
    return f->TxtDescricao->Text() + "|" + f->TxtRI->Text() + "|" + QString::number(f->CboCargo->ListIndex());
}

QString linhaDizimista(const QString& prefixo, const QString& nome, const QString& ri, const QString& cargo) {
    return prefixo.leftJustified(4) + nome.leftJustified(51, ' ', true) + ri.leftJustified(10, ' ', true) +
           cargo.rightJustified(12);
}
}  // namespace

class tst_Descricoes : public QObject {
    Q_OBJECT

    // Church 12 with nine positions, the form opened from the menu.
    Descricoes* abre(Ambiente& amb) {
        amb.Parametros(12, "SETOR", "IGREJA", "S", 8, 2021);
        amb.Sql("INSERT INTO Cargos (Codigo, Descricao, Abreviado) VALUES (1, 'CONGREGADO', 'CG'), (2, 'PASTOR', 'PR'), "
                "(3, 'EVANGELISTA', 'EV'), (4, 'MISSIONÁRIO', 'MS'), (5, 'PRESBÍTERO', 'PB'), (6, 'DIÁCONO', 'DC'), "
                "(7, 'COOPERADOR', 'CP'), (8, 'MEMBRO', 'MB'), (9, 'VISITANTE', 'CG')");
        return Abre_Pelo_Menu<Descricoes>(&Principal::Tip_Hist);
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    void ofertas_gravam_corrigem_e_removem() {
        Ambiente amb;
        amb.Sql("INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (4, 12, 'SÁBADO - CEIA'), "
                "(9, 12, 'sabado - almoço'), (2, 12, 'DOMINGO - CULTO'), (?1, 13, 'OUTRA IGREJA')", {Alto});
        Descricoes* f = abre(amb);
        QCOMPARE(Linhas(f->LstDescricao), (QStringList{"DOMINGO - CULTO", "sabado - almoço", "SÁBADO - CEIA"}));
        QCOMPARE(f->LblRegs->Caption(), QString("3 Registro(s)"));
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        CONFERE_CAIXA("Preencha Dia da Semana e Tipo de Culto Corretamente.", vbExclamation);

        // Typed keys are upper-cased, accents included; the search follows
        // them; the new code comes after the highest of any church.
        Digita(f->TxtDescricao, "sa");
        QCOMPARE(f->LstDescricao->ListIndex(), 1);
        Digita(f->TxtDescricao, "bado - bênção d'água");
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QCOMPARE(f->LstDescricao->List(2), QString("SABADO - BÊNÇÃO D'ÁGUA"));
        QCOMPARE(f->LblRegs->Caption(), QString("4 Registro(s)"));
        QCOMPARE(f->LstDescricao->ItemData(2), Alto + 1);

        // Correction: the row goes back into the field.
        Digita(f->TxtDescricao, "X");
        Roteiro::Responde(vbYes);
        Duplo_Clique(f->LstDescricao, 0);
        CONFERE_CAIXA("Existe dado em edição. Confirma sobrepor?", vbYesNo + vbQuestion);
        QCOMPARE(f->TxtDescricao->Text(), QString("DOMINGO - CULTO"));
        QCOMPARE(f->LstDescricao->ListCount(), 3);

        // The Delete key asks, No being the default.
        Tecla_Delete(f->LstDescricao, 2, {vbYes});
        CONFERE_CAIXA("Deseja remover SÁBADO - CEIA ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(f->LblRegs->Caption(), QString("2 Registro(s)"));

        // Closing with text in the field offers to save it.
        Roteiro::Responde(vbYes);
        QVERIFY(f->Unload());
        CONFERE_CAIXA("Existe dado em edição. Deseja Salvar?", vbYesNo + vbQuestion);
        // The corrected and the removed rows left the file.
        QCOMPARE(amb.Le("SELECT group_concat(Codigo || ':' || Descricao) FROM "
                        "(SELECT * FROM Ofertas WHERE CodIg = 12 ORDER BY Codigo)")->Fields(0).toString(),
                 QString("9:sabado - almoço,%1:SABADO - BÊNÇÃO D'ÁGUA,%2:DOMINGO - CULTO").arg(Alto + 1).arg(Alto + 2));
    }

    void dizimistaRecusado_data() {
        // The checks, in order, each with its message; the RI box takes eight characters.
        Tabela<Recusa>({
            {"sem R.I.", {"", "", "Preencha Nº do R.I. Corretamente.", vbExclamation}},
            {"R.I. com ponto", {"12.5", "12.5", "Informe Nº do R.I. somente com números", vbInformation}},
            {"sem cargo", {"1234567890", "12345678", "Preencha Cargo Corretamente.", vbExclamation}},
        });
    }
    void dizimistaRecusado() {
        QFETCH(Recusa, caso);
        Ambiente amb;
        Descricoes* f = abre(amb);
        QTest::mouseClick(f->OptDizimos, Qt::LeftButton);
        Digita(f->TxtDescricao, "joão");
        Digita(f->TxtRI, caso.ri);
        QCOMPARE(f->TxtRI->Text(), caso.ficou);
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        CONFERE_CAIXA(caso.mensagem, caso.estilo);
        QCOMPARE(amb.Conta("SELECT count(*) FROM Dizimos"), 0);
    }

    void codigoTomadoPorOutroPrograma_data() {
        Tabela<Outro>({
            {"oferta", {false, "Ofertas", "INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (?1, 13, 'OUTRO')"}},
            {"dizimista",
             {true, "Dizimos", "INSERT INTO Dizimos (Codigo, CodIg, RI, Nome, Cargo) VALUES (?1, 13, '9', 'OUTRO', 1)"}},
        });
    }
    // Another program that tries to take the next key once the save has
    // read it finds the file locked until the save's insert is in: it
    // takes the key after, and the save never asks to try again.
    void codigoTomadoPorOutroPrograma() {
        QFETCH(Outro, caso);
        Ambiente amb;
        Descricoes* f = abre(amb);
        if (caso.dizimista) {
            QTest::mouseClick(f->OptDizimos, Qt::LeftButton);
            Digita(f->TxtRI, "123");
            f->CboCargo->setListIndex(1);
        }
        Digita(f->TxtDescricao, "nome");
        long erroDoOutro = -1;
        f->TxtCodigo->Change = [&] {
            if (erroDoOutro == -1 && !f->TxtCodigo->Text().isEmpty())
                erroDoOutro = Insere_Em_Outro_Programa(amb.Arquivo(), caso.insercao, f->TxtCodigo->Text().toLongLong());
        };
        // Were it asked, Yes once, then No.
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        f->TxtCodigo->Change = {};
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(erroDoOutro, 3260L);
        QCOMPARE(Insere_Em_Outro_Programa(amb.Arquivo(), caso.insercao, 2), 0L);
        QCOMPARE(amb.Linhas("SELECT Codigo, CodIg FROM " + caso.tabela + " ORDER BY Codigo"),
                 (QStringList{"1|12", "2|13"}));
        QCOMPARE(f->LstDescricao->ListCount(), 1);
        QCOMPARE(f->LstDescricao->ItemData(0), 1);
        QCOMPARE(f->TxtDescricao->Text(), QString());
    }

    void dizimistas_e_saidas() {
        Ambiente amb;
        const QString longo = "MARIA DAS GRAÇAS DO NASCIMENTO E SILVA PEREIRA DE SOUZA";  // 55 characters
        amb.Sql("INSERT INTO Dizimos (Codigo, CodIg, RI, Nome, Cargo) VALUES (3, 12, '555', 'ZÉLIA', 6), "
                "(7, 12, '12', 'ÁLVARO NUNES', 2), (8, 12, '7', 'ALVES', NULL), (9, 12, '12345678901', ?1, 99)",
                {longo});
        amb.Sql("INSERT INTO Saidas (Codigo, CodIg, Descricao) VALUES (101, 12, 'ÁGUA'), (102, 12, 'LUZ'), (103, 12, 'agua')");
        Descricoes* f = abre(amb);
        QTest::mouseClick(f->OptDizimos, Qt::LeftButton);
        QCOMPARE(Linhas(f->LstDescricao), (QStringList{linhaDizimista({}, "ÁLVARO NUNES", "12", "2"),
                                                       linhaDizimista({}, "ALVES", "7", {}),
                                                       linhaDizimista({}, longo, "1234567890", "99"),
                                                       linhaDizimista({}, "ZÉLIA", "555", "6")}));
        f->ChkCargos->setValue(1);
        QCOMPARE(Linhas(f->LstDescricao),
                 (QStringList{linhaDizimista(".", "ALVES", "7", {}), linhaDizimista(".", longo, "1234567890", "99"),
                              linhaDizimista("DC.", "ZÉLIA", "555", "6"), linhaDizimista("PR.", "ÁLVARO NUNES", "12", "2")}));

        // Leaving the first position or the ninth puts ten zeros in the RI;
        // another keeps it.
        QCOMPARE(saiDoCargo(f, 1), QString("12345678"));
        QCOMPARE(saiDoCargo(f, 8), QString("0000000000"));
        Digita(f->TxtDescricao, "joão \"boca\" d'ávila");
        QCOMPARE(saiDoCargo(f, 0), QString("0000000000"));

        // Quotes reach the file as typed: every value is bound.
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        const QString nome = "JOÃO \"BOCA\" D'ÁVILA";
        QCOMPARE(f->LstDescricao->List(2), linhaDizimista("CG.", nome, "0000000000", "1"));
        QCOMPARE(f->LstDescricao->ItemData(2), 10);
        QCOMPARE(amb.Le("SELECT CodIg || '|' || RI || '|' || Nome || '|' || Cargo FROM Dizimos WHERE Codigo = 10")
                     ->Fields(0).toString(),
                 "12|0000000000|" + nome + "|1");
        QCOMPARE(campos(f), QString("||-1"));

        // A correction takes the stored name and RI back whole; a position
        // missing from the list, or none at all, leaves the combo without a
        // choice, whatever the previous tither had.
        Duplo_Clique(f->LstDescricao, 3);
        QCOMPARE(f->TxtDescricao->Text() + "|" + f->CboCargo->Text(), QString("ZÉLIA|DIÁCONO [DC] «6»"));
        Roteiro::Responde(vbYes);
        Duplo_Clique(f->LstDescricao, 0);
        QCOMPARE(campos(f), QString("ALVES|7|-1"));
        f->CboCargo->setListIndex(1);
        Roteiro::Responde(vbYes);
        Duplo_Clique(f->LstDescricao, 0);
        QCOMPARE(campos(f), longo + "|12345678901|-1");

        // Changing the kind with the mouse offers to save the text first.
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->OptSaidas, Qt::LeftButton);
        CONFERE_CAIXA("Existe dado em edição. Deseja Salvar?", vbYesNo + vbQuestion);
        QCOMPARE(f->TxtDescricao->Text(), QString());
        QCOMPARE(amb.Conta("SELECT count(*) FROM Dizimos"), 2);

        // Outflow accounts come from the central register: read only.
        QVERIFY(!f->CmdEnvia->isEnabled());
        QCOMPARE(Linhas(f->LstDescricao), (QStringList{"agua", "ÁGUA", "LUZ"}));
        f->TxtDescricao->setText_("LUZ");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbOK);
        Duplo_Clique(f->LstDescricao, 0);
        CONFERE_CAIXA("Este Histórico não pode ser modificado", vbInformation);
        Tecla_Delete(f->LstDescricao, 1, {vbYes, vbOK});
        CONFERE_CAIXA("Este Histórico não pode ser modificado", vbInformation);
        QCOMPARE(f->LstDescricao->ListCount(), 3);
        QCOMPARE(amb.Conta("SELECT count(*) FROM Saidas"), 3);
        QVERIFY(f->Unload());  // asking nothing for an outflow text
        QVERIFY(!Roteiro::HouveInesperada());
    }
};

REGISTRA_TESTE(tst_Descricoes)
#include "tst_Descricoes.moc"
