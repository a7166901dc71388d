#include "exports/Backup.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Usuario.h"
#include "platform/App.h"
#include "platform/Arquivos.h"
#include "platform/MsgBox.h"
#include "platform/Progresso.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"

namespace {
const QColor Amarelo(255, 255, 0);
const QChar CR = QChar(13);

using Twips::Posiciona;

// A file the run copies, at its step.
struct Copia {
    int passo;
    QString linha;  // the status line, before the dated folder
    QString nome;   // as the final message names it when it was not copied
};

const Copia Copias[] = {
    {16, QStringLiteral("3) Copiando arquivo Marlovinter.exe para "), QStringLiteral("Marlovinter.exe")},
    {36, QStringLiteral("4) Copiando arquivo Marlovinter.kwe para "), QStringLiteral("Marlovinter.kwe")},
    {56, QStringLiteral("5) Copiando arquivo Impresso.kwe para "), QStringLiteral("impresso.kwe")},
    {64, QStringLiteral("6) Copiando arquivo Recibo.kwe para "), QStringLiteral("recibo.kwe")},
};
}  // namespace

Backup::Backup() : Form(QStringLiteral("Backup"), true) {
    setCaption(QStringLiteral("Backup do Sistema"));
    monta_Tela();
}

void Backup::monta_Tela() {
    Pinta_Fundo(this);
    const int largura = 9000;
    LblRotinas = Rotulo(this, QStringLiteral("Rotinas do Backup"), 120, 120, 4000, Amarelo);
    LstBackup = new ListBox(this);
    Posiciona(LstBackup, 120, 390, largura, 2400);

    LblAndamento = Rotulo(this, QStringLiteral("Andamento do Processo"), 120, 2940, 3000, Amarelo);
    LblAndam = Rotulo(this, QStringLiteral("0%"), 3300, 2940, 900);
    // One "=" per step: the 72 of a whole run fit in the list's width.
    LblProgresso = new Label(QString(), this);
    LblProgresso->setForeColor(Amarelo);
    LblProgresso->setFont(Fonte_Lista(9.75));
    Posiciona(LblProgresso, 120, 3210, largura, 300);

    CmdValida = new CommandButton(QStringLiteral("&Iniciar Backup"), this);
    CmdValida->setToolTip(QStringLiteral("Inicia a cópia de segurança"));
    Posiciona(CmdValida, 120, 3660, 2000, 420);

    setTamanhoCliente(largura + 240, 4260);

    CmdValida->Click = [this] { CmdValida_Click(); };
}

void Backup::Form_Load() { Centraliza_Form(this, Form::JanelaPrincipal(), QString()); }

void Backup::CmdValida_Click() {
    if (emCurso_) return;
    Efetua_Backup();
    if (fechar_) Unload();
}

void Backup::Efetua_Backup() {
    // The start button greyed and the menu's backup item with it: one run
    // at a time.
    Progresso run(nullptr, LblAndam, LblProgresso, CmdValida);
    if (!run.Iniciado()) return;
    const Screen::Ampulheta ampulheta;
    emCurso_ = true;
    fechar_ = false;
    faltam_.clear();
    LstBackup->Clear();

    bool ate_o_fim = true;
    for (int passo = 1; passo <= Progresso::PassosBackup; ++passo) {
        if (!Acao_Passo(passo)) {
            ate_o_fim = false;
            break;
        }
        run.Passo(passo);
        Sleep(1000);
        run.Eventos();
        // Closed during the run: the step under way is over, and nothing
        // more is done or said.
        if (fechar_) {
            ate_o_fim = false;
            break;
        }
    }
    if (ate_o_fim) {
        // A copy that failed and was passed over is named, so that a backup
        // missing a file never reads as a whole one.
        QString texto = QStringLiteral("Backup Concluido");
        for (const QString& linha : faltam_) texto += CR + linha;
        MsgBox(texto, vbOKOnly + (faltam_.isEmpty() ? vbInformation : vbExclamation), Titulo_Atencao());
    }
    emCurso_ = false;
}

bool Backup::Acao_Passo(int passo) {
    if (passo == 1) {
        LstBackup->AddItem(QStringLiteral("1) Definindo pastas Origem e Destino..."));
        origem_ = App::Path();
        destino_ = origem_ + QLatin1Char('/') + Relogio::Agora().toString(QStringLiteral("ddMMyyHHmm"));
        return true;
    }
    if (passo == 8) {
        LstBackup->AddItem(QStringLiteral("2) Gerando a pasta destino ") + destino_ + QStringLiteral("..."));
        return Executa([this] { Arquivos::Cria_Pasta(destino_); });
    }
    if (passo == Progresso::PassosBackup) {
        LstBackup->AddItem(QStringLiteral("8) FIM."));
        return true;
    }
    // The barcode of the envelopes is drawn by the program itself: there is
    // no font file to copy at step 70.
    for (const Copia& c : Copias) {
        if (c.passo != passo) continue;
        LstBackup->AddItem(c.linha + destino_ + QStringLiteral("..."));
        const QString alvo = destino_ + QLatin1Char('/');
        switch (passo) {
        case 16: return Executa([&] { Arquivos::Copia(App::Executavel(), alvo + QStringLiteral("Marlovinter.xex")); }, c.nome);
        case 36: return Executa([&] { Banco::Copia(alvo + Banco::NomeArquivo); }, c.nome);
        default: return Executa([&] { Arquivos::Copia(origem_ + QLatin1Char('/') + c.nome, alvo + c.nome); }, c.nome);
        }
    }
    return true;
}

bool Backup::Executa(const std::function<void()>& acao, const QString& arquivo) {
    ErroExecucao erro(0);
    QString linha = QStringLiteral("Arquivo não copiado: ");
    try {
        acao();
        return true;
    } catch (const Arquivos::ErroAposGravar& e) {
        // The copy is in its place: the disk failed to flush its folder.
        erro = e;
        linha = QStringLiteral("Arquivo copiado, mas o disco acusou erro: ");
    } catch (const ErroExecucao& e) {
        erro = e;
    } catch (const std::exception& e) {
        erro = Converte_Excecao(e);
    }
    if (!arquivo.isEmpty()) faltam_ << linha + arquivo;
    if (!Trata_Erro(erro)) return false;
    // The handler put the default pointer back; the run goes on.
    Screen::MousePointer(11);
    return true;
}

void Backup::Form_Unload(int& Cancel) {
    if (emCurso_) {
        // The run ends after the step under way; the form closes then.
        fechar_ = true;
        Cancel = 1;
    }
    // This form closes without the shrinking effect of the others.
}
