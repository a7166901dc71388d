#include "exports/Transmit.h"
#include "common/Central.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include <QFontMetrics>
#include <QPointer>
#include <QScopeGuard>
#include <cmath>

namespace {
const QColor Amarelo(255, 255, 0);
constexpr int LarguraLinha = 49;

using Twips::Posiciona;

// One kind of the month's central rows: "C" entries, "D" outflows.
struct Totais {
    Dinheiro total;
    qint64 conta = 0;
};

// False when the query has to end: the server could not be reached (the
// connection test said so) or an error was answered No.
bool Le_Totais(const QString& tipo, int mes, int ano, Totais& totais) {
    // The church code is a number centrally; "0123" is 123.
    const auto codigo = Para_Inteiro(Param[1]);
    const QVariant congregacao = codigo ? QVariant(*codigo) : QVariant(Param[1]);
    RecordsetPtr rs;
    bool alcancado = true;
    const bool ok = Tenta([&] {
        totais = Totais();
        rs = Abre_Recordset_Central(QStringLiteral("SELECT COUNT(tipo) AS Conta, SUM(valor) AS Total FROM tbllanc "
                                                   "WHERE tipo = ? AND mes = ? AND ano = ? AND congregacao = ? "
                                                   "AND protocolo = 'TQR'"),
                                    {tipo, mes, ano, congregacao});
        alcancado = bool(rs);
        if (!rs || rs->Eof()) return;
        totais.conta = rs->Fields(QStringLiteral("Conta")).toLongLong();
        totais.total = Dinheiro::DeCampo(rs->Fields(QStringLiteral("Total")));
    });
    return ok && alcancado;
}
}  // namespace

const QString Transmit::NaoTransmitidos = QStringLiteral("D A D O S  N Ã O  T R A N S M I T I D O S");

Transmit::Transmit() : Form(QStringLiteral("Transmit"), true) {
    setCaption(QStringLiteral("Dados Transmitidos à base do Mirava"));
    monta_Tela();
}

void Transmit::monta_Tela() {
    Pinta_Fundo(this);

    LblAnoI = Rotulo(this, QStringLiteral("Ano Inicial"), 120, 120, 1100);
    TxtAnoI = new TextBox(this);
    TxtAnoI->setMaxLength_(4);
    Posiciona(TxtAnoI, 120, 375, 1000, 360);
    LblAnoF = Rotulo(this, QStringLiteral("Ano Final"), 1320, 120, 1100);
    TxtAnoF = new TextBox(this);
    TxtAnoF->setMaxLength_(4);
    Posiciona(TxtAnoF, 1320, 375, 1000, 360);
    CmdConsulta = new CommandButton(QStringLiteral("&Consultar"), this);
    CmdConsulta->setToolTip(QStringLiteral("Valida dados para exportação"));
    Posiciona(CmdConsulta, 2520, 330, 1500, 450);

    LstLivroCx = new ListBox(this);
    LstLivroCx->setFont(Fonte_Lista(12));
    LstLivroCx->setUniformItemSizes(true);
    // One character of slack: the items' own margins would otherwise call
    // up a horizontal scroll bar over the last row.
    Posiciona(LstLivroCx, 120, 1200, Largura_Lista(LstLivroCx, LarguraLinha + 1), Altura_Lista(LstLivroCx, 4200));
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Mês / Ano"), 1, false, 960, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Entradas R$"), 20, true, 960, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Saídas R$"), 32, true, 960, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Saldo R$"), 44, true, 960, Amarelo);
    // The count's header is wider than its column: it ends where the list
    // does, past the column's slack, so a gap parts it from the balance's.
    Label* registros = Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Registros"), LarguraLinha, true, 960, Amarelo);
    registros->move(LstLivroCx->geometry().right() + 1 - registros->width(), registros->y());

    LblRegs = Rotulo(this, QString(), 120, 5520, 2400);
    LblKwe = new Label(QStringLiteral("Tesouraria - Dados Transmitidos"), this);
    LblKwe->setForeColor(QColor(0xC0, 0xC0, 0xC0));
    LblKwe->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int direita = Twips::DePixelX(LstLivroCx->geometry().right() + 1);
    Posiciona(LblKwe, direita - 3600, 5520, 3600, 255);

    setTamanhoCliente(std::max(4260, direita + 120), 5940);

    CmdConsulta->Click = [this] { CmdConsulta_Click(); };
    setTabOrder(TxtAnoI, TxtAnoF);
    setTabOrder(TxtAnoF, CmdConsulta);
    setTabOrder(CmdConsulta, LstLivroCx);
}

void Transmit::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    const QString ano = QString::number(Relogio::Hoje().year());
    TxtAnoI->setText_(ano);
    TxtAnoF->setText_(ano);
}

void Transmit::Form_Unload(int&) {
    interrompe_ = true;
    Fecha_Efeito(this);
}

void Transmit::CmdConsulta_Click() {
    if (consultando_) return;
    const double anoI = Val(TxtAnoI->Text());
    const double anoF = Val(TxtAnoF->Text());
    // A four-character text can still read as a year no loop should run
    // to ("9e99"): years beyond four digits are refused like the others.
    if (anoI > 2000 && anoF > 2000 && anoI <= anoF && anoF <= AnoMaximo) {
        Carrega_Lancamentos(int(std::rint(anoI)), int(std::rint(anoF)));
        return;
    }
    MsgBox(QStringLiteral("Informe Ano Inicial e Ano Final Corretamente"), vbExclamation, Titulo_Atencao());
}

QString Transmit::Linha_Mes(int mes, int ano, Dinheiro entradas, Dinheiro saidas, qint64 registros) {
    const QString mesAno =
        QStringLiteral("%1/%2").arg(mes, 2, 10, QLatin1Char('0')).arg(ano, 4, 10, QLatin1Char('0'));
    QString linha = Formata_Texto(mesAno, 8, QStringLiteral("E"));
    if (registros <= 0) return linha + NaoTransmitidos;
    const QString d = QStringLiteral("D");
    return linha + Formata_Texto(entradas.Formata(), 12, d) + Formata_Texto(saidas.Formata(), 12, d) +
           Formata_Texto((entradas - saidas).Formata(), 12, d) + Formata_Texto(QString::number(registros), 5, d);
}

void Transmit::Carrega_Lancamentos(int iAnoi, int iAnoF) {
    const QPointer<Transmit> eu(this);
    const Screen::Ampulheta ampulheta;
    // A second press would start a nested query that empties the list
    // under the first.
    consultando_ = true;
    interrompe_ = false;
    CmdConsulta->setEnabled(false);
    const auto fim = qScopeGuard([&] {
        if (!eu) return;
        consultando_ = false;
        CmdConsulta->setEnabled(true);
    });
    LstLivroCx->Clear();
    Conta_Regs();
    for (int ano = iAnoi; ano <= iAnoF; ++ano) {
        for (int mes = 1; mes <= 12; ++mes) {
            Totais saidas, entradas;
            if (!Le_Totais(QStringLiteral("D"), mes, ano, saidas)) return;
            if (!eu || interrompe_) return;
            if (!Le_Totais(QStringLiteral("C"), mes, ano, entradas)) return;
            if (!eu || interrompe_) return;
            LstLivroCx->AddItem(Linha_Mes(mes, ano, entradas.total, saidas.total, entradas.conta + saidas.conta));
            LstLivroCx->setListIndex(LstLivroCx->ListCount() - 1);
            Conta_Regs();
            DoEvents();
            if (!eu || interrompe_) return;
        }
    }
    MsgBox(QStringLiteral("Rotina concluida"), vbInformation, Titulo_Atencao());
}

void Transmit::Conta_Regs() {
    Conta_Registros(LblRegs, LstLivroCx);
}
