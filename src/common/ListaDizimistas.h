#pragma once
// The tithers as the printing and export forms list them, read and built
// here only. Two kinds of rows, each under the row contract (LinhaLista.h):
//
//   the month's tithers (Dizimistas_Mes): one row per tithe entry of the
//   working month, read from the cash book. The tithers list form (its
//   list and its printout) and the TV page form show them, each on its own
//   list and "Mostra Cargo" box: Le is the read, free of any widget, and
//   Carrega fills a list box with it, reading the working month anew at
//   every load and handing back the month it read, so a heading or a
//   title names the month of the rows under it.
//
//   the register's tithers (Dizimistas_Cadastro): one row per tither of
//   the church, with the membership number kept whole beside the row (the
//   yearly grid matches it against the cash book's histories).
//
// A month's row from a stored tithe history H, "NAME RI:number CG", of L
// characters:
//   positions not shown   H's first L - 3 characters: "NAME RI:number"
//   positions shown       H's last 2 characters, ". ", then the same:
//                         "CG. NAME RI:number"
// The last three characters go whatever they are ("ANA PAULA" gives
// "ANA PA"). A history shorter than three characters, or Null (the empty
// text), keeps no name: "A" gives "" and, with positions, "A. ".
#include "common/LinhaLista.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class ListBox;

namespace Dizimistas_Mes {

// A month of a church as the parameters hold it ("0012", "2021", "8").
struct Mes {
    QString codIg, ano, mes;
    // "AGOSTO / 2021", as Mostra_Mes_Ano shows it; a month outside 1 to 12
    // shows its number.
    QString Texto() const;
};
// The working month as the parameters hold it now (Param 1, 10 and 9).
Mes Mes_De_Trabalho();

// The stored query and the order of its parameters: church code, year,
// month. It returns the month's tithe entries, field Historico.
QString Consulta();

// The row of one tithe entry (above), with its stored history beside it.
Linha_Lista::Linha De_Historico(const QString& historico, bool cargo);

// The month's rows in the query's order. Errors are raised, not handled.
std::vector<Linha_Lista::Linha> Le(const Mes& mes, bool cargo);

// Empties the list and fills it with the rows of the working month read
// now, the hourglass on. Each step is retried under Tenta. A complete load
// runs Conta_Regs and returns the month it read; when the user gives up,
// the rows read so far stay, the count is left as it was, and no month is
// returned (nothing is to be printed or written from such a list).
std::optional<Mes> Carrega(ListBox* lista, bool cargo, const std::function<void()>& Conta_Regs);

}  // namespace Dizimistas_Mes

namespace Dizimistas_Cadastro {

// The row of a registered tither (Linha_Dizimista::Monta, 65 characters:
// position code and ".", name, membership number trimmed), the name and
// the trimmed membership number beside it. A Null field is the empty text.
Linha_Lista::Linha De_Registro(const QString& abreviado, const QString& nome, const QString& ri);

// The church's tithers (ProcPesqDizimos), in the query's order. Errors are
// raised, not handled.
std::vector<Linha_Lista::Linha> Le(const QString& codIg);

// Empties the list and fills it with the tithers of the church Param(1),
// the hourglass on, each step retried under Tenta. True for a complete
// load, which then runs Conta_Regs; when the user gives up, the rows read
// so far stay and the count is left as it was.
bool Carrega(ListBox* lista, const std::function<void()>& Conta_Regs);

}  // namespace Dizimistas_Cadastro
