// The local record of the months sent, on a file made by our schema, on an
// older one without the table and on one whose table has other columns.
#include "common/Banco.h"
#include "common/Parametros.h"
#include "common/Transmissao.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QtTest>

namespace {
// What the file holds before, and after the month 8/2021 was recorded on
// 31/08/2021 14:05:09 and then again a day later; "-" none readable.
struct Arquivo { QString criacao, antes, depois; };
const QString Outros = "INSERT INTO Transmissao VALUES (7, 2021, '2021-08-01', 'ANA'), (8, 2021, '2021-09-01', 'ANA'), "
                       "(8, 2022, '2022-09-01', 'ANA')";
}  // namespace

class tst_Transmissao : public QObject {
    Q_OBJECT

    static QString registros(Ambiente& amb) {
        QStringList r;
        if (ErroDe([&] { r = amb.Linhas("SELECT Mes, Ano, Data, Usuario FROM Transmissao ORDER BY Ano, Mes"); })) return "-";
        return r.join(';').replace('|', '/');
    }

private slots:
    void registra_e_elimina_data() {
        Tabela<Arquivo>({{"arquivo do esquema",
                          {Outros, "7/2021/2021-08-01/ANA;8/2021/2021-09-01/ANA;8/2022/2022-09-01/ANA",
                           "7/2021/2021-08-01/ANA;8/2021/2021-09-02 08:00:00/D'ARC;8/2022/2022-09-01/ANA"}},
                         {"arquivo antigo sem a tabela", {"DROP TABLE Transmissao", "-", "8/2021/2021-09-02 08:00:00/D'ARC"}},
                         {"tabela de outras colunas",
                          {"DROP TABLE Transmissao; CREATE TABLE Transmissao (Mes integer, Ano integer)", "-", "-"}}});
    }
    // The send's step: the old record removed and the new one written in
    // one unit, the user bound as typed. Rolled back, the file is as it was
    // (no table half-made); committed, the month has one row, the others
    // theirs. A table without the readers' column is never altered: the
    // record fails and says so.
    void registra_e_elimina() {
        QFETCH(Arquivo, caso);
        Ambiente amb;
        for (const QString& sql : caso.criacao.split("; ")) amb.Sql(sql);
        Param[9] = "8";
        Param[10] = "2021";
        Nome_Usuario = "D'ARC";
        Relogio::Define(QDateTime(QDate(2021, 8, 31), QTime(14, 5, 9)));
        const bool tem = caso.antes != "-";
        QCOMPARE(Tem_Tabela(), tem);
        {
            UnidadeTrabalho u;
            Elimina_Transmissao(u);
            if (caso.depois != "-") Registra_Transmissao(u);
        }
        QCOMPARE(registros(amb), caso.antes);
        QCOMPARE(Tem_Tabela(), tem);

        Roteiro::Responde(vbNo);
        const bool gravou = Tenta_Unidade([](UnidadeTrabalho& u) {
            Elimina_Transmissao(u);
            Registra_Transmissao(u);
        });
        QCOMPARE(gravou, caso.depois != "-");
        QCOMPARE(Roteiro::Pendentes(), gravou ? 1 : 0);
        if (!gravou) {
            QCOMPARE(Roteiro::Caixas().back().titulo, QString("<<< Ocorrência de Erro 3010 >>>"));
            QCOMPARE(ErroDe([] { Elimina_Transmissao(); }), 0L);
            return;
        }
        // Sent again a day later: still one row for the month.
        Relogio::Define(QDateTime(QDate(2021, 9, 2), QTime(8, 0, 0)));
        Elimina_Transmissao();
        Registra_Transmissao();
        QCOMPARE(registros(amb), caso.depois);
    }
};

REGISTRA_TESTE(tst_Transmissao)
#include "tst_Transmissao.moc"
