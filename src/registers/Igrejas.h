#pragma once
// The congregations that make up the sector of a head church: name,
// official code and calculation type, in a list kept in code order.
#include "platform/Controles.h"
#include "platform/Form.h"

class Igrejas : public Form {
    Q_OBJECT
public:
    Igrejas();

    Label* LblText = nullptr;
    TextBox* TxtDescricao = nullptr;
    Label* LblCodigo = nullptr;
    TextBox* TxtCodigo = nullptr;
    Label* LblTipo = nullptr;
    ComboBox* CboTipo = nullptr;
    CommandButton* CmdEnvia = nullptr;
    Label* LblList = nullptr;
    ListBox* LstIgreja = nullptr;
    Label* LblRegs = nullptr;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;

    void CmdEnvia_Click();
    void LstIgreja_DblClick();
    void LstIgreja_KeyUp(int& KeyCode, int Shift);
    void LstIgreja_Click();
    void TxtDescricao_KeyPress(int& KeyAscii);

private:
    void Carrega_Igrejas();
    void Limpa_Campos_Igreja();
    void Limpa_Tudo();
    bool Deleta_Lancamento(qint64 codigo);
    void Conta_Regs();
    // Something typed, which a closing or a row taken back would lose.
    bool Em_Edicao() const;
    bool Salva();
};
