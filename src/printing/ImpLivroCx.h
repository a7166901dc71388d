#pragma once
// The month's closing of the cash book: the working month's entries and,
// for the head of a sector or region, its congregations' figures, the
// month's totals over the previous balance typed here, and the printout
// over the A4 form, allowed only for a transmitted month and only for the
// very rows still stored.
#include "common/Numeros.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "printing/RelatorioLivroCaixa.h"
#include <functional>

class ImpLivroCx : public Form {
    Q_OBJECT
public:
    ImpLivroCx();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    ListBox* LstLivroCx = nullptr;
    Label* LblRegs = nullptr;
    Label* LblSalAnt = nullptr;
    TextBox* TxtSalAnt = nullptr;
    Label* LblEntradas = nullptr;
    TextBox* TxtEntradas = nullptr;
    Label* LblSaidas = nullptr;
    TextBox* TxtSaidas = nullptr;
    Label* LblRemessas = nullptr;
    TextBox* TxtRemessas = nullptr;
    Label* LblSaldo = nullptr;
    TextBox* TxtSaldo = nullptr;
    Label* LblLeft = nullptr;
    TextBox* TxtLeft = nullptr;
    Label* LblTop = nullptr;
    TextBox* TxtTop = nullptr;
    CommandButton* CmdImprime = nullptr;
    ::Timer* Timer = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void TxtSalAnt_LostFocus();
    void Timer_Timer();
    void CmdImprime_Click();

    // The month's remittances to the head church (0 when none). Errors are
    // raised to the caller.
    Dinheiro Valor_Remessa();
    // Whether the working month has been transmitted.
    bool Transmitiu();

    // The printout the click starts; tests put their own here.
    std::function<bool(const Fechamento_Mensal&)> Imprime = Imprime_Mov_Mensal;

private:
    void monta_Tela();
    void Carrega_Mes();
    void Calcula_Saldo();
    void Conta_Regs();
    // The typed previous balance; 0 when the text is not an amount.
    Dinheiro Saldo_Anterior() const;
    // Whether the form holds, whole, what is stored now for the month the
    // parameters name now. Errors are raised.
    bool Dados_Atuais();
    // At the click: true when what is shown may be printed; otherwise the
    // month is loaded again (the typed boxes kept) and the user told so.
    bool Confere_Dados();

    bool carregado_ = false;  // the last load completed
    bool calculado_ = false;  // and its totals too
    QString codIg_, ano_, mes_, tipo_;  // what the list was loaded for
    Dinheiro remessas_;                 // the remittances as the month was loaded
    Dinheiro remessasMostradas_;        // the remittances the totals show
    bool imprimindo_ = false;           // a click is between its questions or printing
};
