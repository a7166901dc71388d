#include "registers/Departamentos.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"

namespace {
using Twips::Posiciona;
}  // namespace

Departamentos::Departamentos() : Form(QStringLiteral("Departamentos"), true) {
    setCaption(QStringLiteral(" Cadastro de Departamentos"));
    Pinta_Fundo(this);

    LblText = Rotulo(this, QStringLiteral("Nome do Departamento"), 240, 180, 4000);
    TxtDepto = new TextBox(this);
    TxtDepto->setMaxLength_(50);
    Posiciona(TxtDepto, 240, 435, 6900, 315);
    TxtCodigo = new TextBox(this);
    TxtCodigo->setMaxLength_(8);
    TxtCodigo->setVisible(false);
    CmdEnvia = new CommandButton(QStringLiteral("&Gravar"), this);
    Posiciona(CmdEnvia, 7260, 405, 1000, 375);
    LblList = Rotulo(this, QStringLiteral("Lista de Departamentos"), 240, 960, 4000);
    LstDepto = new ListBox(this);
    LstDepto->setSorted(true);
    LstDepto->setFont(Fonte_Lista(9.75));
    Posiciona(LstDepto, 240, 1215, 8020, 4200);
    LblRegs = Rotulo(this, QString(), 4260, 5490, 4000);
    LblRegs->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTamanhoCliente(8500, 5900);

    setTabOrder(TxtDepto, CmdEnvia);
    setTabOrder(CmdEnvia, LstDepto);

    CmdEnvia->Click = [this] { CmdEnvia_Click(); };
    LstDepto->Click = [this] { LstDepto_Click(); };
    LstDepto->DblClick = [this] { LstDepto_DblClick(); };
    LstDepto->KeyUp = [this](int& k, int s) { LstDepto_KeyUp(k, s); };
    TxtCodigo->KeyPress = [this](int& k) { TxtCodigo_KeyPress(k); };
    TxtDepto->KeyPress = [this](int& k) { TxtDepto_KeyPress(k); };
    TxtCodigo->LostFocus = [this] { TxtCodigo_LostFocus(); };
}

void Departamentos::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Carrega_Departamentos();
}

void Departamentos::Form_Unload(int& Cancel) {
    (void)Cancel;
    if (Valida_Dados(QStringLiteral("Salvar")) == vbYes) CmdEnvia_Click();
    Fecha_Efeito(this);
}

void Departamentos::Carrega_Departamentos() {
    const Screen::Ampulheta ampulheta;
    Limpa_Tudo();
    RecordsetPtr rs;
    if (Tenta([&] { rs = Abre_Query(QStringLiteral("ProcSelDeptos"), {Param[1]}); })) {
        Tenta([&] {
            for (; !rs->Eof(); rs->MoveNext()) {
                LstDepto->AddItem(rs->Texto(QStringLiteral("Descricao")));
                LstDepto->setItemData_(LstDepto->NewIndex(), rs->Fields(QStringLiteral("Codigo")).toLongLong());
            }
        });
    }
    Conta_Regs();
    rs.reset();
}

void Departamentos::Limpa_Campos_Deptos() {
    TxtCodigo->setText_(QString());
    TxtDepto->setText_(QString());
    correcao_.reset();
}

void Departamentos::Limpa_Tudo() {
    LstDepto->Clear();
    Limpa_Campos_Deptos();
}

void Departamentos::Conta_Regs() {
    Conta_Registros(LblRegs, LstDepto);
}

int Departamentos::Valida_Dados(const QString& sMsg) {
    if (TxtDepto->Text().isEmpty()) return 0;
    return MsgBox(QStringLiteral("Existem dados em edição. Deseja ") + sMsg + QStringLiteral(" ?"), vbYesNo + vbQuestion,
                  Titulo_Atencao());
}

int Departamentos::Linha_Do_Codigo(qint64 codigo) const {
    for (int i = 0; i < LstDepto->ListCount(); ++i)
        if (LstDepto->ItemData(i) == codigo) return i;
    return -1;
}

void Departamentos::CmdEnvia_Click() {
    const Screen::Ampulheta ampulheta;
    if (!Valida_Controle(TxtDepto, LblText, QStringLiteral("T"), QStringLiteral("S"))) return;
    const QString nome = TxtDepto->Text();
    qint64 codigo = 0;
    const bool gravado = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        if (correcao_) {
            // A corrected department keeps its key, so its ledger entries
            // stay its own; one removed meanwhile is stored again under it.
            codigo = *correcao_;
            TxtCodigo->setText_(QString::number(codigo));
            const QStringList parametros{QString::number(codigo), Param[1], Apara(nome)};
            const bool existe = !unidade.AbreQuery(QStringLiteral("ProcPesqDepto"), {QString::number(codigo)})->Eof();
            unidade.ExecutaQuery(existe ? QStringLiteral("ProcUpdDeptos") : QStringLiteral("ProcInsDeptos"), parametros);
        } else {
            codigo = Le_Proximo_Codigo(unidade, TxtCodigo, QStringLiteral("ProcProximoDeptos"));
            unidade.ExecutaQuery(QStringLiteral("ProcInsDeptos"), {QString::number(codigo), Param[1], Apara(nome)});
        }
    });
    if (!gravado) return;
    const int anterior = Linha_Do_Codigo(codigo);
    if (anterior >= 0) LstDepto->RemoveItem(anterior);
    LstDepto->AddItem(nome);
    LstDepto->setItemData_(LstDepto->NewIndex(), codigo);
    Limpa_Campos_Deptos();
    Conta_Regs();
}

void Departamentos::LstDepto_Click() { Conta_Regs(); }

void Departamentos::LstDepto_DblClick() {
    if (Valida_Dados(QStringLiteral("sobrepor")) == vbNo) return;
    const int i = LstDepto->ListIndex();
    if (i < 0) return;
    // The record stays as it is until the corrected name is saved.
    correcao_ = LstDepto->ItemData(i);
    TxtCodigo->setText_(QString::number(*correcao_));
    TxtDepto->setText_(LstDepto->List(i));
    Conta_Regs();
}

void Departamentos::LstDepto_KeyUp(int& KeyCode, int Shift) {
    (void)Shift;
    if (KeyCode != 46) return;
    const int i = LstDepto->ListIndex();
    if (i < 0) return;
    if (MsgBox(QStringLiteral("Deseja remover ") + Apara(LstDepto->List(i)) + QStringLiteral(" ?"),
               vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) != vbYes)
        return;
    const qint64 codigo = LstDepto->ItemData(i);
    if (!Deleta_Departamento(codigo)) return;
    LstDepto->RemoveItem(i);
    // A correction of the removed department can only add it anew.
    if (correcao_ == codigo) correcao_.reset();
    Conta_Regs();
}

bool Departamentos::Deleta_Departamento(qint64 iCod) {
    const Screen::Ampulheta ampulheta;
    const QString codigo = QString::number(iCod);
    return Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        // Its ledger entries would be left under a key that no longer
        // names a department.
        if (unidade.AbreQuery(QStringLiteral("ProcContaLancDepto"), {codigo})->Fields(0).toLongLong() > 0)
            throw ErroExecucao(3200, QStringLiteral("Há lançamentos em 'LancDeptos' para este departamento."));
        unidade.ExecutaQuery(QStringLiteral("ProcDelDeptos"), {codigo});
    });
}

void Departamentos::TxtDepto_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("M")); }
void Departamentos::TxtCodigo_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("I")); }
void Departamentos::TxtCodigo_LostFocus() { TxtCodigo->setText_(Formata(TxtCodigo->Text(), QStringLiteral("000"))); }
