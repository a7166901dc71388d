#include "operations/TotaisIgrejas.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"

namespace {
using Twips::Posiciona;

constexpr int LarguraNome = 31;
constexpr int LarguraValor = 10;
constexpr int ColunaCodigo = LarguraNome + 6 * LarguraValor + 5;  // 96 characters before the code
// Beside each row: the congregation's code, and the six amounts as stored,
// which a correction takes back whole.
constexpr int PapelCongrega = Qt::UserRole + 1;
constexpr int PapelValores = Qt::UserRole + 2;


// The amount a box holds, when it is one the month's columns can show.
std::optional<Dinheiro> Valor_Da_Caixa(const TextBox* caixa) {
    const std::optional<Dinheiro> v = Dinheiro::Le(caixa->Text());
    if (!v || *v < Dinheiro() || v->Formata().size() > LarguraValor) return std::nullopt;
    return v;
}
}  // namespace

TotaisIgrejas::TotaisIgrejas() : Form(QStringLiteral("TotaisIgrejas"), true) {
    setCaption(QStringLiteral("Lançamento Financeiro de Igrejas do Setor"));
    monta_Tela();
}

void TotaisIgrejas::monta_Tela() {
    Pinta_Fundo(this);
    LblMesAno = Rotulo(this, QStringLiteral("Mês de Referência"), 120, 60, 2400);
    CboMesAno = new ComboBox(this, 0);
    Posiciona(CboMesAno, 120, 315, 2900, 360);
    LblSetor = Rotulo(this, QStringLiteral("Igreja filiada ao Setor"), 3240, 60, 4000);
    CboIgreja = new ComboBox(this, 2);
    Posiciona(CboIgreja, 3240, 315, 5000, 360);

    const QStringList legendas{QStringLiteral("Entradas R$"), QStringLiteral("Saídas R$"), QStringLiteral("Aluguel R$"),
                               QStringLiteral("Água R$"),     QStringLiteral("Luz R$"),    QStringLiteral("Prebenda R$")};
    Label** rotulos[] = {&LblEntradas, &LblSaidas, &LblAluguel, &LblAgua, &LblLuz, &LblPrebenda};
    TextBox** caixas[] = {&TxtEntradas, &TxtSaidas, &TxtAluguel, &TxtAgua, &TxtLuz, &TxtPrebenda};
    for (int i = 0; i < 6; ++i) {
        const int x = 120 + i * 1560;
        *rotulos[i] = Rotulo(this, legendas[i], x, 780, 1500);
        auto* t = new TextBox(this);
        t->setMaxLength_(LarguraValor);
        t->setAlignment(Qt::AlignRight);
        Posiciona(t, x, 1035, 1440, 360);
        *caixas[i] = t;
    }
    TxtCodigo = new TextBox(this);
    TxtCodigo->setMaxLength_(8);
    TxtCodigo->setVisible(false);
    CmdEnvia = new CommandButton(QStringLiteral("&Gravar"), this);
    CmdEnvia->setToolTip(QStringLiteral("Grava os valores da igreja"));
    Posiciona(CmdEnvia, 120 + 6 * 1560, 1000, 1000, 420);

    LstIgrejas = new ListBox(this);
    LstIgrejas->setSorted(true);
    LstIgrejas->setFont(Fonte_Lista(11));
    const int largura = Largura_Lista(LstIgrejas, ColunaCodigo + 5);
    Posiciona(LstIgrejas, 120, 1860, largura, 4800);
    Cabecalho_Lista(this, LstIgrejas, QStringLiteral("Nome da Igreja filiada ao setor"), 1, false, 1600);
    for (int i = 0; i < 6; ++i)
        Cabecalho_Lista(this, LstIgrejas, legendas[i], LarguraNome + (i + 1) * LarguraValor, true, 1600);
    LblRegs = Rotulo(this, QString(), 120 + largura - 3000, 6760, 3000);
    LblRegs->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTamanhoCliente(std::max(120 + largura + 120, 120 + 6 * 1560 + 1120), 7150);

    setTabOrder(CboMesAno, CboIgreja);
    QWidget* anterior = CboIgreja;
    for (TextBox* t : Valores()) {
        setTabOrder(anterior, t);
        anterior = t;
    }
    setTabOrder(anterior, CmdEnvia);
    setTabOrder(CmdEnvia, LstIgrejas);

    CmdEnvia->Click = [this] { CmdEnvia_Click(); };
    LstIgrejas->DblClick = [this] { LstIgrejas_DblClick(); };
    LstIgrejas->KeyUp = [this](int& k, int s) { LstIgrejas_KeyUp(k, s); };
    TxtEntradas->KeyPress = [this](int& k) { TxtEntradas_KeyPress(k); };
    TxtSaidas->KeyPress = [this](int& k) { TxtSaidas_KeyPress(k); };
    TxtAluguel->KeyPress = [this](int& k) { TxtAluguel_KeyPress(k); };
    TxtAgua->KeyPress = [this](int& k) { TxtAgua_KeyPress(k); };
    TxtLuz->KeyPress = [this](int& k) { TxtLuz_KeyPress(k); };
    TxtPrebenda->KeyPress = [this](int& k) { TxtPrebenda_KeyPress(k); };
    TxtEntradas->LostFocus = [this] { TxtEntradas_LostFocus(); };
    TxtSaidas->LostFocus = [this] { TxtSaidas_LostFocus(); };
    TxtAluguel->LostFocus = [this] { TxtAluguel_LostFocus(); };
    TxtAgua->LostFocus = [this] { TxtAgua_LostFocus(); };
    TxtLuz->LostFocus = [this] { TxtLuz_LostFocus(); };
    TxtPrebenda->LostFocus = [this] { TxtPrebenda_LostFocus(); };
}

std::array<TextBox*, 6> TotaisIgrejas::Valores() const {
    return {TxtEntradas, TxtSaidas, TxtAluguel, TxtAgua, TxtLuz, TxtPrebenda};
}

std::array<Label*, 6> TotaisIgrejas::Rotulos() const {
    return {LblEntradas, LblSaidas, LblAluguel, LblAgua, LblLuz, LblPrebenda};
}

// ---------------------------------------------------------------------------
// Load and list

void TotaisIgrejas::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    Carrega_Lancamentos();
    Carrega_Combo(CboIgreja, QStringLiteral("ProcPesqIgreja"), QStringList{Param[1]}, QStringLiteral("Nome"),
                  QStringLiteral("CodCongrega"));
}

void TotaisIgrejas::Carrega_Lancamentos() {
    const Screen::Ampulheta ampulheta;
    Limpa_Tudo();
    RecordsetPtr rs;
    bool ok = Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqTotIgreja"), {Param[1], Param[10], Param[9]}); });
    static const char* const campos[] = {"Entradas", "Saidas", "Aluguel", "Agua", "Luz", "Prebenda"};
    while (ok && !rs->Eof()) {
        QString nome;
        std::array<Dinheiro, 6> valores;
        qint64 congrega = 0, codigo = 0;
        ok = Tenta([&] {
            nome = rs->Texto(QStringLiteral("Nome"));
            for (int i = 0; i < 6; ++i) valores[i] = Dinheiro::DeCampo(rs->Fields(QLatin1String(campos[i])));
            congrega = rs->Fields(QStringLiteral("CodCongrega")).toLongLong();
            codigo = rs->Fields(QStringLiteral("Codigo")).toLongLong();
        });
        if (!ok) break;
        Adiciona_Linha(nome, valores, congrega, codigo);
        ok = Tenta([&] { rs->MoveNext(); });
    }
    Conta_Regs();
    rs.reset();
}

void TotaisIgrejas::Adiciona_Linha(const QString& nome, const std::array<Dinheiro, 6>& valores, qint64 congrega,
                                   qint64 codigo) {
    // The register keeps 30 characters of a name: the 31st column is the
    // blank before the first amount.
    QVariantList centavos;
    for (const Dinheiro& v : valores) centavos << v.Centavos();
    auto celula = [&](int k) { return Celula{valores[size_t(k)].Formata(), LarguraValor, QStringLiteral("D")}; };
    const QString linha = Monta_Linha({{Caracteres::Esquerda(nome, LarguraNome - 1), LarguraNome}, celula(0), celula(1),
                                       celula(2), celula(3), celula(4), celula(5),
                                       {QString(5, QLatin1Char(' ')) + QString::number(congrega)}});
    LstIgrejas->AddItem(linha);
    const int i = LstIgrejas->NewIndex();
    LstIgrejas->setItemData_(i, codigo);
    LstIgrejas->item(i)->setData(PapelCongrega, congrega);
    LstIgrejas->item(i)->setData(PapelValores, centavos);
}

void TotaisIgrejas::Conta_Regs() {
    Conta_Registros(LblRegs, LstIgrejas);
}

void TotaisIgrejas::Limpa_Campos_TotIgrejas() {
    CboIgreja->setListIndex(-1);
    for (TextBox* t : Valores()) t->setText_(QString());
}

void TotaisIgrejas::Limpa_Tudo() {
    LstIgrejas->Clear();
    Limpa_Campos_TotIgrejas();
}

// ---------------------------------------------------------------------------
// Saving

void TotaisIgrejas::CmdEnvia_Click() { Salva(); }

bool TotaisIgrejas::Existe_na_Lista() const {
    const int escolhida = CboIgreja->ListIndex();
    if (escolhida < 0) return false;
    const qint64 congrega = CboIgreja->ItemData(escolhida);
    for (int i = 0; i < LstIgrejas->ListCount(); ++i)
        if (LstIgrejas->item(i)->data(PapelCongrega).toLongLong() == congrega) return true;
    return false;
}

bool TotaisIgrejas::Valida_Valores() {
    std::array<Dinheiro, 6> v;
    const std::array<TextBox*, 6> caixas = Valores();
    for (int i = 0; i < 6; ++i) {
        v[i] = Dinheiro::Le(caixas[i]->Text()).value_or(Dinheiro());
        caixas[i]->setText_(v[i].Formata());
    }
    if (v[1] > v[0]) return false;
    return v[2] + v[3] + v[4] + v[5] <= v[1];
}

bool TotaisIgrejas::Salva() {
    const Screen::Ampulheta ampulheta;
    if (Existe_na_Lista()) {
        Aviso(QStringLiteral("A Igreja selecionada já encontra-se na lista abaixo."));
        return false;
    }
    if (!Valida_Controle(CboMesAno, LblMesAno, QStringLiteral("T"), QStringLiteral("S"))) return false;
    if (!Valida_Controle(CboIgreja, LblSetor, QStringLiteral("L"), QStringLiteral("S"))) return false;
    const std::array<TextBox*, 6> caixas = Valores();
    const std::array<Label*, 6> rotulos = Rotulos();
    std::array<Dinheiro, 6> valores;
    for (int i = 0; i < 6; ++i) {
        if (!Valida_Controle(caixas[i], rotulos[i], QStringLiteral("N"), QStringLiteral("S"))) return false;
        // A negative, a malformed or a too large amount has no place in the
        // month's columns: refused here, never cut on screen.
        const std::optional<Dinheiro> v = Valor_Da_Caixa(caixas[i]);
        if (!v) {
            Aviso(QStringLiteral("Preencha ") + rotulos[i]->Caption() + QStringLiteral(" Corretamente."));
            return false;
        }
        valores[i] = *v;
    }
    if (!Valida_Valores()) {
        Aviso(QStringList{QStringLiteral("Alguns valores informados podem estar incorretos:"),
                          QStringLiteral("1º) O valor de Entrada menor que o valor de Saída,"),
                          QStringLiteral("2º) A soma dos valores de Aluguel, Água, Luz e Prebenda maiores"),
                          QStringLiteral("      que o valor de Saída"),
                          QStringLiteral("Para prosseguir, verifique e corrija.")}
                  .join(QLatin1Char('\r')));
        return false;
    }
    const qint64 congrega = CboIgreja->ItemData(CboIgreja->ListIndex());
    qint64 codigo = 0;
    const bool gravado = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        codigo = Le_Proximo_Codigo(unidade, TxtCodigo, QStringLiteral("ProcProximoTotIgreja"));
        QStringList parametros{QString::number(codigo), Param[1], QString::number(congrega), Param[10], Param[9]};
        for (const Dinheiro& v : valores) parametros << v.Texto();
        unidade.ExecutaQuery(QStringLiteral("ProcInsTotIgreja"), parametros);
    });
    if (!gravado) return false;
    Adiciona_Linha(CboIgreja->Text(), valores, congrega, codigo);
    Limpa_Campos_TotIgrejas();
    Conta_Regs();
    CboIgreja->SetFocus();
    return true;
}

// ---------------------------------------------------------------------------
// Correction and deletion

void TotaisIgrejas::LstIgrejas_DblClick() {
    const int i = LstIgrejas->ListIndex();
    if (i < 0) return;
    if (!Confirma_Sobrepor(CboIgreja->ListIndex() >= 0)) return;
    const Screen::Ampulheta ampulheta;
    const qint64 congrega = LstIgrejas->item(i)->data(PapelCongrega).toLongLong();
    const QVariantList centavos = LstIgrejas->item(i)->data(PapelValores).toList();
    int item = -1;
    for (int k = 0; k < CboIgreja->ListCount() && item < 0; ++k)
        if (CboIgreja->ItemData(k) == congrega) item = k;
    // Taken back, the row could never be saved again: the save needs a
    // congregation of the register.
    if (item < 0) {
        Aviso(QStringLiteral("Igreja não cadastrada. Cadastre-a em 'Igrejas que compoem o Setor' antes de corrigir."),
              vbInformation);
        return;
    }
    if (!Deleta_Lancamento(LstIgrejas->ItemData(i), i)) return;
    CboIgreja->setListIndex(item);
    const std::array<TextBox*, 6> caixas = Valores();
    for (int k = 0; k < 6; ++k) caixas[k]->setText_(Dinheiro::DeCentavos(centavos.value(k).toLongLong()).Formata());
    Conta_Regs();
}

void TotaisIgrejas::LstIgrejas_KeyUp(int& KeyCode, int Shift) {
    (void)Shift;
    if (KeyCode != 46) return;
    const int i = LstIgrejas->ListIndex();
    if (i < 0) return;
    const QString pergunta =
        QStringLiteral("Deseja remover ") + Caracteres::Esquerda(LstIgrejas->List(i), 30) + QStringLiteral(" ?");
    if (MsgBox(pergunta, vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) != vbYes) return;
    if (Deleta_Lancamento(LstIgrejas->ItemData(i), i)) Conta_Regs();
}

bool TotaisIgrejas::Deleta_Lancamento(qint64 iCodigo, int indice) {
    if (!Tenta([&] { Executa_Query(QStringLiteral("ProcDelTotIgreja"), {QString::number(iCodigo)}); })) return false;
    LstIgrejas->RemoveItem(indice);
    return true;
}

// ---------------------------------------------------------------------------
// Amount boxes and closing

void TotaisIgrejas::TxtEntradas_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("V")); }
void TotaisIgrejas::TxtSaidas_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("V")); }
void TotaisIgrejas::TxtAluguel_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("V")); }
void TotaisIgrejas::TxtAgua_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("V")); }
void TotaisIgrejas::TxtLuz_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("V")); }
void TotaisIgrejas::TxtPrebenda_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("V")); }

void TotaisIgrejas::TxtEntradas_LostFocus() { TxtEntradas->setText_(Formata_Valor(TxtEntradas->Text())); }
void TotaisIgrejas::TxtSaidas_LostFocus() { TxtSaidas->setText_(Formata_Valor(TxtSaidas->Text())); }
void TotaisIgrejas::TxtAluguel_LostFocus() { TxtAluguel->setText_(Formata_Valor(TxtAluguel->Text())); }
void TotaisIgrejas::TxtAgua_LostFocus() { TxtAgua->setText_(Formata_Valor(TxtAgua->Text())); }
void TotaisIgrejas::TxtLuz_LostFocus() { TxtLuz->setText_(Formata_Valor(TxtLuz->Text())); }
void TotaisIgrejas::TxtPrebenda_LostFocus() { TxtPrebenda->setText_(Formata_Valor(TxtPrebenda->Text())); }

void TotaisIgrejas::Form_Unload(int& Cancel) {
    if (Fica_Aberto(CboIgreja->ListIndex() >= 0, [this] { return Salva(); })) {
        // The fields may hold the only copy of a row taken back from the
        // list: the form stays open with them.
        Cancel = 1;
        return;
    }
    Fecha_Efeito(this);
}
