#pragma once
// A path of the program and its floor timed in the same run: every round
// runs both, the one first that went second the round before, so a busy
// machine weighs on both alike. Each repetition reports the program's time
// (its items_per_second), the medians of its rounds (programa_ms, piso_ms)
// and their ratio (razao); once the runs are over, Nota_Final prints the
// same over every round of every repetition.
#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace Lado_A_Lado {

struct Medidas {
    std::string nome;
    double itens = 0;
    std::vector<double> programa, piso;  // seconds, one per round
};

inline std::vector<Medidas>& Todas() {
    static std::vector<Medidas> todas;
    return todas;
}

inline double Mediana(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// Rounds measured by the caller (a part of a run, say), one pair each, for
// the closing note.
inline void Registra(const std::string& nome, double itens, const std::vector<double>& programa,
                     const std::vector<double>& piso) {
    auto& todas = Todas();
    auto it = std::find_if(todas.begin(), todas.end(), [&](const Medidas& t) { return t.nome == nome; });
    if (it == todas.end()) it = todas.insert(todas.end(), Medidas{nome, itens, {}, {}});
    it->programa.insert(it->programa.end(), programa.begin(), programa.end());
    it->piso.insert(it->piso.end(), piso.begin(), piso.end());
}

// The rounds of one repetition. `programa` and `piso` each do the work once
// and return the seconds it took; `itens` is the rows one run handles.
template <class Programa, class Piso>
void Rodadas(benchmark::State& estado, const std::string& nome, double itens, Programa programa, Piso piso) {
    static unsigned rodada = 0;
    Medidas m{nome, itens, {}, {}};
    for (auto _ : estado) {
        double p = 0, f = 0;
        if (rodada++ % 2 == 0) {
            p = programa();
            f = piso();
        } else {
            f = piso();
            p = programa();
        }
        estado.SetIterationTime(p);
        m.programa.push_back(p);
        m.piso.push_back(f);
    }
    const double mp = Mediana(m.programa), mf = Mediana(m.piso);
    estado.SetItemsProcessed(int64_t(estado.iterations() * itens));
    estado.counters["programa_ms"] = mp * 1e3;
    estado.counters["piso_ms"] = mf * 1e3;
    estado.counters["razao"] = mf > 0 ? mp / mf : 0;
    Registra(nome, itens, m.programa, m.piso);
}

// Every pair's medians over all its rounds, and the ratio to the floor.
inline void Nota_Final() {
    for (const Medidas& m : Todas()) {
        const double p = Mediana(m.programa), f = Mediana(m.piso);
        std::printf("%s: programa %.1f ms (%.0f itens/s), piso %.1f ms (%.0f itens/s), razão %.2f "
                    "(medianas de %zu rodadas intercaladas)\n",
                    m.nome.c_str(), p * 1e3, p > 0 ? m.itens / p : 0, f * 1e3, f > 0 ? m.itens / f : 0, f > 0 ? p / f : 0,
                    m.programa.size());
    }
    std::fflush(stdout);
}

}  // namespace Lado_A_Lado
