#include "Relogio.h"

namespace {
QDateTime g_fixo;
}

QDateTime Relogio::Agora() { return g_fixo.isValid() ? g_fixo : QDateTime::currentDateTime(); }
QDate Relogio::Hoje() { return Agora().date(); }
void Relogio::Define(const QDateTime& instante) { g_fixo = instante; }
