#include "printing/TrabalhoImpressao.h"
#include "common/Erros.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "platform/App.h"
#include "platform/Printer.h"
#include "platform/Tela.h"
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QScopeGuard>

namespace {
bool g_imprimindo = false;

void Uma_Tentativa(const QString& titulo, const std::function<void()>& Imprime,
                   const std::function<void()>& Prepara) {
    // Again on a retry: the error handler put the default pointer back.
    const Screen::Ampulheta ampulheta;
    Printer& p = Impressora();
    try {
        // Whatever ran before (a job outside the runner, an attempt that
        // failed before drawing) left nothing set.
        p.Padroes();
        p.setTitulo(titulo);
        if (Prepara) Prepara();
        Imprime();
        p.EndDoc();
    } catch (...) {
        // Whatever went wrong, nothing of this attempt is sent.
        p.KillDoc();
        throw;
    }
}
}  // namespace

bool Imprime_Trabalho(const QString& titulo, const std::function<void()>& Imprime,
                      const std::function<void()>& Prepara) {
    // The error handler's box lets events through: a second click on a
    // print button must not start another job inside this one.
    if (g_imprimindo) return false;
    g_imprimindo = true;
    const auto fim = qScopeGuard([] { g_imprimindo = false; });
    const Screen::Ampulheta ampulheta;
    return Tenta([&] { Uma_Tentativa(titulo, Imprime, Prepara); });
}

QString Titulo_Mes(const QString& nome, const QString& mes, const QString& ano) {
    return nome + QLatin1Char(' ') + Formata(Apara(mes), QStringLiteral("00")) + QLatin1Char('-') + Apara(ano);
}

void Prepara_A4(bool negrito, double deslocaTopo, double deslocaEsquerda) {
    Printer& p = Impressora();
    p.setPaperSize(9);
    p.setOrientation(1);
    p.setScaleMode(6);
    p.setFontName(QStringLiteral("Courier New"));
    p.setFontBold(negrito);
    p.setScaleTop(-deslocaTopo);
    p.setScaleLeft(-deslocaEsquerda);
}

QImage Le_Figura(const QString& arquivo) {
    const QString caminho = QDir(App::Path()).filePath(arquivo);
    if (!QFileInfo(caminho).isFile()) Levanta_Erro(53, QStringLiteral("Arquivo não encontrado: ") + caminho);
    QImageReader leitor(caminho);
    leitor.setDecideFormatFromContent(true);
    QImage figura = leitor.read();
    if (figura.isNull()) Levanta_Erro(481, leitor.errorString());
    return figura;
}
