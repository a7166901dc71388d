#pragma once
// The month's closing statement ("Termo de Constatação") of the head of a
// sector or region: the month's cash-book rows and its congregations'
// figures with their totals, the choice of the statement's workbook, and
// the run that posts the installation's own month as one of the sector's
// congregations and fills the workbook's cells, allowed only for the very
// month still stored.
#include "common/Numeros.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "platform/ListasArquivos.h"
#include <array>
#include <map>
#include <optional>
#include <vector>

class BancoLocal;
class Planilha;

class ExpTermo : public Form {
    Q_OBJECT
public:
    ExpTermo();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    ListBox* LstLivroCx = nullptr;
    Label* LblRegs = nullptr;
    Label* LblEntradas = nullptr;
    TextBox* TxtEntradas = nullptr;
    Label* LblSaidas = nullptr;
    TextBox* TxtSaidas = nullptr;
    Label* LblSaldo = nullptr;
    TextBox* TxtSaldo = nullptr;
    CommandButton* CmdExcel = nullptr;
    Frame* Fra_Igrejas = nullptr;
    Label* LblDisco = nullptr;
    DriveListBox* Drv_Termo = nullptr;
    Label* LblPastas = nullptr;
    DirListBox* Dir_Termo = nullptr;
    Label* LblArquivo = nullptr;
    FileListBox* File_Termo = nullptr;
    Label* LblArq = nullptr;
    TextBox* TxtArq = nullptr;
    CommandButton* Cmd_Transp = nullptr;
    CommandButton* Cmd_Fechar = nullptr;
    TextBox* TxtCodigo = nullptr;
    Label* LblKwe = nullptr;
    ::Timer* Timer = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void Timer_Timer();
    void CmdExcel_Click();
    void Cmd_Fechar_Click();
    void Drv_Termo_Change();
    void Dir_Termo_Change();
    void File_Termo_Click();
    void Cmd_Transp_Click();

    bool Tem_Igreja() const;

    // One remittance of the month as stored.
    struct Remessa {
        int dia = 0;
        Dinheiro valor;
        qint64 codigo = 0;
        bool operator==(const Remessa&) const = default;
    };

private:
    void monta_Tela();
    void monta_Quadro(int topo, int altura);
    void Carrega_Mes();
    void Calcula_Saldo();
    void Conta_Regs();

    // The statement (ExpTermoPlanilha.cpp).
    void Transp_Excel();
    // The two costs the cash book does not hold: the newspaper's (none
    // when left empty) and the system's. False when the user gave up.
    bool Pede_Custos(std::optional<Dinheiro>& jornal, Dinheiro& sistema);
    // What the statement writes of the month, read in the posting's own
    // unit of work: each congregation's figures by code (in the order of
    // the sheet's columns E, F, G, H, I, M), and the remittances in the
    // query's order, those the form loaded once the posting's check has
    // found them still stored.
    struct Figuras_Termo {
        std::map<qint64, std::array<Dinheiro, 6>> igrejas;
        std::vector<Remessa> remessas;
    };
    // In one unit of work: whether the month is still the one on screen
    // (`alterado` false), then the installation's own month posted into
    // its congregations' figures and the month's figures read. False when
    // the month had changed (nothing posted) or the user gave up.
    bool Lanca_Valores_Regional(Figuras_Termo& figuras, bool& alterado);
    // The cells of the workbook, saved over the file; remittances beyond
    // the statement's four are left out. Errors are raised.
    void Preenche_Termo(Planilha& planilha, const Figuras_Termo& figuras, const std::optional<Dinheiro>& jornal,
                        Dinheiro sistema);
    // Whether the form holds, whole, what is stored now for the month the
    // parameters name now. Errors are raised.
    bool Dados_Atuais(BancoLocal& banco);
    // The month loaded again, and the user told that what was shown had
    // changed.
    void Recarrega_Alterado();

    bool carregado_ = false;          // the last load completed
    QString codIg_, ano_, mes_, tipo_;  // what the list was loaded for
    std::vector<Remessa> remessas_;   // the month's remittances as loaded
    bool emCurso_ = false;            // a statement run is going on
};
