#include "printing/Envelope.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "printing/PainelImpressao.h"
#include <QScopedValueRollback>

namespace {
const QColor Amarelo(0xFF, 0xFF, 0x00);
constexpr int LarguraNome = 50;
constexpr int LarguraRI = 10;
constexpr int LarguraCargo = 3;

using Twips::Posiciona;
}  // namespace

namespace Linha_Envelope {

QString Monta(const QString& nome, const QString& ri, const QString& abreviado) {
    const QString E = QStringLiteral("E");
    return Formata_Texto(nome, LarguraNome, E) + Formata_Texto(ri, LarguraRI, E) +
           Formata_Texto(abreviado, LarguraCargo, E);
}

Linha Le(const QString& linha) {
    return {Apara(Caracteres::Meio(linha, 0, LarguraNome)), Apara(Caracteres::Meio(linha, LarguraNome, LarguraRI)),
            Apara(Caracteres::Meio(linha, LarguraNome + LarguraRI, LarguraCargo))};
}

}  // namespace Linha_Envelope

Envelope::Envelope() : Form(QStringLiteral("Envelope"), true) {
    setCaption(QStringLiteral(" Impressão de Envelopes de Dízimo"));
    monta_Tela();
}

void Envelope::monta_Tela() {
    Pinta_Fundo(this);

    LblLista = Rotulo(this, QStringLiteral("Dizimistas Cadastrados"), 120, 60, 4000);
    LstEnvelope = new ListBox(this);
    LstEnvelope->setSorted(true);
    LstEnvelope->setMultiSelect(1);
    LstEnvelope->setFont(Fonte_Lista(9.75));
    LstEnvelope->setUniformItemSizes(true);
    Posiciona(LstEnvelope, 60, 600, Largura_Lista(LstEnvelope, Linha_Envelope::Largura), 4800);
    Cabecalho_Lista(this, LstEnvelope, QStringLiteral("Nome"), 1, false, 360, Amarelo);
    Cabecalho_Lista(this, LstEnvelope, QStringLiteral("R.I."), LarguraNome + 1, false, 360, Amarelo);
    Cabecalho_Lista(this, LstEnvelope, QStringLiteral("Cargo"), LarguraNome + LarguraRI + 1, false, 360, Amarelo);

    const int abaixo = Twips::DePixelY(LstEnvelope->geometry().bottom()) + 60;
    const int largura = Twips::DePixelX(LstEnvelope->geometry().right()) + 60;
    LblRegs = Rotulo(this, QString(), largura - 3060, abaixo, 3000);
    LblRegs->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // The selection's two boxes on the left, the model beside them.
    ChkMarca = new CheckBox(QStringLiteral("Marca / Desmarca Todos Dizimistas"), this);
    ChkDesmarca = new CheckBox(QStringLiteral("Desmarcar item após Imprimir"), this);
    OptAmarelo = new OptionButton(QStringLiteral("Envelope Amarelo"), this);
    OptPardo = new OptionButton(QStringLiteral("Envelope Pardo"), this);
    Posiciona(ChkMarca, 120, abaixo + 300, 4400, 315);
    Posiciona(ChkDesmarca, 120, abaixo + 630, 4400, 315);
    Posiciona(OptAmarelo, largura - 2760, abaixo + 300, 2700, 315);
    Posiciona(OptPardo, largura - 2760, abaixo + 630, 2700, 315);
    for (CheckBox* c : {ChkMarca, ChkDesmarca}) c->setForeColor(Amarelo);
    for (OptionButton* o : {OptAmarelo, OptPardo}) o->setForeColor(Amarelo);
    ChkDesmarca->setValue(1);
    OptAmarelo->setValue(true);

    // The year, the offsets and the print button on one line.
    const int linha = abaixo + 1080;
    LblAno = Rotulo(this, QStringLiteral("Ano de Referência"), 120, linha, 1800);
    TxtAno = new TextBox(this);
    TxtAno->setMaxLength_(4);
    TxtAno->setAlignment(Qt::AlignRight);
    Posiciona(TxtAno, 120, linha + 255, 1200, 360);
    Monta_Deslocamentos(this, 2100, linha, largura - 1020, QStringLiteral("Imprime os Envelopes dos Dizimistas Marcados"), LblLeft,
                        TxtLeft, LblTop, TxtTop, CmdImprime);

    setTamanhoCliente(largura, linha + 780);

    ChkMarca->Click = [this] { ChkMarca_Click(); };
    CmdImprime->Click = [this] { CmdImprime_Click(); };

    setTabOrder(LstEnvelope, ChkMarca);
    setTabOrder(ChkMarca, ChkDesmarca);
    setTabOrder(ChkDesmarca, OptAmarelo);
    setTabOrder(OptAmarelo, OptPardo);
    setTabOrder(OptPardo, TxtAno);
    setTabOrder(TxtAno, TxtLeft);
    setTabOrder(TxtLeft, TxtTop);
    setTabOrder(TxtTop, CmdImprime);
}

// ---------------------------------------------------------------------------
// The list

void Envelope::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    TxtAno->setText_(QString::number(Relogio::Hoje().year()));
    Carrega_Lancamentos();
}

void Envelope::Carrega_Lancamentos() {
    const Screen::Ampulheta ampulheta;
    LstEnvelope->Clear();
    RecordsetPtr rs;
    bool ok = Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqDizimos"), QStringList{Param[1], QString()}); });
    if (!ok) return;
    // A tither whose name, number or position is Null is listed with it
    // empty, like any other: none goes missing from the envelopes.
    QStringList linhas;
    linhas.reserve(rs->RecordCount());
    while (ok && !rs->Eof()) {
        ok = Tenta([&] {
            linhas.append(Linha_Envelope::Monta(rs->Texto(QStringLiteral("Nome")), rs->Texto(QStringLiteral("RI")),
                                                rs->Texto(QStringLiteral("Abreviado"))));
        });
        if (ok) ok = Tenta([&] { rs->MoveNext(); });
    }
    // Given up after an error, the rows read so far stay, without a count.
    LstEnvelope->AddItems(linhas);
    if (ok) Conta_Regs();
}

void Envelope::Conta_Regs() { Conta_Registros(LblRegs, LstEnvelope); }

void Envelope::ChkMarca_Click() { LstEnvelope->SelecionaTodos(ChkMarca->Value() == 1); }

QString Envelope::Cargo(const QString& sSigla) {
    static const std::pair<QString, QString> cargos[] = {
        {QStringLiteral("CG"), QStringLiteral("CONGREGADO(A)")}, {QStringLiteral("MB"), QStringLiteral("MEMBRO(A)")},
        {QStringLiteral("CP"), QStringLiteral("COOPERADOR(A)")}, {QStringLiteral("DC"), QStringLiteral("DIÁCONO(NISA)")},
        {QStringLiteral("PB"), QStringLiteral("PRESBÍTERO")},    {QStringLiteral("EV"), QStringLiteral("EVANGELISTA")},
        {QStringLiteral("PR"), QStringLiteral("PASTOR")},        {QStringLiteral("MS"), QStringLiteral("MISSIONÁRIA")},
    };
    for (const auto& [sigla, nome] : cargos)
        if (sSigla == sigla) return nome;
    return QStringLiteral("N/C");
}

QString Envelope::Espaca(const QString& sTexto) {
    QString r;
    const qsizetype n = Caracteres::Conta(sTexto);
    for (qsizetype i = 0; i < n; ++i) r += Caracteres::Meio(sTexto, i, 1) + QLatin1Char(' ');
    return r;
}

void Envelope::Busca_Bco_Ag_Cta() {
    const RecordsetPtr rs = Abre_Query(QStringLiteral("ProcPesqBcoAgCta"), QStringList{Param[1], QString()});
    if (rs->Eof()) {
        banco_ = agencia_ = conta_ = QStringLiteral("N / C");
        return;
    }
    banco_ = rs->Texto(QStringLiteral("Banco"));
    agencia_ = rs->Texto(QStringLiteral("Agencia"));
    conta_ = rs->Texto(QStringLiteral("Conta"));
}

// ---------------------------------------------------------------------------
// The print

void Envelope::CmdImprime_Click() {
    if (imprimindo_) return;
    if (MsgBox(QStringLiteral("Prepare a Impressora com Envelopes. Tudo OK ?"), vbYesNo + vbQuestion,
               Titulo_Atencao()) != vbYes)
        return;
    if (OptAmarelo->Value()) Imprime_Envelope_Amarelo();
    else if (OptPardo->Value()) Imprime_Envelope_Pardo();
}

void Envelope::Form_Unload(int& Cancel) {
    if (imprimindo_) {
        // The run stops after the envelope being printed, then closes the
        // form: nothing is cut off halfway.
        fechar_ = true;
        Cancel = 1;
        return;
    }
    Fecha_Efeito(this);
}
