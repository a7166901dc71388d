#include "shell/Donativo.h"
#include "common/Formularios.h"
#include "platform/Tela.h"
#include "shell/Principal.h"
#include "shell/QRCode.h"
#include <QPlainTextEdit>
#include <QVBoxLayout>

QString Donativo::Texto_Apelo() {
    static const char* const partes[16] = {
        "Há mais de doze anos este sistema vem sendo aperfeiçoado, ",
        "e hoje atende centenas de igrejas entre regiões, setores e congregações. ",
        "Todo o desenvolvimento e o suporte aos usuários são feitos pelo autor, ",
        "sem custo algum, muitas vezes em dias e horários pouco convenientes. ",
        "Se o sistema tem ajudado você, pedimos uma doação mensal voluntária, ",
        "de qualquer valor, ",
        "como incentivo para novas versões e para a continuidade do suporte técnico. ",
        "Com o aplicativo do seu banco no celular, ",
        "aponte a câmera para o QR Code abaixo ",
        "e informe o valor da sua doação mensal como pagamento PIX; ",
        "ou, se preferir, deposite no Banco Fictício de Exemplo (000), ",
        "agência 0000, conta corrente 00000-0. ",
        "A própria operação gera um comprovante, ",
        "que você pode guardar para o seu controle. ",
        "Muito obrigado! ",
        "Fulano de Tal, autor do sistema.",
    };
    QString t;
    for (const char* p : partes) t += QString::fromUtf8(p);
    return t;
}

Donativo::Donativo() : Form(QStringLiteral("Donativo"), true) {
    setCaption(QStringLiteral("Ajude o Quorvane melhorar"));
    auto* layout = new QVBoxLayout(this);
    TxtDoa = new QPlainTextEdit(this);
    TxtDoa->setObjectName(QStringLiteral("TxtDoa"));
    TxtDoa->setReadOnly(true);
    TxtDoa->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    TxtDoa->setFont(QFont(QStringLiteral("Tahoma"), 10));
    layout->addWidget(TxtDoa, 1);
    Image1 = new Image(this);
    Image1->setPicture(QRCode::Figura(Twips::ParaPixelX(2400)));
    layout->addWidget(Image1, 0, Qt::AlignHCenter);
    setTamanhoCliente(7800, 5700);
}

void Donativo::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    TxtDoa->setPlainText(Texto_Apelo());
}
