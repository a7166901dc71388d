#pragma once
// The month's tithers: who paid tithes in the working month, read from the
// cash book at every load, with or without their positions, and two
// printouts: the month's list, and the yearly grid of the registered
// tithers, which replaces the list with the register while it prints.
#include "common/ListaDizimistas.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include <optional>

class Dizimistas : public Form {
    Q_OBJECT
public:
    Dizimistas();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    CheckBox* ChkCargo = nullptr;
    CommandButton* CmdImprime = nullptr;
    CommandButton* CmdMes = nullptr;
    Label* LblLista = nullptr;
    ListBox* LstDizimistas = nullptr;
    Label* LblRegs = nullptr;
    Label* LblKwe = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void ChkCargo_Click();
    void CmdImprime_Click();
    void CmdMes_Click();

private:
    void monta_Tela();
    // The month's list, reloaded; true for a complete load.
    bool Carrega_Lancamentos();
    // The register's tithers into the list; true for a complete load.
    bool Carrega_Dados();
    void Conta_Regs();

    // The month the list was last loaded for, whole; none after a load
    // given up or while the list holds the register.
    std::optional<Dizimistas_Mes::Mes> mes_;
    bool imprimindo_ = false;  // a click is loading or printing
};
