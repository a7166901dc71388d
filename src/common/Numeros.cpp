#include "common/Numeros.h"
#include "platform/Erro.h"
#include <QRegularExpression>
#include <QVariant>
#include <charconv>
#include <cmath>

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

Dinheiro Dinheiro::DeNumero(double valor) {
    if (!std::isfinite(valor)) Levanta_Erro(6, QStringLiteral("Estouro de capacidade."));
    const Decimal d = Arredonda(valor, 2);
    if (d.inteiro.size() > 16) Levanta_Erro(6, QStringLiteral("Estouro de capacidade."));
    const qint64 c = (d.inteiro + d.fracao).toLongLong();
    return Dinheiro(valor < 0 ? -c : c);
}

std::optional<Dinheiro> Dinheiro::Le(const QString& texto) {
    static const QRegularExpression forma(
        QStringLiteral("^([+-])?([0-9]{1,3}(?:\\.[0-9]{3})+|[0-9]{1,16})(?:,([0-9]{1,2}))?$"));
    const auto m = forma.match(texto.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    QString inteiro = m.captured(2).remove(QLatin1Char('.'));
    if (inteiro.size() > 16) return std::nullopt;
    QString fracao = m.captured(3);
    while (fracao.size() < 2) fracao += QLatin1Char('0');
    const qint64 c = (inteiro + fracao).toLongLong();
    return Dinheiro(m.captured(1) == QLatin1String("-") ? -c : c);
}

namespace {
QString Centavos_Texto(qint64 c, bool agrupa) {
    const qint64 a = c < 0 ? -c : c;
    const QString inteiro = QString::number(a / 100);
    return (c < 0 ? QStringLiteral("-") : QString()) + (agrupa ? Agrupa(inteiro) : inteiro) + QLatin1Char(',') +
           QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}
}  // namespace

QString Dinheiro::Formata() const { return Centavos_Texto(c_, true); }

QString Dinheiro::Texto() const { return Centavos_Texto(c_, false); }

QString Formata_Valor(const QString& texto) {
    const auto v = Dinheiro::Le(texto);
    return v ? v->Formata() : texto;
}
