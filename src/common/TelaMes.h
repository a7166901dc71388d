#pragma once
// The screen the export forms share over the working month's cash book:
// the month's caption and box, a credit line, the list of the month's rows
// under their four column headings, and under the list the row count and
// the entries, outflows and balance boxes.
#include <QString>

class CheckBox;
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

// The month's tithers as the tithers list and the TV page show them: the
// month's box and "Mostra Cargo" at the top, the sorted list of `colunas`
// characters under its caption, and under the list its count on the left
// and the credit line on the right. Returns the form's inner width in
// twips; `abaixo` receives the top of the count's row.
int Monta_Lista_Dizimistas(QWidget* form, int colunas, Label*& LblMesAno, ComboBox*& CboMesAno, CheckBox*& ChkCargo,
                           Label*& LblLista, ListBox*& lista, Label*& LblRegs, Label*& LblKwe, int& abaixo);
