#pragma once
// The screen the export forms share over the working month's cash book:
// the month's caption and box, a credit line, the list of the month's rows
// under their four column headings, and under the list the row count and
// the entries, outflows and balance boxes.
#include <QString>

class ComboBox;
class Label;
class ListBox;
class QWidget;
class TextBox;

// The month's box at the top, the credit line beside it, and the list
// (fixed pitch, as wide as a cash-book row) from 1020 twips down,
// at most `altura` twips high, showing whole rows.
void Monta_Lista_Mes(QWidget* form, const QString& credito, int altura, Label*& LblMesAno, ComboBox*& CboMesAno,
                     Label*& LblKwe, ListBox*& LstLivroCx);

// Under the list: its count and the three total boxes with their
// captions, never typed into. Returns the top of that row, in twips.
int Monta_Totais_Mes(QWidget* form, const ListBox* lista, Label*& LblRegs, Label*& LblEntradas, TextBox*& TxtEntradas,
                     Label*& LblSaidas, TextBox*& TxtSaidas, Label*& LblSaldo, TextBox*& TxtSaldo);
