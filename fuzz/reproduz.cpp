// Runs a fuzz target over the files of its corpus, without the fuzzer:
// each file once, in name order, so the checks the fuzzer found worth
// keeping run on every build.
//   reproduz_<alvo> ARQUIVO_OU_PASTA...
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dados, size_t n);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    QStringList arquivos;
    for (int i = 1; i < argc; ++i) {
        const QFileInfo info(QString::fromLocal8Bit(argv[i]));
        if (!info.isDir()) {
            arquivos << info.filePath();
            continue;
        }
        const QDir pasta(info.filePath());
        for (const QString& nome : pasta.entryList(QDir::Files, QDir::Name)) arquivos << pasta.filePath(nome);
    }
    if (arquivos.isEmpty()) {
        std::fprintf(stderr, "reproduz: nenhuma entrada\n");
        return 2;
    }
    for (const QString& caminho : arquivos) {
        QFile f(caminho);
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "reproduz: não leu %s\n", qPrintable(caminho));
            return 1;
        }
        const QByteArray dados = f.readAll();
        std::fprintf(stderr, "%s\n", qPrintable(caminho));
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(dados.constData()), size_t(dados.size()));
    }
    std::printf("%lld entradas\n", static_cast<long long>(arquivos.size()));
    return 0;
}
