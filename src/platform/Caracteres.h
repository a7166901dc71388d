#pragma once
// Texts measured and cut in characters as the user sees them: a letter with
// its accents, an emoji (a surrogate pair, or several joined into one
// picture) each count as one and are never split. Every width of a field,
// a list column or a text box limit goes through here, so no cut leaves
// half a character to be stored as "?".
#include <QString>
#include <QStringView>

namespace Caracteres {

qsizetype Conta(QStringView texto);

// Where the character after the first `n` begins, in UTF-16 units: 0 for
// n <= 0, the text's size when it has n characters or fewer.
qsizetype Posicao(QStringView texto, qsizetype n);

// The first n characters; the last n; n characters from the character
// `inicio` (0 is the first), or all the rest when n is negative.
QString Esquerda(const QString& texto, qsizetype n);
QString Direita(const QString& texto, qsizetype n);
QString Meio(const QString& texto, qsizetype inicio, qsizetype n = -1);

}  // namespace Caracteres
