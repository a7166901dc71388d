#pragma once
// The working month's figures of each congregation of the sector: its
// entries, its outflows and four expenses within them, one row per
// congregation.
#include "common/Numeros.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include <array>

class TotaisIgrejas : public Form {
    Q_OBJECT
public:
    TotaisIgrejas();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    Label* LblSetor = nullptr;
    ComboBox* CboIgreja = nullptr;
    Label* LblEntradas = nullptr;
    TextBox* TxtEntradas = nullptr;
    Label* LblSaidas = nullptr;
    TextBox* TxtSaidas = nullptr;
    Label* LblAluguel = nullptr;
    TextBox* TxtAluguel = nullptr;
    Label* LblAgua = nullptr;
    TextBox* TxtAgua = nullptr;
    Label* LblLuz = nullptr;
    TextBox* TxtLuz = nullptr;
    Label* LblPrebenda = nullptr;
    TextBox* TxtPrebenda = nullptr;
    TextBox* TxtCodigo = nullptr;  // hidden: the next row key while saving
    CommandButton* CmdEnvia = nullptr;
    ListBox* LstIgrejas = nullptr;
    Label* LblRegs = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CmdEnvia_Click();
    void LstIgrejas_DblClick();
    void LstIgrejas_KeyUp(int& KeyCode, int Shift);
    void TxtEntradas_KeyPress(int& KeyAscii);
    void TxtSaidas_KeyPress(int& KeyAscii);
    void TxtAluguel_KeyPress(int& KeyAscii);
    void TxtAgua_KeyPress(int& KeyAscii);
    void TxtLuz_KeyPress(int& KeyAscii);
    void TxtPrebenda_KeyPress(int& KeyAscii);
    void TxtEntradas_LostFocus();
    void TxtSaidas_LostFocus();
    void TxtAluguel_LostFocus();
    void TxtAgua_LostFocus();
    void TxtLuz_LostFocus();
    void TxtPrebenda_LostFocus();

private:
    void monta_Tela();
    std::array<TextBox*, 6> Valores() const;
    std::array<Label*, 6> Rotulos() const;
    void Carrega_Lancamentos();
    void Adiciona_Linha(const QString& nome, const std::array<Dinheiro, 6>& valores, qint64 congrega,
                        qint64 codigo);
    bool Salva();
    bool Existe_na_Lista() const;
    bool Valida_Valores();
    bool Deleta_Lancamento(qint64 iCodigo, int indice);
    void Limpa_Campos_TotIgrejas();
    void Limpa_Tudo();
    void Conta_Regs();
};
