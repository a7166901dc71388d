#pragma once
// The register of histories: offering services, tithers with their
// membership number and position, and the outflow accounts (read-only,
// they come from the register download).
#include "platform/Controles.h"
#include "platform/Form.h"
#include <QHash>
#include <optional>

class Descricoes : public Form {
    Q_OBJECT
public:
    Descricoes();

    OptionButton* OptOfertas = nullptr;
    OptionButton* OptDizimos = nullptr;
    OptionButton* OptSaidas = nullptr;
    Label* LblText = nullptr;
    TextBox* TxtDescricao = nullptr;
    Label* LblRI = nullptr;
    TextBox* TxtRI = nullptr;
    Label* LblCargo = nullptr;
    ComboBox* CboCargo = nullptr;
    CheckBox* ChkCargos = nullptr;
    CommandButton* CmdEnvia = nullptr;
    TextBox* TxtCodigo = nullptr;
    Label* LblList = nullptr;
    ListBox* LstDescricao = nullptr;
    Label* LblRegs = nullptr;
    ::Timer* Timer = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CmdEnvia_Click();
    void LstDescricao_DblClick();
    void LstDescricao_KeyUp(int& KeyCode, int Shift);
    void OptOfertas_Click();
    void OptDizimos_Click();
    void OptSaidas_Click();
    void OptOfertas_MouseDown();
    void OptDizimos_MouseDown();
    void OptSaidas_MouseDown();
    void ChkCargos_Click();
    void CboCargo_LostFocus();
    void TxtDescricao_KeyPress(int& KeyAscii);
    void TxtDescricao_KeyUp(int& KeyCode, int Shift);
    void Timer_Timer();

private:
    void Carrega_Dados();
    void Seta_Label();
    void Seta_Tela(bool bTrue_False);
    void Conta_Regs();
    void Valida_Saida();
    void Deleta_Historico(const QString& sTipo = QStringLiteral("N"));
    void Salva_Oferta();
    void Salva_Dizimista();
    // The next key from `proximo` and the insert `insercao` with it in front
    // of `parametros`; the key once stored, none when the user gave up.
    std::optional<qint64> Insere_Com_Proximo(const QString& proximo, const QString& insercao, QStringList parametros);
    void Acrescenta_Gravado(const QString& linha, qint64 codigo);
    void Limpa_Campos();
    void Pesquisa();

    // Name and membership number of each listed tither as stored, by code:
    // a correction takes them back whole, not as cut to the row's columns.
    struct Dizimista {
        QString nome;
        QString ri;
    };
    QHash<qint64, Dizimista> dizimistas_;
};
