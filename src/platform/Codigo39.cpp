#include "platform/Codigo39.h"
#include "platform/Erro.h"
#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <algorithm>
#include <memory>
#include <zint.h>

namespace Codigo39 {

namespace {
constexpr int MaximoDados = 85;   // the longest data Zint takes for Code 39
constexpr int BarrasPorCaractere = 5;

[[noreturn]] void Impossivel(const QString& dados) {
    Levanta_Erro(5, QStringLiteral("O código de barras não pode representar \"%1\".").arg(dados));
}

// Zint's bars of the data, between its own start and stop characters.
std::vector<Barra> Codifica(const QByteArray& dados) {
    const std::unique_ptr<zint_symbol, decltype(&ZBarcode_Delete)> s(ZBarcode_Create(), &ZBarcode_Delete);
    if (!s) Levanta_Erro(7, QStringLiteral("Memória insuficiente."));
    s->symbology = BARCODE_EXCODE39;
    s->show_hrt = 0;
    s->whitespace_width = 0;
    s->output_options = 0;
    if (ZBarcode_Encode(s.get(), reinterpret_cast<const unsigned char*>(dados.constData()), int(dados.size())) >=
            ZINT_ERROR ||
        ZBarcode_Buffer_Vector(s.get(), 0) >= ZINT_ERROR || !s->vector)
        Impossivel(QString::fromLatin1(dados));
    std::vector<Barra> barras;
    for (const zint_vector_rect* r = s->vector->rectangles; r; r = r->next) barras.push_back({r->x, r->width});
    if (barras.empty()) Impossivel(QString::fromLatin1(dados));
    // Zint scales its vectors; a narrow bar is the unit the symbol is
    // measured in, and every Code 39 symbol has one.
    const double estreita =
        std::min_element(barras.begin(), barras.end(), [](const Barra& a, const Barra& b) {
            return a.largura < b.largura;
        })->largura;
    const double inicio = barras.front().x;
    for (Barra& b : barras) b = {(b.x - inicio) / estreita, b.largura / estreita};
    return barras;
}
}  // namespace

QString Nome() { return QStringLiteral("Free 3 of 9 Extended"); }

std::vector<Barra> Barras(const QString& texto) {
    QString dados = texto;
    if (dados.startsWith(QLatin1Char('*'))) dados.remove(0, 1);
    if (dados.endsWith(QLatin1Char('*'))) dados.chop(1);
    if (dados.size() > MaximoDados) Impossivel(dados);
    for (const QChar c : dados)
        if (c.unicode() == 0 || c.unicode() > 127) Impossivel(dados);
    if (!dados.isEmpty()) return Codifica(dados.toLatin1());

    // No data: Zint refuses an empty symbol, so its start and stop come
    // from the symbol of one character, with that character taken out.
    std::vector<Barra> barras = Codifica(QByteArrayLiteral("-"));
    if (barras.size() != 3 * BarrasPorCaractere) Impossivel(dados);
    const double recuo = barras[2 * BarrasPorCaractere].x - barras[BarrasPorCaractere].x;
    barras.erase(barras.begin() + BarrasPorCaractere, barras.begin() + 2 * BarrasPorCaractere);
    for (size_t i = BarrasPorCaractere; i < barras.size(); ++i) barras[i].x -= recuo;
    return barras;
}

double Desenha(QPainter& pintor, const QPointF& topo, const QFont& fonte, const QString& texto) {
    const std::vector<Barra> barras = Barras(texto);
    const QPaintDevice* d = pintor.device();
    const double pontos = fonte.pointSizeF();
    const double altura = pontos / 72.0 * d->logicalDpiY();
    const double estreita = std::max(pontos / 48.0 / 72.0, 0.25 / 25.4) * d->logicalDpiX();
    for (const Barra& b : barras)
        pintor.fillRect(QRectF(topo.x() + b.x * estreita, topo.y(), b.largura * estreita, altura), Qt::black);
    return altura;
}

}  // namespace Codigo39
