#pragma once
// The church's departments: a name under a key, which the department
// ledger's entries refer to.
#include "platform/Controles.h"
#include "platform/Form.h"
#include <optional>

class Departamentos : public Form {
    Q_OBJECT
public:
    Departamentos();

    Label* LblText = nullptr;
    TextBox* TxtDepto = nullptr;
    TextBox* TxtCodigo = nullptr;  // hidden: the key being saved
    CommandButton* CmdEnvia = nullptr;
    Label* LblList = nullptr;
    ListBox* LstDepto = nullptr;
    Label* LblRegs = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CmdEnvia_Click();
    void LstDepto_Click();
    void LstDepto_DblClick();
    void LstDepto_KeyUp(int& KeyCode, int Shift);
    void TxtCodigo_KeyPress(int& KeyAscii);
    void TxtDepto_KeyPress(int& KeyAscii);
    void TxtCodigo_LostFocus();

private:
    void Carrega_Departamentos();
    void Limpa_Campos_Deptos();
    void Limpa_Tudo();
    bool Deleta_Departamento(qint64 iCod);
    void Conta_Regs();
    int Valida_Dados(const QString& sMsg);
    int Linha_Do_Codigo(qint64 codigo) const;

    // The department taken back for correction: the save keeps its key.
    std::optional<qint64> correcao_;
};
