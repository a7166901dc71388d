#include "registers/Igrejas.h"
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

constexpr int LarguraNome = 30;
constexpr int LarguraLinha = 38;

QString Codigo_Texto(qint64 codigo) { return QString::number(codigo).rightJustified(4, QLatin1Char('0')); }

// The list row: the code in four digits and a blank, the name in 30
// characters, a blank and the type in two digits. A longer code fills its
// field: the whole code travels beside the row.
QString Linha(qint64 codigo, const QString& nome, const QString& tipo) {
    return Monta_Linha({{Codigo_Texto(codigo), 5}, {nome, LarguraNome}, {QStringLiteral(" ")},
                        {tipo.isEmpty() ? QString() : Formata(tipo, QStringLiteral("00")), 2}});
}
QString Nome_Da_Linha(const QString& linha) { return Apara(Caracteres::Meio(linha, 5, LarguraNome)); }
}  // namespace

Igrejas::Igrejas() : Form(QStringLiteral("Igrejas"), true) {
    setCaption(QStringLiteral(" Igrejas que compoem o setor"));
    Pinta_Fundo(this);

    LblText = Rotulo(this, QStringLiteral("Nome da Igreja / Localidade"), 240, 120, 4200);
    TxtDescricao = new TextBox(this);
    TxtDescricao->setMaxLength_(LarguraNome);
    Posiciona(TxtDescricao, 240, 390, 4300, 315);
    LblCodigo = Rotulo(this, QStringLiteral("Código Oficial"), 4680, 120, 1300);
    TxtCodigo = new TextBox(this);
    TxtCodigo->setMaxLength_(5);
    Posiciona(TxtCodigo, 4680, 390, 1300, 315);
    LblTipo = Rotulo(this, QStringLiteral("Tipo de Cálculo"), 6120, 120, 1800);
    CboTipo = new ComboBox(this, 2);
    Posiciona(CboTipo, 6120, 390, 1800, 315);
    CmdEnvia = new CommandButton(QStringLiteral("&Gravar"), this);
    CmdEnvia->setToolTip(QStringLiteral("Grava a igreja"));
    Posiciona(CmdEnvia, 8100, 360, 900, 375);

    LblList = Rotulo(this, QStringLiteral("Conjunto de Igrejas do Setor"), 240, 900, 4000);
    LstIgreja = new ListBox(this);
    LstIgreja->setSorted(true);
    LstIgreja->setFont(Fonte_Lista(10));
    const int largura = std::max(Largura_Lista(LstIgreja, LarguraLinha), 8760);
    Posiciona(LstIgreja, 240, 1170, largura, 3900);
    LblRegs = Rotulo(this, QString(), 240 + largura - 3000, 5160, 3000);
    LblRegs->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTamanhoCliente(240 + largura + 240, 5550);

    setTabOrder(TxtDescricao, TxtCodigo);
    setTabOrder(TxtCodigo, CboTipo);
    setTabOrder(CboTipo, CmdEnvia);
    setTabOrder(CmdEnvia, LstIgreja);

    CmdEnvia->Click = [this] { CmdEnvia_Click(); };
    LstIgreja->DblClick = [this] { LstIgreja_DblClick(); };
    LstIgreja->KeyUp = [this](int& k, int s) { LstIgreja_KeyUp(k, s); };
    LstIgreja->Click = [this] { LstIgreja_Click(); };
    TxtDescricao->KeyPress = [this](int& k) { TxtDescricao_KeyPress(k); };
}

void Igrejas::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Carrega_Combo(CboTipo, QStringLiteral("Select * From TipoCalculo"), QStringLiteral("Descricao"),
                  QStringLiteral("Tipo"));
    Carrega_Igrejas();
}

void Igrejas::Form_Activate() { TxtDescricao->SetFocus(); }

void Igrejas::Carrega_Igrejas() {
    const Screen::Ampulheta ampulheta;
    Limpa_Tudo();
    RecordsetPtr rs;
    bool ok = Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqIgreja"), {Param[1]}); });
    while (ok && !rs->Eof()) {
        qint64 codigo = 0;
        QString linha;
        ok = Tenta([&] {
            codigo = rs->Fields(QStringLiteral("CodCongrega")).toLongLong();
            linha = Linha(codigo, rs->Texto(QStringLiteral("Nome")), rs->Texto(QStringLiteral("Calculo")));
        });
        if (!ok) break;
        LstIgreja->AddItem(linha);
        // The whole code: the row shows only its first five digits.
        LstIgreja->setItemData_(LstIgreja->NewIndex(), codigo);
        ok = Tenta([&] { rs->MoveNext(); });
        DoEvents();
    }
    Conta_Regs();
    rs.reset();
}

void Igrejas::Conta_Regs() {
    Conta_Registros(LblRegs, LstIgreja);
}

bool Igrejas::Em_Edicao() const { return !TxtDescricao->Text().isEmpty() || !TxtCodigo->Text().isEmpty(); }

void Igrejas::LstIgreja_Click() { Conta_Regs(); }

void Igrejas::Limpa_Campos_Igreja() {
    TxtDescricao->setText_(QString());
    TxtCodigo->setText_(QString());
    CboTipo->setListIndex(-1);
}

void Igrejas::Limpa_Tudo() {
    LstIgreja->Clear();
    Limpa_Campos_Igreja();
}

void Igrejas::CmdEnvia_Click() { Salva(); }

bool Igrejas::Salva() {
    const Screen::Ampulheta ampulheta;
    if (!Valida_Controle(TxtDescricao, LblText, QStringLiteral("T"), QStringLiteral("S"))) return false;
    if (!Valida_Controle(TxtCodigo, LblCodigo, QStringLiteral("0"), QStringLiteral("S"))) return false;
    // "12AB" or "-3" would pass as a number other than zero; a code is
    // stored as a number, so only digits make one.
    const std::optional<qint64> codigo = Codigo_Positivo(TxtCodigo->Text());
    if (!codigo) {
        MsgBox(QStringLiteral("Preencha ") + LblCodigo->Caption() + QStringLiteral(" Corretamente."), vbExclamation,
               Titulo_Atencao());
        return false;
    }
    if (!Valida_Controle(CboTipo, LblTipo, QStringLiteral("L"), QStringLiteral("S"))) return false;
    const QString nome = Caracteres::Esquerda(Apara(TxtDescricao->Text()), LarguraNome);
    const qint64 tipo = CboTipo->ItemData(CboTipo->ListIndex());
    const QString codigoTexto = QString::number(*codigo);
    bool existe = false;
    const bool ok = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        existe = !unidade.AbreQuery(QStringLiteral("ProcExisteIgreja"), {Param[1], codigoTexto})->Eof();
        if (!existe)
            unidade.ExecutaQuery(QStringLiteral("ProcInsIgreja"), {Param[1], codigoTexto, nome, QString::number(tipo)});
    });
    if (!ok) return false;
    if (existe) {
        MsgBox(QStringLiteral("Já existe uma Igreja com este Código."), vbInformation, Titulo_Atencao());
        return false;
    }
    LstIgreja->AddItem(Linha(*codigo, nome, QString::number(tipo)));
    LstIgreja->setItemData_(LstIgreja->NewIndex(), *codigo);
    Limpa_Campos_Igreja();
    Conta_Regs();
    TxtDescricao->SetFocus();
    return true;
}

void Igrejas::LstIgreja_DblClick() {
    const int i = LstIgreja->ListIndex();
    if (i < 0) return;
    if (!Confirma_Sobrepor(Em_Edicao(), QStringLiteral("Existem dados em edição. Confirma sobrepor ?")))
        return;
    const Screen::Ampulheta ampulheta;
    const QString linha = LstIgreja->List(i);
    const qint64 codigo = LstIgreja->ItemData(i);
    // The fields take the row only once its stored copy is gone, so that a
    // failed delete never leaves the same congregation in both places.
    if (!Deleta_Lancamento(codigo)) return;
    TxtCodigo->setText_(Codigo_Texto(codigo));
    TxtDescricao->setText_(Nome_Da_Linha(linha));
    bool numero = false;
    const qint64 tipo = Caracteres::Direita(linha, 2).toLongLong(&numero);
    if (numero) Seleciona_Item_Combo(CboTipo, qlonglong(tipo));
    else CboTipo->setListIndex(-1);
    LstIgreja->RemoveItem(i);
    Conta_Regs();
}

void Igrejas::LstIgreja_KeyUp(int& KeyCode, int Shift) {
    (void)Shift;
    if (KeyCode != 46) return;
    const int i = LstIgreja->ListIndex();
    if (i < 0) return;
    const QString pergunta = QStringLiteral("Deseja remover ") + Nome_Da_Linha(LstIgreja->List(i)) + QStringLiteral(" ?");
    if (MsgBox(pergunta, vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) != vbYes) return;
    if (!Deleta_Lancamento(LstIgreja->ItemData(i))) return;
    LstIgreja->RemoveItem(i);
    Conta_Regs();
}

bool Igrejas::Deleta_Lancamento(qint64 codigo) {
    return Tenta([&] { Executa_Query(QStringLiteral("ProcDelIgreja"), {Param[1], QString::number(codigo)}); });
}

void Igrejas::TxtDescricao_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("M")); }

void Igrejas::Form_Unload(int& Cancel) {
    if (Fica_Aberto(Em_Edicao(), [this] { return Salva(); })) {
        // The fields may hold the only copy of a congregation taken back
        // from the list: the window stays open with them.
        Cancel = 1;
        return;
    }
    Fecha_Efeito(this);
}
