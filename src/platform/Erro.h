#pragma once
// Run-time errors travel as exceptions carrying the program's error number
// and its description, the way the forms' error exits expect them.
#include <QString>
#include <exception>
#include <string>

class ErroExecucao : public std::exception {
public:
    ErroExecucao(long numero, QString descricao = {})
        : Number(numero), Description(std::move(descricao)), texto_(Description.toStdString()) {}
    const char* what() const noexcept override { return texto_.c_str(); }
    long Number;
    QString Description;

private:
    std::string texto_;
};

[[noreturn]] inline void Levanta_Erro(long numero, const QString& descricao = {}) {
    throw ErroExecucao(numero, descricao);
}
