#pragma once
// Numbers the Brazilian way, whatever the machine's locale: a comma before
// the decimals and a point between thousands.
//
// Two different questions are kept apart:
//  - "is this text a number?" (E_Numerico, Para_Numero) follows the lenient
//    regional reading the forms rely on: points are thousands separators
//    wherever they stand, so "12.5" is a number (125);
//  - an amount of money (Dinheiro::Le) is accepted only in a well-formed
//    Brazilian form ("1234,56", "1.234,56", "-50", "0,5"); "1234.56" and
//    "1.23,4" are refused, never read as another amount.
// Every amount, typed, shown, bound or stored, goes through Dinheiro: its
// cents are the value, and a double appears only where the file's REAL
// column needs one.
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <compare>
#include <optional>

class QVariant;

// A number written the strict Brazilian way: optional blanks around, an
// optional sign, digits with points between groups of three ("1.234") or
// without points, an optional comma followed by decimals (",5" too).
// The parts are views into the text given.
struct Decimal_Escrito {
    bool negativo = false;
    QStringView inteiro;  // digits and their group points; may be empty
    QStringView fracao;   // the digits after the comma; may be empty
};
std::optional<Decimal_Escrito> Le_Decimal_Escrito(QStringView texto);

// Whether the value is held as a number (an integer or floating type), as
// opposed to a text that may read as one.
bool E_Tipo_Numerico(const QVariant& valor);

// Lenient regional test: optional blanks and sign, digits with points
// anywhere after the first digit, an optional comma and decimals
// (",5" too). The empty text is not a number.
bool E_Numerico(const QString& texto);

// The text read by the same lenient rule ("1.234,50" gives 1234.5). A text
// that is not a number raises error 13.
double Para_Numero(const QString& texto);
// The same reading when it gives a whole number of 64 bits ("1.099.511.627.777"
// or "12,00"), exact, without passing through a double; otherwise no value.
std::optional<qint64> Para_Inteiro(const QString& texto);

// A text given to a 16-bit whole number, as an answer typed for a count:
// read by the lenient rule (Para_Numero) and rounded halves to even ("2,5"
// is 2); error 13 for a text that is not a number (the empty text too),
// 6 for one outside -32768..32767.
qint16 Para_Inteiro16(const QString& texto);

// The number at the start of the text, blanks ignored, with a point as the
// decimal separator, up to the first character that cannot continue it
// ("0,50" gives 0, "12abc" gives 12, "" gives 0).
double Val(const QString& texto);

// Number formats of the forms:
//   "0000", "00"            at least that many digits (12 -> "0012")
//   "#,##0.00"              1234.5 -> "1.234,50", -0.5 -> "-0,50"
//   "#,###"                 0 -> "", 1234 -> "1.234"
//   "#,### Registro(s)"     0 -> " Registro(s)", 1234 -> "1.234 Registro(s)"
//   "###%"                  the value times 100: 0.5 -> "50%", 0 -> "%"
// Literal text before and after the digits is kept; rounding is to the
// nearest, halves away from zero, on the number's decimal digits.
QString Formata(double valor, const QString& padrao);
// A text that is a number (E_Numerico) is formatted as that number; any
// other text (the empty text too) comes back unchanged.
QString Formata(const QString& texto, const QString& padrao);

// An amount of money, exact to the cent.
class Dinheiro {
public:
    constexpr Dinheiro() = default;
    static constexpr Dinheiro DeCentavos(qint64 c) { return Dinheiro(c); }
    // The nearest cent of a number (halves away from zero, on the number's
    // shortest decimal form): the one rounding of a stored REAL.
    static Dinheiro DeNumero(double valor);
    // A well-formed Brazilian amount (Le_Decimal_Escrito), at most two
    // decimals and sixteen whole digits; otherwise no value.
    static std::optional<Dinheiro> Le(QStringView texto);
    static std::optional<Dinheiro> Le(const QString& texto) { return Le(QStringView(texto)); }
    // A decimal as a server or SQL writes it: "1234.56", "-0.5", "12";
    // rounded to the cent as DeNumero rounds. No value for any other text.
    static std::optional<Dinheiro> DeDecimal(QStringView texto);
    // A money field read back: Null is zero, a REAL goes through DeNumero,
    // a whole number counts whole units, an exact text (a DECIMAL sent by
    // the central server) through DeDecimal. Anything else raises error 13.
    static Dinheiro DeCampo(const QVariant& campo);

    constexpr qint64 Centavos() const { return c_; }
    // The REAL the local file keeps for the amount: the cents divided once.
    double Numero() const { return double(c_) / 100.0; }
    QString Formata() const;  // "#,##0.00": "1.234,56", "-0,50"
    QString Texto() const;    // without thousands separators: "1234,56"

    constexpr Dinheiro operator-() const { return Dinheiro(-c_); }
    constexpr Dinheiro operator+(Dinheiro o) const { return Dinheiro(c_ + o.c_); }
    constexpr Dinheiro operator-(Dinheiro o) const { return Dinheiro(c_ - o.c_); }
    constexpr Dinheiro& operator+=(Dinheiro o) { c_ += o.c_; return *this; }
    constexpr Dinheiro& operator-=(Dinheiro o) { c_ -= o.c_; return *this; }
    constexpr auto operator<=>(const Dinheiro&) const = default;

private:
    constexpr explicit Dinheiro(qint64 c) : c_(c) {}
    qint64 c_ = 0;
};

// A value box's text brought to "#,##0.00" when it is a well-formed amount;
// any other text comes back unchanged (for the LostFocus of value boxes).
QString Formata_Valor(const QString& texto);
