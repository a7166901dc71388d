#include "printing/Celulas.h"
#include "common/Formularios.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "platform/Printer.h"
#include <algorithm>
#include <cmath>

namespace {
constexpr double AvancoEm = 1229.0 / 2048.0;
}

double Avanco_Caractere() { return Impressora().FontSize() * AvancoEm * 25.4 / 72.0; }

void Imprime_Direita(double x, double y, const QString& texto, int largura) {
    const qsizetype n = Caracteres::Conta(texto);
    if (n <= largura) {
        Imprime_Texto(x, y, Formata_Texto(texto, largura, QStringLiteral("D")));
        return;
    }
    Imprime_Texto(x - double(n - largura) * Avanco_Caractere(), y, texto);
}

int Cabem_Ate(double x, double ate) {
    const double a = Avanco_Caractere();
    // A hair under a whole character still counts as room for it.
    return int(std::clamp(std::floor((ate - x) / a + 1e-6), 0.0, 1e6));
}

QString Corta_Ate(double x, const QString& texto, double ate) { return Caracteres::Esquerda(texto, Cabem_Ate(x, ate)); }
