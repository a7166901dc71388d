#include "operations/LivroCaixa.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/TelaLancamento.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "common/LancamentosMes.h"
#include "common/LinhaLancamento.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <QDate>
#include <QFontMetrics>
#include <QStyle>

namespace {
const QColor Amarelo(255, 255, 0);

using Twips::Posiciona;

}  // namespace

LivroCaixa::LivroCaixa() : Form(QStringLiteral("LivroCaixa"), true) {
    setCaption(QStringLiteral(" Lançamento de Livro Caixa"));
    monta_Tela();
}

void LivroCaixa::monta_Tela() {
    Pinta_Fundo(this);

    LblMesAno = Rotulo(this, QStringLiteral("Mês de Referência"), 120, 60, 2400);
    CboMesAno = new ComboBox(this, 0);
    Posiciona(CboMesAno, 120, 315, 2900, 360);

    OptOfertas = new OptionButton(QStringLiteral("&Ofertas"), this);
    OptDizimos = new OptionButton(QStringLiteral("&Dízimos"), this);
    OptSaidas = new OptionButton(QStringLiteral("&Saídas"), this);
    Monta_Tipos({OptOfertas, OptDizimos, OptSaidas}, 3300);
    // The form opens on offerings; the handlers are attached afterwards so
    // this first choice loads nothing before the form itself loads.
    OptOfertas->setValue(true);

    LblKwe = new Label(QStringLiteral("Tesouraria - Livro Caixa"), this);
    LblKwe->setForeColor(QColor(0xC0, 0xC0, 0xC0));
    LblKwe->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Posiciona(LblKwe, 8000, 345, 5100, 300);

    Monta_Campos(this, LblDia, TxtDia, LblHistorico, CboHistorico, LblValor, TxtValor, TxtCodigo, CmdEnvia);
    TxtCodigo->setMaxLength_(8);

    // The list: 76 columns of Courier New, headers over their columns.
    LstLivroCx = new ListBox(this);
    LstLivroCx->setSorted(true);
    LstLivroCx->setFont(Fonte_Lista(14.25));
    LstLivroCx->setUniformItemSizes(true);
    Posiciona(LstLivroCx, 60, 1800, Largura_Lista(LstLivroCx, Linha_Lancamento::Largura), 5100);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("T"), 1, false, 1560, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Dia"), 3, false, 1560, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Descrição dos Históricos"), 6, false, 1560, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Entradas R$"), 65, true, 1560, Amarelo);
    Cabecalho_Lista(this, LstLivroCx, QStringLiteral("Saídas R$"), 76, true, 1560, Amarelo);

    LblRegs = Rotulo(this, QStringLiteral("0 Registros"), 120, 7050, 2400);
    CmdOk = new CommandButton(QStringLiteral("Resumo"), this);
    Posiciona(CmdOk, 2700, 7000, 1300, 390);
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

    FraResumo = Quadro(this, QStringLiteral("Resumo Diário de Ofertas e Dízimos"));
    LstResumo = new ListBox(FraResumo);
    const QFont fr = Fonte_Lista(9.75);
    LstResumo->setFont(fr);
    const QFontMetrics fmr(fr);
    const int colR = fmr.horizontalAdvance(QLatin1Char('0'));
    const int larguraResumo = fmr.horizontalAdvance(QString(39, QLatin1Char('0'))) + 2 * LstResumo->frameWidth() + 6 +
                              style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    // Shown, the frame covers the list up to its right edge, so no cut
    // column of the rows peeps out beside it.
    FraResumo->resize(std::max(larguraResumo + 16, LstLivroCx->geometry().right() + 1 - Twips::ParaPixelX(ResumoVisivel)),
                      LstLivroCx->height());
    LstResumo->setGeometry(8, 44, larguraResumo, FraResumo->height() - 52);
    auto colunaResumo = [&](const QString& t, int fim) {
        auto* l = new Label(t, FraResumo);
        l->setForeColor(Qt::white);
        l->adjustSize();
        l->move(8 + LstResumo->frameWidth() + 3 + colR * fim - l->width(), 24);
    };
    colunaResumo(QStringLiteral("Dia"), 3);
    colunaResumo(QStringLiteral("Dízimos R$"), 15);
    colunaResumo(QStringLiteral("Ofertas R$"), 27);
    colunaResumo(QStringLiteral("Total R$"), 39);
    Posiciona_Resumo(ResumoOculto);

    Timer = new ::Timer(this, 300);

    setTamanhoCliente(std::max(13335, Twips::DePixelX(LstLivroCx->geometry().right() + 6)), 7560);

    // Events.
    OptOfertas->Click = [this] { OptOfertas_Click(); };
    OptDizimos->Click = [this] { OptDizimos_Click(); };
    OptSaidas->Click = [this] { OptSaidas_Click(); };
    CboHistorico->Click = [this] { CboHistorico_Click(); };
    CboHistorico->KeyPress = [this](int& k) { CboHistorico_KeyPress(k); };
    CboHistorico->KeyUp = [this](int& k, int s) { CboHistorico_KeyUp(k, s); };
    CboHistorico->LostFocus = [this] { CboHistorico_LostFocus(); };
    TxtDia->KeyPress = [this](int& k) { TxtDia_KeyPress(k); };
    TxtDia->LostFocus = [this] { TxtDia_LostFocus(); };
    TxtValor->KeyPress = [this](int& k) { TxtValor_KeyPress(k); };
    TxtValor->LostFocus = [this] { TxtValor_LostFocus(); };
    CmdEnvia->Click = [this] { CmdEnvia_Click(); };
    CmdOk->Click = [this] { CmdOk_Click(); };
    LstLivroCx->DblClick = [this] { LstLivroCx_DblClick(); };
    LstLivroCx->KeyUp = [this](int& k, int s) { LstLivroCx_KeyUp(k, s); };
    Timer->Tick = [this] { Timer_Timer(); };

    setTabOrder(CboMesAno, TxtDia);
    setTabOrder(TxtDia, CboHistorico);
    setTabOrder(CboHistorico, TxtValor);
    setTabOrder(TxtValor, CmdEnvia);
    setTabOrder(CmdEnvia, LstLivroCx);
}

// ---------------------------------------------------------------------------
// Load, list and totals

void LivroCaixa::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    // One open file for the histories and the month. When it cannot be
    // opened, each load opens its own and reports the failure itself.
    BancoLocalPtr banco;
    try {
        banco = Abre_Banco(true);
    } catch (const ErroExecucao&) {
        banco.reset();
    }
    Carrega_Historico(QStringLiteral("O"), banco.get());
    Carrega_Lancamentos(std::move(banco));
    Timer->setEnabled(true);
}

void LivroCaixa::Carrega_Lancamentos(BancoLocalPtr banco) {
    const Screen::Ampulheta ampulheta;
    Limpa_Tudo();
    const QStringList parametros{Param[1], Param[10], Param[9], {}, {}, {}, {}, {}};
    const QString consulta = QStringLiteral("ProcPesqLivroCaixa");
    RecordsetPtr rs;
    int tipo = 0, dia = 0, historico = 0, valor = 0, codigo = 0;
    bool ok = Tenta([&] {
        rs = banco ? banco->AbreQuery(consulta, parametros) : Abre_Query(consulta, parametros);
        tipo = rs->Indice(QStringLiteral("Tipo"));
        dia = rs->Indice(QStringLiteral("Dia"));
        historico = rs->Indice(QStringLiteral("Historico"));
        valor = rs->Indice(QStringLiteral("Valor"));
        codigo = rs->Indice(QStringLiteral("Codigo"));
    });
    std::vector<Lancamentos_Mes::Lancamento> linhas;
    linhas.reserve(size_t(ok ? rs->RecordCount() : 0));
    while (ok && !rs->Eof()) {
        ok = Tenta([&] {
            linhas.push_back(Lancamentos_Mes::De_Registro(rs->Fields(codigo).toLongLong(), rs->Texto(tipo),
                                                          int(rs->Fields(dia).toLongLong()), Apara(rs->Texto(historico)),
                                                          Dinheiro::DeCampo(rs->Fields(valor))));
        });
        if (ok) ok = Tenta([&] { rs->MoveNext(); });
    }
    rs.reset();
    banco.reset();  // closed before any box waits on the user
    Linha_Lista::Adiciona(LstLivroCx, linhas);
    bool cabem = true;
    for (const Lancamentos_Mes::Lancamento& l : linhas) {
        entradas_ += l.entrada;
        saidas_ += l.saida;
        cabem = cabem && Lancamentos_Mes::Cabe(l);
    }
    Calcula_Saldo();
    Conta_Regs();
    if (!cabem) Lancamentos_Mes::Avisa_Valores_Cheios();
}

void LivroCaixa::Adiciona_Linha(const Lancamentos_Mes::Lancamento& l) {
    Linha_Lista::Adiciona(LstLivroCx, l);
    entradas_ += l.entrada;
    saidas_ += l.saida;
}

void LivroCaixa::Remove_Linha(int indice) {
    const Lancamentos_Mes::Lancamento l = Linha_Lista::Da_Lista(LstLivroCx, indice);
    LstLivroCx->RemoveItem(indice);
    entradas_ -= l.entrada;
    saidas_ -= l.saida;
}

// The totals come from the amounts each row keeps, never from its text: a
// cell may show "##########" for an amount too wide for it.
void LivroCaixa::Calcula_Saldo() { Mostra_Totais(TxtEntradas, TxtSaidas, TxtSaldo, entradas_, saidas_); }

void LivroCaixa::Conta_Regs() { Conta_Registros(LblRegs, LstLivroCx); }

void LivroCaixa::Limpa_Campos_LivroCx() {
    TxtDia->setText_(QString());
    CboHistorico->setListIndex(-1);
    CboHistorico->setText_(QString());
    TxtValor->setText_(QString());
    TxtEntradas->setText_(QString());
    TxtSaidas->setText_(QString());
    TxtSaldo->setText_(QString());
}

void LivroCaixa::Limpa_Tudo() {
    Limpa_Campos_LivroCx();
    LstLivroCx->Clear();
    entradas_ = saidas_ = Dinheiro();
}

QString LivroCaixa::OfDzSd() const {
    if (OptOfertas->Value()) return QStringLiteral("O");
    if (OptDizimos->Value()) return QStringLiteral("D");
    if (OptSaidas->Value()) return QStringLiteral("S");
    return {};
}

// ---------------------------------------------------------------------------
// Blink and closing

void LivroCaixa::Timer_Timer() {
    const bool esquerda = LblKwe->alignment() & Qt::AlignLeft;
    LblKwe->setAlignment((esquerda ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    Pisca_Tipo({OptOfertas, OptDizimos, OptSaidas});
    Pisca_Saldo(TxtSaldo);
}

void LivroCaixa::Form_Unload(int& Cancel) {
    if (Fica_Aberto(!CboHistorico->Text().isEmpty(), [this] { return Salva(); })) {
        // The entry in the fields may be the only copy of a taken-back
        // entry: the form stays open with it rather than losing it.
        Cancel = 1;
        return;
    }
    Timer->setEnabled(false);
    Fecha_Efeito(this);
}

// ---------------------------------------------------------------------------
// Keys and presets

void LivroCaixa::TxtDia_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("I")); }

void LivroCaixa::TxtValor_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("V")); }

void LivroCaixa::TxtValor_LostFocus() { TxtValor->setText_(Formata_Valor(TxtValor->Text())); }

void LivroCaixa::TxtDia_LostFocus() {
    TxtDia->setText_(Formata(TxtDia->Text(), QStringLiteral("00")));
    if (!E_Numerico(TxtDia->Text())) return;
    const double dia = Para_Numero(TxtDia->Text());
    if (dia <= 0 || !OptOfertas->Value() || !CboHistorico->Text().isEmpty()) return;
    // A day that the working month does not have has no weekday: nothing
    // is chosen, and the save refuses the day.
    const QDate diaDoMes(Param[10].toInt(), Param[9].toInt(), int(dia));
    if (!diaDoMes.isValid() || dia != int(dia)) return;
    Seleciona_Item_Combo(CboHistorico, Dia_Semana(diaDoMes.dayOfWeek() % 7 + 1));
}

void LivroCaixa::CboHistorico_KeyPress(int& KeyAscii) {
    if (Caracteres::Conta(CboHistorico->Text()) <= 48) KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("M"));
    else KeyAscii = 0;
}

void LivroCaixa::CboHistorico_KeyUp(int& KeyCode, int) {
    if (KeyCode == 116) {
        Carrega_Historico(OfDzSd());
    } else if (KeyCode == 8 && Caracteres::Conta(CboHistorico->Text()) >= 48) {
        // The key press itself was swallowed at this length.
        const QString t = CboHistorico->Text();
        CboHistorico->setText_(Caracteres::Esquerda(t, Caracteres::Conta(t) - 1));
    }
}

void LivroCaixa::CboHistorico_LostFocus() {
    if (!TxtValor->Text().isEmpty() || !CboHistorico->Text().contains(QStringLiteral("PREBENDA"))) return;
    // Ten per cent of the month's inflows in whole currency units: the
    // inflows times ten rounded half to even, then the cents dropped.
    const qint64 c = Dinheiro::Le(TxtEntradas->Text()).value_or(Dinheiro()).Centavos();
    qint64 q = c >= 0 ? c / 10 : -((-c + 9) / 10);
    const qint64 resto = c - q * 10;
    if (resto > 5 || (resto == 5 && (q % 2 != 0))) ++q;
    TxtValor->setText_(Dinheiro::DeCentavos(q / 100 * 100).Formata());
}

// ---------------------------------------------------------------------------
// Kinds and history lists

void LivroCaixa::OptOfertas_Click() {
    Carrega_Historico(QStringLiteral("O"));
    TxtDia->SetFocus();
}

void LivroCaixa::OptDizimos_Click() {
    Carrega_Historico(QStringLiteral("D"));
    TxtDia->SetFocus();
}

void LivroCaixa::OptSaidas_Click() {
    Carrega_Historico(QStringLiteral("S"));
    TxtDia->SetFocus();
}

void LivroCaixa::Carrega_Historico(const QString& sTipo, BancoLocal* banco) {
    CboHistorico->setListIndex(-1);
    CboHistorico->setText_(QString());
    QString consulta;
    if (sTipo == QLatin1String("O")) consulta = QStringLiteral("ProcPesqHistOfertas");
    else if (sTipo == QLatin1String("D")) consulta = QStringLiteral("ProcPesqHistDizimos");
    else if (sTipo == QLatin1String("S")) consulta = QStringLiteral("ProcPesqHistSaidas");
    else return;
    if (banco) Carrega_Combo(CboHistorico, *banco, consulta, QStringList{Param[1]}, QStringLiteral("Descr"), QString());
    else Carrega_Combo(CboHistorico, consulta, QStringList{Param[1]}, QStringLiteral("Descr"), QString());
}

void LivroCaixa::Seleciona_Historico(const QString& texto) { Seleciona_Texto_Combo(CboHistorico, texto); }
