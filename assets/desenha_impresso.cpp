// Draws the pictures the printouts print over, at build time: frames, rules
// and captions of a pre-printed form, and none of the texts the program
// prints. A treasurer may replace a file by a scan of a form.
//
//   desenha_impresso FIGURA SAIDA   writes the picture FIGURA (a greyscale
//                                   PNG, 300 dpi) into the file SAIDA
//
// Each picture is described in page millimetres, as the printout places it:
// Desenho takes a place on the page and puts it where the picture lands.
// A picture is one entry of Figuras below and one function that draws it.
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <cstdio>
#include <cstring>

namespace {
constexpr double Dpi = 300;
double Pontos(double mm) { return mm * Dpi / 25.4; }

// Greys of the drawing. The printouts' texts may stand on Claro, never on
// anything darker: the closing reports' test holds each printed word to
// paper that light.
constexpr int Preto = 0, Escuro = 60, Medio = 120, Linha = 170, Faixa = 215, Claro = 244;

// Drawing helpers in page millimetres for a picture printed at (x0, y0).
class Desenho {
public:
    Desenho(QImage& img, double x0, double y0) : pt_(&img), x0_(x0), y0_(y0) {
        pt_.setRenderHint(QPainter::Antialiasing);
    }

    void linha(double x1, double y1, double x2, double y2, double espessura, int cinza = Preto,
               Qt::PenStyle estilo = Qt::SolidLine) {
        QPen pen(QColor(cinza, cinza, cinza), Pontos(espessura));
        pen.setStyle(estilo);
        pen.setCapStyle(Qt::FlatCap);
        pt_.setPen(pen);
        pt_.drawLine(p(x1, y1), p(x2, y2));
    }
    void horizontal(double y, double x1, double x2, double espessura, int cinza = Preto) {
        linha(x1, y, x2, y, espessura, cinza);
    }
    void vertical(double x, double y1, double y2, double espessura, int cinza = Preto) {
        linha(x, y1, x, y2, espessura, cinza);
    }
    void pontilhada(double y, double x1, double x2) { linha(x1, y, x2, y, 0.15, Linha, Qt::DotLine); }
    void caixa(double x, double y, double w, double h, double espessura = 0.3, double raio = 0) {
        pt_.setPen(QPen(Qt::black, Pontos(espessura)));
        pt_.setBrush(Qt::NoBrush);
        if (raio > 0) pt_.drawRoundedRect(r(x, y, w, h), Pontos(raio), Pontos(raio));
        else pt_.drawRect(r(x, y, w, h));
    }
    void faixa(double x, double y, double w, double h, int cinza) { pt_.fillRect(r(x, y, w, h), QColor(cinza, cinza, cinza)); }
    // A caption in points, aligned inside the rectangle; "\n" breaks lines.
    void texto(double x, double y, double w, double h, const QString& t, double pontos, bool negrito = false,
               Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter, int cinza = Preto) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(qRound(pontos / 72.0 * Dpi));
        f.setBold(negrito);
        pt_.setFont(f);
        pt_.setPen(QColor(cinza, cinza, cinza));
        pt_.drawText(r(x, y, w, h), int(a), t);
    }
    // A form's field caption: small grey capitals.
    void rotulo(double x, double y, double w, double h, const QString& t, Qt::Alignment a = Qt::AlignRight | Qt::AlignVCenter) {
        texto(x, y, w, h, t, 6, true, a, Escuro);
    }

private:
    QPointF p(double x, double y) const { return {Pontos(x - x0_), Pontos(y - y0_)}; }
    QRectF r(double x, double y, double w, double h) const { return {Pontos(x - x0_), Pontos(y - y0_), Pontos(w), Pontos(h)}; }

    QPainter pt_;
    double x0_, y0_;
};

// The monthly closing reports of the cash book and of a department, printed
// at (5, 5) with 200 x 280 mm. Their texts stand, in Courier New (2.54 mm a
// character, 4.8 mm a line at 12 points), at fixed places:
//   14-19    the document code, from x 171
//   18-23    the department line, x 10 to 196 (department report)
//   25-30    sector from x 25, code and church from x 130 to the edge
//   32-37    month from x 25, year from x 112 (115), page from x 180
//   48-219   the body: a line every 5.94 mm, day at 12, history 24 to 146,
//            amounts 144-175 and 172-203, banners across 10 to 201
//   220-231  the totals at 144 and 172; 232-255 the closing block
//   264-269  the date at 14, 32, 48; 280-283 the credit line from 178
// Every rule and caption stands clear of those, with room for totals one
// character wider than their cell.
void Impresso(Desenho& d) {
    // The frame's right side as far out as the picture goes: the church's
    // name runs to the paper's edge.
    const double esq = 7, dir = 204.7, topo = 7, base = 284;
    d.caixa(esq, topo, dir - esq, base - topo, 0.4);

    // Title, above the document code and the department line.
    d.texto(10, 7.6, 155, 5.4, QStringLiteral("TESOURARIA — FECHAMENTO MENSAL"), 11, true);
    d.texto(10, 13.1, 110, 2.8, QStringLiteral("Movimento do mês: receitas, despesas e saldos"), 6, false,
            Qt::AlignLeft | Qt::AlignVCenter, Medio);
    d.rotulo(170, 10.4, 32, 2.8, QStringLiteral("Nº DO DOCUMENTO"), Qt::AlignLeft | Qt::AlignVCenter);
    d.horizontal(23.9, esq, dir, 0.2);

    // Identification: a caption before each field, a line to write on.
    d.texto(8, 25, 16, 4.8, QStringLiteral("SETOR /\nIGREJA"), 5.5, true, Qt::AlignRight | Qt::AlignVCenter, Escuro);
    d.pontilhada(30.9, 25, dir - 1);
    d.rotulo(8, 32, 16, 4.8, QStringLiteral("MÊS"));
    d.rotulo(90, 32, 20.5, 4.8, QStringLiteral("ANO"));
    d.rotulo(158, 32, 20.5, 4.8, QStringLiteral("FOLHA"));
    d.pontilhada(37.6, 25, dir - 1);

    // Column headings, over the body.
    const double cab = 38.6, corpo = 47.2, fimCorpo = 219.55;
    const double c1 = 22, c2 = 147, c3 = 175.8;
    d.faixa(esq, cab, dir - esq, corpo - cab, Faixa);
    d.horizontal(cab, esq, dir, 0.3);
    d.horizontal(corpo, esq, dir, 0.3);
    const auto titulo = [&](double x1, double x2, const QString& t) {
        d.texto(x1, cab, x2 - x1, corpo - cab, t, 7.5, true, Qt::AlignCenter);
    };
    titulo(esq, c1, QStringLiteral("DIA"));
    titulo(c1, c2, QStringLiteral("HISTÓRICO DO LANÇAMENTO"));
    titulo(c2, c3, QStringLiteral("ENTRADAS R$"));
    titulo(c3, dir, QStringLiteral("SAÍDAS R$"));
    for (double x : {c1, c2, c3}) d.vertical(x, cab, corpo, 0.2, Medio);
    // Every other line of the body lightly shaded: the banners and totals
    // run across the columns, so the body has no rules of its own.
    for (int i = 1; i < 29; i += 2) d.faixa(esq + 0.3, 48 + i * 5.94 - 0.55, dir - esq - 0.6, 5.94, Claro);
    d.horizontal(fimCorpo, esq, dir, 0.15);

    // Totals of the page and the closing of the month: captions left of
    // x 139, amounts right of it.
    const double valores = 139.5;
    const auto legenda = [&](double y, const QString& t) {
        d.texto(40, y, valores - 41.5, 4.8, t, 7, true, Qt::AlignRight | Qt::AlignVCenter, Escuro);
    };
    legenda(220, QStringLiteral("SOMA DAS ENTRADAS"));
    legenda(226, QStringLiteral("SOMA DAS SAÍDAS"));
    d.horizontal(231.4, esq, dir, 0.3);
    d.faixa(esq + 0.3, 231.6, 30, 24.6, Faixa);
    d.texto(esq + 1, 231.8, 28, 24.2, QStringLiteral("APURAÇÃO\nDO MÊS"), 7.5, true, Qt::AlignCenter, Escuro);
    legenda(232, QStringLiteral("Remessa calculada sobre a base (60%)"));
    legenda(238, QStringLiteral("Remessas à Matriz"));
    legenda(244, QStringLiteral("Saldo anterior"));
    legenda(250, QStringLiteral("Saldo que passa ao mês seguinte"));
    for (double y : {237.4, 243.4, 249.4}) d.horizontal(y, 38, dir - 1, 0.1, Linha);
    d.vertical(valores, 231.4, 256.5, 0.2, Medio);
    d.horizontal(256.5, esq, dir, 0.4);

    // Date of the closing, in three boxes, and the signatures.
    d.rotulo(10, 258, 55, 3.5, QStringLiteral("DATA DO FECHAMENTO"), Qt::AlignLeft | Qt::AlignVCenter);
    const struct { double x, w; const char* rotulo; } datas[] = {{12.6, 8, "dia"}, {30.6, 8, "mês"}, {46.6, 13, "ano"}};
    for (const auto& c : datas) {
        d.caixa(c.x, 263.1, c.w, 6.6, 0.25);
        d.texto(c.x, 270.1, c.w, 2.8, QString::fromUtf8(c.rotulo), 5, false, Qt::AlignCenter, Medio);
    }
    d.texto(21.5, 263.1, 8, 6.6, QStringLiteral("/"), 12, false, Qt::AlignCenter, Medio);
    d.texto(39.5, 263.1, 6.3, 6.6, QStringLiteral("/"), 12, false, Qt::AlignCenter, Medio);
    d.horizontal(271, 75, 135, 0.25);
    d.texto(75, 271.5, 60, 3.5, QStringLiteral("Tesoureiro(a)"), 6.5, false, Qt::AlignCenter, Escuro);
    d.horizontal(271, 143, 201, 0.25);
    d.texto(143, 271.5, 58, 3.5, QStringLiteral("Pastor(a) responsável"), 6.5, false, Qt::AlignCenter, Escuro);
    d.horizontal(278.5, esq, dir, 0.2, Medio);
    d.texto(10, 279.3, 120, 4, QStringLiteral("Guarde esta folha com os comprovantes do mês."), 6, false,
            Qt::AlignLeft | Qt::AlignVCenter, Medio);
}

// The receipt, printed at (5, 5) with 200 x 143 mm. Its texts stand, in
// Courier New 14 (2.96 mm a character, 5.6 mm a line), with their tops at:
//   44.5   number from x 46, church code from 108, total ending at 191.6
//          (a wider one reaches left to 150)
//   54.5   beneficiary from 25 (42 characters reach the CPF), CPF in 17
//          characters from 150
//   67.5   paying church from 17 to the picture's edge at 205
//   77, 84, 91.5, 99   descriptions from 22 (46 characters reach 158),
//          values ending at 191.6
//   117.5  day at 68, month in 13 characters from 87, year at 136
//   142    the credit line, 7 points, from 168
// Captions and rules keep clear of them.
void Recibo(Desenho& d) {
    // The frame's right side as far out as the picture goes: the paying
    // church's text runs to the picture's edge.
    const double esq = 7, dir = 204.7, topo = 7, base = 146;
    d.caixa(esq, topo, dir - esq, base - topo, 0.5);
    d.texto(esq, 12, dir - esq, 10, QStringLiteral("RECIBO PARA PAGAMENTO AVULSO"), 15, true, Qt::AlignCenter);
    d.horizontal(25, esq + 20, dir - 20, 0.3, Medio);

    const auto legenda = [&](double x, double y, double w, const QString& t) {
        d.texto(x, y, w, 5.6, t, 9, true, Qt::AlignRight | Qt::AlignVCenter, Escuro);
    };
    const auto linha = [&](double x1, double x2, double y) { d.horizontal(y, x1, x2, 0.2, Medio); };

    // Number, code and total in boxes.
    legenda(11, 44.5, 33, QStringLiteral("Recibo Nº"));
    d.caixa(44.5, 42.5, 26, 9, 0.3);
    legenda(84, 44.5, 22.5, QStringLiteral("Código"));
    d.caixa(106.5, 42.5, 15, 9, 0.3);
    legenda(137, 44.5, 11.5, QStringLiteral("R$"));
    d.caixa(149, 42.5, 46, 9, 0.3);

    // Who received, and from whom.
    legenda(11, 54.5, 13.5, QStringLiteral("Eu,"));
    linha(25, 137, 60.4);
    // The CPF's caption above its line: a long name runs up to it.
    d.rotulo(150, 50.7, 20, 3.6, QStringLiteral("CPF"), Qt::AlignLeft | Qt::AlignVCenter);
    linha(150, 201, 60.4);
    d.texto(12, 61.3, 190, 5, QStringLiteral("Recebi a importância supra citada referente ao(s) iten(s) abaixo descrito(s) de"),
            8.5, false, Qt::AlignLeft | Qt::AlignVCenter, Escuro);
    linha(17, 202, 73.4);

    // The four items and their values, under one "R$": a description of
    // 46 characters runs to where a value of 12 begins.
    d.rotulo(150, 73.8, 41.6, 3, QStringLiteral("R$"));
    const double itens[] = {77, 84, 91.5, 99};
    for (int i = 0; i < 4; ++i) {
        const double y = itens[i];
        legenda(11, y, 10.5, QStringLiteral("%1)").arg(i + 1));
        linha(22, 149, y + 5.9);
        linha(150, 195, y + 5.9);
    }

    // The date: day "de" month "de" year, and the signature.
    linha(66, 75.5, 123.4);
    d.texto(75.5, 117.5, 11, 5.6, QStringLiteral("de"), 10, false, Qt::AlignCenter, Escuro);
    linha(86.5, 126.5, 123.4);
    d.texto(126.5, 117.5, 9, 5.6, QStringLiteral("de"), 10, false, Qt::AlignCenter, Escuro);
    linha(135.5, 149, 123.4);
    d.horizontal(136, 60, 150, 0.25);
    d.texto(60, 136.4, 90, 3.6, QStringLiteral("Assinatura"), 7, false, Qt::AlignCenter, Medio);
}

struct Figura {
    const char* nome;
    double x0, y0, largura, altura;  // where the printout paints it, in page millimetres
    void (*desenha)(Desenho&);
};
constexpr Figura Figuras[] = {
    {"impresso", 5, 5, 200, 280, Impresso},
    {"recibo", 5, 5, 200, 143, Recibo},
};
}  // namespace

int main(int argc, char** argv) {
    // The picture is drawn into an image: no screen is needed, and none
    // may be there.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const Figura* figura = nullptr;
    for (const Figura& f : Figuras)
        if (argc == 3 && std::strcmp(argv[1], f.nome) == 0) figura = &f;
    if (!figura) {
        std::fprintf(stderr, "uso: desenha_impresso FIGURA SAIDA (FIGURA:");
        for (const Figura& f : Figuras) std::fprintf(stderr, " %s", f.nome);
        std::fprintf(stderr, ")\n");
        return 2;
    }
    QImage img(qRound(Pontos(figura->largura)), qRound(Pontos(figura->altura)), QImage::Format_Grayscale8);
    img.fill(Qt::white);
    img.setDotsPerMeterX(qRound(Dpi / 0.0254));
    img.setDotsPerMeterY(qRound(Dpi / 0.0254));
    {
        Desenho d(img, figura->x0, figura->y0);
        figura->desenha(d);
    }
    if (!img.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "desenha_impresso: não gravou %s\n", argv[2]);
        return 1;
    }
    return 0;
}
