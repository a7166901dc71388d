#pragma once
// Texts placed by the character cells of the printouts' fixed-pitch font:
// Courier New, and Liberation Mono that draws it, advance every character
// 1229/2048 of an em, so a column of n characters is n advances wide at
// the printer's current size.
#include <QString>

// Millimetres per character at the printer's current font size.
double Avanco_Caractere();

// The text right-aligned in a cell of `largura` characters from x: a
// shorter text is padded on the left; a longer one is printed whole and
// reaches further left, so that no figure is ever cut.
void Imprime_Direita(double x, double y, const QString& texto, int largura);

// How many characters printed from x end at or before `ate`.
int Cabem_Ate(double x, double ate);
// The text's first characters that, printed from x, end at or before `ate`.
QString Corta_Ate(double x, const QString& texto, double ate);
