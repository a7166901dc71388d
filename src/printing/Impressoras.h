#pragma once
// The choice of the printer that the program prints on until it ends.
#include "platform/Controles.h"
#include "platform/Form.h"

class Impressoras : public Form {
    Q_OBJECT
public:
    Impressoras();

    Label* LblDispositivo = nullptr;
    ComboBox* CboPrinters = nullptr;
    CommandButton* CmdOk = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void CmdOk_Click();

private:
    void Carrega_Impressoras(ComboBox* combo);
    void Seta_Impressora(const QString& sPrinter);
};
