#include "operations/Avisos.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "platform/Relogio.h"
#include <QVBoxLayout>

Avisos::Avisos() : Form(QStringLiteral("Avisos"), true) {
    setCaption(QStringLiteral("Aviso de Compromissos  Importantes"));
    auto* layout = new QVBoxLayout(this);
    LblAvisos = new Label(QStringLiteral("Compromissos para hoje"), this);
    LstAvisos = new ListBox(this);
    LstAvisos->setSorted(true);
    LstAvisos->setFont(QFont(QStringLiteral("Courier New"), 10));
    layout->addWidget(LblAvisos);
    layout->addWidget(LstAvisos);
    setTamanhoCliente(7200, 3600);
}

void Avisos::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Carrega_Lancamentos();
}

void Avisos::Carrega_Lancamentos() {
    const QDate hoje = Relogio::Hoje();
    const QStringList parametros{Param[1], QString::number(hoje.year()), QString::number(hoje.month()),
                                 QString::number(hoje.day())};
    RecordsetPtr rs;
    if (!Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqAgendaHoje"), parametros); })) return;
    while (!rs->Eof()) {
        LstAvisos->AddItem(rs->Texto(QStringLiteral("Descricao")));
        rs->MoveNext();
    }
}
