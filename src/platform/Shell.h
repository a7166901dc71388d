#pragma once
// Opening files and links with the program the desktop associates with them.
#include <QString>
#include <functional>

namespace Shell {
// Opens the path or web address. False when nothing here could take it (no
// opener installed, a session without a desktop to show it on); a program
// that starts and then fails on its own is not seen.
bool Abre(const QString& alvo);
// Tests replace the action to record what would have been opened, and say
// whether it was.
void DefineAcao(std::function<bool(const QString&)> acao);
}
