#pragma once
// The month's cash-book entries of one kind appended to a form's list, one
// Linha_Lancamento row each, in the stored query's order. The closing, the
// transmission and the closing-statement forms load through here, each
// with its own totals and count refreshed at the end of a complete load.
//
// Every row follows the row contract (LinhaLista.h): beside its text it
// keeps the entry's kind, day, code (ItemData), history as stored and
// amounts in cents. Totals are summed from those cents, never read back
// from a 10-character cell.
#include "common/LinhaLista.h"
#include "common/Numeros.h"
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <vector>

class BancoLocal;
class ListBox;

namespace Lancamentos_Mes {

// One stored entry as its row shows it, with the values it was built from.
using Lancamento = Linha_Lista::Linha;

// An entry of a kind as its row shows it: the row built from the stored
// history (Linha_Lancamento::De_Registro), the amount kept in the column
// that shows it.
Lancamento De_Registro(qint64 codigo, const QString& tipo, int dia, const QString& historico, Dinheiro valor);
// Whether its amounts show in their cells (not as CelulaCheia).
bool Cabe(const Lancamento& l);

// The stored query's name and the order of its parameters: church code,
// year, month, kind.
QString Consulta();

// The entries of one kind for a church, year and month, as stored, in the
// query's order. Errors are raised, not handled.
std::vector<Lancamento> Le(const QString& codIg, const QString& ano, const QString& mes, const QString& sTipo);
// The same on a handle the caller already has open.
std::vector<Lancamento> Le(BancoLocal& banco, const QString& codIg, const QString& ano, const QString& mes,
                           const QString& sTipo);

// Appends the working month's entries of one kind (Param 1, 10 and 9) to
// the list, the hourglass on while it runs. Each step is retried under
// Tenta; when the user gives up, the rows already read are added and
// neither callback runs. Returns true for a complete load. When rows show
// an amount too wide for its cell, Avisa_Valores_Cheios tells the user
// once for all the loads into a list that started empty.
bool Carrega_Lancamentos(ListBox* lista, const QString& sTipo, const std::function<void()>& Calcula_Saldo,
                         const std::function<void()>& Conta_Regs);

// Tells the user that some rows show "##########" and that the totals,
// from what the rows keep, are right.
void Avisa_Valores_Cheios();

// The month's three kinds as the forms load them: offerings, tithes,
// outflows.
std::vector<Lancamento> Le_Mes(const QString& codIg, const QString& ano, const QString& mes);
std::vector<Lancamento> Le_Mes(BancoLocal& banco, const QString& codIg, const QString& ano, const QString& mes);

// The sector's congregations: the stored query's name and the order of its
// parameters (church code, year, month). The installation's own code is
// never among its rows: its figures are the month's own entries.
QString Consulta_Igrejas();

// One congregation's row each (Linha_Igreja_Setor::De_Igreja); `invalidas`
// receives the names of those whose calculation type is outside 1 to 6.
// Errors are raised, not handled.
std::vector<Lancamento> Le_Igrejas(BancoLocal& banco, const QString& codIg, const QString& ano, const QString& mes,
                                   QStringList* invalidas = nullptr);

// Appends the working month's congregation rows to the list, as
// Carrega_Lancamentos appends entries; then tells the user of each
// congregation whose calculation type is outside 1 to 6. Returns true for
// a complete load.
bool Carrega_Igrejas(ListBox* lista, const std::function<void()>& Calcula_Saldo,
                     const std::function<void()>& Conta_Regs);

// The month as the closing forms show it: offerings, tithes and outflows,
// then, unless the installation is a single congregation (`tipo` "C"),
// the sector's congregations. Each load runs even when one before it gave
// up, so the list shows what could be read; true for a complete load.
bool Carrega_Mes_Setor(ListBox* lista, const QString& tipo, const std::function<void()>& Calcula_Saldo,
                       const std::function<void()>& Conta_Regs);
// Those rows as stored now, for the working month of `codIg`. Errors are
// raised.
std::vector<Lancamento> Le_Mes_Setor(BancoLocal& banco, const QString& codIg, const QString& ano, const QString& mes,
                                     const QString& tipo);

}  // namespace Lancamentos_Mes
