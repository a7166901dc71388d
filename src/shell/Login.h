#pragma once
// The access dialog: the only writer of Nome_Usuario. Any user name of at
// least four non-blank characters with the one shared password lets the user
// in; the dialog cannot be left otherwise, except by ending the program.
#include "platform/CaixaSenha.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include <array>

class Login : public Form {
    Q_OBJECT
public:
    Login();

    std::array<Label*, 2> lblLabels{};  // "Usuário", "Senha"
    TextBox* txtUserName = nullptr;
    CaixaSenha* txtPassword = nullptr;
    CommandButton* CmdOk = nullptr;
    CommandButton* CmdCancel = nullptr;
    Label* LblMsg = nullptr;
    Label* LblKwe = nullptr;
    ::Timer* Timer = nullptr;

    // True once the password matched; only then may the dialog close.
    bool Validado = false;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(int& Cancel) override;

    void CmdOk_Click();
    void CmdCancel_Click();
    void txtUserName_KeyPress(int& KeyAscii);
    void txtPassword_KeyPress(int& KeyAscii);
    void Timer_Timer();

    // The status line, shown at once.
    void Mensag(const QString& sMsg);

private:
    bool validando_ = false;
};
