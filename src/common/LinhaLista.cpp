#include "common/LinhaLista.h"
#include "platform/Controles.h"

namespace Linha_Lista {

namespace {
// The values of a row, held whole in one role beside ItemData.
constexpr int Papel = Qt::UserRole + 1;
static_assert(Papel != ListBox::PapelItemData);

void Preenche(QListWidgetItem* item, const Linha& l) {
    item->setData(ListBox::PapelItemData, QVariant(qlonglong(l.codigo)));
    item->setData(Papel, QVariant::fromValue(l));
}

Linha Valores(const QListWidgetItem* item) { return item->data(Papel).value<Linha>(); }
}  // namespace

void Adiciona(ListBox* lista, const Linha& l) { Adiciona(lista, std::vector<Linha>{l}); }

void Adiciona(ListBox* lista, const std::vector<Linha>& ls) {
    QStringList textos;
    textos.reserve(qsizetype(ls.size()));
    for (const Linha& l : ls) textos.append(l.linha);
    lista->AddItems(textos, [&](QListWidgetItem* item, qsizetype k) { Preenche(item, ls[size_t(k)]); });
}

Linha Da_Lista(const ListBox* lista, int i) {
    const QListWidgetItem* item = lista->item(i);
    Linha l = Valores(item);
    l.linha = item->text();
    return l;
}

std::vector<Linha> Da_Lista(const ListBox* lista) {
    std::vector<Linha> v;
    v.reserve(size_t(lista->ListCount()));
    for (int i = 0; i < lista->ListCount(); ++i) v.push_back(Da_Lista(lista, i));
    return v;
}

void Soma(const ListBox* lista, Dinheiro& entradas, Dinheiro& saidas) {
    const int n = lista->ListCount();
    for (int i = 0; i < n; ++i) {
        const Linha l = Valores(lista->item(i));
        entradas += l.entrada;
        saidas += l.saida;
    }
}

bool Confere(const ListBox* lista, const std::vector<Linha>& esperados) {
    if (lista->ListCount() != int(esperados.size())) return false;
    for (int i = 0; i < lista->ListCount(); ++i)
        if (!(Da_Lista(lista, i) == esperados[size_t(i)])) return false;
    return true;
}

}  // namespace Linha_Lista
