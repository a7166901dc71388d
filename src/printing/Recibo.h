#pragma once
// The church's numbered standalone payment receipts: the church's receipt
// numbers, one receipt shown at a time, a new receipt under a number no
// receipt has, a copy of the shown one dated today, and its print over
// the receipt form. The shown receipt is saved before it is printed and
// when the form closes; receipts are never deleted.
#include "platform/Controles.h"
#include "platform/Form.h"
#include <QStringList>
#include <array>

class Recibo : public Form {
    Q_OBJECT
public:
    Recibo();

    CommandButton* CmdNovo = nullptr;
    CommandButton* CmdCopia = nullptr;
    CommandButton* CmdImprime = nullptr;
    Label* LblTitulo = nullptr;
    Label* LblRecibo = nullptr;
    ComboBox* CboRecibo = nullptr;
    Label* LblCodigo = nullptr;
    TextBox* TxtCodIgreja = nullptr;
    Label* LblTotal = nullptr;
    TextBox* TxtTotal = nullptr;
    Label* LblEu = nullptr;
    TextBox* TxtEu = nullptr;
    Label* LblCpf = nullptr;
    TextBox* TxtCpf = nullptr;
    Label* LblRecebi = nullptr;
    TextBox* TxtCongregacao = nullptr;
    ComboBox* CboTexto1 = nullptr;
    ComboBox* CboTexto2 = nullptr;
    ComboBox* CboTexto3 = nullptr;
    ComboBox* CboTexto4 = nullptr;
    TextBox* Txt1Valor = nullptr;
    TextBox* Txt2Valor = nullptr;
    TextBox* Txt3Valor = nullptr;
    TextBox* Txt4Valor = nullptr;
    TextBox* TxtDia = nullptr;
    TextBox* TxtMes = nullptr;
    TextBox* TxtAno = nullptr;
    TextBox* TxtCodigo = nullptr;  // hidden: the next receipt number
    Label* LblKwe = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CboRecibo_Click();
    void CmdNovo_Click();
    void CmdCopia_Click();
    void CmdImprime_Click();
    void Txt1Valor_LostFocus() { Valor_LostFocus(0); }
    void Txt2Valor_LostFocus() { Valor_LostFocus(1); }
    void Txt3Valor_LostFocus() { Valor_LostFocus(2); }
    void Txt4Valor_LostFocus() { Valor_LostFocus(3); }
    void TxtCpf_KeyPress(int& KeyAscii);
    void CboTexto_KeyPress(ComboBox* texto, int& KeyAscii);

private:
    void monta_Tela();
    void Valor_LostFocus(int i);

    void Carrega_Combo_Recibos();
    void Carrega_Combo_Saidas();
    void Carrega_Recibos(double dRecibo);
    // The boxes of a receipt not stored yet: today's date, the church's
    // code and name, nothing else.
    void Mostra_Novo_Recibo();
    void Novo_Recibo();
    bool Existe_Recibo(double dCod) const;
    void Calcula_Total();
    // True once the shown receipt is stored.
    bool Salva_Recibo();
    void Copia_Recibo();
    void Imprime_Recibo();

    // The date and the values as a receipt is stored: a day the month has,
    // one of the twelve months by name, a year, and amounts or empty value
    // boxes. Otherwise a message names the box, which gets the focus.
    bool Valida_Data();
    bool Valida_Valores();
    // The sixteen fields of the insert and update queries, in their order,
    // with the number in front and the date given.
    QStringList Campos(qint64 numero, const QString& ano, const QString& mes, const QString& dia) const;
    // The item of the shown receipt's number in CboRecibo becomes `numero`.
    void Renumera(qint64 numero);

    std::array<ComboBox*, 4> textos_{};
    std::array<TextBox*, 4> valores_{};

    // What the shown receipt is: none (nothing selected, or a load given
    // up), a new one not yet stored, or one read from the file.
    enum class Estado { Nenhum, Novo, Gravado };
    Estado estado_ = Estado::Nenhum;
    bool listandoNovo_ = false;  // Novo_Recibo selects the number it listed
    bool imprimindo_ = false;    // a click is between its questions or printing
};
