#include "Caracteres.h"
#include <QTextBoundaryFinder>
#include <algorithm>

namespace Caracteres {

namespace {
// Below U+0300 (where the combining accents start) a UTF-16 unit is a
// character of its own when the unit after it is one too: the lists' rows
// are nearly always made of such units alone, and they are read often.
// A CR is left to the full rule, which keeps CR LF together.
bool Simples(char16_t u) { return u < 0x300 && u != u'\r'; }

// How far the units from `i` on are characters of their own.
qsizetype FimSimples(QStringView texto, qsizetype i, qsizetype limite) {
    const qsizetype n = texto.size();
    while (i < limite && Simples(texto[i].unicode()) && (i + 1 == n || Simples(texto[i + 1].unicode()))) ++i;
    return i;
}

// The position n characters after `inicio` (a character boundary); -1
// when the text ends before that.
qsizetype Avanca(QStringView texto, qsizetype inicio, qsizetype n) {
    const qsizetype i = FimSimples(texto, inicio, std::min(texto.size(), inicio + n));
    n -= i - inicio;
    if (n == 0) return i;
    if (i >= texto.size()) return -1;
    QTextBoundaryFinder limites(QTextBoundaryFinder::Grapheme, texto);
    limites.setPosition(i);
    for (; n > 0; --n)
        if (limites.toNextBoundary() < 0) return -1;
    return limites.position();
}
}  // namespace

qsizetype Conta(QStringView texto) {
    const qsizetype i = FimSimples(texto, 0, texto.size());
    if (i == texto.size()) return i;
    QTextBoundaryFinder limites(QTextBoundaryFinder::Grapheme, texto);
    limites.setPosition(i);
    qsizetype n = i;
    while (limites.toNextBoundary() >= 0) ++n;
    return n;
}

qsizetype Posicao(QStringView texto, qsizetype n) {
    if (n <= 0) return 0;
    const qsizetype p = Avanca(texto, 0, n);
    return p < 0 ? texto.size() : p;
}

QString Esquerda(const QString& texto, qsizetype n) { return texto.left(Posicao(texto, n)); }

QString Direita(const QString& texto, qsizetype n) {
    if (n <= 0) return {};
    const qsizetype total = Conta(texto);
    return n >= total ? texto : texto.mid(Posicao(texto, total - n));
}

bool Simples(QStringView texto) {
    for (const QChar c : texto)
        if (!Simples(c.unicode())) return false;
    return true;
}

QString Basico(const QString& texto) {
    const QString t = texto.normalized(QString::NormalizationForm_C);
    if (Simples(t)) return t;
    QString r;
    r.reserve(t.size());
    QTextBoundaryFinder limites(QTextBoundaryFinder::Grapheme, t);
    qsizetype de = 0;
    for (qsizetype ate = limites.toNextBoundary(); ate >= 0; ate = limites.toNextBoundary()) {
        if (ate - de == 1 && Simples(t[de].unicode())) r += t[de];
        else r += QLatin1Char('?');
        de = ate;
    }
    return r;
}

bool Alinhado(QStringView texto, qsizetype total, const Marco* marcos, qsizetype n) {
    QTextBoundaryFinder limites(QTextBoundaryFinder::Grapheme, texto);
    qsizetype coluna = 0, k = 0;
    // Marks at offset 0 or past the end are checked against the start and
    // the count; the rest as the boundaries go by, in order.
    while (k < n && marcos[k].posicao == 0) {
        if (marcos[k].coluna != 0) return false;
        ++k;
    }
    for (qsizetype p = limites.toNextBoundary(); p >= 0; p = limites.toNextBoundary()) {
        ++coluna;
        while (k < n && marcos[k].posicao <= p) {
            if (marcos[k].posicao != p || marcos[k].coluna != coluna) return false;
            ++k;
        }
    }
    return k == n && coluna == total;
}

QString Meio(const QString& texto, qsizetype inicio, qsizetype n) {
    const qsizetype de = Posicao(texto, inicio);
    if (n < 0) return texto.mid(de);
    const qsizetype ate = Avanca(texto, de, n);
    return texto.mid(de, (ate < 0 ? texto.size() : ate) - de);
}

}  // namespace Caracteres
