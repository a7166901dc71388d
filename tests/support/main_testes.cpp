#include "Registro.h"
#include <QApplication>
#include <QTest>
#include <cstdio>

std::map<QString, Testes::Fabrica>& Testes::registro() {
    static std::map<QString, Fabrica> r;
    return r;
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    QString alvo;
    if (args.size() > 1 && !args[1].startsWith('-')) {
        alvo = args[1];
        args.removeAt(1);
    }
    int falhas = 0;
    bool achou = false;
    for (auto& [nome, fabrica] : Testes::registro()) {
        if (!alvo.isEmpty() && nome != alvo) continue;
        achou = true;
        auto obj = fabrica();
        falhas += QTest::qExec(obj.get(), args);
    }
    if (!achou) {
        std::fprintf(stderr, "teste desconhecido: %s\n", qPrintable(alvo));
        return 2;
    }
    return falhas == 0 ? 0 : 1;
}
