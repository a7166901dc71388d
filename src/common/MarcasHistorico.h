#pragma once
// The two tags a history carries for the central system: a tithe's
// membership number after "RI:" and an outflow's account number after
// "CT:". The check of the month and its send read them here, so both see
// the same number.
#include <QString>
#include <QtGlobal>
#include <optional>

namespace Marcas_Historico {

// The text after the first "RI:" up to the next blank or the end of the
// history, whole however long ("ANA RI:00001234 MB" gives "00001234");
// no value without "RI:" (the tag itself is matched exactly).
std::optional<QString> Numero_RI(const QString& historico);

// The whole number right after the first "CT:" ("CT:4711" gives 4711);
// no value without the tag or without a digit after it, or when the digits
// do not fit 64 bits.
std::optional<qint64> Numero_Conta(const QString& historico);
// Whether the history carries the "CT:" tag at all.
bool Tem_Conta(const QString& historico);
// The whole tag from the first "CT:" up to the next blank or the end of the
// history ("PAGTO LUZ CT:123 MAIO" gives "CT:123"); "" without the tag.
QString Marca_Conta(const QString& historico);

}  // namespace Marcas_Historico
