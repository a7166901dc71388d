// The cash-book closing report of a month of 5,000 entries, from the call
// the print button makes after its questions to the finished PDF job, over
// a printed-form picture of A4 at 300 dpi (goal: median under 2 s, and
// within 1.5 times its floor). The time per page shows as s_por_pagina.
//
// BM_Piso is that floor: the same picture decoded from its file and the
// same texts drawn straight onto a QPdfWriter with QPainter, at the same
// places in the same fonts, the totals summed as the rows are drawn. Before
// it is timed, both PDF files are read back with pdftotext, as text page by
// page and as every word's box, and the run stops on any difference.
#include "common/LancamentosMes.h"
#include "common/Parametros.h"
#include "platform/App.h"
#include "platform/Printer.h"
#include "platform/Relogio.h"
#include "printing/RelatorioLivroCaixa.h"
#include "MesDeTeste.h"
#include "ComJanelas.h"
#include "LeituraPdf.h"
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// A greyscale form of 200 x 280 mm at 300 dpi with its frame and rules, as
// a scanned printed form would be.
void Grava_Impresso(const QString& pasta) {
    QImage figura(2362, 3307, QImage::Format_Grayscale8);
    figura.fill(255);
    QPainter p(&figura);
    p.setPen(QPen(QColor(90, 90, 90), 6));
    p.drawRect(30, 30, 2300, 3245);
    for (int y = 500; y < 2600; y += 70) p.drawLine(60, y, 2300, y);
    p.drawLine(1600, 450, 1600, 2600);
    p.drawLine(1950, 450, 1950, 2600);
    p.end();
    figura.save(QDir(pasta).filePath(QStringLiteral("impresso.kwe")), "PNG");
}

struct Mes {
    QTemporaryDir dir;
    Fechamento_Mensal dados;
    Mes() {
        Cria_Mes_De_Teste(dir.path(), 12);
        Carrega_Parametros();
        Grava_Impresso(dir.path());
        Printer::DefinePastaPdf(dir.path() + QStringLiteral("/pdf"));
        for (const char* tipo : {"O", "D", "S"})
            for (const auto& l : Lancamentos_Mes::Le(Param[1], Param[10], Param[9], QString::fromLatin1(tipo)))
                dados.linhas.push_back(l);
        dados.saldoAnterior = Dinheiro::DeCentavos(150000);
        dados.remessas = Dinheiro::DeCentavos(42000);
        dados.deslocaEsquerda = dados.deslocaTopo = QStringLiteral("0");
    }
    QString Figura() const { return QDir(dir.path()).filePath(QStringLiteral("impresso.kwe")); }
    QString Piso() const { return QDir(dir.path()).filePath(QStringLiteral("piso.pdf")); }
};

Mes& mes() {
    static Mes m;
    return m;
}

using Leitura_Pdf::Paginas;
using Leitura_Pdf::Saida;
using Leitura_Pdf::Texto_Paginas;

[[noreturn]] void Diverge(const QString& oque) {
    std::fprintf(stderr, "o piso difere do programa: %s\n", qPrintable(oque));
    std::exit(1);
}

// ---------------------------------------------------------------- floor

// The same pages drawn straight onto a PDF. It knows the kinds of this
// month (offerings, tithes, outflows) and no offsets.
class Piso {
public:
    Piso(const Fechamento_Mensal& dados, const QString& figura, const QString& saida)
        : dados_(dados), pdf_(saida) {
        QImageReader leitor(figura);
        leitor.setDecideFormatFromContent(true);
        impresso_ = leitor.read();
        pdf_.setResolution(1200);
        pdf_.setTitle(QStringLiteral("Tesouraria"));
        pdf_.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        for (int i = 0; i < 3; ++i) {
            fontes_[i] = QFont(QStringLiteral("Liberation Mono"));
            fontes_[i].setPointSizeF(Tamanhos[i]);
            sobe_[i] = QFontMetricsF(fontes_[i], &pdf_).ascent();
        }
        const QDate hoje = Relogio::Hoje();
        data_[0] = hoje.toString(QStringLiteral("dd"));
        data_[1] = hoje.toString(QStringLiteral("MM"));
        data_[2] = hoje.toString(QStringLiteral("yyyy"));
        static const char* const meses[] = {"JANEIRO", "FEVEREIRO", "MARÇO",    "ABRIL",   "MAIO",     "JUNHO",
                                            "JULHO",   "AGOSTO",    "SETEMBRO", "OUTUBRO", "NOVEMBRO", "DEZEMBRO"};
        const int m = Param[9].trimmed().toInt();
        codigo_ = Param[1] + QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')) + Param[10];
        igreja_ = Param[1] + QLatin1Char('-') + Param[4];
        mes_ = QString::fromUtf8(meses[m - 1]);
    }

    void Imprime() {
        pt_.begin(&pdf_);
        pt_.setPen(Qt::black);
        Figura();
        Cabecalho();
        Dinheiro secao;
        QChar anterior;
        const size_t n = dados_.linhas.size();
        for (size_t i = 0; i < n; ++i) {
            const Linha_Lista::Linha& r = dados_.linhas[i];
            const QChar tipo = r.tipo.at(0);
            if (tipo != anterior) {
                anterior = tipo;
                Texto(10, lin_, Faixa(tipo));
                Avanca();
            }
            Texto(12, lin_, Dois(r.dia));
            if (tipo == QLatin1Char('S')) {
                Texto(24, lin_, Coluna(r.linha, 5, 48));
                Texto(158, lin_, QStringLiteral("----"));
                Valor(172, lin_, r.saida);
                secao += r.saida;
                saidas_ += r.saida;
            } else if (tipo == QLatin1Char('O') || tipo == QLatin1Char('D')) {
                const QString v = r.entrada.Formata();
                const double inicio = 144 + Celula * Avanco - double(v.size()) * Avanco;
                Texto(24, lin_, Coluna(r.linha, 5, std::min(48, Cabem(24, inicio - Avanco))));
                Valor(144, lin_, r.entrada);
                Texto(186, lin_, QStringLiteral("----"));
                secao += r.entrada;
                entradas_ += r.entrada;
            } else {
                Diverge(QStringLiteral("um lançamento de tipo ") + tipo);
            }
            Avanca();
            if (i + 1 == n || dados_.linhas[i + 1].tipo.at(0) != anterior) {
                Texto(12, lin_, QStringLiteral(">>"));
                const char* total = anterior == QLatin1Char('O')   ? "TOTAL DE OFERTAS R$ "
                                    : anterior == QLatin1Char('D') ? "TOTAL DE DÍZIMOS R$ "
                                                                    : "TOTAL DE DESPESAS R$ ";
                Texto(45, lin_, QString::fromUtf8(total) + secao.Formata());
                secao = Dinheiro();
                Avanca();
            }
        }
        Valor(172, 238, dados_.remessas);
        Valor(144, 244, dados_.saldoAnterior);
        Valor(144, 250, dados_.saldoAnterior + entradas_ - saidas_ - dados_.remessas);
        Rodape();
        pt_.end();
    }

private:
    static constexpr double Tamanhos[3] = {12, 10, 7};
    static constexpr int Celula = 12;
    // Millimetres per character of Liberation Mono at 12 points.
    static constexpr double Avanco = 12 * (1229.0 / 2048) * 25.4 / 72;
    static constexpr double U = 1200 / 25.4;  // device pixels per millimetre

    static QString Dois(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
    static int Cabem(double x, double ate) {
        return int(std::clamp(std::floor((ate - x) / Avanco + 1e-6), 0.0, 1e6));
    }
    static QString Faixa(QChar tipo) {
        const char* palavra = tipo == QLatin1Char('O')   ? "  O F E R T A S  "
                              : tipo == QLatin1Char('D') ? "  D Í Z I M O S  "
                                                          : "  D E S P E S A S  ";
        const int antes = tipo == QLatin1Char('S') ? 20 : 21;
        const QString meio = QString::fromUtf8(palavra);
        return QString(antes, QLatin1Char('~')) + meio + QString(75 - antes - meio.size(), QLatin1Char('~'));
    }

    // Size 0 is 12 points, 1 is 10, 2 is 7.
    void Texto(double x, double y, const QString& t, int tamanho = 0) {
        if (tamanho != tamanho_) {
            pt_.setFont(fontes_[tamanho]);
            tamanho_ = tamanho;
        }
        pt_.drawText(QPointF(x * U, y * U + sobe_[tamanho]), t);
    }
    // A money cell of 12 characters: the amount ends at x + 12 characters,
    // or a character before `ate`.
    void Valor(double x, double y, Dinheiro v, double ate = 1e9) {
        const QString t = v.Formata();
        Texto(std::min(x + Celula * Avanco, ate - Avanco) - double(t.size()) * Avanco, y, t);
    }
    // A column of the row, without the blanks that end it.
    static QString Coluna(const QString& linha, qsizetype inicio, qsizetype n) {
        QStringView c = QStringView(linha).mid(inicio, n);
        while (c.endsWith(QLatin1Char(' '))) c.chop(1);
        return c.toString();
    }
    void Figura() { pt_.drawImage(QRectF(5 * U, 5 * U, 200 * U, 280 * U), impresso_); }
    void Cabecalho() {
        const QString pagina = Dois(pagina_);
        Texto(171, 14, codigo_ + pagina, 1);
        Texto(25, 25, Param[3]);
        Texto(130, 25, igreja_);
        Texto(25, 32, mes_);
        Texto(115, 32, Param[10]);
        Texto(180, 32, pagina);
    }
    void Rodape() {
        Valor(144, 220, entradas_);
        Valor(172, 226, saidas_);
        Texto(14, 264, data_[0]);
        Texto(32, 264, data_[1]);
        Texto(48, 264, data_[2]);
        Texto(178, 280, QStringLiteral("Tavrelo"), 2);
    }
    // The next line, past the limit on a new page under the carried totals.
    void Avanca() {
        lin_ = float(double(lin_) + 5.94);
        if (!(lin_ > 220.0f)) return;
        Rodape();
        pdf_.newPage();
        Figura();
        lin_ = 48.0f;
        ++pagina_;
        Cabecalho();
        Texto(12, lin_, QStringLiteral("--"));
        Texto(25, lin_, QStringLiteral("TRANSPORTE DE SALDO DA PÁGINA ") + Dois(pagina_ - 1));
        const double saidas = 172 + Celula * Avanco - double(saidas_.Formata().size()) * Avanco;
        Valor(144, lin_, entradas_, saidas);
        Valor(172, lin_, saidas_);
        lin_ = float(double(lin_) + 5.94);
    }

    const Fechamento_Mensal& dados_;
    QPdfWriter pdf_;
    QPainter pt_;
    QImage impresso_;
    QFont fontes_[3];
    double sobe_[3] = {};
    int tamanho_ = -1;
    QString data_[3], codigo_, igreja_, mes_;
    int pagina_ = 1;
    float lin_ = 48.0f;
    Dinheiro entradas_, saidas_;
};

void Piso_Relatorio(const Fechamento_Mensal& dados, const QString& figura, const QString& saida) {
    Piso(dados, figura, saida).Imprime();
}

// A PDF's words and their boxes in points (pdftotext -bbox), page by page.
struct Palavra {
    QString texto;
    double caixa[4];
};
std::vector<std::vector<Palavra>> Palavras(const QString& pdf) {
    static const QRegularExpression pagina(QStringLiteral("<page |<word xMin=\"([-0-9.]+)\" yMin=\"([-0-9.]+)\" "
                                                          "xMax=\"([-0-9.]+)\" yMax=\"([-0-9.]+)\">([^<]*)</word>"));
    std::vector<std::vector<Palavra>> paginas;
    const QString xml = Saida(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    for (auto it = pagina.globalMatch(xml); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.capturedStart(5) < 0) {
            paginas.emplace_back();
            continue;
        }
        if (paginas.empty()) Diverge(QStringLiteral("uma palavra fora das páginas"));
        Palavra p{m.captured(5), {}};
        for (int i = 0; i < 4; ++i) p.caixa[i] = m.captured(i + 1).toDouble();
        paginas.back().push_back(p);
    }
    return paginas;
}

// The pictures a PDF draws (pdfimages -list), one line each without the
// object's number, and how many picture objects it holds.
QStringList Figuras(const QString& pdf, int* objetos) {
    QStringList figuras;
    QSet<QString> numeros;
    const QString lista = Saida(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    for (const QString& l : lista.split(QLatin1Char('\n')).mid(2)) {
        QStringList c = l.simplified().split(QLatin1Char(' '));
        if (c.size() < 12) continue;
        numeros << c[10] + QLatin1Char(' ') + c[11];
        c.remove(10, 2);
        figuras << c.join(QLatin1Char(' '));
    }
    *objetos = int(numeros.size());
    return figuras;
}

// The program's job and the floor's: the picture under each page, held once
// at its size and resolution; page by page the text as laid out, then every
// word and its box to a hundredth of a point (the floor places an amount by
// the font's exact pitch, the printer by the advance its font engine gives
// a blank).
void Confere(const QString& programa, const QString& piso) {
    int objetos = 0, objetosPiso = 0;
    const QStringList fa = Figuras(programa, &objetos), fb = Figuras(piso, &objetosPiso);
    if (fa != fb || objetos != 1 || objetosPiso != 1) Diverge(QStringLiteral("as figuras das páginas"));
    const QStringList a = Texto_Paginas(programa), b = Texto_Paginas(piso);
    if (a.size() != b.size()) Diverge(QStringLiteral("%1 páginas contra %2").arg(a.size() - 1).arg(b.size() - 1));
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) Diverge(QStringLiteral("o texto da página %1").arg(i + 1));
    const auto pa = Palavras(programa), pb = Palavras(piso);
    if (pa.size() != pb.size() || qsizetype(pa.size()) + 1 != a.size())
        Diverge(QStringLiteral("as páginas de palavras"));
    for (size_t i = 0; i < pa.size(); ++i) {
        const QString onde = QStringLiteral("página %1: ").arg(i + 1);
        if (pa[i].size() != pb[i].size()) Diverge(onde + QStringLiteral("o número de palavras"));
        for (size_t j = 0; j < pa[i].size(); ++j) {
            const Palavra &x = pa[i][j], &y = pb[i][j];
            if (x.texto != y.texto) Diverge(onde + x.texto + QStringLiteral(" contra ") + y.texto);
            for (int k = 0; k < 4; ++k)
                if (std::abs(x.caixa[k] - y.caixa[k]) > 0.01)
                    Diverge(onde + QStringLiteral("a caixa de ") + x.texto +
                            QStringLiteral(" (%1 contra %2)").arg(x.caixa[k]).arg(y.caixa[k]));
        }
    }
}

// ---------------------------------------------------------------- runs

void BM_RelatorioLivroCaixa(benchmark::State& estado) {
    const Fechamento_Mensal& dados = mes().dados;
    int paginas = 0;
    for (auto _ : estado) {
        if (!Imprime_Mov_Mensal(dados)) {
            estado.SkipWithError("a impressão falhou");
            break;
        }
        estado.PauseTiming();
        const QString pdf = Printer::ArquivosPdf().back();
        if (paginas == 0) paginas = Paginas(pdf);
        QFile::remove(pdf);
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(dados.linhas.size());
    estado.counters["paginas"] = paginas;
    using benchmark::Counter;
    estado.counters["s_por_pagina"] = Counter(paginas, Counter::kIsIterationInvariantRate | Counter::kInvert);
    estado.SetItemsProcessed(estado.iterations() * dados.linhas.size());
}
BENCHMARK(BM_RelatorioLivroCaixa)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

void BM_Piso(benchmark::State& estado) {
    const Mes& m = mes();
    static bool conferido = false;
    if (!conferido) {
        if (!Imprime_Mov_Mensal(m.dados)) Diverge(QStringLiteral("a impressão do programa falhou"));
        Piso_Relatorio(m.dados, m.Figura(), m.Piso());
        Confere(Printer::ArquivosPdf().back(), m.Piso());
        QFile::remove(Printer::ArquivosPdf().back());
        conferido = true;
    }
    for (auto _ : estado) {
        Piso_Relatorio(m.dados, m.Figura(), m.Piso());
        estado.PauseTiming();
        QFile::remove(m.Piso());
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(m.dados.linhas.size());
    estado.SetItemsProcessed(estado.iterations() * m.dados.linhas.size());
}
BENCHMARK(BM_Piso)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return Roda_Benchmarks(argc, argv);
}
