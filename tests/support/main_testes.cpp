#include "Registro.h"
#include <QApplication>
#include <QProcess>
#include <QTest>
#include <cstdio>

std::map<QString, Testes::Fabrica>& Testes::registro() {
    static std::map<QString, Fabrica> r;
    return r;
}

std::map<QString, Testes::Outro>& Testes::outros() {
    static std::map<QString, Outro> r;
    return r;
}

void Inicia_Outro(QProcess& processo, const QString& nome, const QStringList& argumentos) {
    processo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    processo.start(QCoreApplication::applicationFilePath(), QStringList{QStringLiteral("--outro"), nome} + argumentos);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() > 2 && args[1] == QLatin1String("--outro")) {
        const auto outro = Testes::outros().find(args[2]);
        if (outro == Testes::outros().end()) {
            std::fprintf(stderr, "programa desconhecido: %s\n", qPrintable(args[2]));
            return 2;
        }
        return outro->second(args.mid(3));
    }
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
