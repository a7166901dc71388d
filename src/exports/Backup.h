#pragma once
// The backup copy: the program, the local database and the printed forms'
// pictures copied into a folder named after the date and time, inside the
// program folder, in 72 steps of a second that the user follows on a list
// of what is being done, a percentage and a bar.
#include "platform/Controles.h"
#include "platform/Form.h"
#include <QStringList>
#include <functional>

class Backup : public Form {
    Q_OBJECT
public:
    Backup();

    Label* LblRotinas = nullptr;
    ListBox* LstBackup = nullptr;
    Label* LblAndamento = nullptr;
    Label* LblAndam = nullptr;
    Label* LblProgresso = nullptr;
    CommandButton* CmdValida = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void CmdValida_Click();

private:
    void monta_Tela();
    void Efetua_Backup();
    // The action of one step of the run, when it has one. False when an
    // error was answered No: the run stops there.
    bool Acao_Passo(int passo);
    // One creation or copy under the error handler: Yes goes on with what
    // follows it, the failed action not tried again; `arquivo` (when named)
    // is then a file the backup lacks, or one the disk failed to confirm.
    bool Executa(const std::function<void()>& acao, const QString& arquivo = {});

    QString origem_, destino_;  // the run's program folder and dated folder
    QStringList faltam_;        // the final message's lines on files not copied, or not confirmed
    bool emCurso_ = false;      // a run is going on
    bool fechar_ = false;       // the form was closed during a run
};
