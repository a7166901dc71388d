#include "platform/Colacao.h"
#include <QCollator>
#include <QLocale>
#include <QString>
#include <algorithm>
#include <array>
#include <vector>

namespace {
struct Ordem {
    QCollator colador{QLocale(QLocale::Portuguese, QLocale::Brazil)};
    // Rank of each printable ASCII character in the collator's order (both
    // cases of a letter share a rank). Most rows are plain ASCII, and
    // comparing ranks is far cheaper than asking the collator each time.
    std::array<int, 128> peso{};

    Ordem() {
        colador.setCaseSensitivity(Qt::CaseInsensitive);
        colador.setIgnorePunctuation(false);
        colador.setNumericMode(false);
        std::vector<char16_t> cs;
        for (char16_t c = 0x20; c <= 0x7E; ++c) cs.push_back(c);
        auto cmp = [this](char16_t a, char16_t b) { return colador.compare(QStringView(&a, 1), QStringView(&b, 1)); };
        std::stable_sort(cs.begin(), cs.end(), [&](char16_t a, char16_t b) { return cmp(a, b) < 0; });
        int r = 1;
        peso[cs[0]] = r;
        for (size_t i = 1; i < cs.size(); ++i) {
            if (cmp(cs[i - 1], cs[i]) != 0) ++r;
            peso[cs[i]] = r;
        }
    }
};

// QCollator is not meant to be shared between threads.
Ordem& ordem() {
    thread_local Ordem o;
    return o;
}

inline int sinal(int v) { return (v > 0) - (v < 0); }
inline bool imprimivel(unsigned c) { return c >= 0x20 && c <= 0x7E; }

// Printable ASCII has one primary weight per character and no contractions,
// so the first difference of ranks gives the collator's own answer. The
// same holds past characters that are the very same unit in both texts
// (they weigh the same in both), as long as the difference found is
// between two printable ASCII characters: the rows of a list share long
// accented prefixes, and most comparisons end a few characters in.
// Anything else (a difference involving another character, or a longer
// text whose extra part is not printable ASCII) is left to the collator.
template <class Ch>
bool compara_ascii(const Ch* a, qsizetype na, const Ch* b, qsizetype nb, int& resultado) {
    using U = std::make_unsigned_t<Ch>;
    const auto& peso = ordem().peso;
    const qsizetype n = std::min(na, nb);
    for (qsizetype i = 0; i < n; ++i) {
        const U ca = static_cast<U>(a[i]), cb = static_cast<U>(b[i]);
        if (ca == cb) continue;
        if (!imprimivel(ca) || !imprimivel(cb)) return false;
        const int d = peso[ca] - peso[cb];
        if (d != 0) {
            resultado = sinal(d);
            return true;
        }
    }
    const Ch* resto = na > nb ? a : b;
    for (qsizetype i = n; i < std::max(na, nb); ++i)
        if (!imprimivel(static_cast<U>(resto[i]))) return false;
    resultado = na == nb ? 0 : (na < nb ? -1 : 1);
    return true;
}
}  // namespace

int Compara_PTBR(QStringView a, QStringView b) {
    int r = 0;
    if (compara_ascii(a.utf16(), a.size(), b.utf16(), b.size(), r)) return r;
    return sinal(ordem().colador.compare(a, b));
}

int Compara_PTBR_Utf8(const char* a, int na, const char* b, int nb) {
    int r = 0;
    if (compara_ascii(a, na, b, nb, r)) return r;
    return sinal(ordem().colador.compare(QString::fromUtf8(a, na), QString::fromUtf8(b, nb)));
}
