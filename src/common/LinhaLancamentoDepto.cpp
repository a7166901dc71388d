#include "common/LinhaLancamentoDepto.h"
#include "common/LinhaLancamento.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "platform/Controles.h"

namespace Linha_Lancamento_Depto {

namespace {
const QString Traco = QStringLiteral("----");

// The row keeps its amount in cents beside the text.
constexpr int PapelValor = Qt::UserRole + 2;

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

Linha Le_Texto(const QString& linha) {
    Linha l;
    l.dia = Caracteres::Esquerda(linha, 2);
    l.tipo = Caracteres::Meio(linha, 3, 1);
    l.historico = Apara(Caracteres::Meio(linha, 5, LarguraHistorico));
    return l;
}

Linha Le(const QString& linha) {
    Linha l = Le_Texto(linha);
    l.entrada = Valor(linha, ColunaEntrada);
    l.saida = Valor(linha, ColunaSaida);
    return l;
}

void Anota_Valor(ListBox* lista, int i, Dinheiro valor) {
    lista->item(i)->setData(PapelValor, QVariant(qlonglong(valor.Centavos())));
}

Dinheiro Valor_Anotado(const ListBox* lista, int i) {
    return Dinheiro::DeCentavos(lista->item(i)->data(PapelValor).toLongLong());
}

void Soma_Lista(const ListBox* lista, Dinheiro& entradas, Dinheiro& saidas) {
    for (int i = 0; i < lista->ListCount(); ++i) {
        // A row of another kind shows no amount and counts none.
        const QString tipo = Caracteres::Meio(lista->List(i), 3, 1);
        if (tipo == QLatin1String("S")) saidas += Valor_Anotado(lista, i);
        else if (tipo == QLatin1String("E")) entradas += Valor_Anotado(lista, i);
    }
}

}  // namespace Linha_Lancamento_Depto
