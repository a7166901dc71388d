#include "printing/ImpLivroCx.h"
#include "printing/PainelImpressao.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/LancamentosMes.h"
#include "common/LinhaLancamento.h"
#include "common/Parametros.h"
#include "common/Transmissao.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <QScopedValueRollback>

namespace {
using Twips::Posiciona;
}  // namespace

ImpLivroCx::ImpLivroCx() : Form(QStringLiteral("ImpLivroCx"), true) {
    setCaption(QStringLiteral("Impressão de Livro Caixa"));
    monta_Tela();
}

void ImpLivroCx::monta_Tela() {
    Pinta_Fundo(this);

    LblMesAno = Rotulo(this, QStringLiteral("Mês de Referência"), 120, 60, 2400);
    CboMesAno = new ComboBox(this, 0);
    Posiciona(CboMesAno, 120, 315, 2900, 360);

    LstLivroCx = new ListBox(this);
    LstLivroCx->setFont(Fonte_Lista(11.25));
    LstLivroCx->setUniformItemSizes(true);
    Posiciona(LstLivroCx, 60, 1020, Largura_Lista(LstLivroCx, Linha_Lancamento::Largura), Altura_Lista(LstLivroCx, 4200));
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("T"), 1, false, 780, Cor_Saldo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Dia"), 3, false, 780, Cor_Saldo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Descrição dos Históricos"), 6, false, 780, Cor_Saldo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Entradas R$"), 65, true, 780, Cor_Saldo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Saídas R$"), 76, true, 780, Cor_Saldo);

    const int abaixo = Twips::DePixelY(LstLivroCx->geometry().bottom()) + 120;
    LblRegs = Rotulo(this, QStringLiteral("0 Registros"), 120, abaixo + 30, 2400);

    // Two rows of boxes: what the treasurer types, then the month's totals.
    const int linha1 = abaixo + 420, linha2 = linha1 + 720;
    LblSalAnt = Rotulo(this, QStringLiteral("Saldo do Mês Anterior R$"), 120, linha1, 2600);
    TxtSalAnt = new TextBox(this);
    TxtSalAnt->setText_(QStringLiteral("0,00"));
    TxtSalAnt->setAlignment(Qt::AlignRight);
    Posiciona(TxtSalAnt, 120, linha1 + 255, 1800, 360);
    Monta_Deslocamentos(this, 3000, linha1, 6500, QStringLiteral("Imprime o Fechamento do Livro Caixa"), LblLeft, TxtLeft,
                        LblTop, TxtTop, CmdImprime);

    Monta_Totais(this, linha2,
                 {{QStringLiteral("Entradas R$"), &LblEntradas, &TxtEntradas},
                  {QStringLiteral("Saídas R$"), &LblSaidas, &TxtSaidas},
                  {QStringLiteral("Remessas R$"), &LblRemessas, &TxtRemessas},
                  {QStringLiteral("Saldo R$"), &LblSaldo, &TxtSaldo}});

    Timer = new ::Timer(this, 300);

    setTamanhoCliente(Twips::DePixelX(LstLivroCx->geometry().right() + 6) + 60, linha2 + 780);

    TxtSalAnt->LostFocus = [this] { TxtSalAnt_LostFocus(); };
    CmdImprime->Click = [this] { CmdImprime_Click(); };
    Timer->Tick = [this] { Timer_Timer(); };
}

// ---------------------------------------------------------------------------
// Load and totals

void ImpLivroCx::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Carrega_Mes();
    Timer->setEnabled(true);
    // The one box the treasurer fills each month.
    TxtSalAnt->SetFocus();
}

void ImpLivroCx::Carrega_Mes() {
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    LstLivroCx->Clear();
    carregado_ = calculado_ = false;
    codIg_ = Param[1];
    ano_ = Param[10];
    mes_ = Param[9];
    tipo_ = Param[8];
    // Printing waits for a whole load.
    carregado_ = Lancamentos_Mes::Carrega_Mes_Setor(LstLivroCx, tipo_, [this] { Calcula_Saldo(); }, [this] { Conta_Regs(); });
    // What the print compares with: the sum as loaded, not as a later
    // computation of the totals (leaving the previous balance) reads it.
    remessas_ = remessasMostradas_;
}

Dinheiro ImpLivroCx::Saldo_Anterior() const { return Dinheiro::Le(TxtSalAnt->Text()).value_or(Dinheiro{}); }

void ImpLivroCx::Calcula_Saldo() {
    Dinheiro entradas, saidas, remessas;
    // Summed from the cents each row keeps, which a 10-character cell may cut.
    Linha_Lista::Soma(LstLivroCx, entradas, saidas);
    if (!Tenta([&] { remessas = Valor_Remessa(); })) {
        calculado_ = false;
        return;
    }
    remessasMostradas_ = remessas;
    TxtEntradas->setText_(entradas.Formata());
    TxtSaidas->setText_(saidas.Formata());
    TxtRemessas->setText_(remessas.Formata());
    TxtSaldo->setText_((entradas - saidas - remessas + Saldo_Anterior()).Formata());
    TxtSaldo->setForeColor(Cor_Saldo);
    calculado_ = true;
}

void ImpLivroCx::Conta_Regs() { Conta_Registros(LblRegs, LstLivroCx); }

Dinheiro ImpLivroCx::Valor_Remessa() {
    const RecordsetPtr rs = Abre_Query(QStringLiteral("ProcSomaRemessa"), {Param[1], Param[10], Param[9]});
    return rs->Eof() ? Dinheiro{} : Dinheiro::DeCampo(rs->Fields(QStringLiteral("Total")));
}

bool ImpLivroCx::Transmitiu() {
    const Screen::Ampulheta ampulheta;
    bool transmitiu = false;
    if (Tem_Tabela())
        Tenta([&] {
            transmitiu = !Abre_Query(QStringLiteral("ProcPesqTransmissaoMes"), {Param[9], Param[10]})->Eof();
        });
    return transmitiu;
}

void ImpLivroCx::TxtSalAnt_LostFocus() {
    TxtSalAnt->setText_(Formata_Valor(TxtSalAnt->Text()));
    Calcula_Saldo();
}

void ImpLivroCx::Timer_Timer() { Pisca_Saldo(TxtSaldo); }

// ---------------------------------------------------------------------------
// The print

bool ImpLivroCx::Dados_Atuais() {
    if (!carregado_ || !calculado_) return false;
    if (Param[1] != codIg_ || Param[10] != ano_ || Param[9] != mes_ || Param[8] != tipo_) return false;
    return Linha_Lista::Confere(LstLivroCx, Lancamentos_Mes::Le_Mes_Setor(*Abre_Banco(true), codIg_, ano_, mes_, tipo_)) &&
           Valor_Remessa() == remessas_;
}

bool ImpLivroCx::Confere_Dados() {
    bool atual = false;
    if (!Tenta([&] { atual = Dados_Atuais(); })) return false;
    if (atual) return true;
    // The typed previous balance and offsets stay as they are.
    Carrega_Mes();
    if (carregado_ && calculado_)
        MsgBox(QStringLiteral("Os dados do mês foram alterados e foram recarregados. Confira e imprima novamente."),
               vbOKOnly + vbExclamation, Titulo_Atencao());
    return false;
}

void ImpLivroCx::CmdImprime_Click() {
    if (imprimindo_) return;
    const QScopedValueRollback<bool> emCurso(imprimindo_, true);
    if (!Confere_Dados()) return;

    const QString titulo = Titulo_Atencao();
    if (!Confirma_Saldo(TxtSaldo->Text(), titulo)) return;
    if (!Transmitiu()) {
        MsgBox(QStringLiteral("Antes de Imprimir será necessária a Transmissão de dados.\r"
                              "Acesse a opção 'Exportações' e 'Dados para o Mirava'."),
               vbOKOnly + vbInformation, titulo);
        return;
    }
    if (Saldo_Anterior().Centavos() == 0 &&
        MsgBox(QStringLiteral("Saldo Anterior R$ 0,00 ! Deseja Imprimir ?"), vbYesNo + vbQuestion + vbDefaultButton2,
               titulo) == vbNo)
        return;
    if (!Confirma_Papel(titulo)) return;
    // What was answered for must still be what is stored.
    if (!Confere_Dados()) return;

    Fechamento_Mensal dados;
    dados.linhas = Linha_Lista::Da_Lista(LstLivroCx);
    dados.saldoAnterior = Saldo_Anterior();
    dados.remessas = remessas_;
    dados.deslocaEsquerda = TxtLeft->Text();
    dados.deslocaTopo = TxtTop->Text();
    if (Imprime) Imprime(dados);
}

void ImpLivroCx::Form_Unload(int& Cancel) {
    if (imprimindo_) {
        // A box of the print is open; the form stays until it is answered.
        Cancel = 1;
        return;
    }
    Timer->setEnabled(false);
    Fecha_Efeito(this);
}
