#pragma once
// The department ledger's list row, built and read in one place: the
// ledger shows it and the departments' closing report prints it, so both
// read the same columns.
//
//   1-3   day "00" and a blank
//   4-5   kind ("E" entry, "S" exit) and a blank
//   6-55  history, left-aligned, cut at 50
//   56-65 entry "#,##0.00", right-aligned, or "----" on an "S" row
//   66    a blank
//   67-76 exit, right-aligned, or "----" on an "E" row
//
// A stored row of any other kind ends after the history (55 characters).
// Widths are in characters, never bytes.
#include "common/LinhaLista.h"
#include "common/Numeros.h"
#include <QString>

namespace Linha_Lancamento_Depto {

inline constexpr int Largura = 76;
inline constexpr int LarguraHistorico = 50;
inline constexpr int ColunaEntrada = 56;  // 1-based, as the columns above
inline constexpr int ColunaSaida = 67;

// Whether the amount, formatted, fits its 10-character cell.
bool Cabe(Dinheiro valor);

// The row of one entry: the amount goes to the entry column for "E", to
// the exit column for "S"; any other kind has no value columns. An amount
// that does not fit its cell shows ten "#", never a cut figure.
QString Monta(int dia, const QString& tipo, const QString& historico, Dinheiro valor);
// The row of one stored entry with its values (LinhaLista.h): its code,
// day, kind and history as stored; the amount where the row shows it (an
// entry's inflow, an exit's outflow, none for another kind).
Linha_Lista::Linha De_Registro(qint64 codigo, int dia, const QString& tipo, const QString& historico, Dinheiro valor);

struct Linha {
    QString dia;        // columns 1-2 as they stand ("05")
    QString tipo;       // column 4
    QString historico;  // columns 6-55, trimmed
    Dinheiro entrada;   // columns 56-65; "----" or absent is 0
    Dinheiro saida;     // columns 67-76; "----" or absent is 0
};

// Reads a row. A money cell that holds neither an amount nor "----" raises
// error 13.
Linha Le(const QString& linha);

}  // namespace Linha_Lancamento_Depto
