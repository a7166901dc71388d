// One stored-query call of the cash book (open the file, fill and run the
// query, copy the rows, close) on a file holding 5,000 entries.
// Goal: median under 2 ms.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "platform/App.h"
#include "platform/SqlCipher.h"
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

struct Arquivo {
    QTemporaryDir pasta;
    Arquivo() {
        App::DefinePath(pasta.path());
        Esquema::Cria(Banco::CaminhoArquivo());
        // 5,000 entries: 10 churches, 2 years, 12 months, about 21 per month.
        Executa_SQL(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 5000) "
            "INSERT INTO LivroCaixa (Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor) "
            "SELECT i, 1 + i % 10, 2020 + (i / 10) % 2, 1 + (i / 20) % 12, 1 + i % 28, "
            "       substr('DOS', 1 + i % 3, 1), 'HISTORICO DO LANCAMENTO NUMERO ' || i, (i % 100000) / 100.0 "
            "FROM n"));
        // The cash book's month query, unless the schema already has it.
        SqlCipher::Conexao con = SqlCipher::Conexao::Abre(Banco::CaminhoArquivo());
        con.Executa(QStringLiteral(
            "INSERT OR IGNORE INTO Consultas (Nome, Parametros, Sql) VALUES ('ProcPesqLivroCaixa', 'Long,Long,Long', "
            "'SELECT Tipo, Dia, Historico, Valor, Codigo FROM LivroCaixa WHERE CodIg = ?1 AND Ano = ?2 AND Mes = ?3')"));
    }
};

void BM_AbreQueryLivroCaixa(benchmark::State& estado) {
    static Arquivo arquivo;
    const QStringList parametros = {QStringLiteral("0003"), QStringLiteral("2021"), QStringLiteral("8")};
    int linhas = 0;
    for (auto _ : estado) {
        RecordsetPtr rs = Abre_Query(QStringLiteral("ProcPesqLivroCaixa"), parametros);
        linhas = rs->RecordCount();
        benchmark::DoNotOptimize(rs);
    }
    estado.counters["linhas"] = linhas;
    estado.SetItemsProcessed(estado.iterations() * linhas);
}
BENCHMARK(BM_AbreQueryLivroCaixa)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
