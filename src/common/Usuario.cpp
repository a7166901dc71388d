#include "common/Usuario.h"
#include "platform/MsgBox.h"

QString Nome_Usuario;

QString Titulo_Atencao() { return QStringLiteral("Atenção ") + Nome_Usuario; }

void Aviso(const QString& texto, int estilo) { MsgBox(texto, estilo, Titulo_Atencao()); }
