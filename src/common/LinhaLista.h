#pragma once
// The row contract of the lists whose rows are totalled, printed or sent
// (the cash book's month, the sector's congregations, a department's
// ledger, the month's tithers, the register's tithers): each row carries
// the text the user sees and the values its builder made it from, and
// everything after the builder reads the values. A display cell is never
// read back as a number: a 10-character cell shows "##########" for an
// amount too wide for it, a history cell cuts at 50 characters, a day cell
// is two digits.
//
// Builders (each makes the text and the values together, in src/common):
//   Lancamentos_Mes::De_Registro     a cash-book entry (Linha_Lancamento)
//   Linha_Igreja_Setor::De_Igreja    a congregation's month (Linha_Igreja_Setor)
//   Linha_Lancamento_Depto::De_Registro   a department's entry
//   Dizimistas_Mes::De_Historico   a tithe of the month (the tithers list,
//                                  the TV page)
//   Dizimistas_Cadastro::De_Registro   a registered tither (the yearly grid)
// Printouts and exports take from a row its kind, day, code, amounts and
// stored history from the values, and only the texts they print or send as
// shown (the history cell) from its text.
//
// A list keeps the values beside each row's text (one item role), and its
// ItemData is the row's code, so a form deletes by ItemData as before.
#include "common/Numeros.h"
#include <QString>
#include <QtGlobal>
#include <vector>

class ListBox;

namespace Linha_Lista {

struct Linha {
    QString linha;       // the text the list shows
    QString tipo;        // kind: "O", "D", "S" or "I" in the cash book's lists, "E" or "S" in a ledger's
    int dia = 0;         // day of the month (1 on a congregation's row)
    qint64 codigo = 0;   // the stored record's code; a congregation's code
    QString historico;   // the history as stored, whole; a congregation's or a tither's name
    QString ri;          // a registered tither's membership number, trimmed, however long
    Dinheiro entrada;    // the amount the inflow column shows; 0 where it shows "----"
    Dinheiro saida;      // the amount the outflow column shows; 0 where it shows "----"
    Dinheiro calculado;  // a congregation's amount by its calculation type
    bool operator==(const Linha&) const = default;
};

// Appends rows with their values (a sorted list puts each where AddItem
// would).
void Adiciona(ListBox* lista, const Linha& l);
void Adiciona(ListBox* lista, const std::vector<Linha>& ls);
// Row i as its builder made it.
Linha Da_Lista(const ListBox* lista, int i);
// Every row, in the list's order.
std::vector<Linha> Da_Lista(const ListBox* lista);
// The list's inflows and outflows, from the values.
void Soma(const ListBox* lista, Dinheiro& entradas, Dinheiro& saidas);
// Whether the list holds exactly these rows, in this order, texts and
// values alike.
bool Confere(const ListBox* lista, const std::vector<Linha>& esperados);

}  // namespace Linha_Lista
