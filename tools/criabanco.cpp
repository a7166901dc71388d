// criabanco <pasta>: creates the program folder's database file from the
// schema carried by the program, or brings an existing one up to date.
// criabanco --demo <pasta>: creates a new file holding the demonstration
// rows of db/demo/demo.sql; an existing file is refused, never filled.
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Esquema.h"
#include "platform/Erro.h"
#include "platform/SqlCipher.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

QString DemoSql() {
    QFile f(QStringLiteral(":/demo/demo.sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw ErroExecucao(3044, QStringLiteral("Dados de demonstração ausentes: ") + f.errorString());
    return QString::fromUtf8(f.readAll());
}

// The file is made and filled under a temporary name and takes the real
// name only when complete, and only when that name is still free: a file
// that appeared meanwhile is never replaced, and a failure leaves nothing.
void CriaDemo(const QString& caminho) {
    if (QFileInfo::exists(caminho))
        throw ErroExecucao(58, QStringLiteral("O arquivo já existe; os dados de demonstração só entram num arquivo "
                                              "novo: ") +
                                   caminho);
    const QString sql = DemoSql();
    const QString temporario =
        caminho + QStringLiteral(".demo.") + QString::number(QCoreApplication::applicationPid());
    const auto limpa = [&] {
        QFile::remove(temporario);
        QFile::remove(temporario + QStringLiteral("-journal"));
    };
    limpa();
    try {
        Esquema::Cria(temporario);
        {
            SqlCipher::Conexao con = SqlCipher::Conexao::Abre(temporario);
            con.Executa(QStringLiteral("BEGIN IMMEDIATE"));
            try {
                con.Executa(sql);
                con.Executa(QStringLiteral("COMMIT"));
            } catch (...) {
                con.Desfaz();
                throw;
            }
        }
        // rename() refuses an existing target: the new name is taken only
        // while it is free.
        if (!QFile::rename(temporario, caminho))
            throw ErroExecucao(58, QStringLiteral("O arquivo já existe: ") + caminho);
    } catch (...) {
        limpa();
        throw;
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    const bool demo = args.size() == 3 && args[1] == QLatin1String("--demo");
    if (demo) args.removeAt(1);
    if (args.size() != 2 || args[1].startsWith(QLatin1String("--"))) {
        std::fprintf(stderr, "uso: criabanco [--demo] <pasta>\n");
        return 2;
    }
    const QString caminho = QDir(args[1]).absoluteFilePath(Banco::NomeArquivo);
    try {
        if (demo) {
            CriaDemo(caminho);
            std::printf("%s: criado com dados de demonstração (versão %d)\n",
                        qPrintable(QDir::toNativeSeparators(caminho)), Esquema::Versao);
        } else if (QFileInfo::exists(caminho)) {
            const bool mudou = Esquema::Atualiza(caminho);
            std::printf("%s: %s\n", qPrintable(QDir::toNativeSeparators(caminho)),
                        mudou ? "atualizado" : "já atualizado");
        } else {
            Esquema::Cria(caminho);
            std::printf("%s: criado (versão %d)\n", qPrintable(QDir::toNativeSeparators(caminho)), Esquema::Versao);
        }
    } catch (const ErroExecucao& e) {
        // The program's own wording first; the engine's words only as detail.
        const QString texto = Texto_Erro(e.Number, e.Description);
        const QString detalhe = e.Description.isEmpty() || e.Description == texto
                                    ? QString()
                                    : QStringLiteral(" (") + e.Description + QLatin1Char(')');
        std::fprintf(stderr, "criabanco: %s: erro %ld: %s%s\n", qPrintable(QDir::toNativeSeparators(caminho)), e.Number,
                     qPrintable(QString(texto).replace(QChar(13), QLatin1Char(' '))), qPrintable(detalhe));
        return 1;
    }
    return 0;
}
