#pragma once
// The remittances sent to the head church in the working month: day and
// value of each, and the month's sum.
#include "common/Numeros.h"
#include "platform/Controles.h"
#include "platform/Form.h"

class Remessas : public Form {
    Q_OBJECT
public:
    Remessas();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    Label* LblDia = nullptr;
    TextBox* TxtDia = nullptr;
    Label* LblValor = nullptr;
    TextBox* TxtValor = nullptr;
    Label* LblSaldo = nullptr;
    TextBox* TxtSaldo = nullptr;
    TextBox* TxtCodigo = nullptr;  // hidden: the next row key while saving
    CommandButton* CmdEnvia = nullptr;
    ListBox* LstRemessas = nullptr;
    Label* LblRegs = nullptr;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;

    void CboMesAno_LostFocus();
    void CmdEnvia_Click();
    void LstRemessas_DblClick();
    void LstRemessas_KeyUp(int& KeyCode, int Shift);
    void TxtDia_KeyPress(int& KeyAscii);
    void TxtDia_LostFocus();
    void TxtValor_KeyPress(int& KeyAscii);
    void TxtValor_LostFocus();

private:
    void Carrega_Lancamentos();
    void Adiciona_Linha(int dia, const Dinheiro& valor, qint64 codigo);
    bool Salva();
    bool Deleta_Lancamento(qint64 iCodigo, int indice);
    void Limpa_Campos_Remessa();
    void Limpa_Tudo();
    void Conta_Regs();
    void Calcula_Saldo();
};
