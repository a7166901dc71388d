#pragma once
// The cash book of the working month: tithes, offerings and outflows typed
// day by day, the month's rows in a sorted list, the inflows, outflows and
// balance, the correction and deletion of an entry and the day's summary.
#include "common/Banco.h"
#include "common/LancamentosMes.h"
#include "common/Numeros.h"
#include "platform/Controles.h"
#include "platform/Form.h"


class LivroCaixa : public Form {
    Q_OBJECT
public:
    LivroCaixa();

    Label* LblMesAno = nullptr;
    ComboBox* CboMesAno = nullptr;
    OptionButton* OptOfertas = nullptr;
    OptionButton* OptDizimos = nullptr;
    OptionButton* OptSaidas = nullptr;
    Label* LblDia = nullptr;
    TextBox* TxtDia = nullptr;
    Label* LblHistorico = nullptr;
    ComboBox* CboHistorico = nullptr;
    Label* LblValor = nullptr;
    TextBox* TxtValor = nullptr;
    TextBox* TxtCodigo = nullptr;  // hidden: the next entry key while saving
    CommandButton* CmdEnvia = nullptr;
    ListBox* LstLivroCx = nullptr;
    Label* LblEntradas = nullptr;
    Label* LblSaidas = nullptr;
    Label* LblSaldo = nullptr;
    TextBox* TxtEntradas = nullptr;
    TextBox* TxtSaidas = nullptr;
    TextBox* TxtSaldo = nullptr;
    Label* LblRegs = nullptr;
    Label* LblKwe = nullptr;
    CommandButton* CmdOk = nullptr;
    Frame* FraResumo = nullptr;
    ListBox* LstResumo = nullptr;
    ::Timer* Timer = nullptr;

    // The summary frame's two places, as its left edge in twips.
    static constexpr int ResumoOculto = 13380;
    static constexpr int ResumoVisivel = 7590;
    int FraResumo_Left() const;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CmdEnvia_Click();
    void CmdOk_Click();
    void OptOfertas_Click();
    void OptDizimos_Click();
    void OptSaidas_Click();
    void CboHistorico_Click();
    void CboHistorico_KeyPress(int& KeyAscii);
    void CboHistorico_KeyUp(int& KeyCode, int Shift);
    void CboHistorico_LostFocus();
    void TxtDia_KeyPress(int& KeyAscii);
    void TxtDia_LostFocus();
    void TxtValor_KeyPress(int& KeyAscii);
    void TxtValor_LostFocus();
    void LstLivroCx_DblClick();
    void LstLivroCx_KeyUp(int& KeyCode, int Shift);
    void Timer_Timer();

    // The account tag of the outflow history last chosen from the list.
    QString Conta_Selecionada;

    // "O", "D" or "S" by the selected kind, "" with none.
    QString OfDzSd() const;

private:
    void monta_Tela();
    // On the open file given (closed once the rows are read), or on one
    // of their own.
    void Carrega_Lancamentos(BancoLocalPtr banco = nullptr);
    void Calcula_Saldo();
    void Conta_Regs();
    void Limpa_Campos_LivroCx();
    void Limpa_Tudo();
    void Carrega_Historico(const QString& sTipo, BancoLocal* banco = nullptr);
    void Seleciona_Historico(const QString& texto);
    // A row in and out of the list, its amounts with it in the totals.
    void Adiciona_Linha(const Lancamentos_Mes::Lancamento& l);
    void Remove_Linha(int indice);
    bool Salva();
    static void Limpa_Transmissao(BancoLocal& banco);
    bool Deleta_Lancamento(qint64 iCodigo, int indice);
    void Carrega_Resumo();
    void Posiciona_Resumo(int leftTw);

    int resumoLeft_ = 0;
    Dinheiro entradas_, saidas_;  // the list's rows, to the cent
};
