#include "printing/ImpDeptos.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/LinhaLancamentoDepto.h"
#include "common/Parametros.h"
#include "common/TelaLancamento.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/Tela.h"
#include "printing/MolduraA4.h"
#include "printing/PainelImpressao.h"
#include <QScopedValueRollback>
#include <vector>

namespace {
constexpr int LarguraLinhaDepartamento = 60;
constexpr int LarguraHistoricoImpresso = 48;

using Twips::Posiciona;

class Relatorio_Deptos final : public MolduraA4 {
public:
    explicit Relatorio_Deptos(const Fechamento_Depto& dados)
        : MolduraA4(QStringLiteral("Fechamento de Departamentos"), dados.deslocaEsquerda, dados.deslocaTopo,
                    Rodape::Departamento),
          dados_(dados) {}

private:
    struct Linha_Relatorio {
        QString dia;
        QString tipo;
        QString historico;
        Dinheiro valor;
    };

    // The rows as the body prints them: day, kind and amount from the
    // values each row keeps, so an amount too wide for its cell prints whole.
    void Prepara() override {
        linhas_.clear();
        linhas_.reserve(dados_.linhas.size());
        for (const Linha_Lista::Linha& l : dados_.linhas)
            linhas_.push_back({Digitos(l.dia, 2), l.tipo, Caracteres::Meio(l.linha, 5, LarguraHistoricoImpresso),
                               l.tipo == QLatin1String("S") ? l.saida : l.entrada});
    }

    void Imprime_Cabec(qint16 Pag) override {
        const QString pagina = Digitos(Pag, 2);
        Imprime_Texto(173, 14, Param[1] + Digitos(dados_.codigo, 3) + pagina, 12);
        Imprime_Texto(10, 18,
                      Formata_Texto(QStringLiteral("DEPARTAMENTO:") + dados_.nome, LarguraLinhaDepartamento,
                                    QStringLiteral("C")));
        Imprime_Igreja_Mes(112, pagina);
    }

    void Imprime_Corpo() override {
        const QString S = QStringLiteral("S");
        const QString traco = QStringLiteral("----");
        for (const Linha_Relatorio& l : linhas_) {
            Imprime_Texto(12, Lin, l.dia);
            if (l.tipo == S) {
                Imprime_Texto(24, Lin, l.historico);
                Imprime_Texto(158, Lin, traco);
                Imprime_Valor(172, Lin, l.valor);
                Tot_Saidas += l.valor;
            } else {
                // A row of another kind shows no amount, and adds none.
                const bool entrada = l.tipo == QLatin1String("E");
                Imprime_Texto(24, Lin,
                              entrada ? Caracteres::Esquerda(l.historico, Cabem(24, Inicio_Valor(144, l.valor)))
                                      : l.historico);
                if (entrada) Imprime_Valor(144, Lin, l.valor);
                Imprime_Texto(186, Lin, traco);
                Tot_Entradas += l.valor;
            }
            Incrementa_Lin(S);
        }
    }

    const Fechamento_Depto& dados_;
    std::vector<Linha_Relatorio> linhas_;
};
}  // namespace

bool Imprime_Fechamento_Depto(const Fechamento_Depto& dados) {
    Relatorio_Deptos relatorio(dados);
    return relatorio.Imprime_Mov_Mensal();
}

ImpDeptos::ImpDeptos() : Form(QStringLiteral("ImpDeptos"), true) {
    setCaption(QStringLiteral(" Lançamento de Departamentos"));
    monta_Tela();
}

void ImpDeptos::monta_Tela() {
    Pinta_Fundo(this);

    LblMesAno = Rotulo(this, QStringLiteral("Mês de Referência"), 120, 60, 2400);
    CboMesAno = new ComboBox(this, 0);
    Posiciona(CboMesAno, 120, 315, 2900, 360);
    LblDepto = Rotulo(this, QStringLiteral("Departamento"), 3180, 60, 4000);
    CboDepto = new ComboBox(this, 2);
    CboDepto->setSorted(true);
    CboDepto->setMaxVisibleItems(20);
    Posiciona(CboDepto, 3180, 315, 5000, 360);

    LstDeptos = new ListBox(this);
    LstDeptos->setSorted(true);
    LstDeptos->setFont(Fonte_Lista(11.25));
    LstDeptos->setUniformItemSizes(true);
    Posiciona(LstDeptos, 60, 1020, Largura_Lista(LstDeptos, Linha_Lancamento_Depto::Largura), Altura_Lista(LstDeptos, 4200));
    Cabecalho_Lista(this, LstDeptos, QStringLiteral("Dia"), 1, false, 780, Cor_Saldo);
    Cabecalho_Lista(this, LstDeptos, QStringLiteral("Descrição dos Históricos"), 6, false, 780, Cor_Saldo);
    Cabecalho_Lista(this, LstDeptos, QStringLiteral("Entradas R$"), 65, true, 780, Cor_Saldo);
    Cabecalho_Lista(this, LstDeptos, QStringLiteral("Saídas R$"), 76, true, 780, Cor_Saldo);

    const int abaixo = Twips::DePixelY(LstDeptos->geometry().bottom()) + 120;
    LblRegs = Rotulo(this, QStringLiteral("0 Registros"), 120, abaixo + 30, 2400);

    // The offsets and the print button, then the totals of the list.
    const int linha1 = abaixo + 420, linha2 = linha1 + 720;
    Monta_Deslocamentos(this, 120, linha1, 3400, QStringLiteral("Imprime o Fechamento do Departamento"), LblLeft, TxtLeft,
                        LblTop, TxtTop, CmdImprime);
    // Nothing to print until a department's month is in the list.
    CmdImprime->setEnabled(false);

    Monta_Totais(this, linha2,
                 {{QStringLiteral("Entradas R$"), &LblEntradas, &TxtEntradas},
                  {QStringLiteral("Saídas R$"), &LblSaidas, &TxtSaidas},
                  {QStringLiteral("Saldo R$"), &LblSaldo, &TxtSaldo}});

    const int largura = Twips::DePixelX(LstDeptos->geometry().right() + 6) + 60;
    LblKwe = Rotulo(this, QStringLiteral("Tavrelo"), largura - 1500, linha2 + 435, 1380, QColor(0xa0, 0xa0, 0xa0));
    LblKwe->setAlignment(Qt::AlignRight);

    Timer = new ::Timer(this, 300);

    setTamanhoCliente(largura, linha2 + 780);

    CboDepto->Click = [this] { CboDepto_Click(); };
    CmdImprime->Click = [this] { CmdImprime_Click(); };
    Timer->Tick = [this] { Timer_Timer(); };

    setTabOrder(CboMesAno, CboDepto);
    setTabOrder(CboDepto, LstDeptos);
    setTabOrder(LstDeptos, TxtLeft);
    setTabOrder(TxtLeft, TxtTop);
    setTabOrder(TxtTop, CmdImprime);
}

// ---------------------------------------------------------------------------
// Load and totals

void ImpDeptos::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    Carrega_Combo(CboDepto, QStringLiteral("ProcSelDeptos"), QStringList{Param[1]}, QStringLiteral("Descricao"),
                  QStringLiteral("Codigo"));
    Timer->setEnabled(true);
}

void ImpDeptos::CboDepto_Click() {
    CmdImprime->setEnabled(false);
    if (CboDepto->ListIndex() < 0) return;
    codigo_ = CboDepto->ItemData(CboDepto->ListIndex());
    nome_ = CboDepto->Text();
    CmdImprime->setEnabled(Carrega_Lancamentos());
}

bool ImpDeptos::Carrega_Lancamentos() {
    const Screen::Ampulheta ampulheta;
    LstDeptos->Clear();
    const QStringList parametros{Param[1], Param[10], Param[9], QString::number(codigo_), {}, {}, {}, {}, {}};
    RecordsetPtr rs;
    bool ok = Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqLancDeptos"), parametros); });
    while (ok && !rs->Eof()) {
        ok = Tenta([&] {
            // The row keeps its amount beside its text: the totals and the
            // printout count one too wide for its cell.
            Linha_Lista::Adiciona(LstDeptos, Linha_Lancamento_Depto::De_Registro(
                                                 rs->Fields(QStringLiteral("Codigo")).toLongLong(),
                                                 int(rs->Fields(QStringLiteral("Dia")).toLongLong()),
                                                 rs->Texto(QStringLiteral("Tipo")), rs->Texto(QStringLiteral("Historico")),
                                                 Dinheiro::DeCampo(rs->Fields(QStringLiteral("Valor")))));
        });
        if (ok) ok = Tenta([&] { rs->MoveNext(); });
    }
    // A load given up keeps the rows read so far, with the totals and the
    // count of the last complete one.
    if (ok) {
        Calcula_Saldo();
        Conta_Regs();
    }
    return ok;
}

void ImpDeptos::Calcula_Saldo() {
    Dinheiro entradas, saidas;
    // Summed from the cents each row keeps, which its cell may not hold.
    Linha_Lista::Soma(LstDeptos, entradas, saidas);
    Mostra_Totais(TxtEntradas, TxtSaidas, TxtSaldo, entradas, saidas);
}

void ImpDeptos::Conta_Regs() {
    Conta_Registros(LblRegs, LstDeptos);
}

void ImpDeptos::Timer_Timer() { Pisca_Saldo(TxtSaldo); }

// ---------------------------------------------------------------------------
// The print

void ImpDeptos::CmdImprime_Click() {
    if (imprimindo_ || !CmdImprime->isEnabled()) return;
    const QScopedValueRollback<bool> emCurso(imprimindo_, true);
    const QString titulo = Titulo_Atencao();
    if (!Confirma_Saldo(TxtSaldo->Text(), titulo)) return;
    if (!Confirma_Papel(titulo)) return;

    Fechamento_Depto dados;
    dados.linhas = Linha_Lista::Da_Lista(LstDeptos);
    dados.codigo = codigo_;
    dados.nome = nome_;
    dados.deslocaEsquerda = TxtLeft->Text();
    dados.deslocaTopo = TxtTop->Text();
    Imprime_Fechamento_Depto(dados);
}

void ImpDeptos::Form_Unload(int& Cancel) {
    if (imprimindo_) {
        // A box of the print is open; the form stays until it is answered.
        Cancel = 1;
        return;
    }
    Timer->setEnabled(false);
    Fecha_Efeito(this);
}
