// The register download of 10,000 tithers and 1,000 outflow accounts from
// the central test server (bash scripts/central.sh inicia), driven by the
// window's update button with the pauses at none, against its floor
// (PisoAtualizacoes.h) in interleaved rounds (goal: a ratio of at most
// 1.5). Argument 0 downloads into empty registers, 1 runs again over what
// the first run wrote. The counter pausas_s is what the pauses of one run
// add for a user, the time of the run aside; the tithers' step is split
// into its central read (leitura_ms, beside the floor's piso_leitura_ms),
// its walk of the rows (linhas_ms) and its local write (gravacao_ms).
// Before any timing, the floor's local rows are checked identical to the
// program's, into empty registers and over them; the run stops on any
// difference.
#include "common/Central.h"
#include "common/Banco.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Rede.h"
#include "platform/Tela.h"
#include "registers/Atualizacoes.h"
#include "shell/Principal.h"
#include "ComJanelas.h"
#include "LadoALado.h"
#include "MesDeTeste.h"
#include "PisoAtualizacoes.h"
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

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
    std::unique_ptr<Piso_Atualizacoes::Atualizacao> piso;
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
        auto* principal = Abre_Principal();
        principal->AtuBA->trigger();
        form = qobject_cast<Atualizacoes*>(Form::Procura(QStringLiteral("Atualizacoes")));
        if (!form) qFatal("o menu não abriu a atualização");
        form->ChkAtualiza[7]->setValue(1);
        QFile arquivo(Banco::CaminhoArquivo());
        if (!arquivo.open(QIODevice::ReadOnly)) qFatal("sem o arquivo local");
        piso = std::make_unique<Piso_Atualizacoes::Atualizacao>(
            Param[11],
            Piso::Local{QFile::encodeName(Banco::CaminhoArquivo()), "x'" + SqlCipher::Chave(arquivo.read(16)).toHex() + "'"},
            Igreja);
    }
    ~Pasta() { Limpa_Central(); }
};

Pasta& pasta() {
    static Pasta p;
    return p;
}

int Conta(const char* tabela) {
    return Abre_Recordset(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(tabela))->Fields(0).toInt();
}

// The registers as the program leaves them: empty (0) or as one download
// wrote them (1), outside any timing.
void Prepara(bool novamente) {
    Pasta& p = pasta();
    if (!novamente) {
        Executa_SQL(QStringLiteral("DELETE FROM Dizimos"));
        Executa_SQL(QStringLiteral("DELETE FROM Saidas"));
    } else if (Conta("Dizimos") != Membros) {
        Roteiro::Responde(vbOK);
        p.form->CmdAtualiza_Click();
        Roteiro::LimpaCaixas();
    }
}

// What a download must have left, the program's or the floor's.
void Confere_Contagem() {
    if (Conta("Dizimos") != Membros || Conta("Saidas") != pasta().contas) qFatal("a atualização não foi concluída");
}

// One run of the program from its button, its seconds; `marcas` receive
// the tithers' step: connected, first row walked, last row walked, the
// next step reached.
double Programa(qint64 (&marcas)[4], qint64& pausas) {
    Pasta& p = pasta();
    QElapsedTimer relogio;
    p.form->Passo_Conectado = [&](int passo) {
        if (passo == 7) marcas[0] = relogio.nsecsElapsed();
    };
    p.form->Linha_Lida = [&](int passo, qint64 linha) {
        if (passo == 7 && linha == 1) marcas[1] = relogio.nsecsElapsed();
        if (passo == 7 && linha == Membros) marcas[2] = relogio.nsecsElapsed();
        if (passo == 8) marcas[3] = relogio.nsecsElapsed();
    };
    pausas = 0;
    DefineSleep([&](int ms) { pausas += ms; });
    Roteiro::LimpaCaixas();
    Roteiro::Responde(vbOK);
    relogio.start();
    p.form->CmdAtualiza_Click();
    const double s = relogio.nsecsElapsed() / 1e9;
    DefineSleep([](int) {});
    p.form->Passo_Conectado = {};
    p.form->Linha_Lida = {};
    if (Roteiro::Caixas().size() != 1) qFatal("a atualização não terminou com a sua mensagem");
    Roteiro::LimpaCaixas();
    return s;
}

[[noreturn]] void Diverge(const QString& oque) {
    std::fprintf(stderr, "o piso difere do programa: %s\n", qPrintable(oque));
    std::exit(1);
}

QStringList Registros() {
    QStringList l;
    for (const char* sql : {"SELECT Codigo, CodIg, Descricao, NULL, NULL FROM Saidas ORDER BY Codigo, Descricao",
                            "SELECT Codigo, CodIg, RI, Nome, Cargo FROM Dizimos ORDER BY Codigo"})
        for (RecordsetPtr rs = Abre_Recordset(QString::fromLatin1(sql)); !rs->Eof(); rs->MoveNext()) {
            QStringList campos;
            for (int i = 0; i < rs->FieldCount(); ++i)
                campos << (rs->Fields(i).isNull() ? QStringLiteral("NULL") : rs->Fields(i).toString());
            l << campos.join(QLatin1Char('|'));
        }
    return l;
}

void Confere_Com_Programa() {
    qint64 marcas[4] = {}, pausas = 0;
    QStringList programa[2], piso[2];
    for (int vez = 0; vez < 2; ++vez) {
        if (vez == 0) Prepara(false);
        Programa(marcas, pausas);
        Confere_Contagem();
        programa[vez] = Registros();
    }
    for (int vez = 0; vez < 2; ++vez) {
        if (vez == 0) Prepara(false);
        pasta().piso->Roda();
        Confere_Contagem();
        piso[vez] = Registros();
    }
    for (int vez = 0; vez < 2; ++vez) {
        if (piso[vez].size() != programa[vez].size()) Diverge(QStringLiteral("número de linhas"));
        for (qsizetype i = 0; i < piso[vez].size(); ++i)
            if (piso[vez][i] != programa[vez][i])
                Diverge(QStringLiteral("linha %1\n  piso     %2\n  programa %3").arg(i).arg(piso[vez][i], programa[vez][i]));
    }
    std::fprintf(stderr, "piso conferido com o programa: as mesmas %lld linhas locais, em registros vazios e sobre eles\n",
                 static_cast<long long>(programa[0].size()));
}

void BM_Atualizacao(benchmark::State& estado) {
    Pasta& p = pasta();
    const bool novamente = estado.range(0) == 1;
    const std::string nome = novamente ? "BM_Atualizacao/1" : "BM_Atualizacao/0";
    qint64 pausas = 0;
    double partes[3] = {};
    std::vector<double> leituras, leiturasPiso;
    Lado_A_Lado::Rodadas(
        estado, nome, Membros + p.contas,
        [&] {
            Prepara(novamente);
            qint64 marcas[4] = {};
            const double s = Programa(marcas, pausas);
            Confere_Contagem();
            for (int i = 0; i < 3; ++i) partes[i] += (marcas[i + 1] - marcas[i]) / 1e6;
            leituras.push_back((marcas[1] - marcas[0]) / 1e9);
            return s;
        },
        [&] {
            Prepara(novamente);
            const Piso_Atualizacoes::Tempos t = p.piso->Roda();
            Confere_Contagem();
            leiturasPiso.push_back(t.leituraDizimistas);
            return t.total;
        });
    const char* nomes[3] = {"leitura_ms", "linhas_ms", "gravacao_ms"};
    for (int i = 0; i < 3; ++i) estado.counters[nomes[i]] = partes[i] / double(estado.iterations());
    estado.counters["piso_leitura_ms"] = Lado_A_Lado::Mediana(leiturasPiso) * 1e3;
    estado.counters["pausas_s"] = double(pausas) / 1000.0;
    Lado_A_Lado::Registra(nome + " leitura dos dizimistas", Membros, leituras, leiturasPiso);
}
BENCHMARK(BM_Atualizacao)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace

int main(int argc, char** argv) {
    const int r = Roda_Benchmarks(argc, argv, Confere_Com_Programa);
    Lado_A_Lado::Nota_Final();
    return r;
}
