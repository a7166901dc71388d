#include "printing/PainelImpressao.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"

using Twips::Posiciona;

CommandButton* Botao_Imprime(QWidget* form, const QIcon& icone, const QString& dica) {
    auto* b = new CommandButton(QString(), form);
    b->setIcon(icone);
    b->setIconSize(QSize(32, 32));
    b->setToolTip(dica);
    return b;
}

void Monta_Deslocamentos(QWidget* form, int x, int topo, int xBotao, const QString& dica, Label*& LblLeft,
                         TextBox*& TxtLeft, Label*& LblTop, TextBox*& TxtTop, CommandButton*& CmdImprime) {
    LblLeft = Rotulo(form, QStringLiteral("Horizontal mm"), x, topo, 1500);
    TxtLeft = new TextBox(form);
    LblTop = Rotulo(form, QStringLiteral("Vertical mm"), x + 1600, topo, 1500);
    TxtTop = new TextBox(form);
    int xd = x;
    for (TextBox* t : {TxtLeft, TxtTop}) {
        t->setMaxLength_(4);
        t->setText_(QStringLiteral("0"));
        t->setAlignment(Qt::AlignRight);
        Posiciona(t, xd, topo + 255, 1000, 360);
        xd += 1600;
    }
    CmdImprime = Botao_Imprime(form, Icone_Impressora(), dica);
    Posiciona(CmdImprime, xBotao, topo + 60, 900, 620);
}

void Monta_Totais(QWidget* form, int topo, const std::vector<Caixa_Painel>& caixas) {
    int x = 120;
    for (size_t i = 0; i < caixas.size(); ++i) {
        *caixas[i].rotulo = Rotulo(form, caixas[i].legenda, x, topo, 1800);
        TextBox* t = *caixas[i].caixa = new TextBox(form);
        Caixa_Total(t, i + 1 == caixas.size() ? Cor_Saldo : QColor(255, 255, 255));
        Posiciona(t, x, topo + 255, 1900, 360);
        x += 2180;
    }
}

bool Confirma_Saldo(const QString& saldo, const QString& titulo) {
    const auto valor = Dinheiro::Le(saldo);
    return !valor || valor->Centavos() >= 0 ||
           MsgBox(QStringLiteral("Saldo Irregular. Deseja Imprimir ?"), vbYesNo + vbQuestion + vbDefaultButton2,
                  titulo) != vbNo;
}

bool Confirma_Papel(const QString& titulo) {
    return MsgBox(QStringLiteral("Prepare a Impressora com papel A4. Tudo OK ?"), vbYesNo + vbQuestion, titulo) == vbYes;
}
