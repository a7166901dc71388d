#include "common/TelaLancamento.h"
#include "common/Formularios.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <QStyle>

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

void Monta_Tipos(std::initializer_list<OptionButton*> opcoes, int x) {
    for (OptionButton* o : opcoes) {
        o->setForeColor(Cor_Saldo);
        QFont f = o->font();
        f.setBold(true);
        o->setFont(f);
        Twips::Posiciona(o, x, 345, 1400, 300);
        x += 1500;
    }
}

void Monta_Campos(QWidget* form, Label*& LblDia, TextBox*& TxtDia, Label*& LblHistorico, ComboBox*& CboHistorico,
                  Label*& LblValor, TextBox*& TxtValor, TextBox*& TxtCodigo, CommandButton*& CmdEnvia) {
    using Twips::Posiciona;
    LblDia = Rotulo(form, QStringLiteral("Dia"), 120, 780, 600);
    TxtDia = new TextBox(form);
    TxtDia->setMaxLength_(2);
    Posiciona(TxtDia, 120, 1035, 600, 360);
    LblHistorico = Rotulo(form, QStringLiteral("Descrição do Histórico"), 840, 780, 4000);
    CboHistorico = new ComboBox(form, 0);
    CboHistorico->setSorted(true);
    CboHistorico->setToolTip(QStringLiteral("Use Seta Abaixo para selecionar histórico"));
    CboHistorico->setMaxVisibleItems(20);
    Posiciona(CboHistorico, 840, 1035, 8400, 360);
    LblValor = Rotulo(form, QStringLiteral("Valor R$"), 9360, 780, 1800);
    TxtValor = new TextBox(form);
    TxtValor->setAlignment(Qt::AlignRight);
    Posiciona(TxtValor, 9360, 1035, 1800, 360);
    TxtCodigo = new TextBox(form);
    TxtCodigo->setVisible(false);
    CmdEnvia = new CommandButton(QString(), form);
    CmdEnvia->setIcon(form->style()->standardIcon(QStyle::SP_DialogSaveButton));
    CmdEnvia->setIconSize(QSize(24, 24));
    CmdEnvia->setToolTip(QStringLiteral("Grava o lançamento"));
    Posiciona(CmdEnvia, 11400, 900, 720, 540);
}
