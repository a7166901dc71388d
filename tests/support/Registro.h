#pragma once
// Each test file registers its QtTest class; the folder's executable runs the
// class named on its command line (CTest runs one class per test), or all.
#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <QString>

namespace Testes {
using Fabrica = std::function<std::unique_ptr<QObject>()>;
std::map<QString, Fabrica>& registro();
struct Registrador {
    Registrador(const char* nome, Fabrica f) { registro()[QString::fromLatin1(nome)] = std::move(f); }
};
}

#define REGISTRA_TESTE(Classe) \
    static Testes::Registrador registrador_##Classe(#Classe, [] { return std::unique_ptr<QObject>(new Classe); });
