#pragma once
// The month's cash book on its way to the central system: the rows of the
// working month, their totals, the check of every row for what the
// central system must not receive, and the send, allowed only after a
// check that found nothing blocking the very rows still stored.
#include "platform/Controles.h"
#include "platform/Form.h"

class ExpMirava : public Form {
    Q_OBJECT
public:
    ExpMirava();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    ListBox* LstLivroCx = nullptr;
    Label* LblRegs = nullptr;
    Label* LblEntradas = nullptr;
    Label* LblSaidas = nullptr;
    Label* LblSaldo = nullptr;
    TextBox* TxtEntradas = nullptr;
    TextBox* TxtSaidas = nullptr;
    TextBox* TxtSaldo = nullptr;
    CommandButton* CmdValida = nullptr;
    CommandButton* CmdExcel = nullptr;
    CommandButton* CmdCancela = nullptr;
    Label* LblIrregulares = nullptr;
    ListBox* LstIrregulares = nullptr;
    Label* LblMensagem = nullptr;
    Label* LblAndamento = nullptr;
    Label* LblAndam = nullptr;
    Label* LblProgresso = nullptr;
    Label* LblRegAnd = nullptr;
    Label* LblCaixa = nullptr;
    ComboBox* CboCaixa = nullptr;
    Label* LblKwe = nullptr;
    ::Timer* Timer = nullptr;

    // True only after a check that ran to its end with nothing blocking.
    bool Lancamentos_Validados = false;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CmdValida_Click();
    void CmdExcel_Click();
    void Timer_Timer();

    // The send of the checked month into the central table; true when the
    // month reached the central system and was recorded. Not built yet:
    // it reports that nothing was sent.
    bool Envia_Dados_Mirava(const QString& tabela);

private:
    void monta_Tela();
    void Carrega_Mes();
    void Calcula_Saldo();
    void Conta_Regs();
    void Valida_Lancamentos();
    void Mensag(const QString& sText);
    // Whether the list still holds the month as stored, for the month the
    // parameters name now. Errors are raised.
    bool Lista_Atual() const;

    bool carregado_ = false;       // the last load completed
    QString codIg_, ano_, mes_;    // the month the list was loaded for
    bool emCurso_ = false;         // a check runs
    bool fechar_ = false;          // the form was closed during a check
};
