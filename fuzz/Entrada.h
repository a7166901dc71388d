#pragma once
// The bytes a fuzzer hands over, taken apart into the values a target
// needs: numbers from the front, the rest as a text (UTF-8; a broken
// sequence reads as U+FFFD, as a pasted or stored text could hold).
#include <QString>
#include <QtGlobal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

class Entrada {
public:
    Entrada(const uint8_t* dados, size_t n) : p_(dados), n_(n) {}

    quint64 Numero(int bytes) {
        quint64 v = 0;
        for (int i = 0; i < bytes && n_ > 0; ++i, ++p_, --n_) v = (v << 8) | *p_;
        return v;
    }
    // A number from `minimo` to `maximo`, both included.
    qint64 Entre(qint64 minimo, qint64 maximo) {
        const quint64 faixa = quint64(maximo - minimo) + 1;
        return minimo + qint64(Numero(8) % faixa);
    }
    QString Texto() {
        const QString t = QString::fromUtf8(reinterpret_cast<const char*>(p_), qsizetype(n_));
        p_ += n_;
        n_ = 0;
        return t;
    }

private:
    const uint8_t* p_;
    size_t n_;
};

// A property that must hold: when it does not, the run stops here, which
// the fuzzer and the corpus test both report with the message.
#define EXIGE(condicao, ...)                                                   \
    do {                                                                       \
        if (!(condicao)) {                                                     \
            std::fprintf(stderr, "%s:%d: falhou: %s\n", __FILE__, __LINE__, #condicao); \
            std::fprintf(stderr, "" __VA_ARGS__);                              \
            std::fprintf(stderr, "\n");                                        \
            std::abort();                                                      \
        }                                                                      \
    } while (0)
