#pragma once
// The agenda of financial commitments of the working month: a day and what
// is due on it. The day's notices read today's entries.
#include "platform/Controles.h"
#include "platform/Form.h"

class Agenda : public Form {
    Q_OBJECT
public:
    Agenda();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    Label* LblDia = nullptr;
    TextBox* TxtDia = nullptr;
    Label* LblCompromisso = nullptr;
    TextBox* TxtCompromisso = nullptr;
    CommandButton* CmdEnvia = nullptr;
    ListBox* LstAgenda = nullptr;
    Label* LblRegs = nullptr;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;

    void CmdEnvia_Click();
    // Saves the typed commitment; false when refused or when its insert failed.
    bool Salva();
    void CboMesAno_LostFocus();
    void LstAgenda_Click();
    void LstAgenda_DblClick();
    void LstAgenda_KeyUp(int& KeyCode, int Shift);
    void TxtDia_KeyPress(int& KeyAscii);
    void TxtDia_LostFocus();
    void TxtCompromisso_KeyPress(int& KeyAscii);

private:
    void Carrega_Lancamentos();
    bool Deleta_Lancamento(const QString& sDia, const QString& sDesc);
    void Limpa_Campos_Agenda();
    void Limpa_Tudo();
    void Conta_Regs();
    // Something typed, which a closing or a row taken back would lose.
    bool Em_Edicao() const;
    QStringList parametros(const QString& dia, const QString& descricao) const;
};
