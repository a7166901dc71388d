#include "registers/Descricoes.h"
#include "common/Banco.h"
#include "common/Dizimo.h"
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
const QColor Amarelo(0xFF, 0xFF, 0x00);  // &HFFFF
const QColor Preto(0, 0, 0);
const QString RI_Sem_Numero = QStringLiteral("0000000000");

using Twips::Posiciona;

void Topo(QWidget* w, int topo) { w->move(w->x(), Twips::ParaPixelY(topo)); }
}  // namespace

Descricoes::Descricoes() : Form(QStringLiteral("Descricoes"), true) {
    setCaption(QStringLiteral(" Cadastro de Históricos"));
    QPalette fundo = palette();
    fundo.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    fundo.setColor(QPalette::WindowText, Qt::white);
    setPalette(fundo);
    setAutoFillBackground(true);

    OptOfertas = new OptionButton(QStringLiteral("&Ofertas"), this);
    OptDizimos = new OptionButton(QStringLiteral("&Dízimos"), this);
    OptSaidas = new OptionButton(QStringLiteral("&Saídas"), this);
    LblText = new Label(QString(), this);
    TxtDescricao = new TextBox(this);
    LblRI = new Label(QStringLiteral("Nº do R.I."), this);
    TxtRI = new TextBox(this);
    LblCargo = new Label(QStringLiteral("Cargo"), this);
    CboCargo = new ComboBox(this, 2);
    CmdEnvia = new CommandButton(QStringLiteral("&Gravar"), this);
    LblList = new Label(QString(), this);
    ChkCargos = new CheckBox(QStringLiteral("Mostra Cargos"), this);
    LstDescricao = new ListBox(this);
    LblRegs = new Label(QString(), this);
    TxtCodigo = new TextBox(this);
    Timer = new ::Timer(this, 300);

    Posiciona(OptOfertas, 240, 120, 1500, 315);
    Posiciona(OptDizimos, 1900, 120, 1500, 315);
    Posiciona(OptSaidas, 3560, 120, 1500, 315);
    Posiciona(LblText, 240, 1230, 6000, 255);
    Posiciona(TxtDescricao, 240, 1560, 8900, 315);
    Posiciona(LblRI, 240, 1395, 1500, 255);
    Posiciona(TxtRI, 240, 1650, 1500, 315);
    Posiciona(LblCargo, 1900, 1395, 4800, 255);
    Posiciona(CboCargo, 1900, 1650, 4800, 315);
    Posiciona(CmdEnvia, 9240, 1560, 795, 375);
    Posiciona(LblList, 240, 2340, 6000, 255);
    Posiciona(ChkCargos, 7800, 2310, 2235, 315);
    Posiciona(LstDescricao, 240, 2640, 9795, 4005);
    Posiciona(LblRegs, 7035, 6735, 3000, 255);
    LblRegs->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    TxtCodigo->hide();
    setTamanhoCliente(10275, 7110);

    TxtDescricao->setMaxLength_(50);
    TxtRI->setMaxLength_(8);
    TxtCodigo->setMaxLength_(8);
    LstDescricao->setSorted(true);
    LstDescricao->setFont(QFont(QStringLiteral("Courier New"), 9));
    // Accented capitals rise above the fixed-pitch font's line and would be
    // cut at the top of their row.
    for (OptionButton* o : {OptOfertas, OptDizimos, OptSaidas}) o->setForeColor(Amarelo);
    ChkCargos->setForeColor(Amarelo);
    // Chosen at design, before any handler is attached.
    OptOfertas->setValue(true);

    CmdEnvia->Click = [this] { CmdEnvia_Click(); };
    LstDescricao->DblClick = [this] { LstDescricao_DblClick(); };
    LstDescricao->KeyUp = [this](int& k, int s) { LstDescricao_KeyUp(k, s); };
    OptOfertas->Click = [this] { OptOfertas_Click(); };
    OptDizimos->Click = [this] { OptDizimos_Click(); };
    OptSaidas->Click = [this] { OptSaidas_Click(); };
    OptOfertas->MouseDown = [this] { OptOfertas_MouseDown(); };
    OptDizimos->MouseDown = [this] { OptDizimos_MouseDown(); };
    OptSaidas->MouseDown = [this] { OptSaidas_MouseDown(); };
    ChkCargos->Click = [this] { ChkCargos_Click(); };
    CboCargo->LostFocus = [this] { CboCargo_LostFocus(); };
    TxtDescricao->KeyPress = [this](int& k) { TxtDescricao_KeyPress(k); };
    TxtDescricao->KeyUp = [this](int& k, int s) { TxtDescricao_KeyUp(k, s); };
    Timer->Tick = [this] { Timer_Timer(); };
}

void Descricoes::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Carrega_Combo(CboCargo, QStringLiteral("ProcPesqCargos"), QStringLiteral("Descr"), QStringLiteral("Codigo"));
    Seta_Label();
    Timer->setEnabled(true);
}

void Descricoes::Form_Unload(int& Cancel) {
    (void)Cancel;
    Valida_Saida();
    Timer->setEnabled(false);
    Fecha_Efeito(this);
}

// ---------------------------------------------------------------------------
// Kind of history

void Descricoes::Seta_Label() {
    if (OptOfertas->Value()) {
        Seta_Tela(false);
        LblText->setCaption(QStringLiteral("Dia da Semana e Tipo de Culto"));
        LblList->setCaption(QStringLiteral("Históricos para Ofertas"));
        CmdEnvia->setEnabled(true);
        ChkCargos->setVisible(false);
    } else if (OptDizimos->Value()) {
        Seta_Tela(true);
        LblText->setCaption(QStringLiteral("Nome Completo da Pessoa"));
        LblList->setCaption(QStringLiteral("Históricos para Dízimos"));
        CmdEnvia->setEnabled(true);
        ChkCargos->setVisible(true);
    } else if (OptSaidas->Value()) {
        Seta_Tela(false);
        LblText->setCaption(QStringLiteral("Descreva a Despesa"));
        LblList->setCaption(QStringLiteral("Históricos para Saídas"));
        CmdEnvia->setEnabled(false);
        ChkCargos->setVisible(false);
    }
    Carrega_Dados();
}

void Descricoes::Seta_Tela(bool bTrue_False) {
    TxtDescricao->setText_(QString());
    CboCargo->setListIndex(-1);
    for (QWidget* w : std::initializer_list<QWidget*>{LblRI, TxtRI, LblCargo, CboCargo}) w->setVisible(bTrue_False);
    Topo(LblText, bTrue_False ? 660 : 1230);
    Topo(TxtDescricao, bTrue_False ? 990 : 1560);
    TxtDescricao->resize(Twips::ParaPixelX(bTrue_False ? 9795 : 8900), TxtDescricao->height());
    Topo(CmdEnvia, bTrue_False ? 1800 : 1560);
}

void Descricoes::OptOfertas_Click() { Seta_Label(); }
void Descricoes::OptDizimos_Click() { Seta_Label(); }
void Descricoes::OptSaidas_Click() { Seta_Label(); }
void Descricoes::OptOfertas_MouseDown() { Valida_Saida(); }
void Descricoes::OptDizimos_MouseDown() { Valida_Saida(); }
void Descricoes::OptSaidas_MouseDown() { Valida_Saida(); }

void Descricoes::ChkCargos_Click() {
    Carrega_Dados();
    int k = 0;
    TxtDescricao_KeyUp(k, 0);
}

// ---------------------------------------------------------------------------
// The list

void Descricoes::Carrega_Dados() {
    const Screen::Ampulheta ampulheta;
    LstDescricao->Clear();
    dizimistas_.clear();
    const QStringList parametros{Param[1], QString(), QString(), QString(), QString()};
    QString consulta;
    if (OptOfertas->Value()) consulta = QStringLiteral("ProcPesqOfertas");
    else if (OptDizimos->Value()) consulta = QStringLiteral("ProcPesqDizimos");
    else if (OptSaidas->Value()) consulta = QStringLiteral("ProcPesqSaidas");
    RecordsetPtr rs;
    if (!consulta.isEmpty() && Tenta([&] { rs = Abre_Query(consulta, parametros); })) {
        const bool dizimos = OptDizimos->Value();
        const bool comCargo = ChkCargos->Value() != 0;
        Tenta([&] {
            for (; !rs->Eof(); rs->MoveNext()) {
                const qint64 codigo = rs->Fields(QStringLiteral("Codigo")).toLongLong();
                if (dizimos) {
                    const QString nome = rs->Texto(QStringLiteral("Nome"));
                    const QString ri = rs->Texto(QStringLiteral("RI"));
                    const std::optional<QString> abreviado =
                        comCargo ? std::optional(rs->Texto(QStringLiteral("Abreviado"))) : std::nullopt;
                    const QVariant cargo = rs->Fields(QStringLiteral("Cargo"));
                    LstDescricao->AddItem(Linha_Dizimista::Monta(
                        abreviado, nome, ri, cargo.isNull() ? std::nullopt : std::optional(cargo.toLongLong())));
                    dizimistas_.insert(codigo, {nome, ri});
                } else {
                    LstDescricao->AddItem(rs->Texto(QStringLiteral("Descricao")));
                }
                LstDescricao->setItemData_(LstDescricao->NewIndex(), codigo);
            }
        });
    }
    rs.reset();
    Conta_Regs();
}

void Descricoes::Conta_Regs() {
    Conta_Registros(LblRegs, LstDescricao);
}

// ---------------------------------------------------------------------------
// Saving

void Descricoes::CmdEnvia_Click() {
    const Screen::Ampulheta ampulheta;
    if (OptOfertas->Value()) Salva_Oferta();
    else if (OptDizimos->Value()) Salva_Dizimista();
}

void Descricoes::Salva_Oferta() {
    if (!Valida_Controle(TxtDescricao, LblText, QStringLiteral("T"), QStringLiteral("S"))) return;
    const QString texto = TxtDescricao->Text();
    const std::optional<qint64> codigo =
        Insere_Com_Proximo(QStringLiteral("ProcProximoOfertas"), QStringLiteral("ProcInsOfertas"),
                           {QString(), Param[1], texto, QString(), QString()});
    if (codigo) Acrescenta_Gravado(texto, *codigo);
}

void Descricoes::Salva_Dizimista() {
    if (!Valida_Controle(TxtDescricao, LblText, QStringLiteral("T"), QStringLiteral("S"))) return;
    if (!Valida_Controle(TxtRI, LblRI, QStringLiteral("N"), QStringLiteral("S"))) return;
    if (TxtRI->Text().contains(QLatin1Char('.'))) {
        MsgBox(QStringLiteral("Informe ") + LblRI->Caption() + QStringLiteral(" somente com números"), vbInformation,
               Titulo_Atencao());
        return;
    }
    if (!Valida_Controle(CboCargo, LblCargo, QStringLiteral("L"), QStringLiteral("S"))) return;
    const QString nome = TxtDescricao->Text();
    const QString ri = TxtRI->Text();
    const qint64 cargo = CboCargo->ItemData(CboCargo->ListIndex());
    // Every value travels bound: a quote in a name is stored as typed.
    const std::optional<qint64> codigo =
        Insere_Com_Proximo(QStringLiteral("ProcProximoDizimos"), QStringLiteral("ProcInsDizimos"),
                           {QString(), Param[1], ri, nome, QString::number(cargo)});
    if (!codigo) return;
    const std::optional<QString> abreviado =
        ChkCargos->Value() != 0
            ? std::optional(Extrai_Texto(CboCargo->Text(), QStringLiteral("["), QStringLiteral("]")))
            : std::nullopt;
    dizimistas_.insert(*codigo, {nome, ri});
    Acrescenta_Gravado(Linha_Dizimista::Monta(abreviado, nome, ri, cargo), *codigo);
}

std::optional<qint64> Descricoes::Insere_Com_Proximo(const QString& proximo, const QString& insercao,
                                                     QStringList parametros) {
    // The key is read under the insert's lock: taken meanwhile by another
    // program, it would fail again at every retry.
    qint64 codigo = 0;
    const bool gravado = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        codigo = Le_Proximo_Codigo(unidade, TxtCodigo, proximo);
        parametros[0] = QString::number(codigo);
        unidade.ExecutaQuery(insercao, parametros);
    });
    if (!gravado) return std::nullopt;
    return codigo;
}

// The saved row into the list, and the fields emptied for the next one.
void Descricoes::Acrescenta_Gravado(const QString& linha, qint64 codigo) {
    LstDescricao->AddItem(linha);
    LstDescricao->setItemData_(LstDescricao->NewIndex(), codigo);
    Limpa_Campos();
    Conta_Regs();
    TxtDescricao->SetFocus();
}

void Descricoes::Limpa_Campos() {
    TxtDescricao->setText_(QString());
    TxtRI->setText_(QString());
    CboCargo->setListIndex(-1);
}

// ---------------------------------------------------------------------------
// Correction and deletion

void Descricoes::LstDescricao_DblClick() {
    if (!TxtDescricao->Text().isEmpty() &&
        MsgBox(QStringLiteral("Existe dado em edição. Confirma sobrepor?"), vbYesNo + vbQuestion, Titulo_Atencao()) ==
            vbNo)
        return;
    const Screen::Ampulheta ampulheta;
    Deleta_Historico(QStringLiteral("S"));
}

void Descricoes::LstDescricao_KeyUp(int& KeyCode, int Shift) {
    (void)Shift;
    if (KeyCode != 46) return;
    const int i = LstDescricao->ListIndex();
    if (i < 0) return;
    const QString pergunta =
        QStringLiteral("Deseja remover ") + Apara(Caracteres::Esquerda(LstDescricao->List(i), 54)) +
        QStringLiteral(" ?");
    if (MsgBox(pergunta, vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) == vbYes)
        Deleta_Historico(QStringLiteral("N"));
}

void Descricoes::Deleta_Historico(const QString& sTipo) {
    const int i = LstDescricao->ListIndex();
    if (i < 0) return;
    const bool edita = sTipo == QLatin1String("S");
    const qint64 codigo = LstDescricao->ItemData(i);
    const QString linha = LstDescricao->List(i);
    const QStringList parametros{QString::number(codigo), QString(), QString(), QString(), QString()};
    QString consulta;
    if (OptOfertas->Value()) {
        if (edita) TxtDescricao->setText_(linha);
        consulta = QStringLiteral("ProcDelOfertas");
    } else if (OptDizimos->Value()) {
        if (edita) {
            const Linha_Dizimista::Linha l = Linha_Dizimista::Le(linha);
            const auto guardado = dizimistas_.constFind(codigo);
            if (guardado != dizimistas_.constEnd()) {
                TxtDescricao->setText_(Apara(guardado->nome));
                TxtRI->setText_(Apara(guardado->ri));
            } else {
                TxtDescricao->setText_(l.nome);
                TxtRI->setText_(l.ri);
            }
            // A tither without a position code comes back without one.
            if (!l.cargo) CboCargo->setListIndex(-1);
            else Seleciona_Item_Combo(CboCargo, qlonglong(*l.cargo));
        }
        consulta = QStringLiteral("ProcDelDizimos");
    } else {
        MsgBox(QStringLiteral("Este Histórico não pode ser modificado"), vbInformation, Titulo_Atencao());
        return;
    }
    if (!Tenta([&] { Executa_Query(consulta, parametros); })) return;
    LstDescricao->RemoveItem(i);
    dizimistas_.remove(codigo);
    LstDescricao->update();
    Conta_Regs();
}

// ---------------------------------------------------------------------------
// Fields

void Descricoes::CboCargo_LostFocus() {
    const int i = CboCargo->ListIndex();
    if (i == 0 || i == 8) TxtRI->setText_(RI_Sem_Numero);
}

void Descricoes::TxtDescricao_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("M")); }

void Descricoes::TxtDescricao_KeyUp(int& KeyCode, int Shift) {
    (void)KeyCode;
    (void)Shift;
    Pesquisa();
}

// Selects the first row that begins with the typed text (the name, for
// tithers); a match near the top is first passed by seven rows, so the
// list scrolls to show the rows after it.
void Descricoes::Pesquisa() {
    const QString texto = TxtDescricao->Text().toUpper();
    const int n = LstDescricao->ListCount();
    const bool dizimos = OptDizimos->Value();
    for (int i = 0; i < n; ++i) {
        const QString linha = LstDescricao->List(i);
        const QString parte =
            dizimos ? linha.mid(Linha_Dizimista::ColunaNome - 1, texto.size()) : linha.left(texto.size());
        if (parte.toUpper() != texto) continue;
        if (i + 7 < n - 1) LstDescricao->setListIndex(i + 7);
        LstDescricao->setListIndex(i);
        return;
    }
}

void Descricoes::Valida_Saida() {
    if (OptSaidas->Value() || TxtDescricao->Text().isEmpty()) return;
    if (MsgBox(QStringLiteral("Existe dado em edição. Deseja Salvar?"), vbYesNo + vbQuestion, Titulo_Atencao()) ==
        vbYes) {
        CmdEnvia_Click();
    } else {
        Limpa_Campos();
    }
}

void Descricoes::Timer_Timer() {
    OptionButton* opcoes[] = {OptOfertas, OptDizimos, OptSaidas};
    OptionButton* escolhida = nullptr;
    for (OptionButton* o : opcoes)
        if (o->Value()) escolhida = o;
    if (!escolhida) return;
    const QColor cor = escolhida->ForeColor();
    if (cor == Amarelo) escolhida->setForeColor(Preto);
    else if (cor == Preto) escolhida->setForeColor(Amarelo);
    for (OptionButton* o : opcoes)
        if (o != escolhida) o->setForeColor(Amarelo);
}
