#include "common/LinhaIgrejaSetor.h"
#include "common/LinhaLancamento.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"

namespace Linha_Igreja_Setor {

namespace {
const QString Direita = QStringLiteral("D");
const QString Esquerda = QStringLiteral("E");
constexpr Dinheiro Mil = Dinheiro::DeCentavos(100000);
constexpr Dinheiro Limite_Tipo6 = Dinheiro::DeCentavos(100001);

Dinheiro Despesas(const Igreja& ig) { return ig.entradas - ig.aluguel - ig.agua - ig.luz; }

// As the cash-book row's cells: an amount too wide is marked, never cut
// into another amount.
QString Celula(Dinheiro valor) {
    if (!Linha_Lancamento::Cabe(valor)) return Linha_Lancamento::CelulaCheia;
    return Formata_Texto(valor.Formata(), Linha_Lancamento::LarguraValor, Direita);
}
}  // namespace

std::optional<int> Calculo(const QVariant& calculo) {
    if (calculo.isNull()) return std::nullopt;
    bool ok = false;
    const qlonglong n = calculo.toLongLong(&ok);
    // A REAL 3.5 is no type, nor is a text that is not a whole number.
    if (!ok || (calculo.typeId() == QMetaType::Double && calculo.toDouble() != double(n))) return std::nullopt;
    if (n < 1 || n > 6) return std::nullopt;
    return int(n);
}

Dinheiro Valor_Por_Calculo(const Igreja& ig) {
    switch (Calculo(ig.calculo).value_or(0)) {
    case 1: return ig.entradas;
    case 2: return ig.entradas - ig.saidas;
    case 3: return Despesas(ig);
    case 4: return Despesas(ig) - ig.prebenda;
    case 6: return ig.entradas <= Limite_Tipo6 ? ig.entradas - Mil : Despesas(ig) - ig.prebenda;
    default: return {};
    }
}

QString Bloco_Nome(const Igreja& ig) {
    const QString codigo = QStringLiteral("%1").arg(ig.codCongrega, 4, 10, QLatin1Char('0'));
    return ig.nome + QLatin1Char('(') + codigo + QLatin1Char('~') + ig.calculo.toString() + QLatin1Char(')');
}

QString Monta(const Igreja& ig) {
    return Monta_Linha({{QStringLiteral("I"), 2, Esquerda}, {QStringLiteral("01"), 3, Esquerda},
                        {Bloco_Nome(ig), LarguraNome, Esquerda}, {Celula(Valor_Por_Calculo(ig))},
                        {QStringLiteral("  ")}, {Celula(ig.entradas)}, {QStringLiteral(" ")}, {Celula(ig.saidas)}});
}

Linha_Lista::Linha De_Igreja(const Igreja& ig) {
    Linha_Lista::Linha l;
    l.linha = Monta(ig);
    l.tipo = QStringLiteral("I");
    l.dia = 1;
    l.codigo = ig.codCongrega;
    l.historico = ig.nome;
    l.entrada = ig.entradas;
    l.saida = ig.saidas;
    l.calculado = Valor_Por_Calculo(ig);
    return l;
}

Linha Le(const QString& linha) {
    Linha l;
    l.nome = Apara(Caracteres::Meio(linha, 5, LarguraNome));
    l.valor = Linha_Lancamento::Valor(linha, ColunaValor);
    l.entrada = Linha_Lancamento::Valor(linha, Linha_Lancamento::ColunaEntrada);
    l.saida = Linha_Lancamento::Valor(linha, Linha_Lancamento::ColunaSaida);
    return l;
}

}  // namespace Linha_Igreja_Setor
