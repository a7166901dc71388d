// The key filter of the typed boxes, and a paste through it: every mode
// keeps, changes or swallows a key as its rule says, upper-casing twice
// changes nothing more, and a pasted text reaches a box with the form's
// filter and length without a control character (bidirectional ones
// included) and within its length.
//   byte 0: the mode; bytes 1-2: a key code; 3: a box's length; the rest:
//   the pasted text.
#include "Entrada.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "platform/Controles.h"
#include <QApplication>
#include <QClipboard>

namespace {
const char* const Modos[] = {"I", "V", "M", "A", "L", "H", "D", "X"};
bool Digito(int k) { return k >= '0' && k <= '9'; }
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t n) {
    Entrada e(dados, n);
    const QString modo = QLatin1String(Modos[e.Numero(1) % 8]);
    const int tecla = int(e.Numero(2));
    const int limite = int(e.Numero(1) % 80);
    const QString texto = e.Texto();

    const int r = Filtra_Tecla(tecla, modo);
    if (modo == QLatin1String("I")) EXIGE(r == 0 || (r == tecla && (Digito(r) || r == '-' || r == 8)), "%d", tecla);
    if (modo == QLatin1String("V"))
        EXIGE(r == 0 || (tecla == '.' && r == ',') || (r == tecla && (Digito(r) || r == '-' || r == ',' || r == 8)), "%d", tecla);
    if (modo == QLatin1String("M") || modo == QLatin1String("A")) {
        EXIGE(r != 0 || tecla == 0, "%d", tecla);  // no key is swallowed; 0 is no key at all
        EXIGE(Filtra_Tecla(r, modo) == r, "%d", tecla);
    }
    if (modo == QLatin1String("L")) EXIGE(r == (Digito(tecla) ? 0 : tecla), "%d", tecla);
    if (modo == QLatin1String("X")) EXIGE(r == 0, "%d", tecla);
    if (tecla >= 0 && tecla < 256) EXIGE(Codigo_Ansi(Caractere_Ansi(tecla)) == tecla, "%d", tecla);

    TextBox caixa;
    caixa.setMaxLength_(limite);
    caixa.KeyPress = [&](int& k) { k = Filtra_Tecla(k, modo); };
    QGuiApplication::clipboard()->setText(texto);
    caixa.Cola();
    const QString colado = caixa.Text();
    for (const QChar c : colado) {
        const char16_t u = c.unicode();
        EXIGE(u >= 0x20 && u != 0x7F, "%s", texto.toUtf8().constData());
        EXIGE((u < 0x202A || u > 0x202E) && (u < 0x2066 || u > 0x2069), "%s", texto.toUtf8().constData());
    }
    if (limite > 0) EXIGE(Caracteres::Conta(colado) <= limite, "%s", texto.toUtf8().constData());
    if (modo == QLatin1String("I"))
        for (const QChar c : colado) EXIGE(Digito(c.unicode()) || c == QLatin1Char('-'), "%s", texto.toUtf8().constData());
    if (modo == QLatin1String("X")) EXIGE(colado.isEmpty(), "%s", texto.toUtf8().constData());
    return 0;
}
