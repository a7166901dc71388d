#include "common/Usuario.h"

QString Nome_Usuario;

QString Titulo_Atencao() { return QStringLiteral("Atenção ") + Nome_Usuario; }
