// The readers of typed and stored amounts, numbers and dates: any text is
// read or refused, never crashes or overflows; an amount read is shown and
// read back as the same cents; a refusal is the program's own error.
//   byte 0: which parameter type; bytes 1-8: a double; the rest: the text.
#include "Entrada.h"
#include "common/Numeros.h"
#include "common/ParametroConsulta.h"
#include "common/Texto.h"
#include "platform/Erro.h"
#include <cstring>

namespace {
// The error a reading may raise, and only that one.
template <class F>
void Recusa_So_Com(long numero, F&& f, const QByteArray& texto) {
    try {
        f();
    } catch (const ErroExecucao& erro) {
        EXIGE(erro.Number == numero, "erro %ld em '%s'", long(erro.Number), texto.constData());
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t n) {
    Entrada e(dados, n);
    const int tipo = int(e.Numero(1));
    const quint64 bits = e.Numero(8);
    double real;
    std::memcpy(&real, &bits, sizeof real);
    const QString texto = e.Texto();
    const QByteArray utf8 = texto.toUtf8();

    if (const auto v = Dinheiro::Le(texto)) {
        EXIGE(Dinheiro::Le(v->Formata()) == v && Dinheiro::Le(v->Texto()) == v, "%s", utf8.constData());
        EXIGE(Formata_Valor(texto) == v->Formata(), "%s", utf8.constData());
    } else {
        EXIGE(Formata_Valor(texto) == texto, "%s", utf8.constData());
    }
    if (const auto v = Dinheiro::DeDecimal(texto)) EXIGE(Dinheiro::DeDecimal(v->Texto().replace(QLatin1Char(','), QLatin1Char('.'))) == v, "%s", utf8.constData());
    Recusa_So_Com(6, [&] { Dinheiro::DeNumero(real); }, utf8);

    const bool numero = E_Numerico(texto);
    bool leu = false;
    Recusa_So_Com(13, [&] { Para_Numero(texto); leu = true; }, utf8);
    EXIGE(leu == numero, "%s", utf8.constData());
    if (const auto inteiro = Para_Inteiro(texto)) EXIGE(numero, "%s", utf8.constData());
    Val(texto);
    E_Data(texto);
    Codigo_Positivo(texto);
    Valor_Numerico(texto);
    Formata(texto, QStringLiteral("#,##0.00"));

    const auto t = ParametroConsulta::Tipo(tipo % 8);
    QVariant convertido;
    Recusa_So_Com(3421, [&] { convertido = ParametroConsulta::Converte(t, texto); }, utf8);
    if (t == ParametroConsulta::Tipo::Currency && convertido.isValid())
        EXIGE(Dinheiro::DeNumero(convertido.toDouble()) == *Dinheiro::Le(texto), "%s", utf8.constData());
    return 0;
}
