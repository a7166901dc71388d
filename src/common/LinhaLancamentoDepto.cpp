#include "common/LinhaLancamentoDepto.h"
#include "common/LinhaLancamento.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"

namespace Linha_Lancamento_Depto {

namespace {
const QString Traco = QStringLiteral("----");

QString Celula(const QString& texto) { return Formata_Texto(texto, 10, QStringLiteral("D")); }
QString Celula(Dinheiro valor) { return Linha_Lancamento::Cabe(valor) ? Celula(valor.Formata()) : Linha_Lancamento::CelulaCheia; }

// A cell of a row that may end before it (a row of another kind).
Dinheiro Valor(const QString& linha, int coluna) {
    if (Caracteres::Conta(linha) < coluna) return {};
    return Linha_Lancamento::Valor(linha, coluna);
}
}  // namespace

bool Cabe(Dinheiro valor) { return Linha_Lancamento::Cabe(valor); }

QString Monta(int dia, const QString& tipo, const QString& historico, Dinheiro valor) {
    const QString diaTexto = Formata(double(dia), QStringLiteral("00"));
    if (tipo == QLatin1String("S"))
        return Monta_Linha({{diaTexto, 3}, {tipo, 2}, {historico, LarguraHistorico}, {Celula(Traco)},
                            {QStringLiteral(" ")}, {Celula(valor)}});
    if (tipo == QLatin1String("E"))
        return Monta_Linha({{diaTexto, 3}, {tipo, 2}, {historico, LarguraHistorico}, {Celula(valor)},
                            {QStringLiteral(" ")}, {Celula(Traco)}});
    return Monta_Linha({{diaTexto, 3}, {tipo, 2}, {historico, LarguraHistorico}});
}

Linha_Lista::Linha De_Registro(qint64 codigo, int dia, const QString& tipo, const QString& historico, Dinheiro valor) {
    Linha_Lista::Linha l;
    l.linha = Monta(dia, tipo, historico, valor);
    l.tipo = tipo;
    l.dia = dia;
    l.codigo = codigo;
    l.historico = historico;
    if (tipo == QLatin1String("E")) l.entrada = valor;
    else if (tipo == QLatin1String("S")) l.saida = valor;
    return l;
}

Linha Le(const QString& linha) {
    Linha l;
    l.dia = Caracteres::Esquerda(linha, 2);
    l.tipo = Caracteres::Meio(linha, 3, 1);
    l.historico = Apara(Caracteres::Meio(linha, 5, LarguraHistorico));
    l.entrada = Valor(linha, ColunaEntrada);
    l.saida = Valor(linha, ColunaSaida);
    return l;
}

}  // namespace Linha_Lancamento_Depto
