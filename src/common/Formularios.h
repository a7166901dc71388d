#pragma once
// Form, combo and print helpers: a child form's place and closing effect,
// combo boxes filled from the local database, closing the other forms, and
// the printing primitive of every printed layout.
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

class BancoLocal;
class ComboBox;
class Form;
class Frame;
class Label;
class ListBox;
class TextBox;
class QPainter;
class QWidget;

// The data forms' look: their dark background, the white captions placed
// by twips above their controls, and the fixed-pitch font of their lists,
// whose columns the headers follow.
void Pinta_Fundo(QWidget* form);
Label* Rotulo(QWidget* pai, const QString& legenda, int esquerda, int topo, int largura,
              const QColor& cor = Qt::white);
QFont Fonte_Lista(double pontos);
// A frame of the same look, its caption in yellow.
Frame* Quadro(QWidget* pai, const QString& legenda);
// The count under a list: its rows formatted "#,### Registro(s)" (an
// empty list reads " Registro(s)").
void Conta_Registros(Label* rotulo, const ListBox* lista);
// The width in twips of a list whose rows of `colunas` characters of its
// font show whole beside a vertical scroll bar.
int Largura_Lista(const ListBox* lista, int colunas);
// The height in twips, at most `alturaTwips`, of a list that shows whole
// rows of its font: no row is cut in half at its bottom.
int Altura_Lista(const ListBox* lista, int alturaTwips);
// A heading over a list's columns, at `topo` twips: a text from its first
// column, or ending where its right-aligned column ends.
Label* Cabecalho_Lista(QWidget* pai, const ListBox* lista, const QString& texto, int coluna, bool direita, int topo,
                       const QColor& cor = QColor(255, 255, 0));
// A total box: bold text on black, never typed into.
void Caixa_Total(TextBox* caixa, const QColor& cor);
// A picture drawn by code (a button's, the program's icon): a 32-pixel
// square, transparent where nothing is drawn, smoothed, handed to
// `desenha`.
QIcon Icone_Desenhado(const std::function<void(QPainter& p)>& desenha);
// The print buttons' picture: a printer with its sheet, drawn here.
QIcon Icone_Impressora();

// The balance box's colours: yellow after every computation; a negative
// balance then swaps yellow and black at each tick of its form's timer.
inline const QColor Cor_Saldo(255, 255, 0);
inline const QColor Cor_Saldo_Apagado(0, 0, 0);
void Pisca_Saldo(TextBox* saldo);

// Places the form: Left = (parent width - form width) / 2; Top = 100, or
// (parent height - form height) / 2 when the mode is exactly "S". Sizes are
// outer sizes in twips (the main window's outer size for its children).
void Centraliza_Form(Form* form, Form* pai, const QString& modo);

// Closing effect: the form's height goes from its current value down in
// steps of 100 twips while not below 0, with the pending events processed
// after each step (3000 ends at 0, 3050 at 50).
void Fecha_Efeito(Form* form);
// An entry form's closing question, asked when something is typed:
// "Existem dados em edição. Deseja Salvar ?". Yes saves; when that save
// fails the answer is true and the form stays open, since its fields may
// hold the only copy of an entry taken back from the list.
bool Fica_Aberto(bool emEdicao, const std::function<bool()>& salva);
// Before a row taken back from the list replaces what is typed: asked only
// when something is typed, No the default; true to go on.
bool Confirma_Sobrepor(bool emEdicao,
                       const QString& pergunta = QStringLiteral("Existem dados em edição. Confirma sobrepor?"));
// Tests: called with each height set by Fecha_Efeito.
void Define_Observador_Efeito(std::function<void(Form*, int)> observador);

// Reloads the combo from an SQL text or a stored query without parameters,
// on a database handle of its own: the trimmed text field of every row
// whose text is not null, in the rows' order, with the code field (when
// named) as item data, a 64-bit code kept exact; then selects the previous
// text again. Errors go through Trata_Erro (a null code beside a text is
// error 94, a code that is not a number 13); No leaves the items loaded so
// far.
void Carrega_Combo(ComboBox* combo, const QString& sqlOuNome, const QString& campoTexto, const QString& campoCodigo);
// The same from a stored query with parameters (the church's own rows).
void Carrega_Combo(ComboBox* combo, const QString& nomeQuery, const QStringList& parametros, const QString& campoTexto,
                   const QString& campoCodigo);
// The same on a handle the caller already has open, and keeps open.
void Carrega_Combo(ComboBox* combo, BancoLocal& banco, const QString& nomeQuery, const QStringList& parametros,
                   const QString& campoTexto, const QString& campoCodigo);

// Clears the selection; then a numeric value (E_Numerico) selects the first
// item whose item data equals it (a fractional one none), a text the first
// item beginning with it (compared in capitals) or, when none does, goes
// into the combo's typed text (not into a list-only combo). The empty text
// only clears.
void Seleciona_Item_Combo(ComboBox* combo, const QVariant& valor);

// Selects the item whose text equals `texto` (case aside), or, when none
// does, clears the selection and types the text: a history taken back for
// correction finds its own item, never a longer one that begins with it.
void Seleciona_Texto_Combo(ComboBox* combo, const QString& texto);

// Unloads every loaded form except `manter`, "QRCode" and "Principal",
// each through its own unload handler. False when one of them stayed open
// (its handler cancelled, for instance because its own save failed).
bool Fecha_Forms(const QString& manter);

// Prints the text at (x, y) on the program's printer, in its current
// unit; a given font size stays in force for later texts.
void Imprime_Texto(double x, double y, const QString& texto, std::optional<double> tamanhoFonte = std::nullopt);
