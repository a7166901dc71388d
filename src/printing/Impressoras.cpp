#include "printing/Impressoras.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Printer.h"
#include "platform/Tela.h"

Impressoras::Impressoras() : Form(QStringLiteral("Impressoras"), true) {
    setCaption(QStringLiteral(" Impressoras"));
    Pinta_Fundo(this);
    LblDispositivo = Rotulo(this, QStringLiteral("Selecione um Dispositivo para Impressão"), 240, 180, 5400);
    CboPrinters = new ComboBox(this, 2);
    CmdOk = new CommandButton(QStringLiteral("&OK"), this);
    Twips::Posiciona(CboPrinters, 240, 480, 4560, 315);
    Twips::Posiciona(CmdOk, 4920, 450, 840, 375);
    setTamanhoCliente(6000, 1080);
    CmdOk->Click = [this] { CmdOk_Click(); };
}

void Impressoras::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Carrega_Impressoras(CboPrinters);
}

void Impressoras::Form_Unload(int& Cancel) {
    (void)Cancel;
    Fecha_Efeito(this);
}

void Impressoras::Carrega_Impressoras(ComboBox* combo) {
    const Screen::Ampulheta ampulheta;
    QStringList nomes;
    if (!Tenta([&] { nomes = Printers::Nomes(); })) return;
    if (!nomes.isEmpty()) {
        combo->Clear();
        for (const QString& n : nomes) combo->AddItem(n);
    } else {
        combo->AddItem(QStringLiteral("Não há impressoras disponíveis"));
        // An empty choice says nothing of what is missing: say it, and how
        // a machine without a printer can still print to PDF files.
        MsgBox(QStringLiteral("Não há impressoras instaladas.\rInstale uma impressora no CUPS; para gerar arquivos "
                              "PDF, instale o pacote printer-driver-cups-pdf e crie a fila \"PDF\"."),
               vbExclamation, Titulo_Atencao());
    }
}

void Impressoras::CmdOk_Click() {
    if (CboPrinters->ListIndex() >= 0) Seta_Impressora(CboPrinters->Text());
}

void Impressoras::Seta_Impressora(const QString& sPrinter) {
    const Screen::Ampulheta ampulheta;
    QStringList nomes;
    if (!Tenta([&] { nomes = Printers::Nomes(); })) return;
    // Compared exactly; the first of two of the same name is the one taken.
    if (!nomes.contains(sPrinter)) return;
    Define_Impressora(sPrinter);
    MsgBox(QStringLiteral("Impressora ") + sPrinter + QStringLiteral(" Selecionada com sucesso"), vbInformation,
           Titulo_Atencao());
    Unload();
}
