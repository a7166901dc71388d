// Draws the pre-printed forms the printouts print over: the frame, the
// captions and the blanks that the printout fills. Each picture is printed
// at (5, 5) mm, so a place on the page at (x, y) mm is (x - 5, y - 5) mm
// here. None carries a text the program prints; a treasurer may replace a
// file by a scan of a form.
//
//   desenha_impresso FIGURA SAIDA   writes the picture FIGURA, a greyscale
//                                   PNG at 300 dpi, into the file SAIDA:
//     impresso   the monthly closing reports' page, 200 x 280 mm
//     recibo     the standalone payment receipt, 200 x 143 mm
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <cstdio>
#include <cstring>

namespace {
constexpr double Dpi = 300;
constexpr double Origem = 5;  // mm: where the picture lands on the page

// Page millimetres to the picture's pixels.
double px(double mm) { return (mm - Origem) * Dpi / 25.4; }
double tam(double mm) { return mm * Dpi / 25.4; }
QPointF p(double x, double y) { return {px(x), px(y)}; }
QRectF r(double x, double y, double w, double h) { return {px(x), px(y), tam(w), tam(h)}; }

class Desenho {
public:
    explicit Desenho(QImage& img) : pt_(&img) { pt_.setRenderHint(QPainter::Antialiasing); }

    void linha(double x1, double y1, double x2, double y2, double mm, int cinza = 0, Qt::PenStyle estilo = Qt::SolidLine) {
        QPen pen(QColor(cinza, cinza, cinza), tam(mm));
        pen.setStyle(estilo);
        pt_.setPen(pen);
        pt_.drawLine(p(x1, y1), p(x2, y2));
    }
    void caixa(double x, double y, double w, double h, double mm = 0.3, int fundo = -1, double raio = 0) {
        pt_.setPen(QPen(Qt::black, tam(mm)));
        pt_.setBrush(fundo < 0 ? QBrush(Qt::NoBrush) : QBrush(QColor(fundo, fundo, fundo)));
        if (raio > 0) pt_.drawRoundedRect(r(x, y, w, h), tam(raio), tam(raio));
        else pt_.drawRect(r(x, y, w, h));
    }
    void faixa(double x, double y, double w, double h, int cinza) { pt_.fillRect(r(x, y, w, h), QColor(cinza, cinza, cinza)); }
    // A caption in points, aligned inside the rectangle.
    void texto(double x, double y, double w, double h, const QString& t, double pontos, bool negrito = false,
               Qt::Alignment a = Qt::AlignLeft | Qt::AlignVCenter, int cinza = 0) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(qRound(pontos / 72.0 * Dpi));
        f.setBold(negrito);
        pt_.setFont(f);
        pt_.setPen(QColor(cinza, cinza, cinza));
        pt_.drawText(r(x, y, w, h), a, t);
    }

private:
    QPainter pt_;
};

// Where the report's items fall (page millimetres): header above 44, body
// slots from 48 every 5.94 mm to 220, totals at 220 and 226, the closing
// block 232 to 256, the date at 264, the credit line at 280.
void Desenha(Desenho& d) {
    const double esq = 7, dir = 204, topo = 7, base = 284;
    d.caixa(esq, topo, dir - esq, base - topo, 0.5);

    // Title and the document code's box.
    d.texto(10, 8.5, 150, 6, QStringLiteral("TESOURARIA — RELATÓRIO DE FECHAMENTO MENSAL"), 12, true);
    d.texto(10, 14.5, 150, 4, QStringLiteral("Movimento do caixa: receitas, despesas e saldos do mês"), 7, false,
            Qt::AlignLeft | Qt::AlignVCenter, 80);
    d.caixa(166, 9, 36, 11, 0.3, -1, 1);
    d.texto(167, 9.3, 34, 3, QStringLiteral("Código do documento"), 5, false, Qt::AlignLeft | Qt::AlignVCenter, 60);
    d.linha(esq, 21, dir, 21, 0.3);

    // Identification: captions to the left of each field.
    const auto rotulo = [&](double x, double y, double w, const QString& t) {
        d.texto(x, y, w, 5, t, 6.5, true, Qt::AlignRight | Qt::AlignVCenter, 50);
    };
    rotulo(8, 25, 15.5, QStringLiteral("SETOR"));
    rotulo(106, 25, 22.5, QStringLiteral("IGREJA"));
    rotulo(8, 32, 15.5, QStringLiteral("MÊS"));
    rotulo(99, 32, 14.5, QStringLiteral("ANO"));
    rotulo(163, 32, 15.5, QStringLiteral("FOLHA"));
    for (double y : {30.6, 37.6}) d.linha(24.5, y, dir - 3, y, 0.15, 150, Qt::DotLine);

    // Column headings over the body.
    const double cab = 40, corpo = 47, fimCorpo = 219.5;
    const double c1 = 21.5, c2 = 146.5, c3 = 175.6;
    d.faixa(esq, cab, dir - esq, corpo - cab, 215);
    d.linha(esq, cab, dir, cab, 0.3);
    d.linha(esq, corpo, dir, corpo, 0.3);
    const auto titulo = [&](double x1, double x2, const QString& t) {
        d.texto(x1, cab, x2 - x1, corpo - cab, t, 7.5, true, Qt::AlignCenter);
    };
    titulo(esq, c1, QStringLiteral("DIA"));
    titulo(c1, c2, QStringLiteral("HISTÓRICO DO LANÇAMENTO"));
    titulo(c2, c3, QStringLiteral("ENTRADAS R$"));
    titulo(c3, dir, QStringLiteral("SAÍDAS R$"));
    for (double x : {c1, c2, c3}) d.linha(x, cab, x, fimCorpo, 0.2, 120);
    // A faint rule under each of the 29 line slots.
    for (int i = 1; i <= 29; ++i) {
        const double y = 48 + i * 5.94 - 0.6;
        if (y < fimCorpo) d.linha(esq + 1, y, dir - 1, y, 0.1, 200);
    }
    d.linha(esq, fimCorpo, dir, fimCorpo, 0.4);

    // Totals of the page and the closing of the month.
    const auto legenda = [&](double y, const QString& t) {
        d.texto(38, y, 99, 5.2, t, 7, true, Qt::AlignRight | Qt::AlignVCenter, 40);
    };
    legenda(220, QStringLiteral("SOMA DAS ENTRADAS"));
    legenda(226, QStringLiteral("SOMA DAS SAÍDAS"));
    d.linha(esq, 231.6, dir, 231.6, 0.3);
    d.faixa(esq + 0.3, 231.8, 30, 25, 235);
    d.texto(esq + 1, 232, 28, 24, QStringLiteral("APURAÇÃO\nDO MÊS"), 7.5, true, Qt::AlignCenter, 30);
    legenda(232, QStringLiteral("Remessa calculada sobre a base (60%)"));
    legenda(238, QStringLiteral("Remessas à Matriz"));
    legenda(244, QStringLiteral("Saldo anterior"));
    legenda(250, QStringLiteral("Saldo que passa ao mês seguinte"));
    for (double y : {237.6, 243.6, 249.6}) d.linha(38, y, dir - 1, y, 0.1, 190);
    d.linha(c2, 231.6, c2, 256, 0.2, 120);
    d.linha(c3, 231.6, c3, 256, 0.2, 120);
    d.linha(esq, 256.3, dir, 256.3, 0.4);

    // Date of the closing: three boxes, and the signatures.
    d.texto(10, 257.5, 55, 3.5, QStringLiteral("Data do fechamento"), 6, true, Qt::AlignLeft | Qt::AlignVCenter, 50);
    const struct { double x, w; const char* rotulo; } datas[] = {{12.5, 8, "dia"}, {30.5, 8, "mês"}, {46.5, 13, "ano"}};
    for (const auto& c : datas) {
        d.caixa(c.x, 262.5, c.w, 6.5, 0.25);
        d.texto(c.x, 269.3, c.w, 3, QString::fromUtf8(c.rotulo), 5, false, Qt::AlignCenter, 70);
    }
    d.texto(21, 262.5, 9, 6.5, QStringLiteral("/"), 12, false, Qt::AlignCenter, 90);
    d.texto(39, 262.5, 7, 6.5, QStringLiteral("/"), 12, false, Qt::AlignCenter, 90);
    d.linha(75, 270, 135, 270, 0.25);
    d.texto(75, 270.5, 60, 3.5, QStringLiteral("Tesoureiro(a)"), 6.5, false, Qt::AlignCenter, 40);
    d.linha(143, 270, 201, 270, 0.25);
    d.texto(143, 270.5, 58, 3.5, QStringLiteral("Pastor(a) responsável"), 6.5, false, Qt::AlignCenter, 40);
    d.linha(esq, 278.5, dir, 278.5, 0.2, 120);
    d.texto(10, 279.3, 120, 4, QStringLiteral("Guarde esta folha com os comprovantes do mês."), 6, false,
            Qt::AlignLeft | Qt::AlignVCenter, 90);
}
// The receipt, printed at (5, 5) with 200 x 143 mm. Its texts stand in
// Courier New 14 (2.96 mm a character) with their tops at:
//   44.5   number from x 46, church code from 108, total ending at 191.6
//          (a wider one reaches left to 150)
//   54.5   beneficiary from 25, CPF in 17 characters from 150
//   67.5   paying church from 17 to the picture's edge at 205
//   77, 84, 91.5, 99   descriptions from 22, values ending at 191.6
//   117.5  day at 68, month in 13 characters from 87, year at 136
//   142    the credit line, 7 points, from 168
// Captions and rules keep clear of them.
void Recibo(Desenho& d) {
    // The frame's right side as far out as the picture goes: the paying
    // church's text runs to the picture's edge.
    const double esq = 7, dir = 204.7, topo = 7, base = 146;
    d.caixa(esq, topo, dir - esq, base - topo, 0.5);
    d.texto(esq, 12, dir - esq, 10, QStringLiteral("RECIBO PARA PAGAMENTO AVULSO"), 15, true, Qt::AlignCenter);
    d.linha(esq + 20, 25, dir - 20, 25, 0.3, 120);

    const auto rotulo = [&](double x, double y, double w, const QString& t) {
        d.texto(x, y, w, 5.6, t, 9, true, Qt::AlignRight | Qt::AlignVCenter, 40);
    };
    const auto linha = [&](double x1, double x2, double y) { d.linha(x1, y, x2, y, 0.2, 90); };

    // Number, code and total in boxes.
    rotulo(11, 44.5, 33, QStringLiteral("Recibo Nº"));
    d.caixa(44.5, 42.5, 26, 9, 0.3);
    rotulo(84, 44.5, 22.5, QStringLiteral("Código"));
    d.caixa(106.5, 42.5, 15, 9, 0.3);
    rotulo(137, 44.5, 11.5, QStringLiteral("R$"));
    d.caixa(149, 42.5, 46, 9, 0.3);

    // Who received, and from whom.
    rotulo(11, 54.5, 13.5, QStringLiteral("Eu,"));
    linha(25, 137, 60.4);
    rotulo(137, 54.5, 12.5, QStringLiteral("CPF"));
    linha(150, 201, 60.4);
    d.texto(12, 61.3, 190, 5, QStringLiteral("Recebi a importância supra citada referente ao(s) iten(s) abaixo descrito(s) de"),
            8.5, false, Qt::AlignLeft | Qt::AlignVCenter, 30);
    linha(17, 202, 73.4);

    // The four items and their values.
    const double itens[] = {77, 84, 91.5, 99};
    for (int i = 0; i < 4; ++i) {
        const double y = itens[i];
        rotulo(11, y, 10.5, QStringLiteral("%1)").arg(i + 1));
        linha(22, 141, y + 5.9);
        rotulo(140, y, 9, QStringLiteral("R$"));
        linha(150, 195, y + 5.9);
    }

    // The date: day "de" month "de" year, and the signature.
    linha(66, 75.5, 123.4);
    d.texto(75.5, 117.5, 11, 5.6, QStringLiteral("de"), 10, false, Qt::AlignCenter, 30);
    linha(86.5, 126.5, 123.4);
    d.texto(126.5, 117.5, 9, 5.6, QStringLiteral("de"), 10, false, Qt::AlignCenter, 30);
    linha(135.5, 149, 123.4);
    linha(60, 150, 136);
    d.texto(60, 136.4, 90, 3.6, QStringLiteral("Assinatura"), 7, false, Qt::AlignCenter, 60);
}

struct Figura {
    const char* nome;
    double largura, altura;  // millimetres, as the printout paints it
    void (*desenha)(Desenho&);
};
constexpr Figura Figuras[] = {
    {"impresso", 200, 280, Desenha},
    {"recibo", 200, 143, Recibo},
};
}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const Figura* figura = nullptr;
    for (const Figura& f : Figuras)
        if (argc == 3 && std::strcmp(argv[1], f.nome) == 0) figura = &f;
    if (!figura) {
        std::fprintf(stderr, "uso: desenha_impresso FIGURA SAIDA (FIGURA: impresso, recibo)\n");
        return 2;
    }
    QImage img(qRound(tam(figura->largura)), qRound(tam(figura->altura)), QImage::Format_Grayscale8);
    img.fill(Qt::white);
    img.setDotsPerMeterX(qRound(Dpi / 0.0254));
    img.setDotsPerMeterY(qRound(Dpi / 0.0254));
    {
        Desenho d(img);
        figura->desenha(d);
    }
    if (!img.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "desenha_impresso: não gravou %s\n", argv[2]);
        return 1;
    }
    return 0;
}
