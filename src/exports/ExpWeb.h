#pragma once
// The month's tithers on a TV or a monitor: the list of the working
// month's tithers, with or without their positions, and the page written
// from it into a folder the user picks, which a web browser then shows
// full screen with the names scrolling upward.
#include "common/ListaDizimistas.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "platform/ListasArquivos.h"
#include <optional>

class ExpWeb : public Form {
    Q_OBJECT
public:
    ExpWeb();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    CheckBox* ChkCargo = nullptr;
    CommandButton* CmdGrava = nullptr;
    Label* LblLista = nullptr;
    ListBox* LstExpWeb = nullptr;
    Label* LblRegs = nullptr;
    Label* LblKwe = nullptr;
    Frame* Fra_Igrejas = nullptr;
    Label* LblDisco = nullptr;
    DriveListBox* Drv_Termo = nullptr;
    Label* LblPastas = nullptr;
    DirListBox* Dir_Termo = nullptr;
    Label* LblArq = nullptr;
    TextBox* TxtArq = nullptr;
    CommandButton* Cmd_Transp = nullptr;
    CommandButton* Cmd_Fechar = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void ChkCargo_Click();
    void CmdGrava_Click();
    void Cmd_Fechar_Click();
    void Drv_Termo_Change();
    void Dir_Termo_Change();
    void Cmd_Transp_Click();
    void Exporta_ExpWeb();

private:
    void monta_Tela();
    void monta_Quadro();
    // The month's list, reloaded; true for a complete load.
    bool Carrega_Lancamentos();
    void Conta_Regs();

    // The month the list was last loaded for, whole; none after a load
    // given up.
    std::optional<Dizimistas_Mes::Mes> mes_;
};
