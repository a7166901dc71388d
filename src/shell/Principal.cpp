#include "shell/Principal.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Esquema.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "exports/Backup.h"
#include "exports/ExpMirava.h"
#include "exports/ExpWeb.h"
#include "exports/ExpTermo.h"
#include "exports/Transmit.h"
#include "operations/Avisos.h"
#include "operations/LivroCaixa.h"
#include "operations/Movto_Deptos.h"
#include "operations/Remessas.h"
#include "operations/TotaisIgrejas.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Progresso.h"
#include "platform/Tela.h"
#include "printing/Dizimistas.h"
#include "printing/Envelope.h"
#include "printing/ImpDeptos.h"
#include "printing/ImpLivroCx.h"
#include "printing/Impressoras.h"
#include "printing/Recibo.h"
#include "registers/Agenda.h"
#include "registers/Atualizacoes.h"
#include "registers/Departamentos.h"
#include "registers/Descricoes.h"
#include "registers/Igrejas.h"
#include "registers/Parametr.h"
#include "shell/Login.h"
#include "shell/QRCode.h"
#include "shell/Sobre.h"
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {
Principal* g_principal = nullptr;
std::function<void()> g_login;

// The working area: dark grey with the program's emblem in the middle.
class AreaTrabalho : public QMdiArea {
public:
    using QMdiArea::QMdiArea;

protected:
    void paintEvent(QPaintEvent* e) override {
        QMdiArea::paintEvent(e);
        QPainter p(viewport());
        const QRect r = viewport()->rect();
        const QPoint c = r.center();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0x70, 0x70, 0x70), 3));
        p.setBrush(Qt::NoBrush);
        // An open book: two pages and a spine.
        const int w = 120, h = 80;
        QPainterPath livro;
        livro.moveTo(c.x(), c.y() - h / 2 + 10);
        livro.quadTo(c.x() - w / 2, c.y() - h / 2 - 10, c.x() - w, c.y() - h / 2 + 5);
        livro.lineTo(c.x() - w, c.y() + h / 2);
        livro.quadTo(c.x() - w / 2, c.y() + h / 2 - 15, c.x(), c.y() + h / 2 + 5);
        livro.quadTo(c.x() + w / 2, c.y() + h / 2 - 15, c.x() + w, c.y() + h / 2);
        livro.lineTo(c.x() + w, c.y() - h / 2 + 5);
        livro.quadTo(c.x() + w / 2, c.y() - h / 2 - 10, c.x(), c.y() - h / 2 + 10);
        livro.lineTo(c.x(), c.y() + h / 2 + 5);
        p.drawPath(livro);
        QFont f(QStringLiteral("DejaVu Sans"), 22, QFont::Bold);
        p.setFont(f);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawText(QRect(r.left(), c.y() + h / 2 + 20, r.width(), 40), Qt::AlignCenter,
                   QStringLiteral("Zuvevozo Ruverirora"));
    }
};

// The program's icon: a ledger on the window's dark grey.
QIcon icone() {
    return Icone_Desenhado([](QPainter& p) {
        p.fillRect(QRect(0, 0, 32, 32), QColor(0x40, 0x40, 0x40));
        p.setPen(QPen(QColor(0xC8, 0x96, 0x1E), 2));
        p.setBrush(QColor(0xF0, 0xF0, 0xF0));
        p.drawRect(QRectF(7, 5, 18, 22));
        p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
        for (int y = 11; y <= 21; y += 5) p.drawLine(QPointF(11, y), QPointF(21, y));
    });
}
}  // namespace

Principal::Principal() : Form(QStringLiteral("Principal"), false) {
    g_principal = this;
    setCaption(QStringLiteral(" Zuvevozo Ruverirora"));
    QApplication::setWindowIcon(icone());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Menu = new QMenuBar(this);
    layout->setMenuBar(Menu);
    Area = new AreaTrabalho(this);
    Area->setBackground(QColor(0x40, 0x40, 0x40));
    layout->addWidget(Area);
    Form::DefineAreaMdi(Area);
    monta_Menu();
    Registra_Menus_Setor([this](bool habilita) {
        for (QAction* a : {Igr_Setor, Rem_Mat, Set_Igr, Exp_Termo})
            if (a) a->setEnabled(habilita);
    });
    // One long run at a time: while one goes, the items whose windows start
    // another (download, send, backup) are greyed.
    const auto recusaExecucoes = [this](bool emCurso) {
        for (QAction* a : {AtuBA, Exp_Mirava, Exp_BKP}) a->setEnabled(!emCurso);
    };
    connect(Execucao::Estado(), &Execucao::Mudou, this, recusaExecucoes);
    recusaExecucoes(Execucao::EmCurso());
    resize(1024, 720);
}

Principal::~Principal() {
    // The forms ask for the main window to place themselves and to write the
    // user's name: never a window that is gone.
    if (g_principal == this) {
        g_principal = nullptr;
        Registra_Menus_Setor({});
    }
}

Principal* Principal::Atual() { return g_principal; }

void Principal::DefineLogin(std::function<void()> login) { g_login = std::move(login); }

void Principal::Mostra_Login() {
    if (g_login)
        g_login();
    else
        Form::Instancia<Login>()->ShowModal();
}

void Principal::monta_Menu() {
    auto acao = [this](QMenu* menu, const QString& legenda, void (Principal::*clique)()) {
        QAction* a = menu ? menu->addAction(legenda) : Menu->addAction(legenda);
        if (clique)
            connect(a, &QAction::triggered, this, [this, clique] { Dispara([this, clique] { (this->*clique)(); }); });
        return a;
    };
    auto inerte = [this](const QString& legenda) {
        QAction* a = Menu->addAction(legenda);
        a->setEnabled(false);
        return a;
    };

    inerte(QStringLiteral("Zuvevozo Ruverirora"))->setObjectName(QStringLiteral("Kwe"));
    Espaco = inerte(QString());
    Cad_Apoio = Menu->addMenu(QStringLiteral("&Bases de Apoio"));
    Par_Sis = acao(Cad_Apoio, QStringLiteral("&Parâmetros do Sistema"), &Principal::Par_Sis_Click);
    Agf_Fin = acao(Cad_Apoio, QStringLiteral("&Agenda de Compromissos"), &Principal::Agf_Fin_Click);
    Cad_Dep = acao(Cad_Apoio, QStringLiteral("Cadastro de &Departamentos"), &Principal::Cad_Dep_Click);
    Tip_Hist = acao(Cad_Apoio, QStringLiteral("Cadastro de &Históricos"), &Principal::Tip_Hist_Click);
    Igr_Setor = acao(Cad_Apoio, QStringLiteral("&Igrejas que compoem o Setor"), &Principal::Igr_Setor_Click);
    AtuBA = acao(Cad_Apoio, QStringLiteral("Atualização das &Bases de Apoio"), &Principal::AtuBA_Click);
    Oper = Menu->addMenu(QStringLiteral("O&perações"));
    Avi_Hoje = acao(Oper, QStringLiteral("&Avisos para hoje"), &Principal::Avi_Hoje_Click);
    Rem_Mat = acao(Oper, QStringLiteral("&Remessas enviadas à Matriz"), &Principal::Rem_Mat_Click);
    Set_Igr = acao(Oper, QStringLiteral("Lançamento de &Igrejas do Setor"), &Principal::Set_Igr_Click);
    Liv_Cx = acao(Oper, QStringLiteral("Lançamento de &Livro Caixa"), &Principal::Liv_Cx_Click);
    Lan_Dep = acao(Oper, QStringLiteral("Lançamento de &Departamentos"), &Principal::Lan_Dep_Click);
    Imp = Menu->addMenu(QStringLiteral("&Impressões"));
    SelImp = acao(Imp, QStringLiteral("&Selecione a Impressora"), &Principal::SelImp_Click);
    Env_Diz = acao(Imp, QStringLiteral("&Envelopes de Dízimo"), &Principal::Env_Diz_Click);
    Diz_Rel = acao(Imp, QStringLiteral("Relação de &Dizimistas"), &Principal::Diz_Rel_Click);
    Rec_Diz = acao(Imp, QStringLiteral("Recibo de &Pagamento Avulso"), &Principal::Rec_Diz_Click);
    Fec_Livro = acao(Imp, QStringLiteral("Fechamento de &Livro Caixa"), &Principal::Fec_Livro_Click);
    Fec_Dep = acao(Imp, QStringLiteral("&Fechamento de Departamentos"), &Principal::Fec_Dep_Click);
    Expor = Menu->addMenu(QStringLiteral("&Exportações"));
    Exp_Web = acao(Expor, QStringLiteral("Dados para TV ou &Monitor"), &Principal::Exp_Web_Click);
    Exp_Termo = acao(Expor, QStringLiteral("Dados para &Termo Constatação"), &Principal::Exp_Termo_Click);
    Exp_Mirava = acao(Expor, QStringLiteral("Dados para o &Mirava"), &Principal::Exp_Mirava_Click);
    Exp_BKP = acao(Expor, QStringLiteral("Dados para &Backup"), &Principal::Exp_BKP_Click);
    Exp_Transm = acao(Expor, QStringLiteral("Dados Transmitidos no &Período"), &Principal::Exp_Transm_Click);
    Sobre_Sis = acao(nullptr, QStringLiteral("So&bre o Sistema"), &Principal::Sobre_Sis_Click);
    Saida = acao(nullptr, QStringLiteral("&Fechar"), &Principal::Saida_Click);
    Espaco2 = inerte(QString(15, QLatin1Char(' ')));
    Usu = acao(nullptr, QStringLiteral("USUÁRIO:"), &Principal::Usu_Click);

    const std::pair<QAction*, const char*> nomes[] = {
        {Espaco, "Espaco"}, {Par_Sis, "Par_Sis"}, {Agf_Fin, "Agf_Fin"}, {Cad_Dep, "Cad_Dep"},
        {Tip_Hist, "Tip_Hist"}, {Igr_Setor, "Igr_Setor"}, {AtuBA, "AtuBA"}, {Avi_Hoje, "Avi_Hoje"},
        {Rem_Mat, "Rem_Mat"}, {Set_Igr, "Set_Igr"}, {Liv_Cx, "Liv_Cx"}, {Lan_Dep, "Lan_Dep"},
        {SelImp, "SelImp"}, {Env_Diz, "Env_Diz"}, {Diz_Rel, "Diz_Rel"}, {Rec_Diz, "Rec_Diz"},
        {Fec_Livro, "Fec_Livro"}, {Fec_Dep, "Fec_Dep"}, {Exp_Web, "Exp_Web"}, {Exp_Termo, "Exp_Termo"},
        {Exp_Mirava, "Exp_Mirava"}, {Exp_BKP, "Exp_BKP"}, {Exp_Transm, "Exp_Transm"},
        {Sobre_Sis, "Sobre_Sis"}, {Saida, "Saida"}, {Espaco2, "Espaco2"}, {Usu, "Usu"}};
    for (auto& [a, n] : nomes) a->setObjectName(QString::fromLatin1(n));
    Cad_Apoio->setObjectName(QStringLiteral("Cad_Apoio"));
    Oper->setObjectName(QStringLiteral("Oper"));
    Imp->setObjectName(QStringLiteral("Imp"));
    Expor->setObjectName(QStringLiteral("Expor"));
}

void Principal::Form_Load() {
    const QString pasta = App::Path();
    const QString atual = pasta + QLatin1Char('/') + Banco::NomeArquivo;
    const QString antigo = pasta + QLatin1Char('/') + Banco::NomeAntigo;
    if (!QFile::exists(atual)) {
        if (QFile::exists(antigo)) {
            QFile::rename(antigo, atual);
        } else {
            MsgBox(QStringLiteral("Sistema com problemas na base de dados."), vbOKOnly + vbExclamation,
                   QStringLiteral("Erro Interno"));
            App::Termina();
        }
    }
    // A file made by an earlier version gets the tables, columns and stored
    // queries of this one before anything reads it.
    Tenta([&] { Esquema::Atualiza(atual); });
    Recarrega_Parametros();
    setCaption(Param[99]);
}

void Principal::Form_Activate() {
    // The login dialog closing inside this handler activates the window
    // again; those steps are already running.
    if (ativando_) return;
    const QScopedValueRollback<bool> marca(ativando_, true);
    if (Nome_Usuario.isEmpty()) Mostra_Login();
    Habilita_Menus();
    auto* avisos = Form::Instancia<Avisos>();
    avisos->Show();
    if (avisos->LstAvisos->ListCount() == 0) avisos->Unload();
}

void Principal::Form_Resize() {
    if (Form* qr = Form::Procura(QStringLiteral("QRCode"))) QRCode::Acompanha(*qr, *this);
}

void Principal::Form_Unload(int& Cancel) {
    // Children first, each through its own unload handling; one that
    // refuses stops the closing.
    for (Form* f : Form::Forms()) {
        if (f == this || !f->Filho()) continue;
        if (!f->Unload()) {
            Cancel = 1;
            return;
        }
    }
    if (MsgBox(QStringLiteral("Deseja realmente sair do sistema ?"), vbYesNo + vbQuestion, Titulo_Atencao()) == vbYes)
        App::Termina();
    Cancel = 1;
}

void Principal::Saida_Click() {
    if (MsgBox(QStringLiteral("Deseja realmente fechar o sistema ?"), vbYesNo + vbQuestion, Titulo_Atencao()) == vbYes)
        App::Termina();
}

void Principal::Usu_Click() {
    if (MsgBox(QStringLiteral("Deseja trocar o Usuário ") + Nome_Usuario + QStringLiteral("?"),
               vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) == vbYes)
        Mostra_Login();
}

void Principal::Sobre_Sis_Click() {
    const Screen::Ampulheta ampulheta;
    Form::Instancia<Sobre>()->Show();
}

void Principal::Par_Sis_Click() { Form::Instancia<Parametr>()->Show(); }
void Principal::Agf_Fin_Click() { Form::Instancia<Agenda>()->Show(); }
void Principal::Cad_Dep_Click() { Form::Instancia<Departamentos>()->Show(); }
void Principal::Tip_Hist_Click() { Form::Instancia<Descricoes>()->Show(); }
void Principal::AtuBA_Click() { Form::Instancia<Atualizacoes>()->Show(); }
void Principal::Igr_Setor_Click() { Form::Instancia<Igrejas>()->Show(); }
void Principal::Avi_Hoje_Click() { Form::Instancia<Avisos>()->Show(); }
void Principal::Rem_Mat_Click() { Form::Instancia<Remessas>()->Show(); }
void Principal::Set_Igr_Click() { Form::Instancia<TotaisIgrejas>()->Show(); }
void Principal::Liv_Cx_Click() { Form::Instancia<LivroCaixa>()->Show(); }
void Principal::Lan_Dep_Click() { Form::Instancia<Movto_Deptos>()->Show(); }
void Principal::SelImp_Click() { Form::Instancia<Impressoras>()->Show(); }
void Principal::Env_Diz_Click() { Form::Instancia<Envelope>()->Show(); }
void Principal::Diz_Rel_Click() { Form::Instancia<Dizimistas>()->Show(); }
void Principal::Rec_Diz_Click() { Form::Instancia<Recibo>()->Show(); }
void Principal::Fec_Livro_Click() { Form::Instancia<ImpLivroCx>()->Show(); }
void Principal::Fec_Dep_Click() { Form::Instancia<ImpDeptos>()->Show(); }
void Principal::Exp_Web_Click() { Form::Instancia<ExpWeb>()->Show(); }
void Principal::Exp_Termo_Click() { Form::Instancia<ExpTermo>()->Show(); }
void Principal::Exp_Mirava_Click() { Form::Instancia<ExpMirava>()->Show(); }
void Principal::Exp_BKP_Click() { Form::Instancia<Backup>()->Show(); }
void Principal::Exp_Transm_Click() { Form::Instancia<Transmit>()->Show(); }
