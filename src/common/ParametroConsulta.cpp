#include "common/ParametroConsulta.h"
#include "common/Numeros.h"
#include "platform/Erro.h"
#include <QDate>
#include <QTime>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace ParametroConsulta {

namespace {

struct Nome {
    Tipo tipo;
    const char* texto;
};
constexpr Nome Nomes[] = {
    {Tipo::Text, "Text"},         {Tipo::Long, "Long"},         {Tipo::Integer, "Integer"},
    {Tipo::Byte, "Byte"},         {Tipo::Currency, "Currency"}, {Tipo::Double, "Double"},
    {Tipo::DateTime, "DateTime"}, {Tipo::Boolean, "Boolean"},
};

// A number as written, kept as its decimal digits so that rounding works on
// the exact value and not on a binary approximation of it.
struct Decimal {
    bool negativo = false;
    QString inteiro;  // digits before the comma, without leading zeros
    QString fracao;   // digits after the comma
};

std::optional<Decimal> LeDecimal(const QString& texto) {
    const auto e = Le_Decimal_Escrito(texto);
    if (!e) return std::nullopt;
    Decimal d;
    d.negativo = e->negativo;
    d.inteiro = e->inteiro.toString().remove(QLatin1Char('.'));
    while (d.inteiro.startsWith(QLatin1Char('0'))) d.inteiro.remove(0, 1);
    d.fracao = e->fracao.toString();
    return d;
}

[[noreturn]] void Recusa(Tipo tipo, const QString& texto) {
    throw ErroExecucao(3421, QStringLiteral("Erro de conversão: \"%1\" não é um valor %2.").arg(texto, NomeDoTipo(tipo)));
}

// The number scaled by 10^casas, rounded half to even on the digits that do
// not fit; no value when it does not fit in 64 bits.
std::optional<qint64> Escalado(const Decimal& d, int casas) {
    if (d.inteiro.size() > 18) return std::nullopt;
    QString digitos = d.inteiro + d.fracao.left(casas).leftJustified(casas, QLatin1Char('0'));
    const QString resto = d.fracao.mid(casas);
    __int128 v = 0;
    for (QChar c : digitos) v = v * 10 + (c.unicode() - '0');
    if (!resto.isEmpty()) {
        const int primeiro = resto[0].unicode() - '0';
        bool outrosNaoZero = false;
        for (qsizetype i = 1; i < resto.size(); ++i) outrosNaoZero |= resto[i] != QLatin1Char('0');
        if (primeiro > 5 || (primeiro == 5 && (outrosNaoZero || (v % 2) != 0))) ++v;
    }
    if (d.negativo) v = -v;
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min()) return std::nullopt;
    return qint64(v);
}

qint64 Inteiro(Tipo tipo, const QString& texto, qint64 minimo, qint64 maximo) {
    // Plain digits, as codes and counts come (a step of the register
    // download passes thousands): read at once, to the same value.
    if (!texto.isEmpty() && texto.size() <= 18) {
        qint64 v = 0;
        bool digitos = true;
        for (const QChar c : texto) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                digitos = false;
                break;
            }
            v = v * 10 + (c.unicode() - '0');
        }
        if (digitos) {
            if (v < minimo || v > maximo) Recusa(tipo, texto);
            return v;
        }
    }
    const auto d = LeDecimal(texto);
    if (!d) Recusa(tipo, texto);
    const auto v = Escalado(*d, 0);
    if (!v || *v < minimo || *v > maximo) Recusa(tipo, texto);
    return *v;
}

double Real(Tipo tipo, const QString& texto) {
    const auto d = LeDecimal(texto);
    if (!d) Recusa(tipo, texto);
    const QString c = (d->negativo ? QStringLiteral("-") : QString()) +
                      (d->inteiro.isEmpty() ? QStringLiteral("0") : d->inteiro) + QLatin1Char('.') +
                      (d->fracao.isEmpty() ? QStringLiteral("0") : d->fracao);
    bool ok = false;
    const double v = c.toDouble(&ok);  // QString::toDouble reads the C locale
    if (!ok || !std::isfinite(v)) Recusa(tipo, texto);
    return v;
}

QString DataHora(const QString& texto) {
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{1,2})/(\\d{1,2})/(\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const auto m = re.match(texto.trimmed());
    if (!m.hasMatch()) Recusa(Tipo::DateTime, texto);
    const QDate data(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    const QTime hora(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    if (!data.isValid() || !hora.isValid()) Recusa(Tipo::DateTime, texto);
    // Date and time written as they were typed, never through a local
    // QDateTime: a day whose midnight the clocks skip (a daylight-saving
    // start) would make that invalid and come out as the empty text.
    return data.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + hora.toString(QStringLiteral("HH:mm:ss"));
}

}  // namespace

std::optional<Tipo> TipoDeNome(QStringView nome) {
    for (const auto& n : Nomes)
        if (nome.compare(QLatin1String(n.texto), Qt::CaseInsensitive) == 0) return n.tipo;
    return std::nullopt;
}

QString NomeDoTipo(Tipo tipo) {
    for (const auto& n : Nomes)
        if (n.tipo == tipo) return QLatin1String(n.texto);
    return {};
}

QVariant Converte(Tipo tipo, const QString& texto) {
    switch (tipo) {
    case Tipo::Text:
        return texto;
    case Tipo::Long:
        // Codes are 64-bit wherever they are stored or carried.
        return qlonglong(Inteiro(tipo, texto, std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()));
    case Tipo::Integer:
        return qlonglong(Inteiro(tipo, texto, std::numeric_limits<qint16>::min(), std::numeric_limits<qint16>::max()));
    case Tipo::Byte:
        return qlonglong(Inteiro(tipo, texto, 0, 255));
    case Tipo::Currency: {
        // An amount is money: the one amount reading, exact to the cent,
        // bound as the REAL the file keeps for those cents.
        const auto v = Dinheiro::Le(texto);
        if (!v) Recusa(tipo, texto);
        // The file keeps a REAL: an amount whose REAL reads back as other
        // cents (far beyond any church's figures, from about 2^46 whole
        // units on) would be stored as another amount, so it is refused.
        const double real = v->Numero();
        bool igual = false;
        try {
            igual = Dinheiro::DeNumero(real) == *v;
        } catch (const ErroExecucao&) {
            // rounded beyond the amounts there are: not the same either
        }
        if (!igual) Recusa(tipo, texto);
        return real;
    }
    case Tipo::Double:
        return Real(tipo, texto);
    case Tipo::DateTime:
        return DataHora(texto);
    case Tipo::Boolean: {
        const QString t = texto.trimmed();
        if (t.compare(QLatin1String("Verdadeiro"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return qlonglong(1);
        if (t.compare(QLatin1String("Falso"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return qlonglong(0);
        return qlonglong(Real(tipo, texto) != 0.0 ? 1 : 0);
    }
    }
    Recusa(tipo, texto);
}

}  // namespace ParametroConsulta
