#include "App.h"
#include <QCoreApplication>
#include <cstdlib>

namespace {
QString g_pasta;
QString g_executavel;
std::function<void()> g_termino;
}

QString App::Path() {
    if (!g_pasta.isEmpty()) return g_pasta;
    if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
    return QStringLiteral(".");
}

void App::DefinePath(const QString& pasta) { g_pasta = pasta; }

QString App::Executavel() {
    if (!g_executavel.isEmpty()) return g_executavel;
    return QCoreApplication::instance() ? QCoreApplication::applicationFilePath() : QString();
}

void App::DefineExecutavel(const QString& arquivo) { g_executavel = arquivo; }

QString App::Versao() { return QStringLiteral("1.0.") + QString::number(Revision); }

void App::DefineAcaoTermino(std::function<void()> acao) { g_termino = std::move(acao); }

void App::Termina() {
    if (g_termino) g_termino();  // tests throw from here to unwind to the test
    std::_Exit(0);
}
