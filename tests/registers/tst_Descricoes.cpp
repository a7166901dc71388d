// The histories register driven from the main window's menu as a user does:
// the three kinds, the rows and their order, saving, correction, deletion,
// the ten-zero membership number, and what the file holds afterwards.
#include "registers/Descricoes.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include <QtTest>

namespace {
// Another church's offering whose next code a double cannot hold exactly.
constexpr qint64 Alto = (qint64(1) << 53) + 2;

void teclaDelete(ListBox* l, int i, std::initializer_list<int> respostas) {
    l->setListIndex(i);
    for (int r : respostas) Roteiro::Responde(r);
    l->SetFocus();
    QTest::keyClick(l, Qt::Key_Delete);
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
        amb.Parametros(12, QStringLiteral("SETOR"), QStringLiteral("IGREJA"), QStringLiteral("S"), 8, 2021);
        amb.Sql(QStringLiteral("INSERT INTO Cargos (Codigo, Descricao, Abreviado) VALUES (1, 'CONGREGADO', 'CG'), "
                               "(2, 'PASTOR', 'PR'), (3, 'EVANGELISTA', 'EV'), (4, 'MISSIONÁRIO', 'MS'), "
                               "(5, 'PRESBÍTERO', 'PB'), (6, 'DIÁCONO', 'DC'), (7, 'COOPERADOR', 'CP'), "
                               "(8, 'MEMBRO', 'MB'), (9, 'VISITANTE', 'CG')"));
        Inicia_Principal(QStringLiteral("MARIA"))->Tip_Hist->trigger();
        Roteiro::LimpaCaixas();
        return qobject_cast<Descricoes*>(Form::Procura(QStringLiteral("Descricoes")));
    }

private slots:
    void cleanup() { Fecha_Tudo(); }

    void ofertas_gravam_corrigem_e_removem() {
        Ambiente amb;
        amb.Sql(QStringLiteral("INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (4, 12, 'SÁBADO - CEIA'), "
                               "(9, 12, 'sabado - almoço'), (2, 12, 'DOMINGO - CULTO'), (?1, 13, 'OUTRA IGREJA')"),
                {Alto});
        Descricoes* f = abre(amb);
        QVERIFY(f);
        QCOMPARE(Linhas(f->LstDescricao), (QStringList{QStringLiteral("DOMINGO - CULTO"), QStringLiteral("sabado - almoço"),
                                                       QStringLiteral("SÁBADO - CEIA")}));
        QCOMPARE(f->LblRegs->Caption(), QStringLiteral("3 Registro(s)"));

        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        CONFERE_CAIXA("Preencha Dia da Semana e Tipo de Culto Corretamente.", vbExclamation);

        // Typed keys are upper-cased, accents included; the search follows them.
        Digita(f->TxtDescricao, QStringLiteral("sa"));
        QCOMPARE(f->LstDescricao->ListIndex(), 1);
        Digita(f->TxtDescricao, QStringLiteral("bado - bênção d'água"));
        QCOMPARE(f->TxtDescricao->Text(), QStringLiteral("SABADO - BÊNÇÃO D'ÁGUA"));
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        QCOMPARE(Linhas(f->LstDescricao).at(2), QStringLiteral("SABADO - BÊNÇÃO D'ÁGUA"));
        QCOMPARE(f->LstDescricao->ItemData(2), Alto + 1);
        QCOMPARE(f->LblRegs->Caption(), QStringLiteral("4 Registro(s)"));
        QCOMPARE(amb.Le("SELECT CodIg || '|' || Descricao FROM Ofertas WHERE Codigo = ?1", {Alto + 1})->Fields(0).toString(),
                 QStringLiteral("12|SABADO - BÊNÇÃO D'ÁGUA"));

        // Correction: the row goes back into the field and leaves the file.
        Digita(f->TxtDescricao, QStringLiteral("X"));
        Roteiro::Responde(vbYes);
        Duplo_Clique(f->LstDescricao, 0);
        CONFERE_CAIXA("Existe dado em edição. Confirma sobrepor?", vbYesNo + vbQuestion);
        QCOMPARE(f->TxtDescricao->Text(), QStringLiteral("DOMINGO - CULTO"));
        QCOMPARE(f->LstDescricao->ListCount(), 3);
        QCOMPARE(amb.Conta("SELECT count(*) FROM Ofertas WHERE Codigo = 2"), 0);

        // The Delete key asks, No being the default.
        teclaDelete(f->LstDescricao, 2, {vbYes});
        CONFERE_CAIXA("Deseja remover SÁBADO - CEIA ?", vbYesNo + vbQuestion + vbDefaultButton2);
        QCOMPARE(f->LstDescricao->ListCount(), 2);
        QCOMPARE(f->LblRegs->Caption(), QStringLiteral("2 Registro(s)"));
        QCOMPARE(amb.Conta("SELECT count(*) FROM Ofertas WHERE Codigo = 4"), 0);

        // Closing with text in the field offers to save it.
        Roteiro::Responde(vbYes);
        QVERIFY(f->Unload());
        CONFERE_CAIXA("Existe dado em edição. Deseja Salvar?", vbYesNo + vbQuestion);
        QCOMPARE(amb.Le(QStringLiteral("SELECT Descricao FROM Ofertas WHERE Codigo = ?1"), {Alto + 2})->Texto("Descricao"),
                 QStringLiteral("DOMINGO - CULTO"));
    }

    void busca_passa_sete_linhas_alem() {
        Ambiente amb;
        for (int i = 0; i < 20; ++i)
            amb.Sql(QStringLiteral("INSERT INTO Ofertas (Codigo, CodIg, Descricao) VALUES (?1, 12, ?2)"),
                    {i + 1, QStringLiteral("H%1").arg(i, 2, 10, QLatin1Char('0'))});
        Descricoes* f = abre(amb);
        QList<int> selecoes;
        f->LstDescricao->Click = [&] { selecoes << f->LstDescricao->ListIndex(); };
        f->TxtDescricao->SetFocus();
        const std::pair<const char*, QList<int>> casos[] = {{"H03", {10, 3}}, {"H12", {12}}, {"H99", {}}};
        for (const auto& [texto, esperado] : casos) {
            f->TxtDescricao->setText_(QString::fromLatin1(texto).chopped(1));
            selecoes.clear();
            Digita(f->TxtDescricao, QString::fromLatin1(texto).right(1));
            QCOMPARE(selecoes, esperado);
        }
    }

    void dizimistas_com_ri_e_cargo() {
        Ambiente amb;
        const QString longo = QStringLiteral("MARIA DAS GRAÇAS DO NASCIMENTO E SILVA PEREIRA DE SOUZA");  // 55 characters
        amb.Sql(QStringLiteral("INSERT INTO Dizimos (Codigo, CodIg, RI, Nome, Cargo) VALUES (3, 12, '555', 'ZÉLIA', 6), "
                               "(7, 12, '12', 'ÁLVARO NUNES', 2), (8, 12, '7', 'ALVES', NULL), (9, 12, '12345678901', ?1, 99)"),
                {longo});
        Descricoes* f = abre(amb);
        QTest::mouseClick(f->OptDizimos, Qt::LeftButton);
        QVERIFY(Roteiro::Caixas().empty());  // nothing typed: no question
        QCOMPARE(f->LblText->Caption(), QStringLiteral("Nome Completo da Pessoa"));
        const QStringList sem = {linhaDizimista({}, "ÁLVARO NUNES", "12", "2"), linhaDizimista({}, "ALVES", "7", {}),
                                 linhaDizimista({}, longo, "1234567890", "99"), linhaDizimista({}, "ZÉLIA", "555", "6")};
        QCOMPARE(Linhas(f->LstDescricao), sem);
        f->ChkCargos->setValue(1);
        QCOMPARE(Linhas(f->LstDescricao),
                 (QStringList{linhaDizimista(".", "ALVES", "7", {}), linhaDizimista(".", longo, "1234567890", "99"),
                              linhaDizimista("DC.", "ZÉLIA", "555", "6"),
                              linhaDizimista("PR.", "ÁLVARO NUNES", "12", "2")}));

        // The checks, in order, each with its message.
        Digita(f->TxtDescricao, QStringLiteral("joão \"boca\" d'ávila"));
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        CONFERE_CAIXA("Preencha Nº do R.I. Corretamente.", vbExclamation);
        Digita(f->TxtRI, QStringLiteral("12.5"));
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        CONFERE_CAIXA("Informe Nº do R.I. somente com números", vbInformation);
        f->TxtRI->setText_(QString());
        Digita(f->TxtRI, QStringLiteral("1234567890"));
        QCOMPARE(f->TxtRI->Text(), QStringLiteral("12345678"));
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        CONFERE_CAIXA("Preencha Cargo Corretamente.", vbExclamation);
        QCOMPARE(amb.Conta("SELECT count(*) FROM Dizimos"), 4);

        // Leaving the first or the ninth position puts ten zeros; others keep the RI.
        for (const auto& [indice, ri] : {std::pair{1, "12345678"}, {8, "0000000000"}, {0, "0000000000"}}) {
            f->TxtRI->setText_(QStringLiteral("12345678"));
            f->CboCargo->SetFocus();
            f->CboCargo->setListIndex(indice);
            f->TxtRI->SetFocus();
            QCOMPARE(f->TxtRI->Text(), QString::fromLatin1(ri));
        }

        // Quotes reach the file as typed: every value is bound.
        QTest::mouseClick(f->CmdEnvia, Qt::LeftButton);
        const QString nome = QStringLiteral("JOÃO \"BOCA\" D'ÁVILA");
        QCOMPARE(f->LstDescricao->List(2), linhaDizimista("CG.", nome, "0000000000", "1"));
        QCOMPARE(f->LstDescricao->ItemData(2), 10);
        QCOMPARE(amb.Le("SELECT CodIg || '|' || RI || '|' || Nome || '|' || Cargo FROM Dizimos WHERE Codigo = 10")
                     ->Fields(0).toString(),
                 "12|0000000000|" + nome + "|1");
        QVERIFY(f->TxtDescricao->Text().isEmpty() && f->TxtRI->Text().isEmpty() && f->CboCargo->ListIndex() == -1);

        // A correction takes the stored name and RI back whole; a position
        // missing from the list leaves the combo without a choice.
        Duplo_Clique(f->LstDescricao, 1);
        QCOMPARE(f->TxtDescricao->Text(), longo);
        QCOMPARE(f->TxtRI->Text(), QStringLiteral("12345678901"));
        QCOMPARE(f->CboCargo->ListIndex(), -1);
        QCOMPARE(amb.Conta("SELECT count(*) FROM Dizimos WHERE Codigo = 9"), 0);
        Roteiro::Responde(vbYes);
        Duplo_Clique(f->LstDescricao, 2);
        QCOMPARE(f->TxtDescricao->Text(), QStringLiteral("ZÉLIA"));
        QCOMPARE(f->CboCargo->Text(), QStringLiteral("DIÁCONO [DC] «6»"));

        // Changing the kind with the mouse offers to save the text first.
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->OptSaidas, Qt::LeftButton);
        CONFERE_CAIXA("Existe dado em edição. Deseja Salvar?", vbYesNo + vbQuestion);
        QVERIFY(f->OptSaidas->Value() && f->TxtDescricao->Text().isEmpty());
        QCOMPARE(amb.Conta("SELECT count(*) FROM Dizimos"), 3);
    }

    void saidas_so_para_leitura() {
        Ambiente amb;
        amb.Sql(QStringLiteral("INSERT INTO Saidas (Codigo, CodIg, Descricao) VALUES (101, 12, 'ÁGUA'), "
                               "(102, 12, 'LUZ'), (103, 12, 'agua')"));
        Descricoes* f = abre(amb);
        QTest::mouseClick(f->OptSaidas, Qt::LeftButton);
        QCOMPARE(f->LblText->Caption(), QStringLiteral("Descreva a Despesa"));
        QVERIFY(!f->CmdEnvia->isEnabled());
        QCOMPARE(Linhas(f->LstDescricao),
                 (QStringList{QStringLiteral("agua"), QStringLiteral("ÁGUA"), QStringLiteral("LUZ")}));
        f->TxtDescricao->setText_(QStringLiteral("LUZ"));
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbOK);
        Duplo_Clique(f->LstDescricao, 0);
        CONFERE_CAIXA("Este Histórico não pode ser modificado", vbInformation);
        teclaDelete(f->LstDescricao, 1, {vbYes, vbOK});
        CONFERE_CAIXA("Este Histórico não pode ser modificado", vbInformation);
        QCOMPARE(f->LstDescricao->ListCount(), 3);
        QCOMPARE(amb.Conta("SELECT count(*) FROM Saidas"), 3);
        // Closing asks nothing for an outflow text.
        QVERIFY(f->Unload());
        QVERIFY(!Roteiro::HouveInesperada());
    }
};

REGISTRA_TESTE(tst_Descricoes)
#include "tst_Descricoes.moc"
