#pragma once
// Opening files and links with the program the desktop associates with them.
#include <QString>
#include <functional>

namespace Shell {
// Opens the path or web address; the answer is not checked.
void Abre(const QString& alvo);
// Tests replace the action to record what would have been opened.
void DefineAcao(std::function<void(const QString&)> acao);
}
