#pragma once
// The cash book's list row, built and read in one place. Every form that
// shows, prints, sends or totals the month's entries goes through here, so
// the columns can never drift apart between them.
//
//   1-2   kind ("D" tithe, "O" offering, "S" outflow, "I" a sector
//         congregation's figures) and a blank
//   3-5   day "00" and a blank
//   6-55  history, left-aligned, cut at 50; a tithe shows its two-letter
//         position first: "MB MARIA SILVA RI:00012345"
//   56-65 inflow "#,##0.00", right-aligned, or "----"
//   66    a blank
//   67-76 outflow "#,##0.00", right-aligned, or "----"
//
// An amount too wide for its cell (a file may hold one from before the
// save refused them) shows ten "#", as a spreadsheet shows a number too
// wide for its column: a cut figure could be read as another amount.
//
// Widths are in characters, never bytes: "JOÃO" takes four columns.
#include "common/Numeros.h"
#include <QString>
#include <optional>

namespace Linha_Lancamento {

inline constexpr int Largura = 76;
inline constexpr int LarguraHistorico = 50;
inline constexpr int LarguraValor = 10;
inline constexpr int ColunaEntrada = 56;  // 1-based, as the columns above
inline constexpr int ColunaSaida = 67;

// Whether the amount, formatted, fits its 10-character cell. An amount that
// does not would be cut and read back as another number.
bool Cabe(Dinheiro valor);
// The cell of an amount that does not fit.
inline const QString CelulaCheia = QStringLiteral("##########");

// A row from its cells; an absent amount writes "----".
QString Monta(const QString& tipo, int dia, const QString& historico, std::optional<Dinheiro> entrada,
              std::optional<Dinheiro> saida);
// A row of one entry as typed or shown: the amount goes to the outflow
// column for "S" and to the inflow column for every other kind.
QString Monta(const QString& tipo, int dia, const QString& historico, Dinheiro valor);
// A row of one stored entry: as above, with a tithe's stored history
// brought to its shown form first (Historico_Dizimo::Exibido).
QString De_Registro(const QString& tipo, int dia, const QString& historicoArmazenado, Dinheiro valor);

struct Linha {
    QString tipo;       // column 1
    QString dia;        // columns 3-4 as they stand ("05")
    QString historico;  // columns 6-55, trimmed
    QString cargo;      // columns 6-7 (a tithe's position)
    QString nome;       // columns 9-55, trimmed (a tithe's name and membership tag)
    Dinheiro entrada;   // columns 56-65; "----" or blank is 0
    Dinheiro saida;     // columns 67-76; "----" or blank is 0
};

// Reads a row. A money cell that holds neither an amount nor "----" raises
// error 13 (a row cut or written by hand is never read as another amount),
// and so does a CelulaCheia: its amount is only in what the row keeps.
Linha Le(const QString& linha);
// One money cell of a row: ColunaEntrada or ColunaSaida.
Dinheiro Valor(const QString& linha, int coluna);
// The stored form of a tithe row's history: name and membership tag, a
// blank and the position ("MARIA SILVA RI:00012345 MB").
QString Historico_Dizimo(const Linha& l);

// Adds a row's amounts to the month's totals by its kind: "S" counts its
// outflow, "I" both columns, any other kind its inflow.
void Soma(const QString& linha, Dinheiro& entradas, Dinheiro& saidas);

}  // namespace Linha_Lancamento
