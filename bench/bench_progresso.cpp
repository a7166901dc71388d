// The per-row cost of a long run's progress, pauses taken out: the three
// labels set and pending events let through, as the month's check does
// after every row. Painting at most once a frame is set against painting
// after every row; rows a second is the measure.
#include "platform/Controles.h"
#include "platform/Progresso.h"
#include "platform/Tela.h"
#include "ComJanelas.h"
#include <QVBoxLayout>
#include <benchmark/benchmark.h>

namespace {

struct Janela : QWidget {
    Label* LblRegAnd = new Label(QString(), this);
    Label* LblAndam = new Label(QStringLiteral("0%"), this);
    Label* LblProgresso = new Label(QString(), this);
    CommandButton* CmdValida = new CommandButton(QStringLiteral("&Validar"), this);
    CommandButton* CmdCancela = new CommandButton(QStringLiteral("&Cancelar"), this);
    Janela() {
        auto* l = new QVBoxLayout(this);
        for (QWidget* w : std::initializer_list<QWidget*>{LblRegAnd, LblAndam, LblProgresso, CmdValida, CmdCancela})
            l->addWidget(w);
        resize(640, 200);
        show();
        QCoreApplication::processEvents();
    }
};

constexpr int kLinhas = 5000;

// Throttled: what the runs do.
void BM_LinhaPintandoPorQuadro(benchmark::State& estado) {
    Janela j;
    for (auto _ : estado) {
        Progresso run(j.LblRegAnd, j.LblAndam, j.LblProgresso, j.CmdValida, j.CmdCancela);
        for (int i = 0; i < kLinhas && !run.Cancelado(); ++i) {
            run.Linha(i, kLinhas);
            run.Eventos();
            Sleep(50);
        }
    }
    estado.SetItemsProcessed(estado.iterations() * kLinhas);
}
BENCHMARK(BM_LinhaPintandoPorQuadro)->Unit(benchmark::kMillisecond);

// For comparison: every row's events processed at once, so every row paints.
void BM_LinhaPintandoCadaLinha(benchmark::State& estado) {
    Janela j;
    for (auto _ : estado) {
        Progresso run(j.LblRegAnd, j.LblAndam, j.LblProgresso, j.CmdValida, j.CmdCancela);
        for (int i = 0; i < kLinhas && !run.Cancelado(); ++i) {
            run.Linha(i, kLinhas);
            DoEvents();
            Sleep(50);
        }
    }
    estado.SetItemsProcessed(estado.iterations() * kLinhas);
}
BENCHMARK(BM_LinhaPintandoCadaLinha)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return Roda_Benchmarks(argc, argv, [] { DefineSleep([](int) {}); });
}
