// The register download of 10,000 tithers and 1,000 outflow accounts from
// the central test server (bash scripts/central.sh inicia), driven by the
// window's update button with the pauses at none (goal: median at least
// 10,000 rows per second). Argument 0 downloads into empty registers, 1
// runs again over what the first run wrote. The counter pausas_s is what
// the pauses of one run add for a user, the time of the run aside; the
// tithers' step is split into its central read (leitura_ms), its walk of
// the rows (linhas_ms) and its local write (gravacao_ms).
#include "common/Central.h"
#include "common/Banco.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Rede.h"
#include "platform/Tela.h"
#include "registers/Atualizacoes.h"
#include "shell/Principal.h"
#include "MesDeTeste.h"
#include "ComJanelas.h"
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int Igreja = 91301, Membros = 10000, Contas = 1000;
constexpr qint64 PrimeiraConta = 9130001;

void Central_Sql(const QString& sql, const QVariantList& valores = {}) { ConexaoCentral(false).Executa(sql, valores); }

void Limpa_Central() {
    Central_Sql(QStringLiteral("DELETE FROM tblmembros WHERE congregacao = ?"), {Igreja});
    Central_Sql(QStringLiteral("DELETE FROM tblcontas WHERE codseq BETWEEN ? AND ?"),
                {PrimeiraConta, PrimeiraConta + Contas - 1});
}

struct Pasta {
    QTemporaryDir dir;
    Atualizacoes* form = nullptr;
    int contas = 0;  // outflow accounts of the whole central chart
    Pasta() {
        Cria_Mes_De_Teste(dir.path(), Igreja);
        Rede::DefineConectado([] { return true; });
        Roteiro::Instala();  // the completion message is answered by script
        Limpa_Central();
        ConexaoCentral carga(false);
        carga.Executa(QStringLiteral("SET SESSION max_recursive_iterations = 100000"));
        carga.Executa(QStringLiteral(
                        "INSERT INTO tblmembros (congregacao, codmembro, nome, cargo) "
                        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
                        "SELECT ?, LPAD(i, 9, '0'), CONCAT('Dizimista Número ', i), IF(i % 7 = 0, NULL, 1 + i % 10) FROM n"),
                    {Membros, Igreja});
        carga.Executa(QStringLiteral(
                        "INSERT INTO tblcontas (codseq, reduzido, Descricao, tipo) "
                        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < ? - 1) "
                        "SELECT ? + i, i, CONCAT('Conta de saída ', i), 'D' FROM n"),
                    {Contas, PrimeiraConta});
        contas = ConexaoCentral(true)
                     .AbreSnapshot(QStringLiteral("SELECT COUNT(*) FROM tblcontas WHERE tipo = 'D'"))
                     ->Fields(0)
                     .toInt();
        Principal::DefineLogin([] { Nome_Usuario = QStringLiteral("BENCH"); });
        auto* principal = new Principal();
        principal->Show();
        QCoreApplication::processEvents();
        principal->AtuBA->trigger();
        form = qobject_cast<Atualizacoes*>(Form::Procura(QStringLiteral("Atualizacoes")));
        if (!form) qFatal("o menu não abriu a atualização");
        form->ChkAtualiza[7]->setValue(1);
    }
    ~Pasta() { Limpa_Central(); }
};

Pasta& pasta() {
    static Pasta p;
    return p;
}

void BM_Atualizacao(benchmark::State& estado) {
    Pasta& p = pasta();
    const bool novamente = estado.range(0) == 1;
    qint64 pausas = 0;
    DefineSleep([&](int ms) { pausas += ms; });
    QElapsedTimer parcial;
    qint64 marcas[4] = {};
    double partes[3] = {};
    p.form->Passo_Conectado = [&](int passo) {
        if (passo == 7) marcas[0] = parcial.nsecsElapsed();
    };
    p.form->Linha_Lida = [&](int passo, qint64 linha) {
        if (passo == 7 && linha == 1) marcas[1] = parcial.nsecsElapsed();
        if (passo == 7 && linha == Membros) marcas[2] = parcial.nsecsElapsed();
        if (passo == 8) marcas[3] = parcial.nsecsElapsed();
    };
    for (auto _ : estado) {
        if (!novamente) {
            Executa_SQL(QStringLiteral("DELETE FROM Dizimos"));
            Executa_SQL(QStringLiteral("DELETE FROM Saidas"));
        } else if (Abre_Recordset(QStringLiteral("SELECT COUNT(*) FROM Dizimos"))->Fields(0).toInt() != Membros) {
            Roteiro::Responde(vbOK);
            p.form->CmdAtualiza_Click();
        }
        pausas = 0;
        Roteiro::LimpaCaixas();
        Roteiro::Responde(vbOK);
        QElapsedTimer relogio;
        relogio.start();
        parcial.start();
        p.form->CmdAtualiza_Click();
        estado.SetIterationTime(relogio.nsecsElapsed() / 1e9);
        for (int i = 0; i < 3; ++i) partes[i] += (marcas[i + 1] - marcas[i]) / 1e6;
        if (Roteiro::Caixas().size() != 1 ||
            Abre_Recordset(QStringLiteral("SELECT COUNT(*) FROM Dizimos"))->Fields(0).toInt() != Membros ||
            Abre_Recordset(QStringLiteral("SELECT COUNT(*) FROM Saidas"))->Fields(0).toInt() != p.contas)
            qFatal("a atualização não foi concluída");
    }
    DefineSleep([](int) {});
    p.form->Passo_Conectado = {};
    p.form->Linha_Lida = {};
    const char* nomes[3] = {"leitura_ms", "linhas_ms", "gravacao_ms"};
    for (int i = 0; i < 3; ++i) estado.counters[nomes[i]] = partes[i] / double(estado.iterations());
    estado.SetItemsProcessed(estado.iterations() * (Membros + p.contas));
    estado.counters["pausas_s"] = double(pausas) / 1000.0;
}
BENCHMARK(BM_Atualizacao)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return Roda_Benchmarks(argc, argv); }
