#pragma once
// The lower panel the closing forms share: the two offset boxes beside the
// print button, and a row of total boxes under their captions whose last
// box is the balance; and the questions their print button asks.
#include <QString>
#include <vector>

class CommandButton;
class Label;
class QIcon;
class QWidget;
class TextBox;

struct Caixa_Painel {
    QString legenda;
    Label** rotulo;
    TextBox** caixa;
};

// A print button of the printing forms: a 32-pixel picture, no caption,
// and its tip.
CommandButton* Botao_Imprime(QWidget* form, const QIcon& icone, const QString& dica);
// "Horizontal mm" and "Vertical mm" from x, at `topo` twips, each "0" and
// at most four characters; the print button at xBotao with its tip.
void Monta_Deslocamentos(QWidget* form, int x, int topo, int xBotao, const QString& dica, Label*& LblLeft,
                         TextBox*& TxtLeft, Label*& LblTop, TextBox*& TxtTop, CommandButton*& CmdImprime);
// The total boxes left to right from the form's margin, white on black and
// the last one (the balance) yellow.
void Monta_Totais(QWidget* form, int topo, const std::vector<Caixa_Painel>& caixas);

// A negative balance asks "Saldo Irregular. Deseja Imprimir ?", No the
// default; true to go on (always for a balance that is not negative).
bool Confirma_Saldo(const QString& saldo, const QString& titulo);
// "Prepare a Impressora com papel A4. Tudo OK ?"; true for Yes.
bool Confirma_Papel(const QString& titulo);
