// The cash-book closing report of a month of 5,000 entries, from the call
// the print button makes after its questions to the finished PDF job, over
// a printed-form picture of A4 at 300 dpi (goal: median under 2 s). The
// time per page shows as s_por_pagina.
#include "common/LancamentosMes.h"
#include "common/Parametros.h"
#include "platform/App.h"
#include "platform/Printer.h"
#include "printing/RelatorioLivroCaixa.h"
#include "MesDeTeste.h"
#include "ComJanelas.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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
        dados.deslocaEsquerda = dados.deslocaTopo = QStringLiteral("0");
    }
};

int Paginas(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(60000);
    static const QRegularExpression paginas(QStringLiteral(R"(Pages:\s+(\d+))"));
    return paginas.match(QString::fromUtf8(p.readAllStandardOutput())).captured(1).toInt();
}

void BM_RelatorioLivroCaixa(benchmark::State& estado) {
    static Mes mes;
    int paginas = 0;
    for (auto _ : estado) {
        if (!Imprime_Mov_Mensal(mes.dados)) {
            estado.SkipWithError("a impressão falhou");
            break;
        }
        estado.PauseTiming();
        const QString pdf = Printer::ArquivosPdf().back();
        if (paginas == 0) paginas = Paginas(pdf);
        QFile::remove(pdf);
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = double(mes.dados.linhas.size());
    estado.counters["paginas"] = paginas;
    using benchmark::Counter;
    estado.counters["s_por_pagina"] = Counter(paginas, Counter::kIsIterationInvariantRate | Counter::kInvert);
    estado.SetItemsProcessed(estado.iterations() * mes.dados.linhas.size());
}
BENCHMARK(BM_RelatorioLivroCaixa)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return Roda_Benchmarks(argc, argv);
}
