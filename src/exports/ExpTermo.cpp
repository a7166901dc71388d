#include "exports/ExpTermo.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/LancamentosMes.h"
#include "common/LinhaLancamento.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"

namespace {
const QColor Amarelo(255, 255, 0);
const QString Tipos[] = {QStringLiteral("O"), QStringLiteral("D"), QStringLiteral("S")};

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

    LblMesAno = Rotulo(this, QStringLiteral("Mês de Referência"), 120, 60, 2400);
    CboMesAno = new ComboBox(this, 0);
    Posiciona(CboMesAno, 120, 315, 2900, 360);
    LblKwe = new Label(QStringLiteral("Tesouraria - Termo de Constatação"), this);
    LblKwe->setForeColor(QColor(0xC0, 0xC0, 0xC0));
    Posiciona(LblKwe, 3300, 345, 5100, 300);

    LstLivroCx = new ListBox(this);
    LstLivroCx->setFont(Fonte_Lista(11.25));
    LstLivroCx->setUniformItemSizes(true);
    Posiciona(LstLivroCx, 60, 1020, Largura_Lista(LstLivroCx, Linha_Lancamento::Largura), 4200);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Dia"), 3, false, 780, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Descrição dos Históricos"), 6, false, 780, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Entradas R$"), 65, true, 780, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Saídas R$"), 76, true, 780, Amarelo);

    const int abaixo = Twips::DePixelY(LstLivroCx->geometry().bottom()) + 120;
    LblRegs = Rotulo(this, QStringLiteral("0 Registros"), 120, abaixo + 30, 2400);
    LblEntradas = Rotulo(this, QStringLiteral("Entradas R$"), 2350, abaixo + 30, 1200);
    TxtEntradas = new TextBox(this);
    LblSaidas = Rotulo(this, QStringLiteral("Saídas R$"), 5150, abaixo + 30, 1100);
    TxtSaidas = new TextBox(this);
    LblSaldo = Rotulo(this, QStringLiteral("Saldo R$"), 7950, abaixo + 30, 1000);
    TxtSaldo = new TextBox(this);
    int xt = 3500;
    for (TextBox* t : {TxtEntradas, TxtSaidas, TxtSaldo}) {
        Caixa_Total(t, Amarelo);
        Posiciona(t, xt, abaixo, 1500, 360);
        xt += 2700;
    }
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
    Fra_Igrejas = new Frame(QStringLiteral("Exportação de Dados para o Termo de Constatação  "), this);
    Pinta_Fundo(Fra_Igrejas);
    {
        QPalette p = Fra_Igrejas->palette();
        p.setColor(QPalette::WindowText, Amarelo);
        Fra_Igrejas->setPalette(p);
    }
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
    const auto saldo = [this] { Calcula_Saldo(); };
    const auto conta = [this] { Conta_Regs(); };
    // Each kind is loaded even when one before it gave up, so the list
    // shows what could be read; the statement waits for a whole load.
    bool completo = true;
    for (const QString& tipo : Tipos)
        if (!Lancamentos_Mes::Carrega_Lancamentos(LstLivroCx, tipo, saldo, conta)) completo = false;
    const bool setor = tipo_ != QLatin1String("C");
    if (setor && !Lancamentos_Mes::Carrega_Igrejas(LstLivroCx, saldo, conta)) completo = false;
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
    Lancamentos_Mes::Soma(LstLivroCx, entradas, saidas);
    TxtEntradas->setText_(entradas.Formata());
    TxtSaidas->setText_(saidas.Formata());
    TxtSaldo->setText_((entradas - saidas).Formata());
    TxtSaldo->setForeColor(Cor_Saldo);
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
    std::vector<Lancamentos_Mes::Lancamento> mes = Lancamentos_Mes::Le_Mes(banco, codIg_, ano_, mes_);
    if (tipo_ != QLatin1String("C")) {
        auto igrejas = Lancamentos_Mes::Le_Igrejas(banco, codIg_, ano_, mes_);
        mes.insert(mes.end(), std::make_move_iterator(igrejas.begin()), std::make_move_iterator(igrejas.end()));
    }
    return Lancamentos_Mes::Confere(LstLivroCx, mes) && Le_Remessas(banco, codIg_, ano_, mes_) == remessas_;
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
