#include "common/Numeros.h"
#include "platform/Erro.h"
#include <QVariant>
#include <charconv>
#include <cmath>
#include <limits>

namespace {
bool Digito(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// The decimal digits of |valor| from its shortest exact representation,
// rounded to `casas` decimals, halves away from zero.
struct Decimal {
    QString inteiro;  // without sign, at least one digit
    QString fracao;   // exactly `casas` digits
};

Decimal Arredonda(double valor, int casas) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, std::fabs(valor), std::chars_format::fixed);
    const QString s = QString::fromLatin1(buf, int(r.ptr - buf));
    const int ponto = s.indexOf(QLatin1Char('.'));
    QString inteiro = ponto < 0 ? s : s.left(ponto);
    QString fracao = ponto < 0 ? QString() : s.mid(ponto + 1);
    bool sobe = false;
    if (fracao.size() > casas) {
        sobe = fracao[casas] >= QLatin1Char('5');
        fracao.truncate(casas);
    }
    while (fracao.size() < casas) fracao += QLatin1Char('0');
    if (sobe) {
        QString digitos = inteiro + fracao;
        int i = digitos.size() - 1;
        for (; i >= 0; --i) {
            if (digitos[i] == QLatin1Char('9')) {
                digitos[i] = QLatin1Char('0');
            } else {
                digitos[i] = QChar(digitos[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) digitos.prepend(QLatin1Char('1'));
        inteiro = digitos.left(digitos.size() - casas);
        fracao = digitos.right(casas);
    }
    if (inteiro.isEmpty()) inteiro = QStringLiteral("0");
    return {inteiro, fracao};
}

QString Agrupa(const QString& inteiro) {
    QString r;
    const int n = inteiro.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) r += QLatin1Char('.');
        r += inteiro[i];
    }
    return r;
}

bool Tudo_Zero(const QString& s) {
    for (QChar c : s)
        if (c != QLatin1Char('0')) return false;
    return true;
}

// The regional reading shared by E_Numerico and Para_Numero: fills the
// sign and the plain digits ("1234.5" form) when the text is a number.
bool Le_Regional(const QString& texto, bool& negativo, QString& simples) {
    const QString s = texto.trimmed();
    int i = 0;
    negativo = false;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        negativo = s[i] == QLatin1Char('-');
        ++i;
        while (i < s.size() && s[i] == QLatin1Char(' ')) ++i;
    }
    QString inteiro, fracao;
    bool virgula = false;
    if (i < s.size() && Digito(s[i])) {
        for (; i < s.size(); ++i) {
            if (Digito(s[i])) inteiro += s[i];
            else if (s[i] != QLatin1Char('.')) break;
        }
    }
    if (i < s.size() && s[i] == QLatin1Char(',')) {
        virgula = true;
        for (++i; i < s.size() && Digito(s[i]); ++i) fracao += s[i];
    }
    if (i != s.size()) return false;
    if (inteiro.isEmpty() && (!virgula || fracao.isEmpty())) return false;
    simples = (inteiro.isEmpty() ? QStringLiteral("0") : inteiro) +
              (fracao.isEmpty() ? QString() : QLatin1Char('.') + fracao);
    return true;
}
}  // namespace

bool E_Tipo_Numerico(const QVariant& valor) {
    switch (valor.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Short: case QMetaType::UShort:
    case QMetaType::Long: case QMetaType::ULong:
        return true;
    default:
        return false;
    }
}

bool E_Numerico(const QString& texto) {
    bool negativo;
    QString simples;
    return Le_Regional(texto, negativo, simples);
}

double Para_Numero(const QString& texto) {
    bool negativo;
    QString simples;
    if (!Le_Regional(texto, negativo, simples))
        Levanta_Erro(13, QStringLiteral("Tipo Incompatível."));
    const double v = simples.toDouble();
    return negativo ? -v : v;
}

std::optional<qint64> Para_Inteiro(const QString& texto) {
    bool negativo;
    QString simples;
    if (!Le_Regional(texto, negativo, simples)) return std::nullopt;
    const qsizetype ponto = simples.indexOf(QLatin1Char('.'));
    if (ponto >= 0 && !Tudo_Zero(simples.mid(ponto + 1))) return std::nullopt;
    __int128 v = 0;
    for (QChar c : QStringView(simples).left(ponto < 0 ? simples.size() : ponto)) {
        v = v * 10 + (c.unicode() - '0');
        if (v > __int128(std::numeric_limits<qint64>::max()) + 1) return std::nullopt;
    }
    if (negativo) v = -v;
    if (v > std::numeric_limits<qint64>::max()) return std::nullopt;
    return qint64(v);
}

qint16 Para_Inteiro16(const QString& texto) {
    const double n = std::nearbyint(Para_Numero(texto));
    if (!(n >= std::numeric_limits<qint16>::min() && n <= std::numeric_limits<qint16>::max()))
        Levanta_Erro(6, QStringLiteral("Estouro de capacidade."));
    return qint16(n);
}

double Val(const QString& texto) {
    QString s;
    for (QChar c : texto)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r')) s += c;
    QString lido;
    int i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) lido += s[i++];
    bool algum = false;
    while (i < s.size() && Digito(s[i])) { lido += s[i++]; algum = true; }
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        lido += s[i++];
        while (i < s.size() && Digito(s[i])) { lido += s[i++]; algum = true; }
    }
    if (!algum) return 0;
    if (i < s.size() && QStringLiteral("EeDd").contains(s[i])) {
        int j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) exp += s[j++];
        bool digitos = false;
        while (j < s.size() && Digito(s[j])) { exp += s[j++]; digitos = true; }
        if (digitos) lido += exp;
    }
    if (lido.endsWith(QLatin1Char('.'))) lido.chop(1);
    bool ok = false;
    const double v = lido.toDouble(&ok);
    return ok ? v : 0;
}

QString Formata(double valor, const QString& padrao) {
    if (!std::isfinite(valor)) return {};
    static const QString numericos = QStringLiteral("0#,.");
    int i = 0;
    while (i < padrao.size() && padrao[i] != QLatin1Char('0') && padrao[i] != QLatin1Char('#')) ++i;
    int j = i;
    while (j < padrao.size() && numericos.contains(padrao[j])) ++j;
    const QString prefixo = padrao.left(i);
    const QString corpo = padrao.mid(i, j - i);
    const QString sufixo = padrao.mid(j);
    if (prefixo.contains(QLatin1Char('%')) || sufixo.contains(QLatin1Char('%'))) valor *= 100;

    const int ponto = corpo.indexOf(QLatin1Char('.'));
    const QString parteInt = ponto < 0 ? corpo : corpo.left(ponto);
    const QString parteDec = ponto < 0 ? QString() : corpo.mid(ponto + 1).remove(QLatin1Char('.')).remove(QLatin1Char(','));
    const bool agrupa = parteInt.contains(QLatin1Char(','));
    const int minInt = int(parteInt.count(QLatin1Char('0')));
    const int casas = int(parteDec.size());
    const int minCasas = int(parteDec.count(QLatin1Char('0')));

    Decimal d = Arredonda(valor, casas);
    QString inteiro = d.inteiro;
    while (!inteiro.isEmpty() && inteiro[0] == QLatin1Char('0')) inteiro.remove(0, 1);
    while (inteiro.size() < minInt) inteiro.prepend(QLatin1Char('0'));
    QString fracao = d.fracao;
    while (fracao.size() > minCasas && fracao.endsWith(QLatin1Char('0'))) fracao.chop(1);
    const bool negativo = valor < 0 && !(Tudo_Zero(d.inteiro) && Tudo_Zero(d.fracao));
    if (agrupa) inteiro = Agrupa(inteiro);
    return (negativo ? QStringLiteral("-") : QString()) + prefixo + inteiro +
           (fracao.isEmpty() ? QString() : QLatin1Char(',') + fracao) + sufixo;
}

QString Formata(const QString& texto, const QString& padrao) {
    if (!E_Numerico(texto)) return texto;
    return Formata(Para_Numero(texto), padrao);
}

std::optional<Decimal_Escrito> Le_Decimal_Escrito(QStringView texto) {
    const QStringView s = texto.trimmed();
    const qsizetype n = s.size();
    qsizetype i = 0;
    Decimal_Escrito d;
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) d.negativo = s[i++] == QLatin1Char('-');
    const qsizetype inicio = i;
    while (i < n && Digito(s[i])) ++i;
    if (i < n && s[i] == QLatin1Char('.')) {
        if (i - inicio < 1 || i - inicio > 3) return std::nullopt;
        while (i < n && s[i] == QLatin1Char('.')) {
            const qsizetype grupo = ++i;
            while (i < n && Digito(s[i])) ++i;
            if (i - grupo != 3) return std::nullopt;
        }
    }
    d.inteiro = s.mid(inicio, i - inicio);
    if (i < n && s[i] == QLatin1Char(',')) {
        const qsizetype decimais = ++i;
        while (i < n && Digito(s[i])) ++i;
        if (i == decimais) return std::nullopt;
        d.fracao = s.mid(decimais, i - decimais);
    }
    if (i != n || (d.inteiro.isEmpty() && d.fracao.isEmpty())) return std::nullopt;
    return d;
}

namespace {
constexpr int MaxDigitosInteiros = 16;  // whole units; their cents still fit 64 bits

// Cents from the whole digits (points skipped) and up to two decimals;
// a third decimal, when given, rounds halves away from zero.
std::optional<qint64> Em_Centavos(bool negativo, QStringView inteiro, QStringView fracao) {
    qint64 v = 0;
    int digitos = 0;
    for (QChar c : inteiro) {
        if (!Digito(c)) continue;
        if (digitos > 0 || c != QLatin1Char('0')) ++digitos;
        // Refused before the digit goes in: twenty nines would not fit 64
        // bits, and the refusal must not depend on what an overflow leaves.
        if (digitos > MaxDigitosInteiros) return std::nullopt;
        v = v * 10 + (c.unicode() - '0');
    }
    for (qsizetype k = 0; k < 2; ++k) v = v * 10 + (k < fracao.size() ? fracao[k].unicode() - '0' : 0);
    if (fracao.size() > 2 && fracao[2] >= QLatin1Char('5')) ++v;
    // Rounding may carry into a seventeenth whole digit, which no reader
    // would take back.
    constexpr qint64 Teto = 1'000'000'000'000'000'000;  // 10^18 cents: 17 whole digits
    if (v >= Teto) return std::nullopt;
    return negativo ? -v : v;
}
}  // namespace

std::optional<Dinheiro> Dinheiro::Le(QStringView texto) {
    const auto d = Le_Decimal_Escrito(texto);
    if (!d || d->fracao.size() > 2) return std::nullopt;
    const auto c = Em_Centavos(d->negativo, d->inteiro, d->fracao);
    if (!c) return std::nullopt;
    return Dinheiro(*c);
}

std::optional<Dinheiro> Dinheiro::DeDecimal(QStringView texto) {
    const QStringView s = texto.trimmed();
    const qsizetype n = s.size();
    qsizetype i = 0;
    bool negativo = false;
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) negativo = s[i++] == QLatin1Char('-');
    const qsizetype inicio = i;
    while (i < n && Digito(s[i])) ++i;
    const QStringView inteiro = s.mid(inicio, i - inicio);
    QStringView fracao;
    if (i < n && s[i] == QLatin1Char('.')) {
        const qsizetype decimais = ++i;
        while (i < n && Digito(s[i])) ++i;
        fracao = s.mid(decimais, i - decimais);
        if (fracao.isEmpty()) return std::nullopt;
    }
    if (i != n || inteiro.isEmpty()) return std::nullopt;
    const auto c = Em_Centavos(negativo, inteiro, fracao);
    if (!c) return std::nullopt;
    return Dinheiro(*c);
}

Dinheiro Dinheiro::DeNumero(double valor) {
    // The shortest decimal that reads back as the same double: 1234.565 is
    // "1234.565" and rounds up, as the amount the user typed would.
    char buf[400];
    const auto r = std::isfinite(valor)
                       ? std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::fixed)
                       : std::to_chars_result{buf, std::errc::value_too_large};
    const auto d = r.ec == std::errc() ? DeDecimal(QString::fromLatin1(buf, int(r.ptr - buf))) : std::nullopt;
    if (!d) Levanta_Erro(6, QStringLiteral("Estouro de capacidade."));
    return *d;
}

Dinheiro Dinheiro::DeCampo(const QVariant& campo) {
    if (campo.isNull() || !campo.isValid()) return {};
    switch (campo.typeId()) {
    case QMetaType::Double: case QMetaType::Float:
        return DeNumero(campo.toDouble());
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::UShort: case QMetaType::Long: case QMetaType::ULong: {
        constexpr qint64 limite = 9'999'999'999'999'999;  // MaxDigitosInteiros nines
        const bool dentro = campo.typeId() == QMetaType::ULongLong || campo.typeId() == QMetaType::ULong
                          ? campo.toULongLong() <= quint64(limite)
                          : campo.toLongLong() >= -limite && campo.toLongLong() <= limite;
        if (!dentro) Levanta_Erro(6, QStringLiteral("Estouro de capacidade."));
        return Dinheiro(campo.toLongLong() * 100);
    }
    case QMetaType::QString:
        if (const auto d = DeDecimal(campo.toString())) return *d;
        break;
    case QMetaType::QByteArray:
        if (const auto d = DeDecimal(QString::fromLatin1(campo.toByteArray()))) return *d;
        break;
    default:
        break;
    }
    Levanta_Erro(13, QStringLiteral("Tipo Incompatível."));
}

namespace {
// Written backwards into a buffer: lists and sends format thousands of
// amounts at a time. The magnitude in unsigned arithmetic: the smallest
// 64-bit value has no positive counterpart.
QString Centavos_Texto(qint64 c, bool agrupa) {
    char16_t b[40];
    char16_t* p = b + 40;
    quint64 a = c < 0 ? 0 - quint64(c) : quint64(c);
    *--p = char16_t(u'0' + a % 10);
    *--p = char16_t(u'0' + a / 10 % 10);
    *--p = u',';
    a /= 100;
    for (int k = 0;; ++k, a /= 10) {
        if (agrupa && k > 0 && k % 3 == 0) *--p = u'.';
        *--p = char16_t(u'0' + a % 10);
        if (a < 10) break;
    }
    if (c < 0) *--p = u'-';
    return QString(reinterpret_cast<const QChar*>(p), b + 40 - p);
}
}  // namespace

QString Dinheiro::Formata() const { return Centavos_Texto(c_, true); }

QString Dinheiro::Texto() const { return Centavos_Texto(c_, false); }

QString Formata_Valor(const QString& texto) {
    const auto v = Dinheiro::Le(texto);
    return v ? v->Formata() : texto;
}
