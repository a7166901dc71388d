#pragma once
// App.Path, App.Revision and the end-at-once seam.
#include <QString>
#include <functional>

namespace App {
// The program folder: the executable's folder unless a test or the
// command line set another one.
QString Path();
void DefinePath(const QString& pasta);

// The program file that is running (the backup copies it); tests and
// benchmarks name a file of their own (an empty text gives the real one).
QString Executavel();
void DefineExecutavel(const QString& arquivo);

// Revision number (third part of the version "1.0.<revision>").
constexpr int Revision = TESOURARIA_REVISAO;
QString Versao();  // "1.0." followed by the revision

// Ends the program at once: no further event and no unload handler runs.
// Tests replace the action to record that the program ended.
[[noreturn]] void Termina();
void DefineAcaoTermino(std::function<void()> acao);  // the action must not return normally: it throws
}
