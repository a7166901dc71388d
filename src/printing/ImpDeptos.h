#pragma once
// The month's closing of one department's ledger: the department chosen,
// its rows of the working month in a sorted list with their totals, and
// the printout over the A4 form with the department in its header and
// its running balance in every footer.
#include "common/LinhaLista.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include <QString>
#include <vector>

// What the form hands to the printout: the list's rows as they stand, with
// their values (the 10-character cell cannot show every amount), and the
// department the list was loaded for.
struct Fechamento_Depto {
    std::vector<Linha_Lista::Linha> linhas;  // Linha_Lancamento_Depto rows
    qint64 codigo = 0;
    QString nome;
    QString deslocaEsquerda;  // the offset boxes' texts, in millimetres
    QString deslocaTopo;
};

// Prints the department's closing on the program's printer. True when the
// job was sent whole.
bool Imprime_Fechamento_Depto(const Fechamento_Depto& dados);

class ImpDeptos : public Form {
    Q_OBJECT
public:
    ImpDeptos();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    Label* LblDepto = nullptr;
    ComboBox* CboDepto = nullptr;
    ListBox* LstDeptos = nullptr;
    Label* LblRegs = nullptr;
    Label* LblEntradas = nullptr;
    TextBox* TxtEntradas = nullptr;
    Label* LblSaidas = nullptr;
    TextBox* TxtSaidas = nullptr;
    Label* LblSaldo = nullptr;
    TextBox* TxtSaldo = nullptr;
    Label* LblLeft = nullptr;
    TextBox* TxtLeft = nullptr;
    Label* LblTop = nullptr;
    TextBox* TxtTop = nullptr;
    CommandButton* CmdImprime = nullptr;
    Label* LblKwe = nullptr;
    ::Timer* Timer = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CboDepto_Click();
    void Timer_Timer();
    void CmdImprime_Click();

private:
    void monta_Tela();
    // True when every row was read and the totals computed.
    bool Carrega_Lancamentos();
    void Calcula_Saldo();
    void Conta_Regs();

    qint64 codigo_ = 0;            // the department the list holds
    QString nome_;
    bool imprimindo_ = false;      // a click is between its questions or printing
};
