#include "common/TelaLancamento.h"
#include "common/Formularios.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"

namespace {
const QColor Amarelo(255, 255, 0);
const QColor Preto(0, 0, 0);
}  // namespace

void Pisca_Tipo(std::initializer_list<OptionButton*> opcoes) {
    for (OptionButton* o : opcoes) {
        if (o->Value()) o->setForeColor(o->ForeColor() == Amarelo ? Preto : Amarelo);
        else o->setForeColor(Amarelo);
    }
}

void Mostra_Totais(TextBox* txtEntradas, TextBox* txtSaidas, TextBox* txtSaldo, Dinheiro entradas, Dinheiro saidas) {
    txtEntradas->setText_(entradas.Formata());
    txtSaidas->setText_(saidas.Formata());
    txtSaldo->setText_((entradas - saidas).Formata());
    txtSaldo->setForeColor(Cor_Saldo);
}

bool Confirma_Remocao(const ListBox* lista, int i) {
    const QString linha = Apara(Caracteres::Esquerda(lista->List(i), 56));
    return MsgBox(QStringLiteral("Deseja remover ") + linha + QStringLiteral(" ?"), vbYesNo + vbQuestion + vbDefaultButton2,
                  Titulo_Atencao()) == vbYes;
}
