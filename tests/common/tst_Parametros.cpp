// Loading the installation's parameters, the month names and the menu items
// that only sectors and regions use.
#include "common/Parametros.h"
#include "platform/App.h"
#include "platform/Erro.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "shell/Principal.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QFile>
#include <QTest>

namespace {
QString Versao() { return QStringLiteral("Zuvevozo Ruverirora 1.0.") + QString::number(App::Revision); }
}

class tst_Parametros : public QObject {
    Q_OBJECT

private slots:
    void init() {
        for (QString& p : Param) p.clear();
    }

    void tabela_vazia_da_valores_padrao() {
        Ambiente amb;
        Relogio::Define(QDateTime(QDate(2024, 3, 15), QTime(10, 0)));
        Carrega_Parametros();
        QCOMPARE(Param[1], QStringLiteral("0000"));
        QCOMPARE(Param[2], QStringLiteral("NADA CONSTA"));
        QCOMPARE(Param[3], QStringLiteral("NADA CONSTA"));
        QCOMPARE(Param[4], QStringLiteral("NADA CONSTA"));
        QCOMPARE(Param[8], QStringLiteral("C"));
        QCOMPARE(Param[9], QStringLiteral("3"));
        QCOMPARE(Param[10], QStringLiteral("2024"));
        QCOMPARE(Param[11], QStringLiteral(TESOURARIA_SERVIDOR_CENTRAL));
        QCOMPARE(Param[99], Versao() + QStringLiteral(" - NADA CONSTA / NADA CONSTA"));
        QVERIFY(Param[5].isEmpty() && Param[98].isEmpty());
        QCOMPARE(Screen::MousePointerAtual(), 0);
        QVERIFY(Roteiro::Caixas().empty());
    }

    void linha_da_tabela() {
        Ambiente amb;
        amb.Parametros(12, QStringLiteral("SETOR NORTE"), QStringLiteral("VILA NOVA"), QStringLiteral("S"), 8, 2021);
        Recarrega_Parametros();
        QCOMPARE(Param[1], QStringLiteral("0012"));
        QCOMPARE(Param[2], QStringLiteral("IGREJA CENTRAL"));
        QCOMPARE(Param[3], QStringLiteral("SETOR NORTE"));
        QCOMPARE(Param[4], QStringLiteral("VILA NOVA"));
        QCOMPARE(Param[8], QStringLiteral("S"));
        QCOMPARE(Param[9], QStringLiteral("8"));
        QCOMPARE(Param[10], QStringLiteral("2021"));
        QCOMPARE(Param[99], QLatin1Char(' ') + Versao() + QStringLiteral(" - SETOR NORTE / VILA NOVA / AGOSTO-2021"));

        // Code 7 and a null name; an empty month gives a title without its name.
        amb.Sql(QStringLiteral("UPDATE Parametros SET Codigo = ?, Razao = NULL, Mes = NULL"), {7});
        Carrega_Parametros();
        QCOMPARE(Param[1], QStringLiteral("0007"));
        QCOMPARE(Param[2], QString());
        QCOMPARE(Param[9], QString());
        QCOMPARE(Param[99], QLatin1Char(' ') + Versao() + QStringLiteral(" - SETOR NORTE / VILA NOVA / -2021"));
    }

    void mes_impossivel_passa_pelo_tratamento_de_erro() {
        Ambiente amb;
        amb.Parametros(12, QStringLiteral("SETOR NORTE"), QStringLiteral("VILA NOVA"), QStringLiteral("S"), 13, 2021);
        Param[99] = QStringLiteral("anterior");
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        Carrega_Parametros();
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QStringLiteral("<<< Ocorrência de Erro 9 >>>"));
        // What was stored before the failure stays.
        QCOMPARE(Param[9], QStringLiteral("13"));
        QCOMPARE(Param[11], QStringLiteral(TESOURARIA_SERVIDOR_CENTRAL));
        QCOMPARE(Param[99], QStringLiteral("anterior"));
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void banco_ausente_pergunta_e_desiste() {
        Ambiente amb;
        QVERIFY(QFile::remove(amb.Arquivo()));
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        Carrega_Parametros();
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QVERIFY(Roteiro::Caixas()[1].titulo.startsWith(QStringLiteral("<<< Ocorrência de Erro ")));
        QVERIFY(Param[1].isEmpty());
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void mostra_mes_ano() {
        Ambiente amb;
        TextBox txt;
        ComboBox cbo(nullptr, 0);
        txt.setText(QStringLiteral("intacto"));
        Mostra_Mes_Ano(&txt);  // no row: unchanged
        QCOMPARE(txt.Text(), QStringLiteral("intacto"));
        amb.Parametros(1, QStringLiteral("S"), QStringLiteral("C"), QStringLiteral("C"), 3, 2021);
        Mostra_Mes_Ano(&txt);
        Mostra_Mes_Ano(&cbo);
        QCOMPARE(txt.Text(), QStringLiteral("MARÇO / 2021"));
        QCOMPARE(cbo.Text(), QStringLiteral("MARÇO / 2021"));
        // It reads the table, not Param.
        QVERIFY(Param[9].isEmpty());
        amb.Sql(QStringLiteral("UPDATE Parametros SET Mes = NULL"));
        QVERIFY_THROWS_EXCEPTION(ErroExecucao, Mostra_Mes_Ano(&txt));
    }

    void nome_mes() {
        QCOMPARE(Nome_Mes(12, {}), QStringLiteral("DEZEMBRO"));
        QCOMPARE(Nome_Mes(3, QStringLiteral("JANEIRO")), QStringLiteral("MARÇO"));
        QCOMPARE(Nome_Mes(0, QStringLiteral("MARÇO")), QStringLiteral("03"));
        QCOMPARE(Nome_Mes(-1, QStringLiteral("DEZEMBRO")), QStringLiteral("12"));
        QCOMPARE(Nome_Mes(0, QStringLiteral("março")), QString());
        QCOMPARE(Nome_Mes(0, {}), QString());
        try {
            Nome_Mes(13, {});
            QFAIL("month 13 accepted");
        } catch (const ErroExecucao& e) {
            QCOMPARE(e.Number, 9L);
        }
    }

    void habilita_menus() {
        Habilita_Menus();  // without a main window: nothing to do
        Principal p;
        const QList<QAction*> itens = {p.Igr_Setor, p.Rem_Mat, p.Set_Igr, p.Exp_Termo};
        for (const char* tipo : {"C", "c", "S", "", "R"}) {
            Param[8] = QString::fromLatin1(tipo);
            Habilita_Menus();
            for (QAction* a : itens) QCOMPARE(a->isEnabled(), Param[8] != QLatin1String("C"));
        }
        QVERIFY(p.Liv_Cx->isEnabled());
    }
};

REGISTRA_TESTE(tst_Parametros)
#include "tst_Parametros.moc"
