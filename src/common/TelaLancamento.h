#pragma once
// What the two entry forms (the cash book and the department ledger) show
// alike: the blinking kind, the totals under the list and the question
// before a row is deleted; the month's export forms show their totals
// through the same Mostra_Totais.
#include "common/Numeros.h"
#include <initializer_list>

class ComboBox;
class CommandButton;
class Label;
class ListBox;
class OptionButton;
class QWidget;
class TextBox;

// The kind options in a row from x on the form's first line, yellow and
// bold.
void Monta_Tipos(std::initializer_list<OptionButton*> opcoes, int x);
// The entry line under them: day, history, value, the hidden code and the
// save button, where both forms place them.
void Monta_Campos(QWidget* form, Label*& LblDia, TextBox*& TxtDia, Label*& LblHistorico, ComboBox*& CboHistorico,
                  Label*& LblValor, TextBox*& TxtValor, TextBox*& TxtCodigo, CommandButton*& CmdEnvia);

// One tick of the kind's blink: the chosen option swaps yellow and black,
// the others stay yellow.
void Pisca_Tipo(std::initializer_list<OptionButton*> opcoes);

// The month's inflows, outflows and their balance in the three boxes, the
// balance yellow again (Pisca_Saldo blinks it from there when negative).
void Mostra_Totais(TextBox* txtEntradas, TextBox* txtSaidas, TextBox* txtSaldo, Dinheiro entradas, Dinheiro saidas);

// "Deseja remover <row> ?" for row i, its first 56 characters trimmed;
// No is the default. True to delete.
bool Confirma_Remocao(const ListBox* lista, int i);
