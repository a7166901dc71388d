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

// Whether every UTF-16 unit is a character of its own whatever stands
// around it: all below U+0300 (where the combining accents start), no CR.
// Latin texts in their composed form, accents included, are.
bool Simples(QStringView texto);

// The text (composed) with each character that is not Simples replaced by
// one "?": as many characters as Conta counts in it, none of which can
// join a neighbour. A text whose characters join across the columns of a
// row (a mark that begins it joins the blank before it, a sign that ends
// it joins what follows) is put in a row this way.
QString Basico(const QString& texto);

// Whether, once joined, the text has `total` characters and each UTF-16
// offset of the `n` marks, in ascending order, begins the character of its
// paired index (0 the first): the columns of a row are where their cells
// were put.
struct Marco {
    qsizetype posicao;  // UTF-16 offset
    qsizetype coluna;   // character index
};
bool Alinhado(QStringView texto, qsizetype total, const Marco* marcos, qsizetype n);

}  // namespace Caracteres
