#pragma once
// The ledger of each department for the working month: entries and exits
// day by day, the month's rows in a sorted list with their totals, the
// balance carried from the months before, correction and deletion.
#include "common/Numeros.h"
#include "platform/Controles.h"
#include "platform/Form.h"

class Movto_Deptos : public Form {
    Q_OBJECT
public:
    Movto_Deptos();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    Label* LblDepto = nullptr;
    ComboBox* CboDepto = nullptr;
    OptionButton* OptEntrada = nullptr;
    OptionButton* OptSaida = nullptr;
    Label* LblDia = nullptr;
    TextBox* TxtDia = nullptr;
    Label* LblHistorico = nullptr;
    ComboBox* CboHistorico = nullptr;
    Label* LblValor = nullptr;
    TextBox* TxtValor = nullptr;
    TextBox* TxtCodigo = nullptr;  // hidden: the next entry key while saving
    CommandButton* CmdEnvia = nullptr;
    ListBox* LstDeptos = nullptr;
    Label* LblEntradas = nullptr;
    Label* LblSaidas = nullptr;
    Label* LblSaldo = nullptr;
    TextBox* TxtEntradas = nullptr;
    TextBox* TxtSaidas = nullptr;
    TextBox* TxtSaldo = nullptr;
    Label* LblRegs = nullptr;
    ::Timer* Timer = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CboDepto_Click();
    void CmdEnvia_Click();
    void LstDeptos_DblClick();
    void LstDeptos_KeyUp(int& KeyCode, int Shift);
    void OptEntrada_Click();
    void OptSaida_Click();
    void CboHistorico_KeyUp(int& KeyCode, int Shift);
    void CboHistorico_KeyPress(int& KeyAscii);
    void TxtDia_KeyPress(int& KeyAscii);
    void TxtValor_KeyPress(int& KeyAscii);
    void TxtDia_LostFocus();
    void TxtValor_LostFocus();
    void Timer_Timer();

    // "E" or "S" by the selected kind, "" with none.
    QString EntSai() const;

private:
    void monta_Tela();
    void Carrega_Lancamentos();
    void Saldo_Anterior();
    void Calcula_Saldo();
    void Conta_Regs();
    void Limpa_Campos_Deptos();
    void Limpa_Tudo();
    bool Deleta_Lancamento(qint64 iCodigo, int indice);
    void Carrega_Historico(const QString& sTipo);
    bool Salva();
    QString Depto() const;  // the chosen department's key, as text
};
