#pragma once
// Driving the program as a user does: typing, opening the main window
// through its login, and closing every form between cases.
#include "platform/Controles.h"
#include "platform/MsgBox.h"
#include "shell/Principal.h"
#include <QtTest>

// Gives the widget the focus and types the text key by key, accented
// letters and emoji included (keyClicks refuses those).
void Digita(QWidget* w, const QString& texto);

// Shows a new main window whose login stands in for the dialog: it names
// `usuario` as the login dialog would. Returns the window once it is
// active and that login ran.
Principal* Inicia_Principal(const QString& usuario);
int Logins();               // runs of that login since the window started
QString Usuario_Iniciado();  // the name it was given

// Destroys every form, top-level ones first, without their unload
// handling, and gives the login back to the real dialog.
void Fecha_Tudo();

// Selects all of the box's text, deletes it and types `texto`.
void Troca(QWidget* w, const QString& texto);
// Pastes `texto` at the cursor of a text box or an editable combo box as a
// user does: Ctrl+V, the context menu's "Colar", or dropping it there.
enum class Como_Cola { Teclado, Menu, Soltando };
void Cola(QWidget* w, const QString& texto, Como_Cola como);
// Chooses the list's row `linha` and presses Delete on it, the boxes it
// brings up answered with `respostas`.
void Tecla_Delete(ListBox* l, int linha, std::initializer_list<int> respostas = {});
// The form F opened through the menu item `item` of a main window started
// for `usuario`, the boxes shown so far cleared.
template <class F>
F* Abre_Pelo_Menu(QAction* Principal::*item, const QString& usuario = QStringLiteral("MARIA")) {
    (Inicia_Principal(usuario)->*item)->trigger();
    Roteiro::LimpaCaixas();
    auto* f = qobject_cast<F*>(Form::Procura(QLatin1String(F::staticMetaObject.className())));
    if (!f) qFatal("o menu não abriu %s", F::staticMetaObject.className());
    return f;
}
// The form F opened through the menu item `item` of the main window that
// is up.
template <class F>
F* Abre_Do_Menu(QAction* item) {
    item->trigger();
    auto* f = qobject_cast<F*>(Form::Procura(QLatin1String(F::staticMetaObject.className())));
    if (!f) qFatal("o menu não abriu %s", F::staticMetaObject.className());
    return f;
}
// One cash-book entry as the treasurer types it, saved; the history before
// the day, so the weekday's offering is not put in its place. "#n" chooses
// the n-th history of the list.
class LivroCaixa;
void Lanca_No_Livro(LivroCaixa* f, OptionButton* tipo, const QString& hist, const QString& dia, const QString& valor);
// Pastes `texto` into the box in each way a user can and compares what the
// box then holds with what typing the same characters leaves there: the
// differences, each with how it was pasted; none when all agree.
QStringList Colagem_Diferente_Da_Digitacao(QWidget* caixa, const QString& texto);
// What a clipboard may bring into a box: lower case, accents, digits, the
// value and date signs, every control character, and more than any box
// holds.
extern const QString Texto_Colado;
// Colagem_Diferente_Da_Digitacao over every box of the form that filters
// its keys: its text boxes shown and open to typing, and its combo boxes
// typed into. `caixas` receives how many boxes were tried.
QStringList Colagens_Diferentes_No_Form(Form* f, const QString& texto, int& caixas);
QStringList Linhas(const ListBox* l);
void Duplo_Clique(ListBox* l, int linha);

// The last box shown, titled for the user of Inicia_Principal, every box
// so far having had its answer in the script; the boxes seen are cleared.
#define CONFERE_CAIXA(TEXTO, ESTILO)                                                \
    do {                                                                            \
        QVERIFY(!Roteiro::Caixas().empty());                                        \
        QCOMPARE(Roteiro::Caixas().back().prompt, QString(TEXTO));                  \
        QCOMPARE(Roteiro::Caixas().back().titulo, "Atenção " + Usuario_Iniciado()); \
        QCOMPARE(Roteiro::Caixas().back().estilo, (ESTILO));                        \
        QVERIFY(!Roteiro::HouveInesperada());                                       \
        Roteiro::LimpaCaixas();                                                     \
    } while (0)
