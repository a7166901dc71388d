// criabanco <pasta>: creates the program folder's database file from the
// schema carried by the program, or brings an existing one up to date.
#include "common/Banco.h"
#include "common/Esquema.h"
#include "platform/Erro.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "uso: criabanco <pasta>\n");
        return 2;
    }
    const QString caminho = QDir(args[1]).absoluteFilePath(Banco::NomeArquivo);
    try {
        if (QFileInfo::exists(caminho)) {
            const bool mudou = Esquema::Atualiza(caminho);
            std::printf("%s: %s\n", qPrintable(QDir::toNativeSeparators(caminho)),
                        mudou ? "atualizado" : "já atualizado");
        } else {
            Esquema::Cria(caminho);
            std::printf("%s: criado (versão %d)\n", qPrintable(QDir::toNativeSeparators(caminho)), Esquema::Versao);
        }
    } catch (const ErroExecucao& e) {
        std::fprintf(stderr, "criabanco: %s: erro %ld: %s\n", qPrintable(QDir::toNativeSeparators(caminho)), e.Number,
                     qPrintable(e.Description));
        return 1;
    }
    return 0;
}
