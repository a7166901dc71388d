// The cash book on a month of 5,000 entries, through the form itself:
//  - opening it from the menu until the list and the totals are shown and
//    the event loop has painted the list once (goal: median under 150 ms);
//  - saving one more entry, from the click to the recomputed totals
//    (goal: median under 15 ms).
#include "common/Banco.h"
#include "common/Esquema.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "operations/LivroCaixa.h"
#include "platform/App.h"
#include "shell/Principal.h"
#include "MesDeTeste.h"
#include "ComJanelas.h"
#include <QEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct Pasta {
    QTemporaryDir dir;
    Principal* principal = nullptr;
    Pasta() {
        Cria_Mes_De_Teste(dir.path(), 12);
        principal = Abre_Principal();
    }
};

Pasta& pasta() {
    static Pasta p;
    return p;
}

void fecha(LivroCaixa* f) {
    delete f;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Counts the paints of a widget.
struct Pinturas : QObject {
    int n = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++n;
        return false;
    }
};

void BM_AbreLivroCaixa(benchmark::State& estado) {
    Principal* p = pasta().principal;
    int linhas = 0;
    Pinturas pinturas;
    for (auto _ : estado) {
        p->Liv_Cx->trigger();
        auto* f = Form::Instancia<LivroCaixa>();
        f->LstLivroCx->viewport()->installEventFilter(&pinturas);
        pinturas.n = 0;
        while (pinturas.n == 0) QCoreApplication::processEvents();
        linhas = f->LstLivroCx->ListCount();
        benchmark::DoNotOptimize(f->TxtSaldo->Text());
        estado.PauseTiming();
        fecha(f);
        estado.ResumeTiming();
    }
    estado.counters["linhas"] = linhas;
    estado.SetItemsProcessed(estado.iterations() * linhas);
}
BENCHMARK(BM_AbreLivroCaixa)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_GravaLancamento(benchmark::State& estado) {
    Principal* p = pasta().principal;
    p->Liv_Cx->trigger();
    auto* f = Form::Instancia<LivroCaixa>();
    int dia = 0;
    for (auto _ : estado) {
        estado.PauseTiming();
        f->TxtDia->setText_(QString::number(1 + dia++ % 28));
        f->CboHistorico->setText_(QStringLiteral("OFERTA ESPECIAL DE MISSÕES"));
        f->TxtValor->setText_(QStringLiteral("1.234,56"));
        estado.ResumeTiming();
        f->CmdEnvia->click();
        benchmark::DoNotOptimize(f->TxtSaldo->Text());
    }
    estado.counters["linhas"] = f->LstLivroCx->ListCount();
    fecha(f);
}
BENCHMARK(BM_GravaLancamento)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

int main(int argc, char** argv) { return Roda_Benchmarks(argc, argv); }
