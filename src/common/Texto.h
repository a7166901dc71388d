#pragma once
// Text, key and field helpers shared by the forms: fixed-width columns of
// the list rows, the key filter of the KeyPress handlers, the field checks
// of the save buttons, weekday names and small date and number readings.
#include <QString>
#include <QVariant>
#include <initializer_list>
#include <optional>

class QWidget;
class Label;

// The text without the blanks (spaces) at both ends; other white space
// stays, as the forms' Trim leaves it.
QString Apara(const QString& texto);

// The text brought to exactly `largura` characters: "D" pads on the left,
// "C" centres (the odd blank goes right), anything else pads on the right.
// A text as long as the width or longer is cut to its first characters,
// whatever the alignment. A negative width raises error 5. Characters are
// counted as Caracteres counts them: an emoji is one, kept or cut whole.
// A text whose characters would join the padding (one that begins with a
// combining mark) is written with its unusual characters as "?", so the
// width holds.
QString Formata_Texto(const QString& texto, int largura, const QString& alinhamento);

// One cell of a fixed-width row: a text brought to its width by
// Formata_Texto, or (largura -1) kept as it is.
struct Celula {
    QString texto;
    int largura = -1;
    QString alinhamento = QStringLiteral("E");
};
// The cells joined into a row whose every cell begins at the column its
// width puts it, whatever its texts: a row whose joined characters would
// move a column is built again with the unusual characters of its texts
// as "?" (Caracteres::Basico). Rows several forms read back by column go
// through here.
QString Monta_Linha(std::initializer_list<Celula> celulas);

// Key filter of the KeyPress handlers. `tecla` is the Windows-1252 code
// of the typed character (8 Backspace, 13 Enter); the result is the code
// to keep or 0 to swallow the key.
//   "I" digits, "-", Backspace          "V" as "I" plus ","; "." becomes ","
//   "M" every key upper-cased           "A" digits kept, other keys upper-cased
//   "L" every key but digits            "H" digits, ":"   "D" digits, "/"
//   any other mode swallows every key.
// Enter passes only in "M", "A" and "L". Upper-casing follows the
// Windows-1252 letters, accented ones included ("ç" -> "Ç").
int Filtra_Tecla(int tecla, const QString& modo);

// 1 "DOMINGO" .. 7 "SÁBADO"; any other number "".
QString Dia_Semana(int dia);

// The trimmed text between the first `abre` and the first `fecha`; with
// only the closing one, the trimmed text before it; otherwise "" (also when
// the closing delimiter stands before the opening one).
QString Extrai_Texto(const QString& texto, const QString& abre, const QString& fecha);

// Brazilian taxpayer number: removes every "." and "-" from `cpf` (the
// caller's variable gets the cleaned number) and checks its two digits.
bool Valida_CPF(QString& cpf);

// Checks one field of a form by kind; when it fails and `mostra` is exactly
// "S", shows "Preencha " + the label's caption + " Corretamente." (style 48,
// titled Titulo_Atencao()). The field keeps its text and the focus.
//   "T" not blank          "N" a number (E_Numerico)
//   "0" Val() not 0         "L" an item selected (combo or list box)
//   "D" a date (text boxes only; other controls pass)
//   "H" hh:mm within 00..23 and 00..59 (read by Val; empty passes)
//   "%" Val() within 0..100
//   any other kind never fails.
// Kind "L" on a control without a list raises error 438.
bool Valida_Controle(QWidget* controle, Label* rotulo, const QString& tipo, const QString& mostra);

// Empties the fields of a form: text boxes get "", combo boxes lose their
// selection (and their typed text when editable), option buttons are unset,
// list boxes are emptied; other controls are left. Errors are ignored.
void Limpa_Controles(QWidget* form);

// Days of the month in that year (28..31). A month outside 1..12 or an
// impossible year raises error 13.
int Dias_Mes(int mes, int ano);

// A day of the working month (Param 9 and 10): whole, from 1 to the
// month's last day (up to 31 while the parameters hold no month). Any other
// shows "Dia inválido. Preencha corretamente." (style 48) and answers false.
bool Valida_Dia(double dia);

// A code or year as typed: digits only, blanks around aside, above zero
// and within 64 bits ("0012" is 12); "12AB", "-3" or "0" give no value.
std::optional<qint64> Codigo_Positivo(const QString& texto);

// A null value gives 0; a number gives itself; a text that is a number by
// the regional rule gives that number ("1.234,50" -> 1234.5); else 0.
double Valor_Numerico(const QVariant& valor);

// A text read as a date by the regional rule (day first): "d/m/yyyy",
// "d/m/yy", "d-m-yyyy", "d.m.yyyy", "d/m" (this year) and "yyyy-m-d".
bool E_Data(const QString& texto);
