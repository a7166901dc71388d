#include "common/TelaMes.h"
#include "common/Formularios.h"
#include "common/LinhaLancamento.h"
#include "platform/Controles.h"
#include "platform/Tela.h"

using Twips::Posiciona;

void Monta_Lista_Mes(QWidget* form, const QString& credito, int altura, Label*& LblMesAno, ComboBox*& CboMesAno,
                     Label*& LblKwe, ListBox*& LstLivroCx) {
    LblMesAno = Rotulo(form, QStringLiteral("Mês de Referência"), 120, 60, 2400);
    CboMesAno = new ComboBox(form, 0);
    Posiciona(CboMesAno, 120, 315, 2900, 360);
    LblKwe = new Label(credito, form);
    LblKwe->setForeColor(QColor(0xC0, 0xC0, 0xC0));
    Posiciona(LblKwe, 3300, 345, 5100, 300);

    LstLivroCx = new ListBox(form);
    LstLivroCx->setFont(Fonte_Lista(11.25));
    LstLivroCx->setUniformItemSizes(true);
    Posiciona(LstLivroCx, 60, 1020, Largura_Lista(LstLivroCx, Linha_Lancamento::Largura), Altura_Lista(LstLivroCx, altura));
    Cabecalho_Lista(form, LstLivroCx, QStringLiteral("Dia"), 3, false, 780, Cor_Saldo);
    Cabecalho_Lista(form, LstLivroCx, QStringLiteral("Descrição dos Históricos"), 6, false, 780, Cor_Saldo);
    Cabecalho_Lista(form, LstLivroCx, QStringLiteral("Entradas R$"), 65, true, 780, Cor_Saldo);
    Cabecalho_Lista(form, LstLivroCx, QStringLiteral("Saídas R$"), Linha_Lancamento::Largura, true, 780, Cor_Saldo);
}

int Monta_Totais_Mes(QWidget* form, const ListBox* lista, Label*& LblRegs, Label*& LblEntradas, TextBox*& TxtEntradas,
                     Label*& LblSaidas, TextBox*& TxtSaidas, Label*& LblSaldo, TextBox*& TxtSaldo) {
    const int abaixo = Twips::DePixelY(lista->geometry().bottom()) + 120;
    LblRegs = Rotulo(form, QStringLiteral("0 Registros"), 120, abaixo + 30, 2400);
    LblEntradas = Rotulo(form, QStringLiteral("Entradas R$"), 2350, abaixo + 30, 1200);
    TxtEntradas = new TextBox(form);
    LblSaidas = Rotulo(form, QStringLiteral("Saídas R$"), 5150, abaixo + 30, 1100);
    TxtSaidas = new TextBox(form);
    LblSaldo = Rotulo(form, QStringLiteral("Saldo R$"), 7950, abaixo + 30, 1000);
    TxtSaldo = new TextBox(form);
    int xt = 3500;
    for (TextBox* t : {TxtEntradas, TxtSaidas, TxtSaldo}) {
        Caixa_Total(t, Cor_Saldo);
        Posiciona(t, xt, abaixo, 1500, 360);
        xt += 2700;
    }
    return abaixo;
}

int Monta_Lista_Dizimistas(QWidget* form, int colunas, Label*& LblMesAno, ComboBox*& CboMesAno, CheckBox*& ChkCargo,
                           Label*& LblLista, ListBox*& lista, Label*& LblRegs, Label*& LblKwe, int& abaixo) {
    LblMesAno = Rotulo(form, QStringLiteral("Mês de Referência"), 120, 60, 2400);
    CboMesAno = new ComboBox(form, 0);
    Posiciona(CboMesAno, 120, 315, 2900, 360);
    ChkCargo = new CheckBox(QStringLiteral("Mostra Cargo"), form);
    ChkCargo->setStyleSheet(QStringLiteral("color: white"));
    Posiciona(ChkCargo, 3300, 330, 1800, 330);

    LblLista = Rotulo(form, QStringLiteral("Dizimistas do Mês"), 120, 840, 2400);
    lista = new ListBox(form);
    lista->setSorted(true);
    lista->setFont(Fonte_Lista(11.25));
    lista->setUniformItemSizes(true);
    Posiciona(lista, 60, 1095, Largura_Lista(lista, colunas), 4800);

    const int direita = Twips::DePixelX(lista->geometry().right() + 6) + 60;
    abaixo = Twips::DePixelY(lista->geometry().bottom()) + 120;
    LblRegs = Rotulo(form, QStringLiteral("0 Registros"), 120, abaixo, 2400);
    LblKwe = Rotulo(form, QStringLiteral("Tavrelo"), direita - 1500, abaixo, 1380, QColor(0xa0, 0xa0, 0xa0));
    LblKwe->setAlignment(Qt::AlignRight);
    return direita;
}
