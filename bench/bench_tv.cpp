// The TV page of a month of 10,000 tithes, from the click on "OK" to the
// page renamed into place (BM_PaginaTV): the month read again whole, the
// list refilled in its sorted order, the page built in Windows-1252 and
// written beside the old one, flushed and renamed over it
// (items_per_second are the page's lines). The goal is a median under
// 100 ms. BM_Gravacao is the part that is the page's own: the same bytes
// built from the list's lines and written the same way.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "exports/ExpWeb.h"
#include "exports/PaginaTV.h"
#include "platform/App.h"
#include "platform/Arquivos.h"
#include "platform/ListasArquivos.h"
#include "platform/MsgBox.h"
#include "shell/Principal.h"
#include "ComJanelas.h"
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Linhas = 10000;

struct Pasta {
    QTemporaryDir dir;
    ExpWeb* form = nullptr;
    QString arquivo;

    Pasta() {
        App::DefinePath(dir.path());
        Esquema::Cria(Banco::CaminhoArquivo());
        Executa_SQL(QStringLiteral("INSERT INTO Parametros (Codigo, Razao, Reg_Setor, Congrega, Tipo, Mes, Ano) "
                                   "VALUES (123, 'IGREJA', 'SETOR', 'VILA NOVA', 'S', 8, 2021)"));
        Executa_SQL(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                   "INSERT INTO LivroCaixa (Codigo, CodIg, Ano, Mes, Dia, Tipo, Historico, Valor) "
                                   "SELECT i, 123, 2021, 8, 1 + i % 28, 'D', 'DIZIMISTA ' || ((i * 7919) % %1) || "
                                   "' DA CONCEIÇÃO RI:' || substr('0000000' || i, -8) || ' MB', 10 FROM n")
                        .arg(Linhas));
        Pastas::DefinePessoal(dir.path());
        Roteiro::Instala();
        auto* principal = Abre_Principal();
        principal->Exp_Web->trigger();
        form = Form::Instancia<ExpWeb>();
        form->CmdGrava->click();
        arquivo = Pagina_TV::Arquivo(form->Dir_Termo->Path(), QStringLiteral("123"), QStringLiteral("8"),
                                     QStringLiteral("2021"));
    }
};

Pasta& pasta() {
    static Pasta p;
    return p;
}

void BM_PaginaTV(benchmark::State& estado) {
    for (auto _ : estado) {
        Roteiro::LimpaCaixas();
        Roteiro::Responde(vbOK);
        pasta().form->Cmd_Transp->click();
        if (Roteiro::Caixas().size() != 1 || !Roteiro::Caixas().back().prompt.startsWith(QLatin1String("Arquivo ")))
            qFatal("a página não foi gravada");
    }
    estado.SetItemsProcessed(estado.iterations() * Linhas);
}
BENCHMARK(BM_PaginaTV)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void BM_Gravacao(benchmark::State& estado) {
    QStringList linhas;
    for (int i = 0; i < pasta().form->LstExpWeb->ListCount(); ++i) linhas << pasta().form->LstExpWeb->List(i);
    for (auto _ : estado) Arquivos::Grava(pasta().arquivo, Pagina_TV::Monta(QStringLiteral("AGOSTO / 2021"), linhas));
    estado.SetItemsProcessed(estado.iterations() * Linhas);
}
BENCHMARK(BM_Gravacao)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    return Roda_Benchmarks(argc, argv, [] {
        pasta();
        if (pasta().form->LstExpWeb->ListCount() != Linhas) qFatal("o mês não foi carregado");
    });
}
