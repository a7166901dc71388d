#pragma once
// The receipt on paper: one A4 page with the blank receipt form's picture
// "recibo.kwe" of the program folder (200 x 143 mm at (5, 5)) and the
// receipt's boxes written into its blanks in Courier New 14.
#include <QString>
#include <array>

// The receipt's boxes as the form shows them.
struct Recibo_Impresso {
    QString numero;  // "000012"
    QString codigo;  // the paying church's code
    QString total;
    QString eu;
    QString cpf;
    QString congregacao;
    std::array<QString, 4> textos;
    std::array<QString, 4> valores;
    QString dia, mes, ano;
};

// Prints the receipt on the program's printer. True when the page was sent
// whole; false when the user gave up after an error (nothing is sent).
bool Imprime_Recibo(const Recibo_Impresso& r);
