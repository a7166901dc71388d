#include "exports/ExpMirava.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/LancamentosMes.h"
#include "common/MarcasHistorico.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/TelaLancamento.h"
#include "common/TelaMes.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Progresso.h"
#include "platform/Tela.h"

namespace {
const QColor Amarelo(255, 255, 0);
const QString Tipos[] = {QStringLiteral("O"), QStringLiteral("D"), QStringLiteral("S")};

using Twips::Posiciona;

struct Achado {
    QString motivo;
    bool bloqueia;
};

// What one row holds that the central system must not receive, in the
// order the findings are listed: the day or an apostrophe first, then what
// its kind requires. The day, kind and tags come from the values the row
// keeps: a number the row's 50 columns cut is still read whole, and a day
// past 99 is not read as its first two digits.
std::vector<Achado> Examina(const Lancamentos_Mes::Lancamento& l, int diasMes) {
    std::vector<Achado> achados;
    const QString& historico = l.historico;
    if (l.dia > diasMes)
        achados.push_back({QStringLiteral(" (Dia Inválido)"), true});
    else if (l.linha.contains(QLatin1Char('\'')) || historico.contains(QLatin1Char('\'')))
        achados.push_back({QStringLiteral(" (Retire o Apóstrofo)"), true});

    const QString& tipo = l.tipo;
    if (tipo == QLatin1String("D")) {
        const auto ri = Marcas_Historico::Numero_RI(historico);
        if (!ri) achados.push_back({QStringLiteral(" (RI Ausente. Cadastre-o)"), true});
        else if (*ri == QLatin1String("00000000")) achados.push_back({QStringLiteral(" (RI Zerado. Cadastre-o)"), false});
        else if (ri->contains(QLatin1Char('.'))) achados.push_back({QStringLiteral(" (Retire os Pontos do RI)"), true});
    } else if (tipo == QLatin1String("S")) {
        if (!Marcas_Historico::Tem_Conta(historico)) achados.push_back({QStringLiteral(" (Saída sem Nº da Conta)"), true});
    }
    return achados;
}
}  // namespace

ExpMirava::ExpMirava() : Form(QStringLiteral("ExpMirava"), true) {
    setCaption(QStringLiteral("Exporta Dados à base do Mirava"));
    monta_Tela();
}

void ExpMirava::monta_Tela() {
    Pinta_Fundo(this);

    Monta_Lista_Mes(this, QStringLiteral("Tesouraria - Transmissão ao Mirava"), 3900, LblMesAno, CboMesAno, LblKwe, LstLivroCx);
    const int abaixo =
        Monta_Totais_Mes(this, LstLivroCx, LblRegs, LblEntradas, TxtEntradas, LblSaidas, TxtSaidas, LblSaldo, TxtSaldo);

    const int botoes = abaixo + 540;
    CmdValida = new CommandButton(QStringLiteral("&Validar"), this);
    CmdValida->setToolTip(QStringLiteral("Valida dados para exportação"));
    CmdExcel = new CommandButton(QStringLiteral("&Exportar"), this);
    CmdExcel->setToolTip(QStringLiteral("Exporta dados à base do Mirava"));
    CmdCancela = new CommandButton(QStringLiteral("&Cancelar"), this);
    CmdCancela->setToolTip(QStringLiteral("Cancela a rotina atual"));
    int xb = 120;
    for (CommandButton* b : {CmdValida, CmdExcel, CmdCancela}) {
        Posiciona(b, xb, botoes, 1500, 420);
        xb += 1620;
    }
    LblCaixa = Rotulo(this, QStringLiteral("Selecione o Caixa correto"), 5200, botoes - 200, 3000);
    CboCaixa = new ComboBox(this, 2);
    CboCaixa->setToolTip(QStringLiteral("Use Seta Abaixo para selecionar histórico"));
    Posiciona(CboCaixa, 5200, botoes + 60, 4200, 360);
    // Shown only when the send offers the manual choice of a cash box.
    LblCaixa->setVisible(false);
    CboCaixa->setVisible(false);

    const int irregulares = botoes + 600;
    LblIrregulares = Rotulo(this, QStringLiteral("Dados Validados como Irregulares"), 120, irregulares, 4000, Amarelo);
    LstIrregulares = new ListBox(this);
    LstIrregulares->setFont(Fonte_Lista(9.75));
    LstIrregulares->setGeometry(Twips::ParaPixelX(60), Twips::ParaPixelY(irregulares + 270), LstLivroCx->width(),
                                Twips::ParaPixelY(Altura_Lista(LstIrregulares, 1500)));

    const int andamento = irregulares + 1860;
    LblAndamento = Rotulo(this, QStringLiteral("Andamento do Processo"), 120, andamento, 3000, Amarelo);
    LblAndam = Rotulo(this, QStringLiteral("0%"), 3300, andamento, 900);
    LblRegAnd = Rotulo(this, QStringLiteral("0 Registro(s)"), 4400, andamento, 3600);
    LblProgresso = new Label(QString(), this);
    LblProgresso->setForeColor(Amarelo);
    LblProgresso->setFont(Fonte_Lista(9.75));
    LblProgresso->setGeometry(Twips::ParaPixelX(120), Twips::ParaPixelY(andamento + 280), LstLivroCx->width(), 20);
    LblMensagem = Rotulo(this, QStringLiteral(" Exporta Dados à base do Mirava"), 120, andamento + 660, 9000, Amarelo);

    Timer = new ::Timer(this, 300);

    setTamanhoCliente(Twips::DePixelX(LstLivroCx->geometry().right() + 6) + 60, andamento + 1020);

    CmdValida->Click = [this] { CmdValida_Click(); };
    CmdExcel->Click = [this] { CmdExcel_Click(); };
    // CmdCancela has no handler of its own: a running check watches it.
    Timer->Tick = [this] { Timer_Timer(); };
}

// ---------------------------------------------------------------------------
// Load, list and totals

void ExpMirava::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Mensag(QString());
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    Carrega_Mes();
    Timer->setEnabled(true);
}

void ExpMirava::Carrega_Mes() {
    LstLivroCx->Clear();
    Lancamentos_Validados = false;
    codIg_ = Param[1];
    ano_ = Param[10];
    mes_ = Param[9];
    carregado_ = true;
    for (const QString& tipo : Tipos) {
        if (!Lancamentos_Mes::Carrega_Lancamentos(LstLivroCx, tipo, [this] { Calcula_Saldo(); }, [this] { Conta_Regs(); })) {
            carregado_ = false;
            break;
        }
    }
}

void ExpMirava::Calcula_Saldo() {
    Dinheiro entradas, saidas;
    Linha_Lista::Soma(LstLivroCx, entradas, saidas);
    Mostra_Totais(TxtEntradas, TxtSaidas, TxtSaldo, entradas, saidas);
}

void ExpMirava::Conta_Regs() { Conta_Registros(LblRegs, LstLivroCx); }

void ExpMirava::Mensag(const QString& sText) {
    LblMensagem->setCaption(sText);
    DoEvents();
}

bool ExpMirava::Lista_Atual() const {
    if (!carregado_ || Param[1] != codIg_ || Param[10] != ano_ || Param[9] != mes_) return false;
    return Linha_Lista::Confere(LstLivroCx, Lancamentos_Mes::Le_Mes(Param[1], Param[10], Param[9]));
}

// ---------------------------------------------------------------------------
// The check

void ExpMirava::CmdValida_Click() {
    if (emCurso_) return;
    // A list that did not load whole is loaded again before it is checked.
    if (!carregado_) Carrega_Mes();
    if (!carregado_) return;
    Valida_Lancamentos();
    if (fechar_) Unload();
}

void ExpMirava::Valida_Lancamentos() {
    Progresso run(LblRegAnd, LblAndam, LblProgresso, CmdValida, CmdCancela);
    if (!run.Iniciado()) return;
    const Screen::Ampulheta ampulheta;
    emCurso_ = true;
    const bool exportar = CmdExcel->isEnabled();
    CmdExcel->setEnabled(false);
    run.Limpa();  // no count of an earlier run stays on screen
    Mensag(QStringLiteral("Validando Dados. Aguarde..."));

    Lancamentos_Validados = false;
    bool limpo = true;
    LstIrregulares->Clear();
    const int n = LstLivroCx->ListCount();
    if (n == 0) LstIrregulares->AddItem(QStringLiteral("Não há dados para validar"));
    const auto saldo = Dinheiro::Le(TxtSaldo->Text());
    if (!saldo || saldo->Centavos() < 0) LstIrregulares->AddItem(QStringLiteral("Saldo em R$ Inválido"));
    // The days of the month the list holds, even if the parameters have
    // moved on since; the send then refuses the list as stale.
    const int diasMes = Dias_Mes(mes_.toInt(), ano_.toInt());
    LblAndam->setCaption(QStringLiteral("0%"));
    LblProgresso->setCaption(QString());

    bool ate_o_fim = true, erro = false;
    for (int i = 0; i < n; ++i) {
        const bool ok = Tenta([&] {
            LstLivroCx->setListIndex(i);
            const Lancamentos_Mes::Lancamento l = Linha_Lista::Da_Lista(LstLivroCx, i);
            const QString inicio = Caracteres::Esquerda(l.linha, 50);
            for (const Achado& a : Examina(l, diasMes)) {
                LstIrregulares->AddItem(inicio + a.motivo);
                if (a.bloqueia) limpo = false;
            }
            run.Linha(i, n);
        });
        if (!ok) {
            ate_o_fim = false;
            erro = true;
            break;
        }
        run.Eventos();
        Sleep(50);
        if (run.Cancelado() || fechar_) {
            if (!fechar_)
                MsgBox(QStringLiteral("Operação Cancelada pelo Usuário"), vbOKOnly + vbInformation, Titulo_Atencao());
            ate_o_fim = false;
            break;
        }
    }
    if (ate_o_fim) {
        run.Conclui();
        MsgBox(QStringLiteral("Verificação de Dados Concluida"), vbOKOnly + vbInformation, Titulo_Atencao());
        run.Limpa();
        Lancamentos_Validados = limpo;
    }
    Mensag(erro ? QStringLiteral("Operação ainda Não Concluida") : QString());
    CmdExcel->setEnabled(exportar);
    emCurso_ = false;
}

// ---------------------------------------------------------------------------
// The send

void ExpMirava::CmdExcel_Click() {
    if (emCurso_) return;
    bool atual = false;
    if (Lancamentos_Validados && !Tenta([&] { atual = Lista_Atual(); })) return;
    if (!Lancamentos_Validados || !atual) {
        MsgBox(QStringLiteral("A Validação dos Dados não foi concluida.\rClique em 'Validar' e Corrija Dados Irregulares."),
               vbOKOnly + vbExclamation, Titulo_Atencao());
        // What was checked is no longer what is stored: the list shows the
        // month as it is now, for the next check.
        if (Lancamentos_Validados) Carrega_Mes();
        return;
    }
    if (Envia_Dados_Mirava(QStringLiteral("tbllanc")))
        MsgBox(QStringLiteral("Operação Concluida"), vbOKOnly + vbInformation, Titulo_Atencao());
    else
        MsgBox(QStringLiteral("Operação ainda Não Concluida"), vbOKOnly + vbExclamation, Titulo_Atencao());
    if (fechar_) Unload();
}

// ---------------------------------------------------------------------------
// Blink and closing

void ExpMirava::Timer_Timer() { Pisca_Saldo(TxtSaldo); }

void ExpMirava::Form_Unload(int& Cancel) {
    if (emCurso_) {
        // Closing during a check stops it after its current row; the form
        // closes once the check has let go of it.
        fechar_ = true;
        Cancel = 1;
        return;
    }
    Timer->setEnabled(false);
    Fecha_Efeito(this);
}
