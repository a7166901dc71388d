#include "operations/Remessas.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"

namespace {
using Twips::Posiciona;

constexpr int LarguraDia = 3;
constexpr int LarguraValor = 12;
}  // namespace

Remessas::Remessas() : Form(QStringLiteral("Remessas"), true) {
    setCaption(QStringLiteral(" Remessas enviadas à Matriz"));
    Pinta_Fundo(this);
    LblMesAno = Rotulo(this, QStringLiteral("Mês de Referência"), 120, 60, 2400);
    CboMesAno = new ComboBox(this, 0);
    Posiciona(CboMesAno, 120, 315, 2900, 360);
    LblDia = Rotulo(this, QStringLiteral("Dia"), 120, 780, 600);
    TxtDia = new TextBox(this);
    TxtDia->setMaxLength_(2);
    Posiciona(TxtDia, 120, 1035, 600, 360);
    LblValor = Rotulo(this, QStringLiteral("Valor R$"), 840, 780, 1600);
    TxtValor = new TextBox(this);
    TxtValor->setMaxLength_(10);
    TxtValor->setAlignment(Qt::AlignRight);
    Posiciona(TxtValor, 840, 1035, 1600, 360);
    TxtCodigo = new TextBox(this);
    TxtCodigo->setMaxLength_(8);
    TxtCodigo->setVisible(false);
    CmdEnvia = new CommandButton(QStringLiteral("&Gravar"), this);
    CmdEnvia->setToolTip(QStringLiteral("Grava a remessa"));
    Posiciona(CmdEnvia, 2580, 1000, 1000, 420);

    LstRemessas = new ListBox(this);
    LstRemessas->setSorted(true);
    LstRemessas->setFont(Fonte_Lista(11));
    const int largura = std::max(Largura_Lista(LstRemessas, LarguraDia + LarguraValor), 2400);
    Posiciona(LstRemessas, 120, 1860, largura, 3600);
    Cabecalho_Lista(this, LstRemessas, QStringLiteral("Dia"), 1, false, 1600);
    Cabecalho_Lista(this, LstRemessas, QStringLiteral("Valor R$"), LarguraDia + LarguraValor, true, 1600);
    LblRegs = Rotulo(this, QString(), 120, 5560, largura);
    const int xSaldo = 120 + largura + 240;
    LblSaldo = Rotulo(this, QStringLiteral("Saldo R$"), xSaldo, 4860, 1600);
    TxtSaldo = new TextBox(this);
    TxtSaldo->setLocked(true);
    TxtSaldo->setFocusPolicy(Qt::NoFocus);
    TxtSaldo->setAlignment(Qt::AlignRight);
    Posiciona(TxtSaldo, xSaldo, 5100, 1600, 360);
    setTamanhoCliente(std::max(xSaldo + 1600 + 120, 3700), 5950);

    setTabOrder(CboMesAno, TxtDia);
    setTabOrder(TxtDia, TxtValor);
    setTabOrder(TxtValor, CmdEnvia);
    setTabOrder(CmdEnvia, LstRemessas);

    CboMesAno->LostFocus = [this] { CboMesAno_LostFocus(); };
    CmdEnvia->Click = [this] { CmdEnvia_Click(); };
    LstRemessas->DblClick = [this] { LstRemessas_DblClick(); };
    LstRemessas->KeyUp = [this](int& k, int s) { LstRemessas_KeyUp(k, s); };
    TxtDia->KeyPress = [this](int& k) { TxtDia_KeyPress(k); };
    TxtDia->LostFocus = [this] { TxtDia_LostFocus(); };
    TxtValor->KeyPress = [this](int& k) { TxtValor_KeyPress(k); };
    TxtValor->LostFocus = [this] { TxtValor_LostFocus(); };
}

void Remessas::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    Carrega_Lancamentos();
}

void Remessas::Form_Activate() { TxtDia->SetFocus(); }

// The list follows the working month of the parameters, whatever the box shows.
void Remessas::CboMesAno_LostFocus() { Carrega_Lancamentos(); }

void Remessas::Carrega_Lancamentos() {
    const Screen::Ampulheta ampulheta;
    Limpa_Tudo();
    RecordsetPtr rs;
    bool ok = Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqRemessa"), {Param[1], Param[10], Param[9]}); });
    while (ok && !rs->Eof()) {
        int dia = 0;
        Dinheiro valor;
        qint64 codigo = 0;
        ok = Tenta([&] {
            dia = int(rs->Fields(QStringLiteral("Dia")).toLongLong());
            valor = Dinheiro::DeCampo(rs->Fields(QStringLiteral("Valor")));
            codigo = rs->Fields(QStringLiteral("Codigo")).toLongLong();
        });
        if (!ok) break;
        Adiciona_Linha(dia, valor, codigo);
        ok = Tenta([&] { rs->MoveNext(); });
        DoEvents();
    }
    Conta_Regs();
    Calcula_Saldo();
    rs.reset();
}

void Remessas::Adiciona_Linha(int dia, const Dinheiro& valor, qint64 codigo) {
    LstRemessas->AddItem(Formata_Texto(Formata(double(dia), QStringLiteral("00")), LarguraDia, QStringLiteral("E")) +
                         Formata_Texto(valor.Formata(), LarguraValor, QStringLiteral("D")));
    LstRemessas->setItemData_(LstRemessas->NewIndex(), codigo);
}

void Remessas::Conta_Regs() {
    Conta_Registros(LblRegs, LstRemessas);
}

// The sum of the rows as shown: every value column holds a whole amount,
// since the save refuses one that does not fit.
void Remessas::Calcula_Saldo() {
    Dinheiro total;
    for (int i = 0; i < LstRemessas->ListCount(); ++i)
        total += Dinheiro::Le(Caracteres::Direita(LstRemessas->List(i), LarguraValor)).value_or(Dinheiro());
    TxtSaldo->setText_(total.Formata());
}

void Remessas::Limpa_Campos_Remessa() {
    TxtDia->setText_(QString());
    TxtValor->setText_(QString());
}

void Remessas::Limpa_Tudo() {
    LstRemessas->Clear();
    Limpa_Campos_Remessa();
}

void Remessas::CmdEnvia_Click() { Salva(); }

bool Remessas::Salva() {
    const Screen::Ampulheta ampulheta;
    if (!Valida_Controle(CboMesAno, LblMesAno, QStringLiteral("T"), QStringLiteral("S"))) return false;
    if (!Valida_Controle(TxtDia, LblDia, QStringLiteral("0"), QStringLiteral("S"))) return false;
    const double dia = E_Numerico(TxtDia->Text()) ? Para_Numero(TxtDia->Text()) : 0;
    if (!Valida_Dia(dia)) return false;
    if (!Valida_Controle(TxtValor, LblValor, QStringLiteral("N"), QStringLiteral("S"))) return false;
    // Only a well-formed amount that its column shows whole: the month's
    // sum is read back from the rows.
    const std::optional<Dinheiro> valor = Dinheiro::Le(TxtValor->Text());
    if (!valor || valor->Formata().size() > LarguraValor) {
        MsgBox(QStringLiteral("Preencha ") + LblValor->Caption() + QStringLiteral(" Corretamente."), vbExclamation,
               Titulo_Atencao());
        return false;
    }
    qint64 codigo = 0;
    const bool gravado = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        codigo = Le_Proximo_Codigo(unidade, TxtCodigo, QStringLiteral("ProcProximoRemessas"));
        unidade.ExecutaQuery(QStringLiteral("ProcInsRemessa"), {QString::number(codigo), Param[1], Param[10], Param[9],
                                                                QString::number(qint64(dia)), valor->Texto()});
    });
    if (!gravado) return false;
    Adiciona_Linha(int(dia), *valor, codigo);
    Limpa_Campos_Remessa();
    Conta_Regs();
    Calcula_Saldo();
    TxtDia->SetFocus();
    return true;
}

void Remessas::LstRemessas_DblClick() {
    const int i = LstRemessas->ListIndex();
    if (i < 0) return;
    if (!Confirma_Sobrepor(!TxtDia->Text().isEmpty() || !TxtValor->Text().isEmpty())) return;
    const Screen::Ampulheta ampulheta;
    const QString linha = LstRemessas->List(i);
    // The fields take the row only once its stored copy is gone.
    if (!Deleta_Lancamento(LstRemessas->ItemData(i), i)) return;
    TxtDia->setText_(Caracteres::Esquerda(linha, 2));
    TxtValor->setText_(Apara(Caracteres::Meio(linha, LarguraDia, LarguraValor)));
    Conta_Regs();
    Calcula_Saldo();
}

void Remessas::LstRemessas_KeyUp(int& KeyCode, int Shift) {
    (void)Shift;
    if (KeyCode != 46) return;
    const int i = LstRemessas->ListIndex();
    if (i < 0) return;
    const QString pergunta = QStringLiteral("Deseja remover dia ") + Apara(LstRemessas->List(i)) + QStringLiteral(" ?");
    if (MsgBox(pergunta, vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) != vbYes) return;
    if (!Deleta_Lancamento(LstRemessas->ItemData(i), i)) return;
    Conta_Regs();
    Calcula_Saldo();
}

bool Remessas::Deleta_Lancamento(qint64 iCodigo, int indice) {
    if (!Tenta([&] { Executa_Query(QStringLiteral("ProcDelRemessa"), {QString::number(iCodigo)}); })) return false;
    LstRemessas->RemoveItem(indice);
    return true;
}

void Remessas::TxtDia_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("I")); }
void Remessas::TxtDia_LostFocus() { TxtDia->setText_(Formata(TxtDia->Text(), QStringLiteral("00"))); }
void Remessas::TxtValor_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("V")); }
void Remessas::TxtValor_LostFocus() { TxtValor->setText_(Formata_Valor(TxtValor->Text())); }

void Remessas::Form_Unload(int& Cancel) {
    if (Fica_Aberto((!TxtDia->Text().isEmpty() || !TxtValor->Text().isEmpty()), [this] { return Salva(); })) {
        // The fields may hold the only copy of a remittance taken back
        // from the list: the form stays open with them.
        Cancel = 1;
        return;
    }
    Fecha_Efeito(this);
}
