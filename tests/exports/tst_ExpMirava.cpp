// The transmission form driven from the main window's menu: the month's
// rows and totals, every finding of the check in its order with its text,
// the progress labels row by row, the pace, cancelling by a click or by
// closing the form, and the send button's refusal whenever what was
// checked is not, or no longer, the month as stored.
#include "common/LancamentosMes.h"
#include "common/Parametros.h"
#include "exports/ExpMirava.h"
#include "platform/Rede.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
const QColor Amarelo(255, 255, 0);
const QColor Preto(0, 0, 0);
const QString Recusa = "A Validação dos Dados não foi concluida.\rClique em 'Validar' e Corrija Dados Irregulares.";

// Kind, day, stored history, amount.
struct Entrada { QString tipo; int dia; QString hist; double valor; };
struct Caso { QList<Entrada> entradas; int mes; QStringList irregulares; bool validado; };
struct Passo { int linhas, linha; QString contagem, percentual; int barra; };
struct Mudanca { QString sql; QVariantList valores; int mes; int linhas; };

// A finding as listed: the row's first 50 characters and the reason.
QString achado(const QString& inicio, const QString& motivo) { return inicio.leftJustified(50) + motivo; }
}  // namespace

class tst_ExpMirava : public QObject {
    Q_OBJECT

    QList<int> pausas_;
    std::function<void()> aCadaLinha_;

    // `antes` runs once the main window has brought the file up to date.
    ExpMirava* abre(Ambiente& amb, const QList<Entrada>& entradas, int mes = 8, int ano = 2021,
                    const std::function<void()>& antes = {}) {
        int codigo = 0;
        for (const Entrada& e : entradas)
            amb.Sql("INSERT INTO LivroCaixa VALUES (?1, 12, ?2, ?3, ?4, ?5, ?6, ?7)",
                    {++codigo, ano, mes, e.dia, e.tipo, e.hist, e.valor});
        amb.Parametros(12, "SETOR", "IGREJA", "S", mes, ano);
        Principal* p = Inicia_Principal("MARIA");
        if (antes) antes();
        p->Exp_Mirava->trigger();
        Roteiro::LimpaCaixas();
        auto* f = qobject_cast<ExpMirava*>(Form::Procura("ExpMirava"));
        if (!f) qFatal("o menu não abriu a transmissão");
        return f;
    }

    // Clicks "&Validar"; the script answers the closing box.
    static void valida(ExpMirava* f) {
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdValida, Qt::LeftButton);
    }

private slots:
    void init() {
        // The send goes no further than the internet test: this machine's
        // network is no business of these tests.
        Rede::DefineConectado([] { return false; });
        pausas_.clear();
        aCadaLinha_ = nullptr;
        DefineSleep([this](int ms) {
            pausas_ << ms;
            if (aCadaLinha_) aCadaLinha_();
        });
    }
    void cleanup() {
        Rede::DefineConectado({});
        DefineSleep({});
        Fecha_Tudo();
    }

    // Offerings, tithes, outflows, each kind by day; totals to the cent from
    // the stored amounts; a negative balance blinks, a positive one stays.
    void carregaOMes() {
        Ambiente amb;
        ExpMirava* f = abre(amb, {{"S", 2, "CONTA DE LUZ CT:123", 300.1},
                                  {"D", 1, "ANA LIMA RI:00000451 DC", 100.2},
                                  {"O", 9, "CULTO", 0.1},
                                  {"O", 3, "ESCOLA", 0.2}});
        QCOMPARE(f->CboMesAno->Text(), QString("AGOSTO / 2021"));
        QCOMPARE(f->LblMensagem->Caption(), QString());
        QStringList inicios;
        for (const QString& l : Linhas(f->LstLivroCx)) inicios << l.left(8);
        QCOMPARE(inicios, (QStringList{"O 03 ESC", "O 09 CUL", "D 01 DC ", "S 02 CON"}));
        QCOMPARE(f->TxtEntradas->Text(), QString("100,50"));
        QCOMPARE(f->TxtSaidas->Text(), QString("300,10"));
        QCOMPARE(f->TxtSaldo->Text(), QString("-199,60"));
        QCOMPARE(f->LblRegs->Caption(), QString("4 Registro(s)"));
        QVERIFY(!f->Lancamentos_Validados);
        QVERIFY(f->Timer->Enabled());

        QCOMPARE(f->TxtSaldo->ForeColor(), Amarelo);
        f->Timer_Timer();
        QCOMPARE(f->TxtSaldo->ForeColor(), Preto);
        f->Timer_Timer();
        QCOMPARE(f->TxtSaldo->ForeColor(), Amarelo);
        f->TxtSaldo->setText_("0,00");
        f->Timer_Timer();
        QCOMPARE(f->TxtSaldo->ForeColor(), Amarelo);
    }

    void achados_data() {
        const QString tituloLongo = "DOAÇÃO PARA A CONSTRUÇÃO DO NOVO TEMPLO DA IGREJA 'X'";
        Tabela<Caso>({
            {"mês vazio", {{}, 8, {"Não há dados para validar"}, true}},
            {"tudo em ordem", {{{"O", 31, "CULTO", 10}, {"D", 1, "ANA RI:00000451 DC", 10}, {"S", 2, "LUZ CT:1", 5}}, 8, {}, true}},
            {"saldo negativo não bloqueia", {{{"S", 2, "LUZ CT:1", 5}}, 8, {"Saldo em R$ Inválido"}, true}},
            {"dia 31 de setembro", {{{"O", 31, "CULTO", 10}}, 9, {achado("O 31 CULTO", " (Dia Inválido)")}, false}},
            {"dia 31 de dezembro", {{{"O", 31, "CULTO", 10}}, 12, {}, true}},
            // The row's two day columns show "10": the day kept with it is read.
            {"dia de três algarismos", {{{"O", 104, "CULTO", 10}}, 8, {achado("O 104CULTO", " (Dia Inválido)")}, false}},
            {"apóstrofo", {{{"O", 5, "D'ARC", 10}}, 8, {achado("O 05 D'ARC", " (Retire o Apóstrofo)")}, false}},
            {"apóstrofo além da coluna 55", {{{"O", 5, tituloLongo, 10}}, 8,
                                             {achado("O 05 " + tituloLongo.left(45), " (Retire o Apóstrofo)")}, false}},
            {"dia errado encobre o apóstrofo, não o RI", {{{"D", 31, "D'ARC MB", 10}}, 9,
                                                         {achado("D 31 MB D'ARC", " (Dia Inválido)"),
                                                          achado("D 31 MB D'ARC", " (RI Ausente. Cadastre-o)")}, false}},
            {"RI ausente", {{{"D", 5, "ANA LIMA MB", 10}}, 8, {achado("D 05 MB ANA LIMA", " (RI Ausente. Cadastre-o)")}, false}},
            {"RI zerado não bloqueia", {{{"D", 5, "JOSE RI:00000000 CG", 10}}, 8,
                                        {achado("D 05 CG JOSE RI:00000000", " (RI Zerado. Cadastre-o)")}, true}},
            {"RI com ponto", {{{"D", 5, "ANA RI:0000.451 MB", 10}}, 8,
                              {achado("D 05 MB ANA RI:0000.451", " (Retire os Pontos do RI)")}, false}},
            {"ponto depois do nono caractere", {{{"D", 5, "ANA RI:123456789.1 MB", 10}}, 8,
                                                {achado("D 05 MB ANA RI:123456789.1", " (Retire os Pontos do RI)")}, false}},
            {"ponto depois do RI, fora dele", {{{"D", 5, "A. LIMA RI:00000451 MB", 10}}, 8, {}, true}},
            {"saída sem conta", {{{"O", 5, "CULTO", 10}, {"S", 6, "LUZ", 5}}, 8,
                                 {achado("S 06 LUZ", " (Saída sem Nº da Conta)")}, false}},
            {"ordem dos achados", {{{"O", 5, "O'", 50}, {"D", 40, "X MB", 10}, {"S", 6, "LUZ", 100}}, 9,
                                   {"Saldo em R$ Inválido", achado("O 05 O'", " (Retire o Apóstrofo)"),
                                    achado("D 40 MB X", " (Dia Inválido)"), achado("D 40 MB X", " (RI Ausente. Cadastre-o)"),
                                    achado("S 06 LUZ", " (Saída sem Nº da Conta)")}, false}},
        });
    }
    // Every reason in the order found, the row shown by its first 50
    // characters; the flag set only by a check that ended with nothing
    // blocking; the labels cleared at the end.
    void achados() {
        QFETCH(Caso, caso);
        Ambiente amb;
        ExpMirava* f = abre(amb, caso.entradas, caso.mes);
        valida(f);
        CONFERE_CAIXA("Verificação de Dados Concluida", vbInformation);
        QCOMPARE(Linhas(f->LstIrregulares), caso.irregulares);
        QCOMPARE(f->Lancamentos_Validados, caso.validado);
        QCOMPARE(f->LblAndam->Caption(), QString("0%"));
        QCOMPARE(f->LblRegAnd->Caption(), QString("0 Registro(s)"));
        QCOMPARE(f->LblProgresso->Caption(), QString());
        QCOMPARE(f->LblMensagem->Caption(), QString());
        QCOMPARE(Screen::MousePointerAtual(), 0);
        QCOMPARE(pausas_, QList<int>(caso.entradas.size(), 50));
    }

    void progresso_data() {
        Tabela<Passo>({
            {"primeira de cinco", {5, 0, "1/5 Registro(s)", "%", 0}},
            {"última guarda o percentual", {5, 4, "5/5 Registro(s)", "75%", 73}},
            {"uma só", {1, 0, "1/1 Registro(s)", "0%", 73}},
            {"milhar", {1001, 999, "1.000/1.001 Registro(s)", "100%", 73}},
            {"meio da barra", {147, 73, "74/147 Registro(s)", "50%", 36}},
        });
    }
    // The labels as they stand at the pause after a chosen row; while the
    // check runs, the status line says so and no button starts another run.
    void progresso() {
        QFETCH(Passo, caso);
        Ambiente amb;
        QList<Entrada> entradas;
        for (int i = 0; i < caso.linhas; ++i) entradas << Entrada{"O", 1 + i % 28, "CULTO", 1};
        ExpMirava* f = abre(amb, entradas);
        QString contagem, percentual, mensagem;
        int barra = -1, selecionada = -1;
        bool validaAtivo = true, exportaAtivo = true;
        aCadaLinha_ = [&] {
            if (pausas_.size() != caso.linha + 1) return;
            contagem = f->LblRegAnd->Caption();
            percentual = f->LblAndam->Caption();
            barra = f->LblProgresso->Caption().count('=');
            mensagem = f->LblMensagem->Caption();
            selecionada = f->LstLivroCx->ListIndex();
            validaAtivo = f->CmdValida->isEnabled();
            exportaAtivo = f->CmdExcel->isEnabled();
            QTest::mouseClick(f->CmdValida, Qt::LeftButton);  // refused: no nested check
            QTest::mouseClick(f->CmdExcel, Qt::LeftButton);   // refused: no send, no box
        };
        valida(f);
        CONFERE_CAIXA("Verificação de Dados Concluida", vbInformation);
        QCOMPARE(contagem, caso.contagem);
        QCOMPARE(percentual, caso.percentual);
        QCOMPARE(barra, caso.barra);
        QCOMPARE(mensagem, QString("Validando Dados. Aguarde..."));
        QCOMPARE(selecionada, caso.linha);
        QVERIFY(!validaAtivo);
        QVERIFY(!exportaAtivo);
        QCOMPARE(pausas_.size(), caso.linhas);
        QVERIFY(f->CmdValida->isEnabled());
        QVERIFY(f->CmdExcel->isEnabled());
    }

    void interrompido_data() { Tabela<bool>({{"Cancelar", false}, {"janela fechada", true}}); }
    // A click on "&Cancelar" stops the check after its current row, with
    // its message; the labels keep that row; the send then refuses until a
    // whole check succeeds. Closing the form stops it as a cancel would,
    // without a box, and the form then closes.
    void interrompido() {
        QFETCH(bool, caso);
        Ambiente amb;
        QList<Entrada> entradas;
        for (int i = 0; i < 5; ++i) entradas << Entrada{"O", i + 1, "CULTO", 1};
        QPointer<ExpMirava> f = abre(amb, entradas);
        valida(f);
        QVERIFY(f->Lancamentos_Validados);
        Roteiro::LimpaCaixas();
        pausas_.clear();
        aCadaLinha_ = [&] {
            if (pausas_.size() != 3) return;
            if (caso) QVERIFY(!f->Unload());
            else QTest::mouseClick(f->CmdCancela, Qt::LeftButton);
        };
        if (!caso) Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdValida, Qt::LeftButton);
        QCOMPARE(pausas_.size(), 3);
        if (caso) {
            QVERIFY(Roteiro::Caixas().empty());
            QTRY_VERIFY(f.isNull());
            return;
        }
        CONFERE_CAIXA("Operação Cancelada pelo Usuário", vbInformation);
        QVERIFY(!f->Lancamentos_Validados);
        QCOMPARE(f->LblRegAnd->Caption(), QString("3/5 Registro(s)"));
        QCOMPARE(f->LblAndam->Caption(), QString("50%"));
        QCOMPARE(f->LblMensagem->Caption(), QString());
        QVERIFY(f->CmdValida->isEnabled());
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        CONFERE_CAIXA(Recusa, vbExclamation);
    }

    void enviaSoOConferido_data() {
        Tabela<Mudanca>({
            {"nada mudou", {"", {}, 8, 2}},
            {"lançamento novo", {"INSERT INTO LivroCaixa VALUES (9, 12, 2021, 8, 4, 'O', 'NOVA', 1)", {}, 8, 3}},
            {"lançamento removido", {"DELETE FROM LivroCaixa WHERE Codigo = 1", {}, 8, 1}},
            {"valor corrigido", {"UPDATE LivroCaixa SET Valor = 10.01 WHERE Codigo = 2", {}, 8, 2}},
            {"histórico corrigido além da coluna 55", {"UPDATE LivroCaixa SET Historico = ?1 WHERE Codigo = 1",
                                                      {QString(50, 'C') + "'"}, 8, 2}},
            {"outro mês de trabalho", {"", {}, 9, 0}},
        });
    }
    // "&Exportar" refuses before a check; after a clean one it goes to the
    // send only while the list is the month as stored; otherwise it refuses
    // and shows the month as it is now, for the next check.
    void enviaSoOConferido() {
        QFETCH(Mudanca, caso);
        Ambiente amb;
        ExpMirava* f = abre(amb, {{"O", 1, "CULTO", 10}, {"S", 2, "LUZ CT:1", 5}});
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        CONFERE_CAIXA(Recusa, vbExclamation);

        valida(f);
        QVERIFY(f->Lancamentos_Validados);
        Roteiro::LimpaCaixas();
        if (!caso.sql.isEmpty()) amb.Sql(caso.sql, caso.valores);
        Param[9] = QString::number(caso.mes);
        const bool igual = caso.sql.isEmpty() && caso.mes == 8;
        Roteiro::Responde(vbOK);
        if (igual) Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        if (igual) {
            // The send itself began: offline, it stops at its first step.
            QCOMPARE(Roteiro::Caixas().front().prompt, QString("Não há Conexão com a Internet!\rExamine e tente novamente."));
            CONFERE_CAIXA("Operação ainda Não Concluida", vbExclamation);
            QCOMPARE(f->LblMensagem->Caption(), QString("Operação ainda Não Concluida"));
            QVERIFY(f->Lancamentos_Validados);
        } else {
            CONFERE_CAIXA(Recusa, vbExclamation);
            QVERIFY(!f->Lancamentos_Validados);
        }
        QCOMPARE(f->LstLivroCx->ListCount(), caso.linhas);
        Dinheiro e, s;
        Linha_Lista::Soma(f->LstLivroCx, e, s);
        QCOMPARE(f->TxtSaldo->Text(), (e - s).Formata());
        QCOMPARE(f->LblRegs->Caption(), caso.linhas ? QString("%1 Registro(s)").arg(caso.linhas) : " Registro(s)");
    }

    // A month that did not load whole is neither checked nor sent; the
    // next "&Validar" loads it again first.
    void cargaIncompleta() {
        Ambiente amb;
        const QString sql = amb.Le("SELECT Sql FROM Consultas WHERE Nome = ?1", {Lancamentos_Mes::Consulta()})->Texto("Sql");
        ExpMirava* f = abre(amb, {{"O", 1, "CULTO", 10}}, 8, 2021, [&] {
            amb.Sql("UPDATE Consultas SET Sql = 'SELECT x FROM Nada' WHERE Nome = ?1", {Lancamentos_Mes::Consulta()});
            Roteiro::Responde(vbNo);
        });
        QCOMPARE(f->LstLivroCx->ListCount(), 0);
        QCOMPARE(f->TxtSaldo->Text(), QString());  // no totals from a load given up

        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdValida, Qt::LeftButton);
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QVERIFY(Roteiro::Caixas().back().titulo.startsWith("<<< Ocorrência de Erro"));
        QVERIFY(pausas_.isEmpty());
        QVERIFY(!f->Lancamentos_Validados);
        Roteiro::LimpaCaixas();
        Roteiro::Responde(vbOK);
        QTest::mouseClick(f->CmdExcel, Qt::LeftButton);
        CONFERE_CAIXA(Recusa, vbExclamation);

        amb.Sql("UPDATE Consultas SET Sql = ?1 WHERE Nome = ?2", {sql, Lancamentos_Mes::Consulta()});
        valida(f);
        CONFERE_CAIXA("Verificação de Dados Concluida", vbInformation);
        QCOMPARE(f->LstLivroCx->ListCount(), 1);
        QVERIFY(f->Lancamentos_Validados);
    }
};

REGISTRA_TESTE(tst_ExpMirava)
#include "tst_ExpMirava.moc"
