#include "operations/Movto_Deptos.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/LinhaLancamentoDepto.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/TelaLancamento.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"

namespace {
const QColor Amarelo(255, 255, 0);

using Twips::Posiciona;
}  // namespace

Movto_Deptos::Movto_Deptos() : Form(QStringLiteral("Movto_Deptos"), true) {
    setCaption(QStringLiteral(" Lançamento de Departamentos"));
    monta_Tela();
}

void Movto_Deptos::monta_Tela() {
    Pinta_Fundo(this);

    LblMesAno = Rotulo(this, QStringLiteral("Mês de Referência"), 120, 60, 2400);
    CboMesAno = new ComboBox(this, 0);
    Posiciona(CboMesAno, 120, 315, 2900, 360);
    LblDepto = Rotulo(this, QStringLiteral("Departamento"), 3180, 60, 4000);
    CboDepto = new ComboBox(this, 2);
    CboDepto->setSorted(true);
    Posiciona(CboDepto, 3180, 315, 5000, 360);

    OptEntrada = new OptionButton(QStringLiteral("&Entrada"), this);
    OptSaida = new OptionButton(QStringLiteral("&Saída"), this);
    Monta_Tipos({OptEntrada, OptSaida}, 8400);
    // Chosen at design, before the handlers are attached.
    OptEntrada->setValue(true);

    Monta_Campos(this, LblDia, TxtDia, LblHistorico, CboHistorico, LblValor, TxtValor, TxtCodigo, CmdEnvia);

    LstDeptos = new ListBox(this);
    LstDeptos->setSorted(true);
    LstDeptos->setFont(Fonte_Lista(14.25));
    LstDeptos->setUniformItemSizes(true);
    Posiciona(LstDeptos, 60, 1800, Largura_Lista(LstDeptos, Linha_Lancamento_Depto::Largura), 5100);
    Cabecalho_Lista(this, LstDeptos, QStringLiteral("Dia"), 1, false, 1560, Amarelo);
    Cabecalho_Lista(this, LstDeptos, QStringLiteral("T"), 4, false, 1560, Amarelo);
    Cabecalho_Lista(this, LstDeptos, QStringLiteral("Descrição dos Históricos"), 6, false, 1560, Amarelo);
    Cabecalho_Lista(this, LstDeptos, QStringLiteral("Entradas R$"), 65, true, 1560, Amarelo);
    Cabecalho_Lista(this, LstDeptos, QStringLiteral("Saídas R$"), 76, true, 1560, Amarelo);

    LblRegs = Rotulo(this, QStringLiteral("0 Registros"), 120, 7050, 2400);
    LblEntradas = Rotulo(this, QStringLiteral("Entradas R$"), 4500, 7080, 1200);
    TxtEntradas = new TextBox(this);
    LblSaidas = Rotulo(this, QStringLiteral("Saídas R$"), 7350, 7080, 1100);
    TxtSaidas = new TextBox(this);
    LblSaldo = Rotulo(this, QStringLiteral("Saldo R$"), 10200, 7080, 1000);
    TxtSaldo = new TextBox(this);
    int xt = 5700;
    for (TextBox* t : {TxtEntradas, TxtSaidas, TxtSaldo}) {
        Caixa_Total(t, Amarelo);
        Posiciona(t, xt, 7020, 1560, 360);
        xt += 2800;
    }

    Timer = new ::Timer(this, 300);

    setTamanhoCliente(std::max(13335, Twips::DePixelX(LstDeptos->geometry().right() + 6)), 7560);

    CboDepto->Click = [this] { CboDepto_Click(); };
    OptEntrada->Click = [this] { OptEntrada_Click(); };
    OptSaida->Click = [this] { OptSaida_Click(); };
    CboHistorico->KeyPress = [this](int& k) { CboHistorico_KeyPress(k); };
    CboHistorico->KeyUp = [this](int& k, int s) { CboHistorico_KeyUp(k, s); };
    TxtDia->KeyPress = [this](int& k) { TxtDia_KeyPress(k); };
    TxtDia->LostFocus = [this] { TxtDia_LostFocus(); };
    TxtValor->KeyPress = [this](int& k) { TxtValor_KeyPress(k); };
    TxtValor->LostFocus = [this] { TxtValor_LostFocus(); };
    CmdEnvia->Click = [this] { CmdEnvia_Click(); };
    LstDeptos->DblClick = [this] { LstDeptos_DblClick(); };
    LstDeptos->KeyUp = [this](int& k, int s) { LstDeptos_KeyUp(k, s); };
    Timer->Tick = [this] { Timer_Timer(); };

    setTabOrder(CboMesAno, CboDepto);
    setTabOrder(CboDepto, TxtDia);
    setTabOrder(TxtDia, CboHistorico);
    setTabOrder(CboHistorico, TxtValor);
    setTabOrder(TxtValor, CmdEnvia);
    setTabOrder(CmdEnvia, LstDeptos);
}

// ---------------------------------------------------------------------------
// Load, list and totals

void Movto_Deptos::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    Carrega_Combo(CboDepto, QStringLiteral("ProcSelDeptos"), QStringList{Param[1]}, QStringLiteral("Descricao"),
                  QStringLiteral("Codigo"));
    Carrega_Historico(QStringLiteral("E"));
    Timer->setEnabled(true);
}

QString Movto_Deptos::Depto() const {
    const int i = CboDepto->ListIndex();
    return i < 0 ? QString() : QString::number(CboDepto->ItemData(i));
}

void Movto_Deptos::CboDepto_Click() {
    Carrega_Lancamentos();
    Saldo_Anterior();
}

void Movto_Deptos::Carrega_Lancamentos() {
    const Screen::Ampulheta ampulheta;
    Limpa_Tudo();
    const QStringList parametros{Param[1], Param[10], Param[9], Depto(), {}, {}, {}, {}, {}};
    RecordsetPtr rs;
    bool ok = Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqLancDeptos"), parametros); });
    while (ok && !rs->Eof()) {
        ok = Tenta([&] {
            // The row keeps the stored history and amount: a correction takes
            // the history back whole, and the totals count an amount too wide
            // for its cell.
            Linha_Lista::Adiciona(LstDeptos, Linha_Lancamento_Depto::De_Registro(
                                                 rs->Fields(QStringLiteral("Codigo")).toLongLong(),
                                                 int(rs->Fields(QStringLiteral("Dia")).toLongLong()),
                                                 rs->Texto(QStringLiteral("Tipo")), rs->Texto(QStringLiteral("Historico")),
                                                 Dinheiro::DeCampo(rs->Fields(QStringLiteral("Valor")))));
        });
        if (ok) ok = Tenta([&] { rs->MoveNext(); });
    }
    Calcula_Saldo();
    Conta_Regs();
    rs.reset();
}

void Movto_Deptos::Calcula_Saldo() {
    Dinheiro entradas, saidas;
    Linha_Lista::Soma(LstDeptos, entradas, saidas);
    Mostra_Totais(TxtEntradas, TxtSaidas, TxtSaldo, entradas, saidas);
}

void Movto_Deptos::Conta_Regs() {
    Conta_Registros(LblRegs, LstDeptos);
}

void Movto_Deptos::Limpa_Campos_Deptos() {
    TxtDia->setText_(QString());
    CboHistorico->setListIndex(-1);
    CboHistorico->setText_(QString());
    TxtValor->setText_(QString());
    TxtEntradas->setText_(QString());
    TxtSaidas->setText_(QString());
    TxtSaldo->setText_(QString());
}

void Movto_Deptos::Limpa_Tudo() {
    Limpa_Campos_Deptos();
    LstDeptos->Clear();
}

QString Movto_Deptos::EntSai() const {
    if (OptEntrada->Value()) return QStringLiteral("E");
    if (OptSaida->Value()) return QStringLiteral("S");
    return {};
}

// ---------------------------------------------------------------------------
// Kinds, histories and keys

void Movto_Deptos::OptEntrada_Click() {
    Carrega_Historico(QStringLiteral("E"));
    TxtDia->SetFocus();
}

void Movto_Deptos::OptSaida_Click() {
    Carrega_Historico(QStringLiteral("S"));
    TxtDia->SetFocus();
}

void Movto_Deptos::Carrega_Historico(const QString& sTipo) {
    QString consulta;
    if (sTipo == QLatin1String("E")) consulta = QStringLiteral("ProcPesqHistOfertas");
    else if (sTipo == QLatin1String("S")) consulta = QStringLiteral("ProcPesqHistSaidas");
    else return;
    Carrega_Combo(CboHistorico, consulta, QStringList{Param[1]}, QStringLiteral("Descr"), QString());
}

void Movto_Deptos::CboHistorico_KeyUp(int& KeyCode, int) {
    if (KeyCode == 116) Carrega_Historico(EntSai());
}

void Movto_Deptos::CboHistorico_KeyPress(int& KeyAscii) {
    // Past 50 characters only Backspace still works, so a long history
    // can be shortened again.
    if (Caracteres::Conta(CboHistorico->Text()) > Linha_Lancamento_Depto::LarguraHistorico)
        KeyAscii = KeyAscii == 8 ? 8 : 0;
    else
        KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("M"));
}

void Movto_Deptos::TxtDia_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("I")); }
void Movto_Deptos::TxtValor_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("V")); }
void Movto_Deptos::TxtDia_LostFocus() { TxtDia->setText_(Formata(TxtDia->Text(), QStringLiteral("00"))); }
void Movto_Deptos::TxtValor_LostFocus() { TxtValor->setText_(Formata_Valor(TxtValor->Text())); }

// ---------------------------------------------------------------------------
// Blink and closing

void Movto_Deptos::Timer_Timer() {
    Pisca_Tipo({OptEntrada, OptSaida});
    Pisca_Saldo(TxtSaldo);
}

void Movto_Deptos::Form_Unload(int& Cancel) {
    if (Fica_Aberto(!CboHistorico->Text().isEmpty(), [this] { return Salva(); })) {
        // The entry in the fields may be the only copy of a taken-back
        // entry: the form stays open with it rather than losing it.
        Cancel = 1;
        return;
    }
    Timer->setEnabled(false);
    Fecha_Efeito(this);
}
