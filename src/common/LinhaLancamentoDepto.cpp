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
    QString r;
    r.reserve(Largura);
    r += Formata_Texto(Formata(double(dia), QStringLiteral("00")), 3, QStringLiteral("E"));
    r += Formata_Texto(tipo, 2, QStringLiteral("E"));
    r += Formata_Texto(historico, LarguraHistorico, QStringLiteral("E"));
    if (tipo == QLatin1String("S")) r += Celula(Traco) + QLatin1Char(' ') + Celula(valor);
    else if (tipo == QLatin1String("E")) r += Celula(valor) + QLatin1Char(' ') + Celula(Traco);
    return r;
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
