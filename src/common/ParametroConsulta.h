#pragma once
// The parameters of the stored queries: each has a declared type, and its
// value arrives as text that is converted the Brazilian way, whatever the
// machine's locale ("1.234,56" is 1234.56, "05" is 5, "31/08/2021 14:05" a
// date and time). A text that does not convert raises error 3421.
#include <QString>
#include <QVariant>
#include <optional>

namespace ParametroConsulta {

enum class Tipo { Text, Long, Integer, Byte, Currency, Double, DateTime, Boolean };

// "Long" -> Tipo::Long (case-insensitive); no value for an unknown name.
std::optional<Tipo> TipoDeNome(QStringView nome);
QString NomeDoTipo(Tipo tipo);

// The value to bind for a text entry of the type:
//  Text      the text unchanged (QString);
//  Long      whole number of 32 bits, rounded half to even like CLng (qlonglong);
//  Integer   whole number of 16 bits, same rounding; Byte 0 to 255;
//  Currency  an amount (Dinheiro::Le: at most two decimals), bound as the
//            nearest double of its cents (double); an amount that double
//            would not give back to the cent is refused;
//  Double    double;
//  DateTime  dd/mm/yyyy with an optional hh:mm or hh:mm:ss, as the text
//            "yyyy-MM-dd HH:mm:ss" (QString);
//  Boolean   "Verdadeiro"/"True" or "Falso"/"False" (any case) or a number,
//            non-zero being true; bound as 1 or 0 (qlonglong).
// Numbers are written as Le_Decimal_Escrito reads them. Anything else
// raises 3421.
QVariant Converte(Tipo tipo, const QString& texto);

}  // namespace ParametroConsulta
