#pragma once
// One central entries row of the month's send: the statement and the
// values of a list row, in the column order of the central table. The
// kind, day, amount and stored history come from the values the row keeps
// (LinhaLista.h); only the history as shown is taken from its text.
#include "common/Central.h"
#include "common/LancamentosMes.h"
#include <QDateTime>
#include <QString>
#include <QVariantList>

namespace Envio_Mirava {

// The working month and where its rows go.
struct Mes {
    Mes(int mes, int ano, qint64 setor, qint64 congregacao, qint64 caixa);
    int mes = 0, ano = 0;
    qint64 setor = 0, congregacao = 0, caixa = 0;
    QString referencia;   // "MMYYYY"
    QString prefixoData;  // "YYYY-MM-", the day follows
};

// A tithe's payer: a membership number above zero, or else the name of
// another payer (empty when the row names none).
struct Membro {
    qint64 membro = 0;
    QString outro;
};
Membro Le_Membro(const QString& celula, const QString& historico);

// Rows sent by one statement at most.
inline constexpr int Grupo = 50;

// The insert of `linhas` rows with a placeholder per column: 57 for a
// tithe (nomeoutro included), 56 otherwise.
QString Insert(const QString& tabela, bool dizimo, int linhas);

// The moment a row is sent as its columns hold it: the time (`hora`) and
// the date and time (`horario`).
struct Instante {
    QString hora, horario;
};
Instante Marca(const QDateTime& agora);

// Row i of the list as the insert's values, appended to v; conta is the
// reduced account of an outflow.
void Valores(ValoresCentral& v, const Mes& mes, int i, const Lancamentos_Mes::Lancamento& l, qint64 conta,
             const Instante& agora);

}  // namespace Envio_Mirava
