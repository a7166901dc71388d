#include "registers/Atualizacoes.h"
#include "common/Banco.h"
#include "common/Central.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Progresso.h"
#include "platform/Tela.h"
#include <QScopedValueRollback>

namespace {
const QColor Amarelo(255, 255, 0);
const QColor Branco(255, 255, 255);
const QColor VerdeClaro(192, 255, 192);

using Twips::Posiciona;

const char* const Legendas[9] = {
    nullptr,
    "Atualizando Tabela de Tipos de Cálculo",
    "Atualizando Tabela de Departamentos",
    "Atualizando Tabela de Cargos",
    "Atualizando Tabela de Igrejas do Setor",
    "Atualizando Tabela de Histórico de Ofertas",
    "Atualizando Tabela de Histórico de Saídas",
    "Atualizando Tabela de Dizimistas",
    "Atualizando Tabela de Transmissão",
};

// Raised by the progress when the user cancelled (or closed the window):
// not a std::exception, so the retry convention lets it through to the
// run, which ends without asking anything.
struct Cancelamento {};

// The box of the running step, white and bold, back to yellow and plain
// however the step ends.
class Destaque {
public:
    explicit Destaque(CheckBox* caixa) : caixa_(caixa) { poe(Branco, true); }
    ~Destaque() { poe(Amarelo, false); }
    Destaque(const Destaque&) = delete;
    Destaque& operator=(const Destaque&) = delete;

private:
    void poe(const QColor& cor, bool negrito) {
        caixa_->setForeColor(cor);
        QFont f = caixa_->font();
        f.setBold(negrito);
        caixa_->setFont(f);
        if (negrito) caixa_->setValue(1);
        caixa_->repaint();
    }
    CheckBox* caixa_;
};
}  // namespace

Atualizacoes::Atualizacoes() : Form(QStringLiteral("Atualizacoes"), true) {
    setCaption(QStringLiteral(" Atualização das Bases de Apoio"));
    monta_Tela();
    CmdAtualiza->Click = [this] { CmdAtualiza_Click(); };
}

void Atualizacoes::monta_Tela() {
    Pinta_Fundo(this);
    setTamanhoCliente(7200, 6360);

    LblMarque = Rotulo(this, QStringLiteral("MARQUE AS TABELAS QUE QUER ATUALIZAR"), 240, 120, 6700, Amarelo);
    const QFont tahoma(QStringLiteral("Tahoma"), 12);
    for (int i = 1; i <= 8; ++i) {
        ChkAtualiza[i] = new CheckBox(QString::fromUtf8(Legendas[i]), this);
        ChkAtualiza[i]->setObjectName(QStringLiteral("ChkAtualiza_%1").arg(i));
        ChkAtualiza[i]->setFont(tahoma);
        ChkAtualiza[i]->setForeColor(Amarelo);
        Posiciona(ChkAtualiza[i], 360, 420 + (i - 1) * 390, 6600, 360);
    }

    CmdAtualiza = new CommandButton(QStringLiteral("&Atualizar Tabelas"), this);
    CmdCancela = new CommandButton(QStringLiteral("&Cancelar Processos"), this);
    Posiciona(CmdAtualiza, 360, 3660, 3000, 420);
    Posiciona(CmdCancela, 3840, 3660, 3000, 420);

    LblAndamento = Rotulo(this, QStringLiteral("Andamento do Processo"), 360, 4260, 6500);
    const QFont courier(QStringLiteral("Courier New"), 9.75);
    LblRegAnd = new Label(QStringLiteral("0 Registro(s)"), this);
    LblAndam = new Label(QStringLiteral("0%"), this);
    for (Label* l : {LblRegAnd, LblAndam}) {
        l->setFont(courier);
        l->setForeColor(Amarelo);
    }
    Posiciona(LblRegAnd, 360, 4560, 4500, 270);
    Posiciona(LblAndam, 5400, 4560, 1440, 270);
    LblAndam->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    LblProgresso = new Label(QString(), this);
    QFont barra(QStringLiteral("Courier New"), 9);
    barra.setBold(true);
    LblProgresso->setFont(barra);
    LblProgresso->setForeColor(VerdeClaro);
    LblProgresso->setAutoFillBackground(true);
    QPalette p = LblProgresso->palette();
    p.setColor(QPalette::Window, Qt::black);
    LblProgresso->setPalette(p);
    // The box as wide as the full bar, so a finished step fills it.
    const int bar = QFontMetrics(barra).horizontalAdvance(QString(Progresso::BarraRegistros, QLatin1Char('=')));
    Posiciona(LblProgresso, 360, 4890, Twips::DePixelX(bar + 2 * LblProgresso->margin() + 4), 300);

    LblObservacao = Rotulo(this,
                           QStringLiteral("Observação:    A  atualização  das  Tabelas  de  Apoio  não excluirá dados "
                                          "inseridos, mas complementará os existentes."),
                           360, 5400, 6480);
    LblObservacao->setWordWrap(true);
    Posiciona(LblObservacao, 360, 5400, 6480, 720);
}

void Atualizacoes::Form_Load() { Centraliza_Form(this, Form::JanelaPrincipal(), QString()); }

void Atualizacoes::Form_Unload(int& Cancel) {
    if (emCurso_) {
        // Closing during a run cancels it after its current row; the window
        // goes once the run has let go of it.
        fechar_ = true;
        Cancel = 1;
    }
}

void Atualizacoes::CmdAtualiza_Click() {
    Progresso run(LblRegAnd, LblAndam, LblProgresso, CmdAtualiza, CmdCancela);
    if (!run.Iniciado()) return;
    const QScopedValueRollback<Progresso*> corrente(run_, &run);
    const QScopedValueRollback<bool> emCurso(emCurso_, true);
    fechar_ = false;
    igreja_ = qint64(Val(Param[1]));
    {
        const Screen::Ampulheta ampulheta;
        try {
            bool online = false;
            if (Tenta([&] { online = Testa_Conexao(Param[11], QStringLiteral("S")); }) && online) {
                for (passo_ = 1; passo_ <= 8; ++passo_) {
                    if (ChkAtualiza[passo_]->Value() != 1 && passo_ != 6 && passo_ != 8) continue;
                    if (!Tenta([this] { Atualiza_Dados(); })) break;
                }
            }
        } catch (const Cancelamento&) {
            if (!fechar_)
                MsgBox(QStringLiteral("Operação Cancelada pelo Usuário"), vbOKOnly + vbInformation, Titulo_Atencao());
        }
        conexaoPasso_ = 0;
        passo_ = 0;
    }
    if (fechar_) {
        emCurso_ = false;
        Unload();
    }
}

void Atualizacoes::Atualiza_Dados() {
    Limpa_Percent();
    const Destaque destaque(ChkAtualiza[passo_]);
    switch (passo_) {
    case 1: Gera_Calculos(); break;
    case 2: Gera_Deptos(); break;
    case 3: Gera_Cargos(); break;
    case 4: Gera_Igrejas(); break;
    case 5: Gera_Ofertas(); break;
    case 6: Gera_Saidas(); break;
    case 7: Gera_Dizimistas(); break;
    case 8: Gera_Transmissao(); break;
    default: break;
    }
}

void Atualizacoes::Mostra_Percent(qint64 atual, qint64 total) {
    run_->Registro(atual, total);
    if (Linha_Lida) Linha_Lida(passo_, atual);
    Refreshs();
}

void Atualizacoes::Limpa_Percent() {
    run_->Limpa();
    Refreshs();
    Sleep(50);
}

void Atualizacoes::Refreshs() {
    run_->Eventos();
    if (run_->Cancelado() || fechar_) throw Cancelamento{};
    Sleep(200);
}

int Atualizacoes::Conta_Regs(const QString& tabela) {
    // The table is one of the program's own names, never a user's text.
    const RecordsetPtr rs = Abre_Recordset(QStringLiteral("Select Count(0) as Conta From ") + tabela);
    if (rs->Eof()) return 0;
    const QVariant v = rs->Fields(QStringLiteral("Conta"));
    return v.isNull() ? 0 : v.toInt();
}

bool Atualizacoes::Tem_Tabela() {
    try {
        Abre_Recordset(QStringLiteral("Select Usuario From Transmissao"));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::unique_ptr<ConexaoCentral> Atualizacoes::Conecta() {
    conexaoPasso_ = 0;
    std::unique_ptr<ConexaoCentral> conexao = Abre_Conexao_Central(true);
    if (!conexao) return nullptr;
    conexaoPasso_ = conexao->AbreSnapshot(QStringLiteral("SELECT CONNECTION_ID() AS id"))->Fields(0).toLongLong();
    if (Passo_Conectado) Passo_Conectado(passo_);
    return conexao;
}

void Atualizacoes::Grava(const std::function<void(UnidadeTrabalho&)>& escrita) {
    // Nothing here lets the window system deliver an event, so no save of
    // another window can run into the write lock this unit holds.
    Em_Unidade(escrita);
}
