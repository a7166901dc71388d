#include "shell/Login.h"
#include "common/Central.h"
#include "common/Formularios.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/App.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include "shell/Principal.h"
#include "shell/QRCode.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QStyle>

namespace {
const QString kSenha = QStringLiteral("QUENDIRA");

// The dialog's picture: a padlock.
QPixmap cadeado() {
    QPixmap px(96, 120);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 10));
    p.drawArc(QRectF(22, 8, 52, 64), 0, 180 * 16);
    p.drawLine(22, 40, 22, 56);
    p.drawLine(74, 40, 74, 56);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xC0, 0x90, 0x20));
    p.drawRoundedRect(QRectF(8, 54, 80, 60), 8, 8);
    p.setBrush(QColor(0x40, 0x30, 0x10));
    p.drawEllipse(QPointF(48, 78), 7, 7);
    p.drawRect(QRectF(45, 80, 6, 18));
    return px;
}

void corDeStatus(Label* l) {
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    pal.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0xC0));
    l->setPalette(pal);
    l->setAutoFillBackground(true);
}
}  // namespace

Login::Login() : Form(QStringLiteral("Login"), false) {
    setCaption(QStringLiteral(" Login de Acesso"));
    auto* figura = new QLabel(this);
    figura->setPixmap(cadeado());
    figura->setAlignment(Qt::AlignCenter);

    lblLabels[0] = new Label(QStringLiteral("Usuário"), this);
    lblLabels[1] = new Label(QStringLiteral("Senha"), this);
    txtUserName = new TextBox(this);
    txtUserName->setObjectName(QStringLiteral("txtUserName"));
    txtUserName->setMaxLength_(30);
    txtUserName->setFont(QFont(QStringLiteral("Tahoma"), 10));
    txtUserName->setToolTip(QStringLiteral("Informe o Nome do Usuário"));
    txtPassword = new CaixaSenha(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setMaxLength_(20);
    QFont simbolos(QStringLiteral("DejaVu Sans"));
    simbolos.setPointSizeF(13.5);
    txtPassword->setFont(simbolos);
    txtPassword->setToolTip(QStringLiteral("Informe a Senha do Usuário até 6 caracteres"));

    CmdOk = new CommandButton(QStringLiteral("&OK"), this);
    CmdOk->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
    CmdOk->setToolTip(QStringLiteral("Valida Usuário e Senha informados."));
    CmdCancel = new CommandButton(QStringLiteral("&Sair"), this);
    CmdCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    CmdCancel->setToolTip(QStringLiteral("Cancela Operação."));

    LblMsg = new Label(QString(), this);
    LblMsg->setAlignment(Qt::AlignCenter);
    corDeStatus(LblMsg);
    LblKwe = new Label(QStringLiteral("Oficina Exemplo de Sistemas"), this);
    LblKwe->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    corDeStatus(LblKwe);

    auto* campos = new QGridLayout;
    campos->addWidget(lblLabels[0], 0, 0);
    campos->addWidget(txtUserName, 0, 1);
    campos->addWidget(lblLabels[1], 1, 0);
    campos->addWidget(txtPassword, 1, 1);
    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    botoes->addWidget(CmdOk);
    botoes->addWidget(CmdCancel);
    campos->addLayout(botoes, 2, 0, 1, 2);
    auto* topo = new QHBoxLayout;
    topo->addWidget(figura);
    topo->addLayout(campos, 1);
    auto* tudo = new QVBoxLayout(this);
    tudo->addLayout(topo);
    tudo->addWidget(LblMsg);
    tudo->addWidget(LblKwe);
    setTabOrder(txtUserName, txtPassword);
    setTabOrder(txtPassword, CmdOk);
    setTabOrder(CmdOk, CmdCancel);
    setTamanhoCliente(5400, 2700);

    Timer = new ::Timer(this, 100);
    Timer->Tick = [this] { Timer_Timer(); };
    Timer->setEnabled(true);

    txtUserName->KeyPress = [this](int& k) { txtUserName_KeyPress(k); };
    txtPassword->KeyPress = [this](int& k) { txtPassword_KeyPress(k); };
    CmdOk->Click = [this] { CmdOk_Click(); };
    CmdCancel->Click = [this] { CmdCancel_Click(); };
    // Escape asks to close, as the close box does; the unload decides.
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, [this] { Dispara([this] { Unload(); }); });
}

void Login::Form_Load() {
    // A change of user closes everything the previous user left open, each
    // window through its own unload handling.
    std::vector<QPointer<Form>> abertos;
    for (Form* f : Form::Forms()) abertos.emplace_back(f);
    for (const QPointer<Form>& f : abertos) {
        if (!f || !f->Loaded() || f == this || f->Name() == QLatin1String("Principal")) continue;
        f->Unload();
    }
    if (Form* p = Principal::Atual()) {
        const QRect r = p->frameGeometry();
        move(r.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
}

void Login::Form_Activate() { Validado = false; }

void Login::Form_Unload(int& Cancel) {
    if (Validado) {
        Fecha_Efeito(this);
        return;
    }
    Cancel = 1;
    MsgBox(QStringLiteral("Usuário ou Senha inválidos"), vbOKOnly + vbInformation, Titulo_Atencao());
}

void Login::Mensag(const QString& sMsg) {
    LblMsg->setCaption(sMsg);
    DoEvents();
}

void Login::CmdOk_Click() {
    // The status line lets events run: a second press waits for the first.
    if (validando_) return;
    const QScopedValueRollback<bool> marca(validando_, true);
    const Screen::Ampulheta ampulheta;
    Mensag(QStringLiteral("Validando Usuário..."));
    if (Caracteres::Conta(Apara(txtUserName->Text())) < 4) {
        txtPassword->setPasswordChar(QStringLiteral("L"));
        MsgBox(QStringLiteral("Usuário inválido! Tente novamente."), vbOKOnly + vbExclamation, Titulo_Atencao());
        return;
    }
    Nome_Usuario = txtUserName->Text();
    if (Principal* p = Principal::Atual()) p->Usu->setText(QStringLiteral("USUÁRIO: ") + Nome_Usuario);

    Mensag(QStringLiteral("Validando Senha..."));
    if (txtPassword->Text() != kSenha) {
        txtPassword->setPasswordChar(QStringLiteral("L"));
        MsgBox(QStringLiteral("Senha inválida! Tente novamente."), vbOKOnly + vbExclamation, Titulo_Atencao());
        return;
    }
    Validado = true;

    Mensag(QStringLiteral("Validando Versão..."));
    // An unreachable server or an unreadable version warns of nothing; any
    // difference does, a newer program included.
    const std::optional<QString> v = Versao_Servidor_Lida();
    if (v && *v != App::Versao())
        MsgBox(QStringLiteral("Este Sistema está desatualizado.\rBaixe a nova Versão ") + *v +
                   QStringLiteral(" pelo menu 'Sobre o Sistema'.\rSucesso!"),
               vbOKOnly + vbInformation, Titulo_Atencao());
    if (Unload()) Form::Instancia<QRCode>()->Show();
}

void Login::CmdCancel_Click() { App::Termina(); }

void Login::txtUserName_KeyPress(int& KeyAscii) { KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("M")); }

void Login::txtPassword_KeyPress(int& KeyAscii) {
    if (KeyAscii == 13) {
        CmdOk_Click();
        return;
    }
    txtPassword->setPasswordChar(QStringLiteral("J"));
    KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("M"));
}

void Login::Timer_Timer() {
    // The credit line jumps between the right edge and the middle.
    if (LblKwe->alignment() & Qt::AlignRight)
        LblKwe->setAlignment(Qt::AlignCenter);
    else
        LblKwe->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}
