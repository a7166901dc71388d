#pragma once
// Each test file registers its QtTest class; the folder's executable runs the
// class named on its command line (CTest runs one class per test), or all.
#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <QString>
#include <QStringList>

namespace Testes {
using Fabrica = std::function<std::unique_ptr<QObject>()>;
std::map<QString, Fabrica>& registro();
struct Registrador {
    Registrador(const char* nome, Fabrica f) { registro()[QString::fromLatin1(nome)] = std::move(f); }
};
}

#define REGISTRA_TESTE(Classe) \
    static Testes::Registrador registrador_##Classe(#Classe, [] { return std::unique_ptr<QObject>(new Classe); });

// Another program instance for a test that needs several at once: the
// folder's executable run as `--outro NAME ARGS...` runs the function
// registered under NAME with ARGS instead of any test, its result the exit
// code. Inicia_Outro starts it as a child process of the running test.
class QProcess;
namespace Testes {
using Outro = std::function<int(const QStringList& argumentos)>;
std::map<QString, Outro>& outros();
struct RegistradorOutro {
    RegistradorOutro(const char* nome, Outro f) { outros()[QString::fromLatin1(nome)] = std::move(f); }
};
}
void Inicia_Outro(QProcess& processo, const QString& nome, const QStringList& argumentos);

#define REGISTRA_OUTRO(Nome, Funcao) static Testes::RegistradorOutro registradorOutro_##Nome(#Nome, Funcao);
