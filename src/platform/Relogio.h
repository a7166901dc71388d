#pragma once
// Today and now come from one place so that tests can set the clock.
#include <QDateTime>

namespace Relogio {
QDateTime Agora();
QDate Hoje();
// Now to the second, for a loop that stamps each of thousands of rows: the
// local time zone is looked up once a second, not at every call (each
// local moment of Agora reads it). A clock set by Define comes as set.
QDateTime Agora_Segundo();
void Define(const QDateTime& instante);  // an invalid instant gives back the real clock
}
