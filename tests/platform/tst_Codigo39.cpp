// The printer's barcode face: the symbol's bars as Zint encodes them, the
// start and stop taken from the text's asterisks, data it cannot carry
// refused, the sizes drawn, and a symbol printed through the printer and
// read back by zbarimg.
#include "platform/Codigo39.h"
#include "platform/Printer.h"
#include "support/Ambiente.h"
#include "support/LeituraPdf.h"
#include "support/Registro.h"
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Codigo39::Barra;

// Where the symbol ends, in narrow bars.
double Fim(const std::vector<Barra>& b) { return b.back().x + b.back().largura; }

bool Iguais(const std::vector<Barra>& a, const std::vector<Barra>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (qAbs(a[i].x - b[i].x) > 1e-6 || qAbs(a[i].largura - b[i].largura) > 1e-6) return false;
    return true;
}

// The dark runs of one pixel row, as (start, length).
QList<QPair<int, int>> Faixas(const QImage& img, int y) {
    QList<QPair<int, int>> r;
    for (int x = 0; x < img.width(); ++x)
        if (qGray(img.pixel(x, y)) < 128) {
            if (r.isEmpty() || r.back().first + r.back().second != x) r.append({x, 0});
            ++r.back().second;
        }
    return r;
}
}  // namespace

class tst_Codigo39 : public QObject {
    Q_OBJECT

private slots:
    // Every character is five bars over 12 narrow bars and a gap, wide bars
    // twice the narrow ones, with no check character: "*0*" is three
    // characters, the same bars as "0"; a lower-case letter takes two
    // characters of the full-ASCII table; "**" is the start and the stop of
    // any other symbol, side by side.
    void barras() {
        const std::vector<Barra> zero = Codigo39::Barras("*0*");
        QCOMPARE(zero.size(), size_t(15));
        QCOMPARE(Fim(zero), 3 * 13.0 - 1);
        for (const Barra& b : zero) QVERIFY(b.largura == 1 || b.largura == 2);
        QVERIFY(Iguais(zero, Codigo39::Barras("0")));
        QCOMPARE(Fim(Codigo39::Barras("*00012345*")), 10 * 13.0 - 1);
        QCOMPARE(Codigo39::Barras("*a*").size(), size_t(20));

        const std::vector<Barra> vazio = Codigo39::Barras("**");
        QCOMPARE(vazio.size(), size_t(10));
        QCOMPARE(Fim(vazio), 2 * 13.0 - 1);
        const std::vector<Barra> outro = Codigo39::Barras("*A7*");
        std::vector<Barra> extremos(outro.begin(), outro.begin() + 5);
        for (size_t i = outro.size() - 5; i < outro.size(); ++i) extremos.push_back({outro[i].x - 2 * 13, outro[i].largura});
        QVERIFY(Iguais(vazio, extremos));
        QVERIFY(Iguais(vazio, Codigo39::Barras("")));
    }

    void impossivel() {
        QString texto;
        QCOMPARE(ErroDe([] { Codigo39::Barras("*AÇÃO*"); }, &texto), 5L);
        QVERIFY(texto.contains("AÇÃO"));
        QCOMPARE(ErroDe([] { Codigo39::Barras(QString(86, 'A')); }), 5L);
        QCOMPARE(ErroDe([] { Codigo39::Barras(QString(85, 'A')); }), 0L);
    }

    // At 48 points the bars are 48 points tall and the narrow bar one
    // point; at 11 points the narrow bar keeps its 0.25 mm.
    void tamanhos() {
        for (const double pontos : {48.0, 11.0}) {
            QImage img(4000, 1000, QImage::Format_Grayscale8);
            img.setDotsPerMeterX(47244);  // 1200 dpi
            img.setDotsPerMeterY(47244);
            img.fill(255);
            QPainter p(&img);
            QFont f("Free 3 of 9 Extended");
            f.setPointSizeF(pontos);
            const double altura = Codigo39::Desenha(p, QPointF(100, 50), f, "*451*");
            p.end();
            QCOMPARE(qRound(altura), qRound(pontos / 72 * 1200));
            const auto faixas = Faixas(img, 60);
            QCOMPARE(faixas.size(), qsizetype(Codigo39::Barras("*451*").size()));
            QCOMPARE(faixas.first().first, 100);
            const double estreita = pontos == 48 ? 1200.0 / 72 : 0.25 / 25.4 * 1200;
            int menor = 1 << 30;
            for (const auto& f2 : faixas) menor = qMin(menor, f2.second);
            QVERIFY2(qAbs(menor - estreita) <= 1, qPrintable(QString::number(menor)));
        }
    }

    // The printer knows the face from the start, by its name in any case:
    // a vector drawing, read back by a barcode reader, the next line under
    // its bars.
    void impresso() {
        QTemporaryDir pasta;
        Printer::DefinePastaPdf(pasta.path());
        Printer& p = Impressora();
        p.setScaleMode(6);
        p.setFontName("FREE 3 OF 9 EXTENDED");
        p.setFontSize(48);
        p.setCurrentX(30), p.setCurrentY(40), p.Print("*ABC-12*");
        QVERIFY(qAbs(p.CurrentY() - (40 + 48 * 25.4 / 72)) < 1e-6);
        p.EndDoc();
        Printer::DefinePastaPdf({});
        const QString pdf = pasta.path() + "/impressao-0001.pdf";
        QCOMPARE(Le_Figuras(pdf).objetos, 0);
        Executa("pdftoppm", {"-r", "300", "-gray", "-singlefile", pdf, pdf});
        QCOMPARE(Executa("zbarimg", {"-q", "--nodbus", pdf + ".pgm"}).trimmed(), QString("CODE-39:ABC-12"));
    }
};

REGISTRA_TESTE(tst_Codigo39)
#include "tst_Codigo39.moc"
