// Loading the installation's parameters and the month names.
#include "common/Parametros.h"
#include "platform/App.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QTest>

namespace {
QString Versao() { return "Zuvevozo Ruverirora 1.0." + QString::number(App::Revision); }
struct Mes { int mes; QString nome, esperado; long erro = 0; };
QStringList Lidos() { return {Param[1], Param[2], Param[3], Param[4], Param[8], Param[9], Param[10], Param[99]}; }
}  // namespace

class tst_Parametros : public QObject {
    Q_OBJECT

private slots:
    void init() {
        for (QString& p : Param) p.clear();
    }

    void carregaATabelaOuOsPadroes() {
        Ambiente amb;
        Relogio::Define(QDateTime(QDate(2024, 3, 15), QTime(10, 0)));
        Carrega_Parametros();  // no row: defaults, the year from the clock
        QCOMPARE(Lidos(), QStringList({"0000", "NADA CONSTA", "NADA CONSTA", "NADA CONSTA", "C", "3", "2024",
                                       Versao() + " - NADA CONSTA / NADA CONSTA"}));
        QCOMPARE(Param[11], QString(TESOURARIA_SERVIDOR_CENTRAL));

        amb.Parametros(12, "SETOR NORTE", "VILA NOVA", "S", 8, 2021);
        Recarrega_Parametros();
        QCOMPARE(Lidos(), QStringList({"0012", "IGREJA CENTRAL", "SETOR NORTE", "VILA NOVA", "S", "8", "2021",
                                       " " + Versao() + " - SETOR NORTE / VILA NOVA / AGOSTO-2021"}));
        // Code 7 and a null name; an empty month gives a title without its name.
        amb.Sql("UPDATE Parametros SET Codigo = ?, Razao = NULL, Mes = NULL", {7});
        Carrega_Parametros();
        QCOMPARE(Lidos(), QStringList({"0007", "", "SETOR NORTE", "VILA NOVA", "S", "", "2021",
                                       " " + Versao() + " - SETOR NORTE / VILA NOVA / -2021"}));
        QVERIFY(Roteiro::Caixas().empty());

        // A failure goes through the error handler.
        amb.Sql("UPDATE Parametros SET Mes = 13");
        Param[99] = "anterior";
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        Carrega_Parametros();
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("<<< Ocorrência de Erro 9 >>>"));
        // What was stored before the failure stays.
        QCOMPARE(Param[9], QString("13"));
        QCOMPARE(Param[99], QString("anterior"));
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void nomeMes_data() {
        Tabela<Mes>({{"pelo número", {12, "", "DEZEMBRO"}},
                     {"o número antes do nome", {3, "JANEIRO", "MARÇO"}},
                     {"pelo nome, com dois dígitos", {0, "MARÇO", "03"}},
                     {"nome em minúsculas não é achado", {0, "março", ""}}, {"mês inexistente", {13, "", "", 9}}});
    }
    void nomeMes() {
        QFETCH(Mes, caso);
        QString nome;
        QCOMPARE(ErroDe([&] { nome = Nome_Mes(caso.mes, caso.nome); }), caso.erro);
        QCOMPARE(nome, caso.esperado);
    }
};

REGISTRA_TESTE(tst_Parametros)
#include "tst_Parametros.moc"
