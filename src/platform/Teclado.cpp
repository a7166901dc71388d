#include "Teclado.h"
#include "Controles.h"
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <vector>

// ---------------------------------------------------------------------------
// Windows-1252 codes

namespace {
// Characters of the codes 128 to 159; the rest of the page is Latin-1.
constexpr char16_t kFaixa80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}

int Codigo_Ansi(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    for (int i = 0; i < 32; ++i)
        if (kFaixa80[i] == u) return 0x80 + i;
    return '?';
}

QChar Caractere_Ansi(int codigo) {
    codigo &= 0xFF;
    if (codigo >= 0x80 && codigo < 0xA0) return QChar(kFaixa80[codigo - 0x80]);
    return QChar(char16_t(codigo));
}

// ---------------------------------------------------------------------------
// Key events

namespace {
// The bidirectional embedding, override and isolate controls: invisible,
// they turn the text after them around wherever it is shown or printed
// ("ANA RI:00000004" can print as "ANA 40000000:IR"), so no box takes them.
bool Controle_Bidi(char16_t u) { return (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069); }

// What no box takes from a paste or an input method: the control
// characters (line breaks, tabs, DEL, the C1 controls) and the
// bidirectional ones. Typed, the keys of the first kind do their own work
// (Tab, Enter, Backspace) and type nothing.
bool Controle(char16_t u) { return Caractere_Controle(u) || Controle_Bidi(u); }

QString Sem_Controles_Bidi(const QString& texto) {
    QString r;
    for (const QChar c : texto)
        if (!Controle_Bidi(c.unicode())) r += c;
    return r;
}

int estadoShift(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

// The classic virtual-key code of a key; 0 for a key that has none here.
// Punctuation must not leak Qt's codes: "." is 46 in Qt, the code of Delete.
int codigoVirtual(const QKeyEvent* e) {
    const int k = e->key();
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: case Qt::Key_Backtab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Meta: return 91;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    default: break;
    }
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    if (e->modifiers() & Qt::KeypadModifier) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9) return 96 + (k - Qt::Key_0);
        switch (k) {
        case Qt::Key_Asterisk: return 106;
        case Qt::Key_Plus: return 107;
        case Qt::Key_Minus: return 109;
        case Qt::Key_Period: case Qt::Key_Comma: return 110;
        case Qt::Key_Slash: return 111;
        default: break;
        }
    }
    if ((k >= Qt::Key_0 && k <= Qt::Key_9) || (k >= Qt::Key_A && k <= Qt::Key_Z)) return k;
    switch (k) {
    case Qt::Key_Semicolon: case Qt::Key_Colon: return 186;
    case Qt::Key_Equal: case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: case Qt::Key_Less: return 188;
    case Qt::Key_Minus: case Qt::Key_Underscore: return 189;
    case Qt::Key_Period: case Qt::Key_Greater: return 190;
    case Qt::Key_Slash: case Qt::Key_Question: return 191;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return 192;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return 219;
    case Qt::Key_Backslash: case Qt::Key_Bar: return 220;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return 221;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return 222;
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    default: return 0;
    }
}

// The Windows-1252 codes that KeyPress sees for this key, or an empty list
// when the key types nothing (arrows, Delete, shortcuts such as Ctrl+V).
std::vector<int> codigosDigitados(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Backspace) return {8};
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) return {13};
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return {};
    const QString t = e->text();
    std::vector<int> r;
    for (QChar c : t) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) return {};
        r.push_back(Codigo_Ansi(c));
    }
    return r;
}

}  // namespace

namespace {
// The typed part of a key: KeyPress for each character, then the control
// with the key as the handler left it.
void digita(QKeyEvent* e, const EventoTecla& keyPress, const Teclado::Base& base) {
    const std::vector<int> codigos = keyPress ? codigosDigitados(e) : std::vector<int>{};
    if (codigos.empty()) {
        base(e);
        return;
    }
    QString novo;
    bool mudou = false;
    const QString original = e->text();
    for (size_t i = 0; i < codigos.size(); ++i) {
        int k = codigos[i];
        Dispara([&] { keyPress(k); });
        if (k == codigos[i]) {
            // An unchanged key keeps its own character, even one that has no
            // Windows-1252 code.
            if (k == 8 || k == 13) novo += QChar(char16_t(k));
            else novo += original.mid(qsizetype(i), 1);
        } else {
            mudou = true;
            if (k > 0 && k < 256) novo += Caractere_Ansi(k);
        }
    }
    if (!mudou) {
        base(e);
        return;
    }
    if (novo.isEmpty()) {
        e->accept();
        return;
    }
    Qt::Key tecla = Qt::Key_unknown;
    Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::KeypadModifier);
    if (novo == QStringLiteral("\b")) tecla = Qt::Key_Backspace;
    else if (novo == QStringLiteral("\r")) tecla = Qt::Key_Return;
    else if (novo.size() == 1 && novo[0].unicode() < 0x80) tecla = Qt::Key(novo[0].toUpper().unicode());
    QKeyEvent troca(QEvent::KeyPress, tecla, mods, novo, e->isAutoRepeat(), ushort(e->count()));
    base(&troca);
    e->setAccepted(troca.isAccepted());
}
}  // namespace

void Teclado::processaTecla(QKeyEvent* e, const EventoCodigoTecla& keyDown, const EventoTecla& keyPress, const Base& base) {
    const int shift = estadoShift(e->modifiers());
    if (keyDown) {
        const int vk = codigoVirtual(e);
        if (vk != 0) {
            int k = vk;
            Dispara([&] { keyDown(k, shift); });
            if (k == 0) {
                e->accept();
                return;
            }
        }
    }
    // Qt's boxes take the bidirectional controls as any letter: they go
    // here, before KeyPress, and a key that typed nothing else is spent.
    const QString texto = Sem_Controles_Bidi(e->text());
    if (texto.size() == e->text().size()) {
        digita(e, keyPress, base);
        return;
    }
    if (texto.isEmpty()) {
        e->accept();
        return;
    }
    QKeyEvent troca(QEvent::KeyPress, e->key(), e->modifiers(), texto, e->isAutoRepeat(), ushort(e->count()));
    digita(&troca, keyPress, base);
    e->setAccepted(troca.isAccepted());
}

void Teclado::processaSoltura(QKeyEvent* e, const EventoCodigoTecla& keyUp) {
    if (!keyUp || e->isAutoRepeat()) return;
    int k = codigoVirtual(e);
    if (k == 0) return;
    Dispara([&] { keyUp(k, estadoShift(e->modifiers())); });
}

void Teclado::processaEntrada(QInputMethodEvent* e, const EventoTecla& keyPress, const std::function<void(QInputMethodEvent*)>& base) {
    const QString commit = e->commitString();
    QString novo;
    for (QChar c : commit) {
        if (Controle(c.unicode())) continue;
        if (!keyPress) {
            novo += c;
            continue;
        }
        const int codigo = Codigo_Ansi(c);
        int k = codigo;
        Dispara([&] { keyPress(k); });
        if (k == codigo) novo += c;
        else if (k >= 32 && k < 256) novo += Caractere_Ansi(k);
    }
    if (novo == commit) {
        base(e);
        return;
    }
    QInputMethodEvent troca(e->preeditString(), e->attributes());
    troca.setCommitString(novo, e->replacementStart(), e->replacementLength());
    base(&troca);
}

void Teclado::colaComoDigitado(QLineEdit* caixa, const QString& texto, const EventoTecla& keyPress,
                               const std::function<bool(const QString&)>& cabe) {
    for (qsizetype i = 0; i < texto.size(); ++i) {
        // One key event per character, as a keyboard sends it: a character
        // outside the basic plane is one, its two UTF-16 units together.
        const qsizetype n = texto[i].isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        const QString original = texto.mid(i, n);
        i += n - 1;
        if (Controle(original[0].unicode())) continue;
        QString novo;
        for (qsizetype k = 0; k < original.size(); ++k) {
            const int codigo = Codigo_Ansi(original[k]);
            int tecla = codigo;
            if (keyPress) Dispara([&] { keyPress(tecla); });
            if (tecla == codigo) novo += original[k];
            else if (tecla >= 32 && tecla < 256 && tecla != 127) novo += Caractere_Ansi(tecla);
        }
        if (novo.isEmpty()) continue;
        if (cabe && !cabe(novo)) return;
        caixa->insert(novo);
    }
}
