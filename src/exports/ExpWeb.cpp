#include "exports/ExpWeb.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "common/TelaMes.h"
#include "common/Usuario.h"
#include "exports/PaginaTV.h"
#include "platform/Arquivos.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <QPainter>

namespace {
using Twips::Posiciona;

const QChar CR = QChar(13);
// A history of 50 characters less its position, behind "MB. ".
constexpr int Colunas = 52;

// The export button's picture: a screen on its stand, lines on it.
QIcon Icone_Tela() {
    return Icone_Desenhado([](QPainter& p) {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
        p.setBrush(Qt::black);
        p.drawRoundedRect(QRectF(2, 4, 28, 19), 2, 2);
        p.setPen(QPen(Qt::white, 1.5));
        for (double y = 9; y < 21; y += 4) p.drawLine(QPointF(7, y), QPointF(25, y));
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
        p.drawLine(QPointF(16, 23), QPointF(16, 27));
        p.drawLine(QPointF(10, 28), QPointF(22, 28));
    });
}
}  // namespace

ExpWeb::ExpWeb() : Form(QStringLiteral("ExpWeb"), true) {
    setCaption(QStringLiteral(" Exportação de Dados para TV / Monitor"));
    monta_Tela();
}

void ExpWeb::monta_Tela() {
    Pinta_Fundo(this);

    int abaixo = 0;
    const int direita = Monta_Lista_Dizimistas(this, Colunas, LblMesAno, CboMesAno, ChkCargo, LblLista, LstExpWeb, LblRegs,
                                               LblKwe, abaixo);
    CmdGrava = new CommandButton(QStringLiteral("Exportar"), this);
    CmdGrava->setIcon(Icone_Tela());
    CmdGrava->setIconSize(QSize(32, 32));
    CmdGrava->setToolTip(QStringLiteral("Gera ExpWeb em HTML"));
    Posiciona(CmdGrava, direita - 1740, 180, 1620, 620);

    monta_Quadro();
    setTamanhoCliente(direita, abaixo + 360);

    ChkCargo->Click = [this] { ChkCargo_Click(); };
    CmdGrava->Click = [this] { CmdGrava_Click(); };
    Cmd_Fechar->Click = [this] { Cmd_Fechar_Click(); };
    Cmd_Transp->Click = [this] { Cmd_Transp_Click(); };
    Drv_Termo->Change = [this] { Drv_Termo_Change(); };
    Dir_Termo->Change = [this] { Dir_Termo_Change(); };
}

// The choice of the folder, over the list while it is shown.
void ExpWeb::monta_Quadro() {
    Fra_Igrejas = Quadro(this, QStringLiteral("Selecione o local para geração do arquivo"));
    const int largura = Twips::DePixelX(LstExpWeb->width());
    const int altura = Twips::DePixelY(LstExpWeb->height());
    Posiciona(Fra_Igrejas, 60, 1095, largura, altura);
    const int dentro = largura - 240;
    const int baixo = altura - 1500;

    LblDisco = Rotulo(Fra_Igrejas, QStringLiteral("Disco"), 120, 300, 3600);
    Drv_Termo = new DriveListBox(Fra_Igrejas);
    Posiciona(Drv_Termo, 120, 555, dentro, 360);
    LblPastas = Rotulo(Fra_Igrejas, QStringLiteral("Pastas"), 120, 1020, 3600);
    Dir_Termo = new DirListBox(Fra_Igrejas);
    Posiciona(Dir_Termo, 120, 1275, dentro, baixo - 1335);

    LblArq = Rotulo(Fra_Igrejas, QStringLiteral("Local Selecionado"), 120, baixo, 3600);
    TxtArq = new TextBox(Fra_Igrejas);
    TxtArq->setLocked(true);
    Posiciona(TxtArq, 120, baixo + 255, dentro, 360);
    Cmd_Transp = new CommandButton(QStringLiteral("OK"), Fra_Igrejas);
    Posiciona(Cmd_Transp, largura - 3480, baixo + 780, 1620, 420);
    Cmd_Fechar = new CommandButton(QStringLiteral("Fechar"), Fra_Igrejas);
    Posiciona(Cmd_Fechar, largura - 1740, baixo + 780, 1620, 420);

    Fra_Igrejas->setVisible(false);
}

// ---------------------------------------------------------------------------
// Load and list

void ExpWeb::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    Carrega_Lancamentos();
}

void ExpWeb::Form_Unload(int& Cancel) {
    (void)Cancel;
    Fecha_Efeito(this);
}

void ExpWeb::ChkCargo_Click() { Carrega_Lancamentos(); }

bool ExpWeb::Carrega_Lancamentos() {
    mes_ = Dizimistas_Mes::Carrega(LstExpWeb, ChkCargo->Value() == 1, [this] { Conta_Regs(); });
    // The month the rows are of, whatever the box showed before.
    if (mes_) CboMesAno->setText_(mes_->Texto());
    return mes_.has_value();
}

void ExpWeb::Conta_Regs() { Conta_Registros(LblRegs, LstExpWeb); }

// ---------------------------------------------------------------------------
// The frame and the page

void ExpWeb::CmdGrava_Click() {
    Fra_Igrejas->setVisible(true);
    Fra_Igrejas->raise();
}

void ExpWeb::Cmd_Fechar_Click() { Fra_Igrejas->setVisible(false); }

void ExpWeb::Drv_Termo_Change() { Tenta([this] { Dir_Termo->setPath(Drv_Termo->Drive()); }); }

void ExpWeb::Dir_Termo_Change() { TxtArq->setText_(Dir_Termo->Path()); }

void ExpWeb::Cmd_Transp_Click() { Exporta_ExpWeb(); }

void ExpWeb::Exporta_ExpWeb() {
    const Screen::Ampulheta ampulheta;
    // The page shows the month as it is stored now, read whole, under the
    // name of the month its lines are of.
    if (!Carrega_Lancamentos()) return;
    if (LstExpWeb->ListCount() == 0) {
        MsgBox(QStringLiteral("Não há dados para Salvar"), vbOKOnly + vbInformation, Titulo_Atencao());
        return;
    }
    const QByteArray pagina = Pagina_TV::Monta(mes_->Texto(), LstExpWeb->Textos());
    const QString arquivo = Pagina_TV::Arquivo(Dir_Termo->Path(), mes_->codIg, mes_->mes, mes_->ano);
    // Written beside the old page and renamed over it: a failure leaves the
    // page that was there.
    if (!Tenta([&] { Arquivos::Grava(arquivo, pagina); })) return;
    MsgBox(QStringLiteral("Arquivo ") + arquivo + CR + QStringLiteral("Gerado com Sucesso.") + CR +
               QStringLiteral("Execute-o com seu navegador padrão."),
           vbOKOnly + vbInformation, Titulo_Atencao());
}
