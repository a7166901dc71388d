// The rows several forms build and read back: whatever the text, each row
// keeps its width in characters and reads back the amounts it was built
// from; a field padded alone keeps its width; a tithe's stored history
// never passes its 50 characters and keeps its membership tag whole.
//   bytes 0-7 and 8-15: two amounts that fit a row's cell; 16: the kind and
//   the day; 17: a width; the rest: the text.
#include "Entrada.h"
#include "common/Dizimo.h"
#include "common/LinhaIgrejaSetor.h"
#include "common/LinhaLancamento.h"
#include "common/LinhaLancamentoDepto.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"

namespace {
Dinheiro D(qint64 c) { return Dinheiro::DeCentavos(c); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t n) {
    Entrada e(dados, n);
    // -99.999,99 to 999.999,99: the amounts a 10-character cell shows.
    const qint64 a = e.Entre(-9'999'999, 99'999'999), b = e.Entre(-9'999'999, 99'999'999);
    const int byte = int(e.Numero(1));
    const QString tipo = QString(QStringLiteral("ODS")[byte % 3]);
    const int dia = byte % 32;
    const int largura = int(e.Numero(1) % 64);
    const QString texto = e.Texto();
    const QByteArray utf8 = texto.toUtf8();

    const QString l = Linha_Lancamento::Monta(tipo, dia, texto, D(a));
    EXIGE(Caracteres::Conta(l) == Linha_Lancamento::Largura, "%s", utf8.constData());
    const auto lida = Linha_Lancamento::Le(l);
    EXIGE((tipo == QLatin1String("S") ? lida.saida : lida.entrada).Centavos() == a, "%s", utf8.constData());
    EXIGE((tipo == QLatin1String("S") ? lida.entrada : lida.saida).Centavos() == 0, "%s", utf8.constData());

    const QString ltipo = tipo == QLatin1String("S") ? QStringLiteral("S") : QStringLiteral("E");
    const QString d = Linha_Lancamento_Depto::Monta(dia, ltipo, texto, D(a));
    EXIGE(Caracteres::Conta(d) == Linha_Lancamento_Depto::Largura, "%s", utf8.constData());
    const auto depto = Linha_Lancamento_Depto::Le(d);
    EXIGE((ltipo == QLatin1String("S") ? depto.saida : depto.entrada).Centavos() == a, "%s", utf8.constData());

    Linha_Igreja_Setor::Igreja ig;
    ig.nome = texto;
    ig.codCongrega = byte;
    ig.calculo = 1;
    ig.entradas = D(a);
    ig.saidas = D(b);
    const QString s = Linha_Igreja_Setor::Monta(ig);
    EXIGE(Caracteres::Conta(s) == Linha_Lancamento::Largura, "%s", utf8.constData());
    const auto setor = Linha_Igreja_Setor::Le(s);
    EXIGE(setor.valor.Centavos() == a && setor.entrada.Centavos() == a && setor.saida.Centavos() == b, "%s",
          utf8.constData());

    for (const char* alinhamento : {"D", "C", "E"})
        EXIGE(Caracteres::Conta(Formata_Texto(texto, largura, QLatin1String(alinhamento))) == largura, "%s",
              utf8.constData());

    if (const auto exibido = Historico_Dizimo::Exibido_Do_Digitado(texto)) {
        EXIGE(Caracteres::Conta(*exibido) <= Historico_Dizimo::Largura, "%s", utf8.constData());
        const QString armazenado = Historico_Dizimo::Armazenado(*exibido);
        EXIGE(Caracteres::Conta(armazenado) <= Historico_Dizimo::Largura, "%s", utf8.constData());
        // The membership tag ends the shown form; the stored one keeps it whole.
        const QString tag = exibido->mid(exibido->indexOf(QStringLiteral("RI:")));
        EXIGE(!Caracteres::Simples(tag) || armazenado.contains(tag), "%s", utf8.constData());
    }
    return 0;
}
