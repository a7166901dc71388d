#pragma once
// The key events of the controls: KeyDown, KeyPress and KeyUp as the forms
// expect them, between the window system's key event and the Qt control.
#include "Controles.h"

class QInputMethodEvent;
class QLineEdit;
class QKeyEvent;

namespace Teclado {
using Base = std::function<void(QKeyEvent*)>;
// KeyDown first (a handler that zeroes the code swallows the key), then
// KeyPress for each typed character; the control then acts on the key as the
// handlers left it. A bidirectional control the key would type is dropped
// first, whether or not the control has a KeyPress.
void processaTecla(QKeyEvent* e, const EventoCodigoTecla& keyDown, const EventoTecla& keyPress, const Base& base);
void processaSoltura(QKeyEvent* e, const EventoCodigoTecla& keyUp);
// Text committed by an input method (composed accents) goes through
// KeyPress as typed keys do, without the characters a paste drops.
void processaEntrada(QInputMethodEvent* e, const EventoTecla& keyPress, const std::function<void(QInputMethodEvent*)>& base);
// Text that arrives whole (a paste, a drop) goes into the box as if typed
// at its cursor: one character at a time through KeyPress, which sees the
// box as the characters before left it; control characters (tab, line
// breaks) and the bidirectional embedding, override and isolate controls
// type nothing. `cabe` says whether the box takes one more
// character given as it would be inserted; the first that does not fit
// ends the paste.
void colaComoDigitado(QLineEdit* caixa, const QString& texto, const EventoTecla& keyPress,
                      const std::function<bool(const QString& novo)>& cabe = {});
}
