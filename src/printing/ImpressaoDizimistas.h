#pragma once
// The two printouts of the tithers form, on the tithers' page
// (FolhaDizimistas.h):
//   - the month's list: under the title "Relação de Dizimistas do Mês de "
//     and the month, the list's lines numbered from 0001 at X 35;
//   - the yearly grid: one row per registered tither, its position, name
//     and twelve cells, "OK" for a month in which the cash book holds a
//     tithe carrying its membership number, "--" otherwise.
#include "common/LinhaLista.h"
#include "common/ListaDizimistas.h"
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

// The month's list: its lines as the list shows them, in its order, and
// the month they were read for, which its heading names ("AGOSTO / 2021")
// and its job's title too ("Relação de Dizimistas 08-2021"). True when the
// job was sent whole.
bool Imprime_Relacao_Mes(const QStringList& linhas, const Dizimistas_Mes::Mes& mes);

namespace Grade_Dizimistas {

// The grid's column heading: the name takes 30 characters and each month's
// abbreviation stands over the last three of its 4-character cell.
inline const QString Colunas =
    QStringLiteral("NOME DO DIZIMISTA             JAN FEV MAR ABR MAI JUN JUL AGO SET OUT NOV DEZ");

// The membership numbers with a tithe in each month of a year: the text
// after "RI:" of each tithe history (Marcas_Historico::Numero_RI); an entry
// without "RI:" counts for no one.
struct Dizimos_Ano {
    std::array<QSet<QString>, 12> numeros;
    bool Pagou(int mes, const QString& ri) const { return numeros[size_t(mes - 1)].contains(ri); }
};
// The church's tithes of the year, read by one query on one open file.
// Errors are raised.
Dizimos_Ano Le_Ano(const QString& codIg, const QString& ano);

// The grid row of a registered tither's row (Dizimistas_Cadastro): the
// first 29 characters of its line, then twelve cells, January first,
// "  OK" or "  --". A membership number that reads as 0 (empty, zeros, not
// a number) marks no month; any other is matched whole, as registered
// (trimmed), against the numbers of the month.
QString Busca_Dizimo(const Linha_Lista::Linha& dizimista, const Dizimos_Ano& ano);

// Prints the grid of these rows, in their order, with the marks of the
// church's year read before anything is drawn. `progresso` is told the
// number of each row printed. True when the job was sent whole.
bool Imprime_Por_Mes(const std::vector<Linha_Lista::Linha>& linhas, const QString& codIg, const QString& ano,
                     const std::function<void(int)>& progresso = {});

}  // namespace Grade_Dizimistas
