#pragma once
// The barcode face of the printer layer: "Free 3 of 9 Extended", the name
// a tithe envelope sets before it prints "*" + membership number + "*".
// The printer draws a text in it as a Code 39 symbol (full ASCII, no check
// digit) encoded by Zint, in filled rectangles: the asterisks that frame
// the text are its start and stop characters, the bars are as tall as the
// font size (48 points, about 17 mm) and the narrow bar is a 48th of it,
// never under 0.25 mm, so the symbol stays readable at small sizes.
#include <QString>
#include <vector>

class QFont;
class QPainter;
class QPointF;

namespace Codigo39 {

QString Nome();

// A bar: where it starts and how wide it is, in narrow bars from the
// symbol's left edge.
struct Barra {
    double x;
    double largura;
};

// The bars of the text: the asterisk at each end of it stands for the
// start or the stop character (added when missing); the rest is the data,
// "" giving a symbol of its start and stop alone. Error 5 for data no
// Code 39 symbol can carry (a character outside ASCII, more than 85).
std::vector<Barra> Barras(const QString& texto);

// Draws the text's symbol with its top-left at `topo`, in the painter's
// device pixels; returns the bars' height in those pixels.
double Desenha(QPainter& pintor, const QPointF& topo, const QFont& fonte, const QString& texto);

}  // namespace Codigo39
