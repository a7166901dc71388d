#pragma once
// What the central system holds of this church's transmitted cash book,
// month by month over a range of years: entries, outflows, balance and the
// number of central rows, or the notice that the month was not sent. It
// only reads.
#include "common/Numeros.h"
#include "platform/Controles.h"
#include "platform/Form.h"

class Transmit : public Form {
    Q_OBJECT
public:
    Transmit();

    Label* LblAnoI = nullptr;
    TextBox* TxtAnoI = nullptr;
    Label* LblAnoF = nullptr;
    TextBox* TxtAnoF = nullptr;
    CommandButton* CmdConsulta = nullptr;
    ListBox* LstLivroCx = nullptr;
    Label* LblRegs = nullptr;
    Label* LblKwe = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void CmdConsulta_Click();

    // The latest year the boxes accept: four digits.
    static constexpr int AnoMaximo = 9999;

private:
    // The list's row of a month: "MM/YYYY " and, when the central system
    // holds rows of it, the entries, the outflows and the balance in 12
    // columns each and the row count in 5; otherwise the notice. 49
    // characters either way.
    static QString Linha_Mes(int mes, int ano, Dinheiro entradas, Dinheiro saidas, qint64 registros);
    static const QString NaoTransmitidos;
    void monta_Tela();
    void Carrega_Lancamentos(int iAnoi, int iAnoF);
    void Conta_Regs();

    bool consultando_ = false;
    bool interrompe_ = false;  // the form is closing: stop after the month in hand
};
