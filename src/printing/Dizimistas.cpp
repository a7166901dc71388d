#include "printing/Dizimistas.h"
#include "common/Dizimo.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/TelaMes.h"
#include "platform/Tela.h"
#include "printing/ImpressaoDizimistas.h"
#include "printing/PainelImpressao.h"
#include <QPainter>
#include <QScopedValueRollback>

namespace {
using Twips::Posiciona;

// The grid's button: a sheet ruled into months beside the printer.
QIcon Icone_Grade() {
    return Icone_Desenhado([](QPainter& p) {
        Icone_Impressora().paint(&p, QRect(10, 8, 22, 22));
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 16, 20));
        p.setPen(QPen(QColor(0x60, 0x60, 0x60), 0.8));
        for (double y = 6.5; y < 21; y += 4) p.drawLine(QPointF(2, y), QPointF(17, y));
        for (double x = 7.5; x < 17; x += 4) p.drawLine(QPointF(x, 2), QPointF(x, 21));
    });
}
}  // namespace

Dizimistas::Dizimistas() : Form(QStringLiteral("Dizimistas"), true) {
    setCaption(QStringLiteral(" Impressão da Relação de Dizimistas"));
    monta_Tela();
}

void Dizimistas::monta_Tela() {
    Pinta_Fundo(this);

    int abaixo = 0;
    // As wide as a register's line, which the yearly grid shows.
    const int direita = Monta_Lista_Dizimistas(this, Linha_Dizimista::LarguraSemCargo, LblMesAno, CboMesAno, ChkCargo, LblLista, LstDizimistas, LblRegs,
                                               LblKwe, abaixo);
    CmdImprime = Botao_Imprime(this, Icone_Impressora(), QStringLiteral("Imprime"));
    CmdMes = Botao_Imprime(this, Icone_Grade(), QStringLiteral("Imprime"));
    Posiciona(CmdImprime, direita - 2040, 180, 900, 620);
    Posiciona(CmdMes, direita - 1020, 180, 900, 620);

    setTamanhoCliente(direita, abaixo + 360);

    ChkCargo->Click = [this] { ChkCargo_Click(); };
    CmdImprime->Click = [this] { CmdImprime_Click(); };
    CmdMes->Click = [this] { CmdMes_Click(); };

    setTabOrder(CboMesAno, ChkCargo);
    setTabOrder(ChkCargo, CmdImprime);
    setTabOrder(CmdImprime, CmdMes);
    setTabOrder(CmdMes, LstDizimistas);
}

void Dizimistas::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    Carrega_Lancamentos();
}

void Dizimistas::Form_Unload(int& Cancel) {
    if (imprimindo_) {
        // A print or its error box is under way; the form stays until it ends.
        Cancel = 1;
        return;
    }
    Fecha_Efeito(this);
}

void Dizimistas::ChkCargo_Click() {
    if (imprimindo_) return;
    Carrega_Lancamentos();
}

bool Dizimistas::Carrega_Lancamentos() {
    mes_ = Dizimistas_Mes::Carrega(LstDizimistas, ChkCargo->Value() == 1, [this] { Conta_Regs(); });
    // The month the rows are of, whatever the box showed before.
    if (mes_) CboMesAno->setText_(mes_->Texto());
    return mes_.has_value();
}

bool Dizimistas::Carrega_Dados() {
    mes_.reset();
    return Dizimistas_Cadastro::Carrega(LstDizimistas, [this] { Conta_Regs(); });
}

void Dizimistas::Conta_Regs() { Conta_Registros(LblRegs, LstDizimistas); }

void Dizimistas::CmdImprime_Click() {
    if (imprimindo_) return;
    const QScopedValueRollback<bool> emCurso(imprimindo_, true);
    // Only a whole load is printed, under the title of the month it read.
    if (!Carrega_Lancamentos()) return;
    Imprime_Relacao_Mes(LstDizimistas->Textos(), *mes_);
}

void Dizimistas::CmdMes_Click() {
    if (imprimindo_) return;
    const QScopedValueRollback<bool> emCurso(imprimindo_, true);
    // The church and year of the marks, as the parameters hold them now.
    const QString codIg = Param[1], ano = Param[10];
    if (!Carrega_Dados()) return;
    Por_Quadro quadro;
    const int total = LstDizimistas->ListCount();
    Grade_Dizimistas::Imprime_Por_Mes(Linha_Lista::Da_Lista(LstDizimistas), codIg, ano, [&](int impressos) {
        if (!quadro.Agora() && impressos < total) return;
        LblRegs->setCaption(Formata(double(impressos), QStringLiteral("#,### Registros")));
        DoEvents();
    });
}
