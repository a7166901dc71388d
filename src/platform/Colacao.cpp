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
// so the first difference of ranks gives the collator's own answer.
template <class Ch>
bool compara_ascii(const Ch* a, qsizetype na, const Ch* b, qsizetype nb, int& resultado) {
    for (qsizetype i = 0; i < na; ++i)
        if (!imprimivel(static_cast<std::make_unsigned_t<Ch>>(a[i]))) return false;
    for (qsizetype i = 0; i < nb; ++i)
        if (!imprimivel(static_cast<std::make_unsigned_t<Ch>>(b[i]))) return false;
    const auto& peso = ordem().peso;
    const qsizetype n = std::min(na, nb);
    for (qsizetype i = 0; i < n; ++i) {
        const int d = peso[static_cast<std::make_unsigned_t<Ch>>(a[i])] - peso[static_cast<std::make_unsigned_t<Ch>>(b[i])];
        if (d != 0) {
            resultado = sinal(d);
            return true;
        }
    }
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
