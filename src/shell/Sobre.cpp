#include "shell/Sobre.h"
#include "common/Central.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/App.h"
#include "platform/Baixador.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include "shell/Principal.h"
#include <QCoreApplication>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <iterator>

namespace {
using Twips::Posiciona;

// The box's framed picture: the program's emblem, an open ledger.
QPixmap emblema(int lado) {
    QPixmap px(lado, lado);
    px.fill(QColor(0x40, 0x40, 0x40));
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing);
    const double c = lado / 2.0, w = lado * 0.38, h = lado * 0.3;
    p.setBrush(QColor(0xF4, 0xF0, 0xE0));
    p.setPen(QPen(QColor(0xB0, 0x90, 0x40), 2));
    p.drawRect(QRectF(c - w, c - h, w, 2 * h));
    p.drawRect(QRectF(c, c - h, w, 2 * h));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    for (int i = 1; i < 6; ++i) {
        const double y = c - h + i * (2 * h / 6);
        p.drawLine(QPointF(c - w + 6, y), QPointF(c - 6, y));
        p.drawLine(QPointF(c + 6, y), QPointF(c + w - 6, y));
    }
    return px;
}

const char* const kNovidades[] = {
    "ZUVEVOZO RUVERIRORA - ",
    "",
    "» TELA PRINCIPAL / LOGIN DE ACESSO",
    "  - Valida uma conexão com a Internet",
    "  - Avalia se precisa atualizar a versão",
    "» TELA PRINCIPAL / USUÁRIO",
    "  - Mantém o nome do usuário logado",
    "",
    "» BASES DE APOIO / PARÂMETROS DO SISTEMA",
    "  - Mantida a versão anterior",
    "» BASES DE APOIO / AGENDA DE COMPROMISSOS",
    "  - Mantida a versão anterior",
    "» BASES DE APOIO / CADASTRO DE DEPARTAMENTOS",
    "  - Mantida a versão anterior",
    "» BASES DE APOIO / CADASTRO DE HISTÓRICOS",
    "  - Mantida a versão anterior",
    "» BASES DE APOIO / IGREJAS QUE COMPÕEM O SETOR",
    "  - Mantida a versão anterior",
    "» BASES DE APOIO / ATUALIZAÇÃO DAS BASES DE APOIO",
    "  - Mantida a versão anterior",
    "",
    "» OPERAÇÕES / AVISOS PARA HOJE",
    "  - Mantida a versão anterior",
    "» OPERAÇÕES / REMESSAS ENVIADAS À MATRIZ",
    "  - Mantida a versão anterior",
    "» LANÇAMENTO DE IGREJAS DO SETOR",
    "  - Mantida a versão anterior",
    "» LANÇAMENTO DE LIVRO CAIXA",
    "  - Redução de 50 caracteres para 48 em lançamentos",
    "  - Resumo por data para Dízimos e Ofertas no Livro Caixa",
    "» LANÇAMENTO DE DEPARTAMENTOS",
    "  - Mantida a versão anterior",
    "",
    "» IMPRESSÕES / SELECIONE A IMPRESSORA",
    "  - Permite selecionar uma Impressora instalada",
    "» IMPRESSÕES / ENVELOPES DE DÍZIMO",
    "  - Mantida a versão anterior",
    "» IMPRESSÕES / RELAÇÃO DE DIZIMISTAS",
    "  - Mantida a versão anterior",
    "» IMPRESSÕES / RECIBO DE PAGAMENTO AVULSO",
    "  - Permite Copiar um Recibo existente",
    "» IMPRESSÕES / FECHAMENTO DE LIVRO CAIXA",
    "  - Só imprime fechamento depois de transmitir dados",
    "» IMPRESSÕES / FECHAMENTO DE DEPARTAMENTOS",
    "  - Mantida a versão anterior",
    "",
    "» EXPORTAÇÕES / DADOS PARA TV / MONITOR",
    "  - Caso haja falha de conexão, o sistema sugere intalação",
    "    do Kwe-Connector-532.",
    "» EXPORTAÇÕES / DADOS PARA TERMO DE CONSTATAÇÃO",
    "  - Mantida a versão anterior",
    "» EXPORTAÇÕES / DADOS PARA O MIRAVA",
    "  - Valida uma conexão com a Internet",
    "  - Caso haja falha de conexão, o sistema sugere intalação",
    "    do Kwe-Connector-532.",
    "» EXPORTAÇÕES / DADOS PARA BACKUP",
    "  - Mantida a versão anterior",
    "» EXPORTAÇÕES / DADOS TRANSMITIDOS NO PERÍODO",
    "  - Valida uma conexão com a Internet",
    "  - Caso haja falha de conexão, o sistema sugere intalação",
    "    do Kwe-Connector-532.",
    "",
    "» SOBRE O SISTEMA",
    "  - Permite acessar a página do autor deste sistema",
    "  - Permite assistir um vídeo do Marlovinter",
    "  - Permite visualizar lista de novidades desta versão",
    "  - Permite atualizar versão em modo manual ou automático",
};
static_assert(std::size(kNovidades) == 67);

constexpr int kListaFora = 7380, kListaDentro = 60;
constexpr int kListaTopo = 60, kListaLargura = 7215, kListaAltura = 6060;
// The close button sits under the list, against its right edge, so that
// it never hides a line of it.
constexpr int kFecharLargura = 1500, kFecharAltura = 420;
constexpr int kFecharEsquerda = kListaDentro + kListaLargura - kFecharLargura;
constexpr int kFecharTopo = kListaTopo + kListaAltura + 60;
}  // namespace

QString Sobre::Endereco_Atualizacao() {
    return QStringLiteral("https://%1:%2/Atualiza.xxx")
        .arg(QStringLiteral(TESOURARIA_ATUALIZACAO_HOST))
        .arg(TESOURARIA_ATUALIZACAO_PORTA);
}
QString Sobre::Pagina_Autor() { return QStringLiteral(TESOURARIA_PAGINA_AUTOR); }
QString Sobre::Pagina_Video() { return QStringLiteral(TESOURARIA_PAGINA_VIDEO); }

Sobre::Sobre() : Form(QStringLiteral("Sobre"), true) {
    setCaption(QStringLiteral(" Sobre o Zuvevozo Ruverirora"));
    auto* moldura = new QLabel(this);
    moldura->setFrameStyle(QFrame::Box | QFrame::Sunken);
    moldura->setLineWidth(2);
    moldura->setPixmap(emblema(Twips::ParaPixelX(1680)));
    Posiciona(moldura, 120, 120, 1800, 1800);

    auto* nome = new Label(QStringLiteral("Zuvevozo Ruverirora"), this);
    QFont grande = nome->font();
    grande.setPointSize(16);
    grande.setBold(true);
    nome->setFont(grande);
    Posiciona(nome, 2100, 180, 5100, 480);
    LblVersao = new Label(QString(), this);
    Posiciona(LblVersao, 2100, 720, 5100, 300);
    LblRazao = new Label(QString(), this);
    LblRazao->setWordWrap(true);
    Posiciona(LblRazao, 2100, 1080, 5100, 600);

    auto botao = [this](const QString& legenda, int topo) {
        auto* b = new CommandButton(legenda, this);
        Posiciona(b, 120, topo, 7095, 540);
        return b;
    };
    CmdAcesse = botao(QStringLiteral("Acesse a página do autor deste sistema"), 2280);
    CmdAssista = botao(QStringLiteral("Assista um vídeo institucional do Marlovinter"), 3000);
    CmdVeja = botao(QString(), 3720);
    CmdAtualize = botao(QString(), 4440);
    LblComputador = new Label(QString(), this);
    Posiciona(LblComputador, 120, 5280, 5400, 300);

    LstSobre = new ListBox(this);
    LstSobre->setFont(QFont(QStringLiteral("Courier New"), 8));
    Posiciona(LstSobre, kListaFora, kListaTopo, kListaLargura, kListaAltura);
    CmdFechar = new CommandButton(QStringLiteral("Fechar"), this);
    Posiciona(CmdFechar, kFecharEsquerda, kFecharTopo, kFecharLargura, kFecharAltura);
    setTamanhoCliente(kListaDentro + kListaLargura + 60, kFecharTopo + kFecharAltura + 60);

    CmdAcesse->Click = [this] { CmdAcesse_Click(); };
    CmdAssista->Click = [this] { CmdAssista_Click(); };
    CmdVeja->Click = [this] { CmdVeja_Click(); };
    CmdAtualize->Click = [this] { CmdAtualize_Click(); };
    CmdFechar->Click = [this] { CmdFechar_Click(); };
}

void Sobre::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    CmdFechar->hide();
    LblVersao->setCaption(QStringLiteral("Versão ") + App::Versao());
    LblRazao->setCaption(Param[2]);
    LblComputador->setCaption(QStringLiteral("Processador: ") + QString::number(QCoreApplication::applicationPid()));
    CmdVeja->setCaption(QStringLiteral("Veja as novidades da versão V. 1.0.") + QString::number(App::Revision));
    // Opening the box asks the central server for its version.
    CmdAtualize->setCaption(QStringLiteral("Atualize o Marlovinter para a versão ") + Versao_Servidor());
    Carrega_Novidades();
    // The menu item set the hourglass before showing the box.
    Screen::MousePointer(0);
}

void Sobre::Form_Unload(int& Cancel) {
    (void)Cancel;
    Fecha_Efeito(this);
}

void Sobre::Carrega_Novidades() {
    LstSobre->Clear();
    for (const char* linha : kNovidades) LstSobre->AddItem(QString::fromUtf8(linha));
}

void Sobre::CmdVeja_Click() {
    Posiciona(LstSobre, kListaDentro, kListaTopo, kListaLargura, kListaAltura);
    LstSobre->raise();
    CmdFechar->show();
    CmdFechar->raise();
}

void Sobre::CmdFechar_Click() {
    Posiciona(LstSobre, kListaFora, kListaTopo, kListaLargura, kListaAltura);
    CmdFechar->hide();
}

bool Sobre::Sem_Internet() {
    if (Conectado_Internet()) return false;
    Avisa_Sem_Internet();
    return true;
}

void Sobre::CmdAcesse_Click() {
    if (!Sem_Internet()) Abre_Link(Pagina_Autor());
}

void Sobre::CmdAssista_Click() {
    if (!Sem_Internet()) Abre_Link(Pagina_Video());
}

void Sobre::CmdAtualize_Click() {
    if (!Sem_Internet()) Atualiza_Versao();
}

bool Sobre::DownloadFile(const QString& sSourceUrl, const QString& sLocalFile) {
    return Baixador::Baixa(sSourceUrl, sLocalFile);
}

void Sobre::Atualiza_Versao() {
    // A version that could not be read says nothing about being current.
    const std::optional<QString> central = Versao_Servidor_Lida();
    if (!central) {
        Avisa_Sem_Alcance();
        return;
    }
    if (Versao_Em_Dia(App::Versao(), *central)) {
        MsgBox(QStringLiteral("Sua versão já está atualizada."), vbOKOnly + vbInformation, Titulo_Atencao());
        return;
    }

    setCursor(Qt::WaitCursor);
    const QString exe = App::Path() + QStringLiteral("/Atualiza.exe");
    const QString baixado = App::Path() + QStringLiteral("/Atualiza.xxx");
    bool ok = true;
    // An updater already in the folder is offered without a new download.
    while (ok && !QFile::exists(exe)) {
        // Only a download of this run may become the updater, never a
        // left-over of an earlier one.
        ok = Tenta([&] {
            if (QFile::exists(baixado) && !QFile::remove(baixado)) Levanta_Erro(75);
        });
        if (!ok) break;
        // Nothing arrived whole: stop without a message.
        if (!DownloadFile(Endereco_Atualizacao(), baixado) || !QFile::exists(baixado)) {
            ok = false;
            break;
        }
        ok = Tenta([&] {
                 if (QFile::exists(exe) && !QFile::remove(exe)) Levanta_Erro(75);
                 if (!QFile::copy(baixado, exe)) Levanta_Erro(75);
             }) &&
             Tenta([&] {
                 if (!QFile::remove(baixado)) Levanta_Erro(75);
             });
    }
    if (ok)
        ok = Tenta([&] {
            if (!QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner | QFile::ExeGroup |
                                                QFile::ExeOther | QFile::ReadOwner))
                Levanta_Erro(70);
        });
    if (ok && MsgBox(QStringLiteral("O sistema será fechado para atualização. OK ?"), vbYesNo + vbQuestion,
                     Titulo_Atencao()) == vbYes) {
        if (Tenta([&] {
                if (!QProcess::startDetached(exe, {})) Levanta_Erro(53);
            }))
            App::Termina();
    }
    unsetCursor();
}
