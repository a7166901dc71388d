#pragma once
// Today and now come from one place so that tests can set the clock.
#include <QDateTime>

namespace Relogio {
QDateTime Agora();
QDate Hoje();
void Define(const QDateTime& instante);  // an invalid instant gives back the real clock
}
