// The send of a month of 5,000 entries to the central test server
// (bash scripts/central.sh inicia), pauses at none:
//  - the row loop, from the open transaction to the commit and the local
//    record (goal: median at least 12,000 rows per second);
//  - the fixed cost of the checks before it: connection probes, version,
//    sector, cash box, closed month, earlier send.
#include "common/Central.h"
#include "common/Esquema.h"
#include "common/Parametros.h"
#include "common/Banco.h"
#include "common/Usuario.h"
#include "exports/ExpMirava.h"
#include "platform/App.h"
#include "platform/Rede.h"
#include "platform/Tela.h"
#include "shell/Principal.h"
#include "MesDeTeste.h"
#include "ComJanelas.h"
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int Igreja = 9191, Setor = 919, Caixa = 70091, Linhas = 5000;

void Central_Sql(const QString& sql, const QVariantList& valores = {}) { ConexaoCentral(false).Executa(sql, valores); }

struct Pasta {
    QTemporaryDir dir;
    ExpMirava* form = nullptr;
    Pasta() {
        Cria_Mes_De_Teste(dir.path(), Igreja);
        Rede::DefineConectado([] { return true; });
        Central_Sql(QStringLiteral("DELETE FROM tbllanc WHERE congregacao = ?"), {Igreja});
        Central_Sql(QStringLiteral("DELETE FROM tblcongregacoes WHERE codigo = ?"), {Igreja});
        Central_Sql(QStringLiteral("DELETE FROM tblcaixas WHERE congregacao = ?"), {Igreja});
        Central_Sql(QStringLiteral("DELETE FROM versao_sistema"));
        Central_Sql(QStringLiteral("INSERT INTO versao_sistema VALUES (?)"), {App::Versao()});
        Central_Sql(QStringLiteral("INSERT INTO tblcongregacoes VALUES (?, 'IGREJA', ?)"), {Igreja, Setor});
        Central_Sql(QStringLiteral("INSERT INTO tblcaixas VALUES (?, 'CX INT', ?)"), {Caixa, Igreja});
        Principal::DefineLogin([] { Nome_Usuario = QStringLiteral("BENCH"); });
        auto* principal = new Principal();
        principal->Show();
        QCoreApplication::processEvents();
        principal->Exp_Mirava->trigger();
        form = qobject_cast<ExpMirava*>(Form::Procura(QStringLiteral("ExpMirava")));
    }
    ~Pasta() {
        Central_Sql(QStringLiteral("DELETE FROM tbllanc WHERE congregacao = ?"), {Igreja});
        Central_Sql(QStringLiteral("DELETE FROM tblcongregacoes WHERE codigo = ?"), {Igreja});
        Central_Sql(QStringLiteral("DELETE FROM tblcaixas WHERE congregacao = ?"), {Igreja});
    }
};

Pasta& pasta() {
    static Pasta p;
    return p;
}

// One send, timed in two parts split at its pauses: the first comes once
// the send's transaction is open, the second once the local record is
// written after the commit.
struct Tempos {
    double verificacoes = 0, linhas = 0;
};
Tempos Envia() {
    ExpMirava* f = pasta().form;
    Central_Sql(QStringLiteral("DELETE FROM tbllanc WHERE congregacao = ?"), {Igreja});
    QElapsedTimer relogio;
    QList<qint64> marcas;
    DefineSleep([&](int) { marcas << relogio.nsecsElapsed(); });
    relogio.start();
    if (!f->Envia_Dados_Mirava(QStringLiteral("tbllanc")) || marcas.size() != 2) qFatal("o envio não foi concluído");
    DefineSleep([](int) {});
    return {marcas[0] / 1e9, (marcas[1] - marcas[0]) / 1e9};
}

void BM_EnvioLinhas(benchmark::State& estado) {
    for (auto _ : estado) estado.SetIterationTime(Envia().linhas);
    estado.SetItemsProcessed(estado.iterations() * Linhas);
}
BENCHMARK(BM_EnvioLinhas)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_EnvioVerificacoes(benchmark::State& estado) {
    for (auto _ : estado) estado.SetIterationTime(Envia().verificacoes);
}
BENCHMARK(BM_EnvioVerificacoes)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) { return Roda_Benchmarks(argc, argv); }
