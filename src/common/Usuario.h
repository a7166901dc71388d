#pragma once
// The logged-in user's name, kept for the whole run and written by the login.
#include "platform/MsgBox.h"
#include <QString>

extern QString Nome_Usuario;

// Title of every message box of the forms: "Atenção " followed by the user.
QString Titulo_Atencao();
// A message of the forms under that title: an exclamation unless told.
void Aviso(const QString& texto, int estilo = vbExclamation);
