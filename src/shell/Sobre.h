#pragma once
// The About box: name, version and church, the list of what changed in this
// version, two web pages of the maker, and the manual update.
#include "platform/Controles.h"
#include "platform/Form.h"

class Sobre : public Form {
    Q_OBJECT
public:
    Sobre();

    Label* LblVersao = nullptr;
    Label* LblRazao = nullptr;
    Label* LblComputador = nullptr;
    CommandButton* CmdAcesse = nullptr;
    CommandButton* CmdAssista = nullptr;
    CommandButton* CmdVeja = nullptr;
    CommandButton* CmdAtualize = nullptr;
    ListBox* LstSobre = nullptr;
    CommandButton* CmdFechar = nullptr;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;
    void CmdAcesse_Click();
    void CmdAssista_Click();
    void CmdAtualize_Click();
    void CmdVeja_Click();
    void CmdFechar_Click();

    void Carrega_Novidades();
    void Atualiza_Versao();
    // True when the whole file arrived; otherwise the local file is as it was.
    static bool DownloadFile(const QString& sSourceUrl, const QString& sLocalFile);

    // Build-time addresses: the update download and the maker's two pages.
    static QString Endereco_Atualizacao();
    static QString Pagina_Autor();
    static QString Pagina_Video();

private:
    bool Sem_Internet();
};
