// The backup copy of a program folder whose database file holds about
// 100 MB, with the pauses of its 72 steps taken out through the sleep seam:
//  - BM_Backup: the run from the click on "Iniciar Backup" to the final
//    message, its dated folder holding the copies (the program file and
//    the pictures are small here; the database's copy is the run's work);
//  - BM_Cp: the floor, `cp` of the same database file into a new name;
//  - BM_CpSync: `cp` and then `sync` of the copy, which flushes it to the
//    disk as the backup does before the copy takes its name;
//  - BM_ApiBackup: for reference, the same file copied through SQLite's
//    online backup interface into a new file keyed with the password.
// The goal is BM_Backup within 2 times BM_Cp. Before timing, the run's
// copy must open with the password and equal the file byte for byte.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "common/Usuario.h"
#include "exports/Backup.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "platform/SqlCipher.h"
#include "platform/Tela.h"
#include "shell/Principal.h"
#include "ComJanelas.h"
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Linhas = 25000;  // of 4,000 bytes: about 100 MB with the pages' room

struct Pasta {
    QTemporaryDir dir;
    QString banco;
    Backup* form = nullptr;
    QDateTime instante{QDate(2026, 12, 5), QTime(8, 0)};

    Pasta() {
        App::DefinePath(dir.path());
        banco = Banco::CaminhoArquivo();
        Esquema::Cria(banco);
        Executa_SQL(QStringLiteral("CREATE TABLE Lastro (Dado BLOB)"));
        Executa_SQL(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                   "INSERT INTO Lastro SELECT randomblob(4000) FROM n")
                        .arg(Linhas));
        for (const char* nome : {"impresso.kwe", "recibo.kwe", "programa"}) {
            QFile f(dir.filePath(QString::fromLatin1(nome)));
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray(100 * 1024, 'x'));
        }
        App::DefineExecutavel(dir.filePath(QStringLiteral("programa")));
        DefineSleep([](int) {});
        Roteiro::Instala();
        auto* principal = Abre_Principal();
        principal->Exp_BKP->trigger();
        form = Form::Instancia<Backup>();
    }

    // Each run in a minute of its own, so that its folder is new.
    QString Proxima() {
        instante = instante.addSecs(60);
        Relogio::Define(instante);
        return dir.filePath(instante.toString(QStringLiteral("ddMMyyHHmm")));
    }
};

Pasta& pasta() {
    static Pasta p;
    return p;
}

void Roda_Backup() {
    Roteiro::LimpaCaixas();
    Roteiro::Responde(vbOK);
    pasta().form->CmdValida->click();
    if (Roteiro::Caixas().size() != 1 || Roteiro::Caixas().back().prompt != QLatin1String("Backup Concluido"))
        qFatal("o backup não foi concluído");
}

void Cp(const QString& destino) {
    if (QProcess::execute(QStringLiteral("cp"), {pasta().banco, destino}) != 0) qFatal("cp falhou");
}

void Cp_Sync(const QString& destino) {
    Cp(destino);
    if (QProcess::execute(QStringLiteral("sync"), {destino}) != 0) qFatal("sync falhou");
}

void Api_Backup(const QString& destino) {
    const auto fonte = SqlCipher::Conexao::Abre(pasta().banco);
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(destino).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_key(db, SqlCipher::Senha, int(sizeof(SqlCipher::Senha) - 1));
    sqlite3_backup* b = sqlite3_backup_init(db, "main", fonte.Db(), "main");
    const int rc = b ? sqlite3_backup_step(b, -1) : SQLITE_ERROR;
    sqlite3_backup_finish(b);
    sqlite3_close(db);
    if (rc != SQLITE_DONE) qFatal("a cópia pela interface de backup falhou");
}

void Confere() {
    const QString destino = pasta().Proxima();
    Roda_Backup();
    const QString copia = destino + QStringLiteral("/Marlovinter.kwe");
    QFile a(pasta().banco), b(copia);
    a.open(QIODevice::ReadOnly);
    b.open(QIODevice::ReadOnly);
    if (a.size() < 100'000'000 || a.readAll() != b.readAll()) qFatal("a cópia não é o arquivo");
    if (SqlCipher::Conexao::Abre(copia).Valor(QStringLiteral("SELECT count(*) FROM Lastro")).toInt() != Linhas)
        qFatal("a cópia não abre com a senha");
    QDir(destino).removeRecursively();
}

void Conta(benchmark::State& estado) {
    estado.SetBytesProcessed(estado.iterations() * QFileInfo(pasta().banco).size());
    estado.counters["MB"] = double(QFileInfo(pasta().banco).size()) / 1e6;
}

void BM_Backup(benchmark::State& estado) {
    for (auto _ : estado) {
        estado.PauseTiming();
        const QString destino = pasta().Proxima();
        estado.ResumeTiming();
        Roda_Backup();
        estado.PauseTiming();
        QDir(destino).removeRecursively();
        estado.ResumeTiming();
    }
    Conta(estado);
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// Copies into a name that is removed after each iteration.
void Mede(benchmark::State& estado, void (*copia)(const QString&)) {
    const QString destino = pasta().dir.filePath(QStringLiteral("copia.kwe"));
    for (auto _ : estado) {
        copia(destino);
        estado.PauseTiming();
        QFile::remove(destino);
        estado.ResumeTiming();
    }
    Conta(estado);
}

void BM_Cp(benchmark::State& estado) { Mede(estado, Cp); }
BENCHMARK(BM_Cp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_CpSync(benchmark::State& estado) { Mede(estado, Cp_Sync); }
BENCHMARK(BM_CpSync)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_ApiBackup(benchmark::State& estado) { Mede(estado, Api_Backup); }
BENCHMARK(BM_ApiBackup)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    return Roda_Benchmarks(argc, argv, [] { Confere(); });
}
