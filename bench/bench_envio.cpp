// The send of a month of 5,000 entries to the central test server
// (bash scripts/central.sh inicia), pauses at none:
//  - BM_EnvioLinhas: the row loop, from the open transaction to the commit
//    and the local record, against its floor (PisoEnvio.h) in interleaved
//    rounds (goal: a ratio of at most 1.5);
//  - BM_EnvioVerificacoes: the fixed cost of the checks before it:
//    connection probes, version, sector, cash box, closed month, earlier
//    send.
// Before any timing, the floor's central rows and local record are checked
// identical to the program's, the clock fixed; the run stops on any
// difference.
#include "common/Banco.h"
#include "common/Central.h"
#include "common/Esquema.h"
#include "common/LinhaLista.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "exports/ExpMirava.h"
#include "platform/App.h"
#include "platform/Rede.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "shell/Principal.h"
#include "ComJanelas.h"
#include "LadoALado.h"
#include "MesDeTeste.h"
#include "PisoEnvio.h"
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {
constexpr int Igreja = 9191, Setor = 919, Caixa = 70091, Linhas = 5000;
// Accounts of the month's outflows (CT:100 to CT:149) that the chart
// knows; the others go as 4710.
constexpr int PrimeiraConta = 100, Contas = 20;

void Central_Sql(const QString& sql, const QVariantList& valores = {}) { ConexaoCentral(false).Executa(sql, valores); }

void Limpa_Central() {
    Central_Sql(QStringLiteral("DELETE FROM tbllanc WHERE congregacao = ?"), {Igreja});
    Central_Sql(QStringLiteral("DELETE FROM tblcongregacoes WHERE codigo = ?"), {Igreja});
    Central_Sql(QStringLiteral("DELETE FROM tblcaixas WHERE congregacao = ?"), {Igreja});
    Central_Sql(QStringLiteral("DELETE FROM tblcontas WHERE codseq BETWEEN ? AND ?"),
                {PrimeiraConta, PrimeiraConta + Contas - 1});
}

struct Pasta {
    QTemporaryDir dir;
    ExpMirava* form = nullptr;
    std::vector<Piso_Envio::Linha> linhas;  // the list's rows, for the floor
    std::unique_ptr<Piso_Envio::Envio> piso;
    Pasta() {
        Cria_Mes_De_Teste(dir.path(), Igreja);
        Rede::DefineConectado([] { return true; });
        Limpa_Central();
        Central_Sql(QStringLiteral("DELETE FROM versao_sistema"));
        Central_Sql(QStringLiteral("INSERT INTO versao_sistema VALUES (?)"), {App::Versao()});
        Central_Sql(QStringLiteral("INSERT INTO tblcongregacoes VALUES (?, 'IGREJA', ?)"), {Igreja, Setor});
        Central_Sql(QStringLiteral("INSERT INTO tblcaixas VALUES (?, 'CX INT', ?)"), {Caixa, Igreja});
        for (int i = 0; i < Contas; ++i)
            Central_Sql(QStringLiteral("INSERT INTO tblcontas (codseq, reduzido, Descricao) VALUES (?, ?, 'BENCH')"),
                        {PrimeiraConta + i, 5100 + i});
        auto* principal = Abre_Principal();
        principal->Exp_Mirava->trigger();
        form = qobject_cast<ExpMirava*>(Form::Procura(QStringLiteral("ExpMirava")));
        if (!form || form->LstLivroCx->ListCount() != Linhas) qFatal("o mês não abriu no envio");
        for (int i = 0; i < Linhas; ++i) {
            const Linha_Lista::Linha l = Linha_Lista::Da_Lista(form->LstLivroCx, i);
            linhas.push_back({l.linha, char(l.tipo.isEmpty() ? 0 : l.tipo[0].toLatin1()), l.dia, l.historico,
                              (l.entrada + l.saida).Centavos()});
        }
        QFile arquivo(Banco::CaminhoArquivo());
        if (!arquivo.open(QIODevice::ReadOnly)) qFatal("sem o arquivo local");
        const Piso::Local local{QFile::encodeName(Banco::CaminhoArquivo()),
                                      "x'" + SqlCipher::Chave(arquivo.read(16)).toHex() + "'"};
        piso = std::make_unique<Piso_Envio::Envio>(
            Piso_Envio::Mes{Param[11], 8, 2021, Setor, Igreja, Caixa, Nome_Usuario.toUtf8()}, local);
    }
    ~Pasta() { Limpa_Central(); }
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

double Envia_Piso() {
    Central_Sql(QStringLiteral("DELETE FROM tbllanc WHERE congregacao = ?"), {Igreja});
    return pasta().piso->Envia(pasta().linhas);
}

[[noreturn]] void Diverge(const QString& oque) {
    std::fprintf(stderr, "o piso difere do programa: %s\n", qPrintable(oque));
    std::exit(1);
}

// The month's central rows (every column but the key, as text, in the
// order written) and its local record.
QStringList Enviado() {
    QStringList linhas;
    RecordsetPtr rs = ConexaoCentral(true).AbreSnapshot(
        QStringLiteral("SELECT * FROM tbllanc WHERE congregacao = ? ORDER BY id"), {Igreja});
    for (; !rs->Eof(); rs->MoveNext()) {
        QStringList campos;
        for (int i = 0; i < rs->FieldCount(); ++i)
            if (rs->FieldName(i) != QLatin1String("id"))
                campos << rs->FieldName(i) + QLatin1Char('=') +
                              (rs->Fields(i).isNull() ? QStringLiteral("NULL") : rs->Fields(i).toString());
        linhas << campos.join(QLatin1Char('|'));
    }
    for (RecordsetPtr t = Abre_Recordset(QStringLiteral("SELECT Mes, Ano, Data, Usuario FROM Transmissao")); !t->Eof();
         t->MoveNext())
        linhas << QStringLiteral("local %1/%2 %3 %4")
                      .arg(t->Texto(0), t->Texto(1), t->Texto(2), t->Texto(3));
    return linhas;
}

void Confere_Com_Programa() {
    Relogio::Define(QDateTime(QDate(2021, 8, 15), QTime(10, 0, 7)));
    Envia();
    const QStringList programa = Enviado();
    Relogio::Define({});
    Executa_SQL(QStringLiteral("DELETE FROM Transmissao"));
    Piso_Envio::Envio fixo = *pasta().piso;
    fixo.Fixa("10:00:07", "2021-08-15 10:00:07");
    Central_Sql(QStringLiteral("DELETE FROM tbllanc WHERE congregacao = ?"), {Igreja});
    fixo.Envia(pasta().linhas);
    const QStringList piso = Enviado();
    if (programa.size() != Linhas + 1) Diverge(QStringLiteral("o programa enviou %1 linhas").arg(programa.size() - 1));
    if (piso.size() != programa.size()) Diverge(QStringLiteral("número de linhas"));
    for (qsizetype i = 0; i < piso.size(); ++i)
        if (piso[i] != programa[i])
            Diverge(QStringLiteral("linha %1\n  piso     %2\n  programa %3").arg(i).arg(piso[i], programa[i]));
    std::fprintf(stderr, "piso conferido com o programa: as mesmas %d linhas centrais e o mesmo registro local\n",
                 Linhas);
}

void BM_EnvioLinhas(benchmark::State& estado) {
    Lado_A_Lado::Rodadas(estado, "BM_EnvioLinhas", Linhas, [] { return Envia().linhas; }, Envia_Piso);
}
BENCHMARK(BM_EnvioLinhas)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EnvioVerificacoes(benchmark::State& estado) {
    for (auto _ : estado) estado.SetIterationTime(Envia().verificacoes);
}
BENCHMARK(BM_EnvioVerificacoes)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    const int r = Roda_Benchmarks(argc, argv, Confere_Com_Programa);
    Lado_A_Lado::Nota_Final();
    return r;
}
