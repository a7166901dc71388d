#pragma once
// The installation's one parameter record: the church's code and names,
// its kind, the working month and year of every form, and its bank.
#include "platform/Controles.h"
#include "platform/Form.h"

class Parametr : public Form {
    Q_OBJECT
public:
    Parametr();

    Label* LblRazao = nullptr;
    TextBox* TxtRazao = nullptr;
    Label* LblCodigo = nullptr;
    TextBox* TxtCodigo = nullptr;
    Label* LblTipo = nullptr;
    ComboBox* CboTipo = nullptr;
    Label* LblSetor = nullptr;
    TextBox* TxtSetor = nullptr;
    Label* LblCongregacao = nullptr;
    TextBox* TxtCongregacao = nullptr;
    Label* LblMes = nullptr;
    ComboBox* CboMes = nullptr;
    TextBox* TxtAno = nullptr;
    Label* LblBanco = nullptr;
    TextBox* TxtBanco = nullptr;
    Label* LblAgencia = nullptr;
    TextBox* TxtAgencia = nullptr;
    Label* LblConta = nullptr;
    TextBox* TxtConta = nullptr;
    CommandButton* CmdGrava = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CmdGrava_Click();
    void CboTipo_Click();
    void CboMes_Click();
    void TxtRazao_KeyPress(int& KeyAscii);
    void TxtCodigo_KeyPress(int& KeyAscii);
    void TxtSetor_KeyPress(int& KeyAscii);
    void TxtCongregacao_KeyPress(int& KeyAscii);
    void TxtAno_KeyPress(int& KeyAscii);
    void TxtBanco_KeyPress(int& KeyAscii);
    void TxtAgencia_KeyPress(int& KeyAscii);
    void TxtConta_KeyPress(int& KeyAscii);

    // True while the fields hold what was last loaded or saved.
    bool Salvo() const { return salvo_; }

private:
    enum class Resultado { Gravado, Invalido, JanelaAberta, Falhou };

    void Carrega_Combo_Param();
    void Carrega_Combo_Mes();
    void Carrega_Campos();
    static void Posiciona_Combo(ComboBox* oCombo, const QString& sCodigo);
    bool Valida_Campos() const;
    bool Periodo_Mudou() const;
    Resultado Salva_Campos();
    Resultado Grava();
    void Tecla(int& KeyAscii, const QString& modo);

    bool salvo_ = true;
};
