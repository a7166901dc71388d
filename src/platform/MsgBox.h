#pragma once
// Message and input boxes with the classic style numbers and answers. A
// single carriage return in a prompt is a line break. Tests install a
// script of answers; every box shown is recorded.
#include <QString>
#include <deque>
#include <vector>

enum : int {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton1 = 0, vbDefaultButton2 = 256, vbDefaultButton3 = 512,
};
enum : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

int MsgBox(const QString& prompt, int estilo = vbOKOnly, const QString& titulo = {});
// Empty text when the user cancels.
QString InputBox(const QString& prompt, const QString& titulo = {}, const QString& padrao = {});

namespace Roteiro {
struct Caixa {
    QString titulo;
    QString prompt;
    int estilo = 0;
    bool entrada = false;     // an input box
    bool inesperada = false;  // shown with no answer left in the script
};
// Installs a script: from now on no box is shown on screen; each one takes
// the next answer. A box with no answer left is recorded as unexpected and
// answered with its default button (an input box with the empty text).
void Instala();
void Remove();
bool Ativo();
void Responde(int resposta);
void RespondeTexto(const QString& texto);
const std::vector<Caixa>& Caixas();
void LimpaCaixas();
int Pendentes();           // answers not used yet
bool HouveInesperada();
}
