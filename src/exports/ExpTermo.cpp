#include "exports/ExpTermo.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/LancamentosMes.h"
#include "common/LinhaLista.h"
#include "common/Parametros.h"
#include "common/TelaLancamento.h"
#include "common/TelaMes.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"

namespace {

using Twips::Posiciona;

// The month's remittances as stored, in the query's order.
std::vector<ExpTermo::Remessa> Le_Remessas(BancoLocal& banco, const QString& codIg, const QString& ano, const QString& mes) {
    std::vector<ExpTermo::Remessa> v;
    for (const RecordsetPtr rs = banco.AbreQuery(QStringLiteral("ProcPesqRemessa"), {codIg, ano, mes}); !rs->Eof(); rs->MoveNext())
        v.push_back({int(rs->Fields(QStringLiteral("Dia")).toLongLong()), Dinheiro::DeCampo(rs->Fields(QStringLiteral("Valor"))),
                     rs->Fields(QStringLiteral("Codigo")).toLongLong()});
    return v;
}
}  // namespace

ExpTermo::ExpTermo() : Form(QStringLiteral("ExpTermo"), true) {
    setCaption(QStringLiteral("Exportação para Termo de Constatação"));
    monta_Tela();
}

void ExpTermo::monta_Tela() {
    Pinta_Fundo(this);

    Monta_Lista_Mes(this, QStringLiteral("Tesouraria - Termo de Constatação"), 4200, LblMesAno, CboMesAno, LblKwe, LstLivroCx);
    const int abaixo =
        Monta_Totais_Mes(this, LstLivroCx, LblRegs, LblEntradas, TxtEntradas, LblSaidas, TxtSaidas, LblSaldo, TxtSaldo);
    CmdExcel = new CommandButton(QStringLiteral("Exportar"), this);
    CmdExcel->setToolTip(QStringLiteral("Imprime Impressão de Livro Caixa"));
    Posiciona(CmdExcel, 120, abaixo + 540, 1500, 420);

    // Receives the next code of the congregations' figures while the
    // installation's month is posted; never shown.
    TxtCodigo = new TextBox(this);
    TxtCodigo->setVisible(false);

    Timer = new ::Timer(this, 300);

    monta_Quadro(780, Twips::DePixelY(LstLivroCx->geometry().bottom()) - 780);
    setTamanhoCliente(Twips::DePixelX(LstLivroCx->geometry().right() + 6) + 60, abaixo + 1080);

    CmdExcel->Click = [this] { CmdExcel_Click(); };
    Cmd_Fechar->Click = [this] { Cmd_Fechar_Click(); };
    Cmd_Transp->Click = [this] { Cmd_Transp_Click(); };
    Drv_Termo->Change = [this] { Drv_Termo_Change(); };
    Dir_Termo->Change = [this] { Dir_Termo_Change(); };
    File_Termo->Click = [this] { File_Termo_Click(); };
    Timer->Tick = [this] { Timer_Timer(); };
}

// The choice of the workbook, over the list while it is shown.
void ExpTermo::monta_Quadro(int topo, int altura) {
    Fra_Igrejas = Quadro(this, QStringLiteral("Exportação de Dados para o Termo de Constatação  "));
    const int largura = Twips::DePixelX(LstLivroCx->width());
    Posiciona(Fra_Igrejas, 60, topo, largura, altura);
    const int coluna = 4200, fim = largura - 120;
    const int baixo = altura - 1020;

    LblDisco = Rotulo(Fra_Igrejas, QStringLiteral("Disco"), 120, 300, 3600);
    Drv_Termo = new DriveListBox(Fra_Igrejas);
    Posiciona(Drv_Termo, 120, 555, coluna - 240, 360);
    LblPastas = Rotulo(Fra_Igrejas, QStringLiteral("Pastas"), 120, 1020, 3600);
    Dir_Termo = new DirListBox(Fra_Igrejas);
    Posiciona(Dir_Termo, 120, 1275, coluna - 240, baixo - 1335);
    LblArquivo = Rotulo(Fra_Igrejas, QStringLiteral("Arquivo Excel do Termo de Constatação (XLS)"), coluna, 300, fim - coluna);
    File_Termo = new FileListBox(Fra_Igrejas);
    File_Termo->setPattern(QStringLiteral("*.xlsx;*.xls"));
    Posiciona(File_Termo, coluna, 555, fim - coluna, baixo - 615);

    LblArq = Rotulo(Fra_Igrejas, QStringLiteral("Nome / Local do Arquivo Selecionado"), 120, baixo, 4800);
    TxtArq = new TextBox(Fra_Igrejas);
    TxtArq->setLocked(true);
    Posiciona(TxtArq, 120, baixo + 255, fim - 3660, 360);
    Cmd_Transp = new CommandButton(QStringLiteral("Exportar Dados"), Fra_Igrejas);
    Posiciona(Cmd_Transp, fim - 3420, baixo + 225, 1680, 420);
    Cmd_Fechar = new CommandButton(QStringLiteral("Fechar"), Fra_Igrejas);
    Posiciona(Cmd_Fechar, fim - 1620, baixo + 225, 1620, 420);

    Fra_Igrejas->setVisible(false);
}

// ---------------------------------------------------------------------------
// Load, list and totals

void ExpTermo::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Carrega_Mes();
    Timer->setEnabled(true);
}

void ExpTermo::Carrega_Mes() {
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    LstLivroCx->Clear();
    carregado_ = false;
    codIg_ = Param[1];
    ano_ = Param[10];
    mes_ = Param[9];
    tipo_ = Param[8];
    // The statement waits for a whole load.
    bool completo =
        Lancamentos_Mes::Carrega_Mes_Setor(LstLivroCx, tipo_, [this] { Calcula_Saldo(); }, [this] { Conta_Regs(); });
    const bool setor = tipo_ != QLatin1String("C");
    CmdExcel->setEnabled(setor);
    if (!setor) Fra_Igrejas->setVisible(false);
    // The remittances go into the statement: they too must be as loaded.
    if (!Tenta([this] { remessas_ = Le_Remessas(*Abre_Banco(true), codIg_, ano_, mes_); })) completo = false;
    carregado_ = completo;
}

void ExpTermo::Calcula_Saldo() {
    Dinheiro entradas, saidas;
    // A congregation's row keeps its entries and outflows, which count as
    // the month's; its amount by type does not.
    Linha_Lista::Soma(LstLivroCx, entradas, saidas);
    Mostra_Totais(TxtEntradas, TxtSaidas, TxtSaldo, entradas, saidas);
}

void ExpTermo::Conta_Regs() { Conta_Registros(LblRegs, LstLivroCx); }

void ExpTermo::Timer_Timer() { Pisca_Saldo(TxtSaldo); }

bool ExpTermo::Tem_Igreja() const {
    for (int i = 0; i < LstLivroCx->ListCount(); ++i)
        if (LstLivroCx->List(i).startsWith(QLatin1Char('I'))) return true;
    return false;
}

bool ExpTermo::Dados_Atuais(BancoLocal& banco) {
    if (!carregado_) return false;
    if (Param[1] != codIg_ || Param[10] != ano_ || Param[9] != mes_ || Param[8] != tipo_) return false;
    return Linha_Lista::Confere(LstLivroCx, Lancamentos_Mes::Le_Mes_Setor(banco, codIg_, ano_, mes_, tipo_)) &&
           Le_Remessas(banco, codIg_, ano_, mes_) == remessas_;
}

void ExpTermo::Recarrega_Alterado() {
    Carrega_Mes();
    if (carregado_)
        MsgBox(QStringLiteral("Os dados do mês foram alterados e foram recarregados. Confira e exporte novamente."),
               vbOKOnly + vbExclamation, Titulo_Atencao());
}

// ---------------------------------------------------------------------------
// The frame and the choice of the workbook

void ExpTermo::CmdExcel_Click() {
    const auto saldo = Dinheiro::Le(TxtSaldo->Text());
    if (saldo && saldo->Centavos() < 0 &&
        MsgBox(QStringLiteral("Saldo Irregular. Deseja Proseguir ?"), vbYesNo + vbQuestion + vbDefaultButton2,
               Titulo_Atencao()) == vbNo)
        return;
    Fra_Igrejas->setVisible(true);
    Fra_Igrejas->raise();
}

void ExpTermo::Cmd_Fechar_Click() { Fra_Igrejas->setVisible(false); }

// Each statement on its own under the retry: giving up leaves the lists
// where they got to, the drive list showing the new drive perhaps while the
// others keep the previous folder.
void ExpTermo::Drv_Termo_Change() {
    if (Tenta([this] { Dir_Termo->setPath(Drv_Termo->Drive()); }) &&
        Tenta([this] { File_Termo->setPath(Dir_Termo->Path()); }))
        TxtArq->setText_(File_Termo->Path());
}

void ExpTermo::Dir_Termo_Change() {
    if (Tenta([this] { File_Termo->setPath(Dir_Termo->Path()); })) TxtArq->setText_(File_Termo->Path());
}

void ExpTermo::File_Termo_Click() {
    const QString pasta = File_Termo->Path();
    TxtArq->setText_((pasta.endsWith(QLatin1Char('/')) ? pasta : pasta + QLatin1Char('/')) + File_Termo->FileName());
}

void ExpTermo::Cmd_Transp_Click() {
    if (emCurso_) return;
    if (!Tem_Igreja()) {
        MsgBox(QStringLiteral("Examine se foram lançados valores para 'Igrejas que compõe o Setor'"),
               vbOKOnly + vbInformation, Titulo_Atencao());
        return;
    }
    Transp_Excel();
}

void ExpTermo::Form_Unload(int& Cancel) {
    if (emCurso_) {
        // A box of the run is open; the form stays until the run ends.
        Cancel = 1;
        return;
    }
    Timer->setEnabled(false);
    Fecha_Efeito(this);
}
