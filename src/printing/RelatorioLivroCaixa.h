#pragma once
// The month's closing of the cash book on A4, over the printed form.
#include "common/LinhaLista.h"
#include "common/Numeros.h"
#include <QString>
#include <vector>

// What the closing form hands to the printout: the report sums its own
// totals from the rows' values; the church, names, month and year come
// from the parameters.
struct Fechamento_Mensal {
    std::vector<Linha_Lista::Linha> linhas;  // the closing list's rows, in list order
    Dinheiro saldoAnterior;    // the previous month's balance typed on the form
    Dinheiro remessas;         // the month's remittances to the head church
    QString deslocaEsquerda;   // the offset boxes' texts, in millimetres
    QString deslocaTopo;
};

// Prints the report on the program's printer. True when the job was sent
// whole; false when it was abandoned (nothing half-printed is sent).
bool Imprime_Mov_Mensal(const Fechamento_Mensal& dados);
