#include "Relogio.h"

namespace {
QDateTime g_fixo;
}

QDateTime Relogio::Agora() { return g_fixo.isValid() ? g_fixo : QDateTime::currentDateTime(); }
QDate Relogio::Hoje() { return Agora().date(); }

QDateTime Relogio::Agora_Segundo() {
    if (g_fixo.isValid()) return g_fixo;
    // The seconds since the epoch cost no zone look-up; their local moment
    // is worked out again only when they change.
    thread_local qint64 lido = -1;
    thread_local QDateTime local;
    const qint64 segundo = QDateTime::currentSecsSinceEpoch();
    if (segundo != lido) {
        local = QDateTime::fromSecsSinceEpoch(segundo);
        lido = segundo;
    }
    return local;
}

void Relogio::Define(const QDateTime& instante) { g_fixo = instante; }
