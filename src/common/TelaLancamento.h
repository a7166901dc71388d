#pragma once
// What the two entry forms (the cash book and the department ledger) show
// alike: the blinking kind, the totals under the list and the question
// before a row is deleted.
#include "common/Numeros.h"
#include <initializer_list>

class ListBox;
class OptionButton;
class TextBox;

// One tick of the kind's blink: the chosen option swaps yellow and black,
// the others stay yellow.
void Pisca_Tipo(std::initializer_list<OptionButton*> opcoes);

// The month's inflows, outflows and their balance in the three boxes, the
// balance yellow again (Pisca_Saldo blinks it from there when negative).
void Mostra_Totais(TextBox* txtEntradas, TextBox* txtSaidas, TextBox* txtSaldo, Dinheiro entradas, Dinheiro saidas);

// "Deseja remover <row> ?" for row i, its first 56 characters trimmed;
// No is the default. True to delete.
bool Confirma_Remocao(const ListBox* lista, int i);
