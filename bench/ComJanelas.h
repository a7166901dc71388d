#pragma once
// The entry point of the benchmarks that open forms: an application on the
// offscreen platform (unless the environment names another), then the runs.
#include "common/Usuario.h"
#include "shell/Principal.h"
#include <QApplication>
#include <benchmark/benchmark.h>
#include <functional>

// `antes` runs once the application exists and the arguments are read,
// before the first benchmark.
inline int Roda_Benchmarks(int argc, char** argv, const std::function<void()>& antes = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (antes) antes();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The main window shown and logged in, its login standing in for the
// dialog with the user "BENCH"; its menu opens the forms to time.
inline Principal* Abre_Principal() {
    Principal::DefineLogin([] { Nome_Usuario = QStringLiteral("BENCH"); });
    auto* principal = new Principal();
    principal->Show();
    QCoreApplication::processEvents();
    return principal;
}
