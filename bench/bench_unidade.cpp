// 5,000 cash-book inserts of the stored query ProcInsLivroCaixa, two ways:
//  - one call each (open the file, run in a transaction of its own, close);
//  - all through one unit of work (one handle, one transaction).
// Goal: the unit's items_per_second at least ten times the one-call's, in
// wall time: the one-call inserts wait on the disk, not the processor.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "platform/App.h"
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr int Insercoes = 5000;

struct Arquivo {
    QTemporaryDir pasta;
    std::vector<QStringList> parametros;
    Arquivo() {
        App::DefinePath(pasta.path());
        Esquema::Cria(Banco::CaminhoArquivo());
        for (int i = 1; i <= Insercoes; ++i)
            parametros.push_back({QString::number(i), QStringLiteral("12"), QStringLiteral("2021"), QStringLiteral("8"),
                                  QString::number(1 + i % 31), QStringLiteral("O"),
                                  QStringLiteral("OFERTA DO CULTO DE DOMINGO %1").arg(i), QStringLiteral("1.234,56")});
    }
    // Each run starts from an empty cash book, outside the timing.
    void Esvazia(benchmark::State& estado) {
        estado.PauseTiming();
        App::DefinePath(pasta.path());
        Executa_SQL(QStringLiteral("DELETE FROM LivroCaixa"));
        estado.ResumeTiming();
    }
};

void BM_InsercoesAvulsas(benchmark::State& estado) {
    static Arquivo arquivo;
    for (auto _ : estado) {
        arquivo.Esvazia(estado);
        for (const QStringList& p : arquivo.parametros) Executa_Query(QStringLiteral("ProcInsLivroCaixa"), p);
    }
    estado.SetItemsProcessed(estado.iterations() * Insercoes);
}
BENCHMARK(BM_InsercoesAvulsas)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_InsercoesNaUnidade(benchmark::State& estado) {
    static Arquivo arquivo;
    for (auto _ : estado) {
        arquivo.Esvazia(estado);
        UnidadeTrabalho unidade;
        for (const QStringList& p : arquivo.parametros) unidade.ExecutaQuery(QStringLiteral("ProcInsLivroCaixa"), p);
        unidade.Commit();
    }
    estado.SetItemsProcessed(estado.iterations() * Insercoes);
}
BENCHMARK(BM_InsercoesNaUnidade)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
