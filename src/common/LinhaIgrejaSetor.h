#pragma once
// The list row of one congregation of the sector, built and read in one
// place. Its kind, inflow and outflow stand where the cash-book row has
// them (see LinhaLancamento.h), so the month's totals read both alike:
//
//   1-2   "I" and a blank
//   3-5   "01" and a blank
//   6-43  name block "VILA NOVA(0012~3)", left-aligned, cut at 38
//   44-53 the congregation's amount by its calculation type, right-aligned
//   54-55 two blanks
//   56-65 the month's entries "#,##0.00", right-aligned
//   66    a blank
//   67-76 the month's outflows "#,##0.00", right-aligned
//
// A type outside 1 to 6 (or none) keeps every width, with a zero amount.
// An amount too wide for its cell shows ten "#", as in the cash-book row.
#include "common/LinhaLista.h"
#include "common/Numeros.h"
#include <QString>
#include <QVariant>
#include <optional>

namespace Linha_Igreja_Setor {

inline constexpr int LarguraNome = 38;
inline constexpr int ColunaValor = 44;  // 1-based, as the columns above

// One congregation's month as the stored query returns it.
struct Igreja {
    QString nome;
    qint64 codCongrega = 0;
    QVariant calculo;  // the register's type; Null when it has none
    Dinheiro entradas, saidas, aluguel, agua, luz, prebenda;
};

// The type as a number 1 to 6; no value for any other (or none).
std::optional<int> Calculo(const QVariant& calculo);

// The amount of columns 44-53: 1 entries; 2 entries - outflows; 3 entries
// - rent, water and light; 4 as 3 less the stipend; 5 zero; 6 entries -
// 1000 while entries are at most 1000.01, otherwise as 4. Zero for a type
// outside 1 to 6.
Dinheiro Valor_Por_Calculo(const Igreja& ig);

// "VILA NOVA(0012~3)": the name, the code in four digits, the type as
// stored.
QString Bloco_Nome(const Igreja& ig);

QString Monta(const Igreja& ig);
// The row with its values (LinhaLista.h): kind "I", day 1, the
// congregation's code and name, its entries and outflows, and its amount
// by calculation type.
Linha_Lista::Linha De_Igreja(const Igreja& ig);

struct Linha {
    QString nome;      // columns 6-43, trimmed
    Dinheiro valor;    // columns 44-53
    Dinheiro entrada;  // columns 56-65
    Dinheiro saida;    // columns 67-76
};

// Reads an "I" row. A money cell that holds no amount raises error 13.
Linha Le(const QString& linha);

}  // namespace Linha_Igreja_Setor
