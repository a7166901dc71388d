#include "registers/Agenda.h"
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
#include <cmath>

namespace {
constexpr int LarguraDia = 3;
constexpr int LarguraDescricao = 40;

// The list's row: the day in two digits and a blank, then the description.
QString Linha_Agenda(double dia, const QString& descricao) {
    return Monta_Linha({{Formata(dia, QStringLiteral("00")), LarguraDia}, {descricao, LarguraDescricao}});
}
QString Dia_Da_Linha(const QString& linha) { return Caracteres::Esquerda(linha, 2); }
QString Descricao_Da_Linha(const QString& linha) {
    return Apara(Caracteres::Meio(linha, LarguraDia, LarguraDescricao));
}
}  // namespace

Agenda::Agenda() : Form(QStringLiteral("Agenda"), true) {
    setCaption(QStringLiteral(" Agenda de Compromissos"));
    Pinta_Fundo(this);
    using Twips::Posiciona;
    LblMesAno = Rotulo(this, QStringLiteral("Mês de Referência"), 240, 120, 2900);
    CboMesAno = new ComboBox(this, 0);
    Posiciona(CboMesAno, 240, 375, 2900, 360);
    LblDia = Rotulo(this, QStringLiteral("Dia"), 240, 855, 600);
    TxtDia = new TextBox(this);
    Posiciona(TxtDia, 240, 1110, 600, 360);
    TxtDia->setAlignment(Qt::AlignCenter);
    TxtDia->setMaxLength_(2);
    LblCompromisso = Rotulo(this, QStringLiteral("Descrição do Compromisso"), 960, 855, 5000);
    TxtCompromisso = new TextBox(this);
    Posiciona(TxtCompromisso, 960, 1110, 5400, 360);
    TxtCompromisso->setMaxLength_(LarguraDescricao);
    CmdEnvia = new CommandButton(QStringLiteral("&Gravar"), this);
    Posiciona(CmdEnvia, 6480, 1080, 900, 420);
    Rotulo(this, QStringLiteral("Dia"), 300, 1665, 600);
    Rotulo(this, QStringLiteral("Compromissos"), 660, 1665, 3000);
    LstAgenda = new ListBox(this);
    LstAgenda->setSorted(true);
    LstAgenda->setFont(Fonte_Lista(10));
    Posiciona(LstAgenda, 240, 1920, 7140, 3300);
    LblRegs = new Label(QString(), this);
    LblRegs->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LblRegs->setForeColor(Qt::white);
    Posiciona(LblRegs, 4380, 5280, 3000, 255);
    setTamanhoCliente(7620, 5640);

    setTabOrder(CboMesAno, TxtDia);
    setTabOrder(TxtDia, TxtCompromisso);
    setTabOrder(TxtCompromisso, CmdEnvia);
    setTabOrder(CmdEnvia, LstAgenda);

    CmdEnvia->Click = [this] { CmdEnvia_Click(); };
    CboMesAno->LostFocus = [this] { CboMesAno_LostFocus(); };
    LstAgenda->Click = [this] { LstAgenda_Click(); };
    LstAgenda->DblClick = [this] { LstAgenda_DblClick(); };
    LstAgenda->KeyUp = [this](int& k, int s) { LstAgenda_KeyUp(k, s); };
    TxtDia->KeyPress = [this](int& k) { TxtDia_KeyPress(k); };
    TxtDia->LostFocus = [this] { TxtDia_LostFocus(); };
    TxtCompromisso->KeyPress = [this](int& k) { TxtCompromisso_KeyPress(k); };
}

void Agenda::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Tenta([this] { Mostra_Mes_Ano(CboMesAno); });
    Carrega_Lancamentos();
}

void Agenda::Form_Activate() { TxtDia->SetFocus(); }

void Agenda::Form_Unload(int& Cancel) {
    // A commitment taken back from the list lives only in the fields: the
    // form stays open with it when its save fails.
    if (Fica_Aberto(Em_Edicao(), [this] { return Salva(); })) {
        Cancel = 1;
        return;
    }
    Fecha_Efeito(this);
}

bool Agenda::Em_Edicao() const { return !TxtDia->Text().isEmpty() || !TxtCompromisso->Text().isEmpty(); }

QStringList Agenda::parametros(const QString& dia, const QString& descricao) const {
    return {Param[1], Param[10], Param[9], dia, descricao};
}

// ---------------------------------------------------------------------------
// The list

void Agenda::Carrega_Lancamentos() {
    const Screen::Ampulheta ampulheta;
    Limpa_Tudo();
    RecordsetPtr rs;
    if (Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqAgenda"), parametros(QString(), QString())); })) {
        Tenta([&] {
            for (; !rs->Eof(); rs->MoveNext()) {
                LstAgenda->AddItem(Linha_Agenda(Valor_Numerico(rs->Fields(QStringLiteral("Dia"))),
                                                rs->Texto(QStringLiteral("Descricao"))));
                DoEvents();
            }
        });
    }
    rs.reset();
    Conta_Regs();
}

void Agenda::Conta_Regs() {
    Conta_Registros(LblRegs, LstAgenda);
}

void Agenda::Limpa_Campos_Agenda() {
    TxtDia->setText_(QString());
    TxtCompromisso->setText_(QString());
}

void Agenda::Limpa_Tudo() {
    LstAgenda->Clear();
    Limpa_Campos_Agenda();
}

void Agenda::CboMesAno_LostFocus() { Carrega_Lancamentos(); }
void Agenda::LstAgenda_Click() { Conta_Regs(); }

// ---------------------------------------------------------------------------
// Saving

void Agenda::CmdEnvia_Click() { Salva(); }

bool Agenda::Salva() {
    const Screen::Ampulheta ampulheta;
    if (!Valida_Controle(CboMesAno, LblMesAno, QStringLiteral("T"), QStringLiteral("S"))) return false;
    if (!Valida_Controle(TxtDia, LblDia, QStringLiteral("0"), QStringLiteral("S"))) return false;
    const double dia = Val(TxtDia->Text());
    // The working month is the entry's month: a day it does not have would
    // never come up in the day's notices.
    if (!Valida_Dia(dia)) return false;
    if (!Valida_Controle(TxtCompromisso, LblCompromisso, QStringLiteral("T"), QStringLiteral("S"))) return false;
    // Stored as the list shows it, so that a deletion finds it again.
    const QString descricao = Apara(TxtCompromisso->Text());
    if (!Tenta([&] { Executa_Query(QStringLiteral("ProcInsAgenda"), parametros(QString::number(dia), descricao)); }))
        return false;
    LstAgenda->AddItem(Linha_Agenda(dia, descricao));
    Limpa_Campos_Agenda();
    Conta_Regs();
    TxtDia->SetFocus();
    return true;
}

// ---------------------------------------------------------------------------
// Correction and deletion

bool Agenda::Deleta_Lancamento(const QString& sDia, const QString& sDesc) {
    const QStringList p = parametros(QString::number(Val(sDia)), sDesc);
    return Tenta([&] { Executa_Query(QStringLiteral("ProcDelAgenda"), p); });
}

void Agenda::LstAgenda_DblClick() {
    const int i = LstAgenda->ListIndex();
    if (i < 0) return;
    if (!Confirma_Sobrepor(Em_Edicao())) return;
    const Screen::Ampulheta ampulheta;
    const QString linha = LstAgenda->List(i);
    const QString dia = Dia_Da_Linha(linha), descricao = Descricao_Da_Linha(linha);
    // Only an entry that left the file comes back into the boxes: saved
    // again, a kept one would be doubled.
    if (!Deleta_Lancamento(dia, descricao)) return;
    TxtDia->setText_(dia);
    TxtCompromisso->setText_(descricao);
    LstAgenda->RemoveItem(i);
    Conta_Regs();
}

void Agenda::LstAgenda_KeyUp(int& KeyCode, int Shift) {
    (void)Shift;
    if (KeyCode != 46) return;
    const int i = LstAgenda->ListIndex();
    if (i < 0) return;
    const QString linha = LstAgenda->List(i);
    const QString descricao = Descricao_Da_Linha(linha);
    if (MsgBox(QStringLiteral("Deseja remover ") + descricao + QStringLiteral(" ?"),
               vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) != vbYes)
        return;
    if (!Deleta_Lancamento(Dia_Da_Linha(linha), descricao)) return;
    LstAgenda->RemoveItem(i);
    Conta_Regs();
}

void Agenda::TxtDia_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("I")); }
void Agenda::TxtDia_LostFocus() { TxtDia->setText_(Formata(TxtDia->Text(), QStringLiteral("00"))); }
void Agenda::TxtCompromisso_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("M")); }
