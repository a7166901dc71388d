#include "registers/Parametr.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include <QStyle>

namespace {
using Twips::Posiciona;

// The administrator may change bank details that are already filled in.
const QString Administrador = QStringLiteral("DEDURE");

const char* const Meses[] = {"Janeiro", "Fevereiro", "Março", "Abril", "Maio", "Junho",
                             "Julho", "Agosto", "Setembro", "Outubro", "Novembro", "Dezembro"};
}  // namespace

Parametr::Parametr() : Form(QStringLiteral("Parametr"), true) {
    setCaption(QStringLiteral(" Parâmetros do Sistema"));
    Pinta_Fundo(this);

    auto caixa = [this](int esquerda, int topo, int largura, int maximo) {
        auto* t = new TextBox(this);
        t->setMaxLength_(maximo);
        Posiciona(t, esquerda, topo, largura, 315);
        return t;
    };
    LblRazao = Rotulo(this, QStringLiteral("Razão Social"), 240, 180, 3000);
    TxtRazao = caixa(240, 435, 7200, 50);
    LblCodigo = Rotulo(this, QStringLiteral("Código da Igreja"), 240, 870, 1800);
    TxtCodigo = caixa(240, 1125, 1200, 4);
    LblTipo = Rotulo(this, QStringLiteral("Tipo da Igreja"), 2160, 870, 2400);
    CboTipo = new ComboBox(this, 2);
    Posiciona(CboTipo, 2160, 1125, 2400, 315);
    LblSetor = Rotulo(this, QStringLiteral("Regional/Setor"), 240, 1560, 3000);
    TxtSetor = caixa(240, 1815, 7200, 50);
    LblCongregacao = Rotulo(this, QStringLiteral("Congregação"), 240, 2250, 3000);
    TxtCongregacao = caixa(240, 2505, 7200, 50);
    LblMes = Rotulo(this, QStringLiteral("Mes/Ano Operação"), 240, 2940, 3000);
    CboMes = new ComboBox(this, 2);
    Posiciona(CboMes, 240, 3195, 2000, 315);
    TxtAno = caixa(2360, 3195, 900, 4);
    LblBanco = Rotulo(this, QStringLiteral("Banco"), 240, 3630, 3000);
    TxtBanco = caixa(240, 3885, 7200, 50);
    LblAgencia = Rotulo(this, QStringLiteral("Agência"), 240, 4320, 1800);
    TxtAgencia = caixa(240, 4575, 1800, 10);
    LblConta = Rotulo(this, QStringLiteral("Conta"), 2160, 4320, 3000);
    TxtConta = caixa(2160, 4575, 3000, 20);
    CmdGrava = new CommandButton(QString(), this);
    CmdGrava->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    CmdGrava->setIconSize(QSize(24, 24));
    CmdGrava->setToolTip(QStringLiteral("Salva Parâmetros"));
    Posiciona(CmdGrava, 6720, 4440, 720, 540);
    setTamanhoCliente(7680, 5220);

    setTabOrder(TxtRazao, TxtCodigo);
    setTabOrder(TxtCodigo, CboTipo);
    setTabOrder(CboTipo, TxtSetor);
    setTabOrder(TxtSetor, TxtCongregacao);
    setTabOrder(TxtCongregacao, CboMes);
    setTabOrder(CboMes, TxtAno);
    setTabOrder(TxtAno, TxtBanco);
    setTabOrder(TxtBanco, TxtAgencia);
    setTabOrder(TxtAgencia, TxtConta);
    setTabOrder(TxtConta, CmdGrava);

    CmdGrava->Click = [this] { CmdGrava_Click(); };
    CboTipo->Click = [this] { CboTipo_Click(); };
    CboMes->Click = [this] { CboMes_Click(); };
    TxtRazao->KeyPress = [this](int& k) { TxtRazao_KeyPress(k); };
    TxtCodigo->KeyPress = [this](int& k) { TxtCodigo_KeyPress(k); };
    TxtSetor->KeyPress = [this](int& k) { TxtSetor_KeyPress(k); };
    TxtCongregacao->KeyPress = [this](int& k) { TxtCongregacao_KeyPress(k); };
    TxtAno->KeyPress = [this](int& k) { TxtAno_KeyPress(k); };
    TxtBanco->KeyPress = [this](int& k) { TxtBanco_KeyPress(k); };
    TxtAgencia->KeyPress = [this](int& k) { TxtAgencia_KeyPress(k); };
    TxtConta->KeyPress = [this](int& k) { TxtConta_KeyPress(k); };
}

void Parametr::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Carrega_Combo_Param();
    Carrega_Combo_Mes();
    Carrega_Campos();
    salvo_ = true;
}

void Parametr::Carrega_Combo_Param() {
    for (const char* t : {"CONGREGAÇÃO", "SETOR", "REGIONAL"}) CboTipo->AddItem(QString::fromUtf8(t));
}

void Parametr::Carrega_Combo_Mes() {
    for (int i = 0; i < 12; ++i) {
        CboMes->AddItem(QString::fromUtf8(Meses[i]));
        CboMes->setItemData_(CboMes->NewIndex(), i + 1);
    }
    CboMes->setListIndex(Relogio::Hoje().month() - 1);
}

void Parametr::Carrega_Campos() {
    const Screen::Ampulheta ampulheta;
    RecordsetPtr rs;
    if (Tenta([&] { rs = Abre_Recordset(QStringLiteral("ProcPesqParametros")); }) && !rs->Eof()) {
        Tenta([&] {
            TxtCodigo->setText_(Formata(rs->Texto(QStringLiteral("Codigo")), QStringLiteral("0000")));
            Posiciona_Combo(CboTipo, rs->Texto(QStringLiteral("Tipo")));
            TxtRazao->setText_(rs->Texto(QStringLiteral("Razao")));
            TxtSetor->setText_(rs->Texto(QStringLiteral("Reg_Setor")));
            TxtCongregacao->setText_(rs->Texto(QStringLiteral("Congrega")));
            Posiciona_Combo(CboMes, rs->Texto(QStringLiteral("Mes")));
            TxtAno->setText_(rs->Texto(QStringLiteral("Ano")));
            TxtBanco->setText_(rs->Texto(QStringLiteral("Banco")));
            TxtAgencia->setText_(rs->Texto(QStringLiteral("Agencia")));
            TxtConta->setText_(rs->Texto(QStringLiteral("Conta")));
        });
    }
    if (TxtAno->Text().isEmpty()) TxtAno->setText_(QString::number(Relogio::Hoje().year()));
    // Bank details can be typed once by anyone; changing them takes the
    // administrator.
    const bool administrador = Nome_Usuario == Administrador;
    for (TextBox* t : {TxtBanco, TxtAgencia, TxtConta}) t->setLocked(!administrador && !t->Text().isEmpty());
    rs.reset();
}

void Parametr::Posiciona_Combo(ComboBox* oCombo, const QString& sCodigo) {
    const double valor = Valor_Numerico(sCodigo);
    for (int i = 0; i < oCombo->ListCount(); ++i) {
        const bool igual = valor <= 0 ? oCombo->List(i).left(1) == sCodigo : double(oCombo->ItemData(i)) == valor;
        if (igual) {
            oCombo->setListIndex(i);
            return;
        }
    }
}

bool Parametr::Valida_Campos() const {
    // A church code or year of zero or below names no church and no
    // period: it is refused as a blank one is.
    if (!Codigo_Positivo(TxtCodigo->Text())) return false;
    if (CboTipo->ListIndex() < 0) return false;
    for (const TextBox* t : {TxtRazao, TxtSetor, TxtCongregacao})
        if (Apara(t->Text()).isEmpty()) return false;
    if (CboMes->ListIndex() < 0) return false;
    if (!Codigo_Positivo(TxtAno->Text())) return false;
    for (const TextBox* t : {TxtBanco, TxtAgencia, TxtConta})
        if (Apara(t->Text()).isEmpty()) return false;
    return true;
}

// Whether the save moves the installation to another church or period.
bool Parametr::Periodo_Mudou() const {
    return Apara(TxtCodigo->Text()).toLongLong() != Param[1].toLongLong() ||
           CboMes->ItemData(CboMes->ListIndex()) != Param[9].toLongLong() ||
           Apara(TxtAno->Text()).toLongLong() != Param[10].toLongLong();
}

Parametr::Resultado Parametr::Salva_Campos() {
    if (!Valida_Campos()) {
        MsgBox(QStringLiteral("Preencha todos os campos corretamente."), vbInformation, Titulo_Atencao());
        return Resultado::Invalido;
    }
    // The open windows finish their work in the period they were opened
    // in, each through its own closing question, before the period moves.
    if (Periodo_Mudou() && !Fecha_Forms(Name())) {
        MsgBox(QStringLiteral("Feche as janelas abertas antes de mudar o período."), vbInformation, Titulo_Atencao());
        return Resultado::JanelaAberta;
    }
    const Screen::Ampulheta ampulheta;
    const QStringList parametros{TxtCodigo->Text(),
                                 TxtRazao->Text(),
                                 CboTipo->Text().left(1),
                                 TxtSetor->Text(),
                                 TxtCongregacao->Text(),
                                 TxtAno->Text(),
                                 QString::number(CboMes->ItemData(CboMes->ListIndex())),
                                 QStringLiteral("A"),
                                 TxtBanco->Text(),
                                 TxtAgencia->Text(),
                                 TxtConta->Text()};
    const bool gravado = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        const bool existe = !unidade.AbreSnapshot(QStringLiteral("ProcSelParametros"))->Eof();
        unidade.ExecutaQuery(existe ? QStringLiteral("ProcUpdParametros") : QStringLiteral("ProcInsParametros"),
                             parametros);
        unidade.ExecutaQuery(QStringLiteral("ProcUpdParametro1"), parametros);
    });
    if (!gravado) return Resultado::Falhou;
    MsgBox(QStringLiteral("Operação realizada com Sucesso."), vbInformation, Titulo_Atencao());
    return Resultado::Gravado;
}

Parametr::Resultado Parametr::Grava() {
    const Resultado r = Salva_Campos();
    Recarrega_Parametros();
    if (Form* principal = Form::JanelaPrincipal()) principal->setCaption(Param[99]);
    Habilita_Menus();
    if (r == Resultado::Gravado) salvo_ = true;
    return r;
}

void Parametr::CmdGrava_Click() { Grava(); }

void Parametr::Form_Unload(int& Cancel) {
    if (!salvo_ &&
        MsgBox(QStringLiteral("Deseja Salvar Parâmetros ?"), vbYesNo + vbQuestion, Titulo_Atencao()) == vbYes) {
        if (Grava() == Resultado::JanelaAberta) {
            // What was typed stays for the user to save once the other
            // window is dealt with.
            Cancel = 1;
            return;
        }
        Fecha_Forms(Name());
    }
    Fecha_Efeito(this);
}

void Parametr::CboTipo_Click() { salvo_ = false; }
void Parametr::CboMes_Click() { salvo_ = false; }

void Parametr::Tecla(int& KeyAscii, const QString& modo) {
    salvo_ = false;
    KeyAscii = Filtra_Tecla(KeyAscii, modo);
}

void Parametr::TxtRazao_KeyPress(int& KeyAscii) { Tecla(KeyAscii, QStringLiteral("M")); }
void Parametr::TxtCodigo_KeyPress(int& KeyAscii) { Tecla(KeyAscii, QStringLiteral("I")); }
void Parametr::TxtSetor_KeyPress(int& KeyAscii) { Tecla(KeyAscii, QStringLiteral("M")); }
void Parametr::TxtCongregacao_KeyPress(int& KeyAscii) { Tecla(KeyAscii, QStringLiteral("M")); }
void Parametr::TxtAno_KeyPress(int& KeyAscii) { Tecla(KeyAscii, QStringLiteral("I")); }
void Parametr::TxtBanco_KeyPress(int& KeyAscii) { Tecla(KeyAscii, QStringLiteral("M")); }
void Parametr::TxtAgencia_KeyPress(int& KeyAscii) { Tecla(KeyAscii, QStringLiteral("M")); }
void Parametr::TxtConta_KeyPress(int& KeyAscii) { Tecla(KeyAscii, QStringLiteral("M")); }
