#pragma once
// Tithe envelopes: the church's registered tithers in a sorted list, the
// rows the user selects printed one envelope per print job, on the yellow
// model (labels, heading, bank data and the membership number as a Code 39
// barcode) or on the brown one, in batches counted by a question.
#include "platform/Controles.h"
#include "platform/Form.h"
#include <QString>

// A tither's row of the list, 63 characters: name (50), membership number
// (10) and position abbreviation (3), each left-aligned, padded and cut to
// its width. The envelopes print what the row shows, read back here.
namespace Linha_Envelope {
inline constexpr int Largura = 63;
QString Monta(const QString& nome, const QString& ri, const QString& abreviado);
struct Linha {
    QString nome;       // columns 1-50, trimmed
    QString ri;         // columns 51-60, trimmed
    QString abreviado;  // columns 61-63, trimmed
};
Linha Le(const QString& linha);
}  // namespace Linha_Envelope

// What one envelope prints, as read when its turn comes.
struct Dados_Envelope {
    Linha_Envelope::Linha dizimista;
    QString ano;          // the reference year, trimmed
    QString congregacao;  // sector or region, " / ", congregation
    QString banco, agencia, conta;  // the yellow model's bank lines
    QString deslocaTopo, deslocaEsquerda;  // the offset boxes' texts, in millimetres
};

// One envelope's items on the program's printer, the printer set up
// first; called inside a print job (TrabalhoImpressao.h).
void Imprime_Amarelo(const Dados_Envelope& d);
void Imprime_Pardo(const Dados_Envelope& d);

class Envelope : public Form {
    Q_OBJECT
public:
    Envelope();

    Label* LblLista = nullptr;
    ListBox* LstEnvelope = nullptr;
    Label* LblRegs = nullptr;
    CheckBox* ChkMarca = nullptr;
    CheckBox* ChkDesmarca = nullptr;
    OptionButton* OptAmarelo = nullptr;
    OptionButton* OptPardo = nullptr;
    Label* LblAno = nullptr;
    TextBox* TxtAno = nullptr;
    Label* LblLeft = nullptr;
    TextBox* TxtLeft = nullptr;
    Label* LblTop = nullptr;
    TextBox* TxtTop = nullptr;
    CommandButton* CmdImprime = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void ChkMarca_Click();
    void CmdImprime_Click();

    // The printed name of a position's abbreviation, compared exactly:
    // "PR" is "PASTOR", "pr" and "" are "N/C".
    static QString Cargo(const QString& sSigla);
    // Every character followed by one blank: "123" gives "1 2 3 ".
    static QString Espaca(const QString& sTexto);

    // The print runs of the two models (EnvelopeImpressao.cpp).
    void Imprime_Envelope_Amarelo();
    void Imprime_Envelope_Pardo();

private:
    void monta_Tela();
    void Carrega_Lancamentos();
    void Conta_Regs();
    void Busca_Bco_Ag_Cta();
    void Imprime_Envelopes(bool amarelo);
    // The batch size answered, or none when the user gave up on an error.
    bool Pergunta_Lote(qint16& lote);
    Dados_Envelope Dados(int linha) const;

    QString banco_, agencia_, conta_;
    bool imprimindo_ = false;  // a run (or its first question) is under way
    bool fechar_ = false;      // the form was closed during a run
};
