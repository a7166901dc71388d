#include "support/PlanilhaTeste.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

namespace {
const QString Script = QStringLiteral(TESOURARIA_FONTES "/tests/support/planilha_teste.py");

QByteArray Roda(const QString& programa, const QStringList& argumentos) {
    QProcess p;
    p.start(programa, argumentos);
    if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qFatal("%s %s falhou: %s", qPrintable(programa), qPrintable(argumentos.join(' ')),
               p.readAllStandardError().constData());
    return p.readAllStandardOutput();
}

QByteArray Python(const QStringList& argumentos) { return Roda(QStringLiteral("/usr/bin/python3"), QStringList{Script} + argumentos); }

// LibreOffice converts `arquivo` into `pasta`, from a profile of its own
// so that runs side by side never share one; `recalcula` has it
// recalculate every formula as it opens the file.
QString Converte(const QString& arquivo, const QString& pasta, const QString& formato, bool recalcula) {
    QTemporaryDir perfil;
    if (recalcula) {
        QDir().mkpath(perfil.path() + QStringLiteral("/user"));
        QFile xcu(perfil.path() + QStringLiteral("/user/registrymodifications.xcu"));
        if (!xcu.open(QIODevice::WriteOnly)) qFatal("perfil do LibreOffice");
        xcu.write(R"(<?xml version="1.0" encoding="UTF-8"?>
<oor:items xmlns:oor="http://openoffice.org/2001/registry" xmlns:xs="http://www.w3.org/2001/XMLSchema" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
<item oor:path="/org.openoffice.Office.Calc/Formula/Load"><prop oor:name="OOXMLRecalcMode" oor:op="fuse"><value>0</value></prop></item>
</oor:items>
)");
    }
    Roda(QStringLiteral("soffice"), {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(perfil.path()).toString(),
                                     QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
                                     formato, QStringLiteral("--outdir"), pasta, arquivo});
    const QString saida = pasta + QLatin1Char('/') + QFileInfo(arquivo).completeBaseName() + QLatin1Char('.') + formato;
    if (!QFileInfo::exists(saida)) qFatal("o LibreOffice não converteu %s", qPrintable(arquivo));
    return saida;
}
}  // namespace

namespace Planilha_Teste {

void Cria(const QString& destino, const QJsonObject& ajustes, bool comValores) {
    QTemporaryDir tmp;
    const QString novo = tmp.path() + QStringLiteral("/") + QFileInfo(destino).fileName();
    Python({QStringLiteral("cria"), novo, QString::fromUtf8(QJsonDocument(ajustes).toJson(QJsonDocument::Compact))});
    const QString pronto = comValores ? Converte(novo, tmp.path() + QStringLiteral("/lo"), QStringLiteral("xlsx"), false) : novo;
    QFile::remove(destino);
    if (!QFile::copy(pronto, destino)) qFatal("não copiou %s", qPrintable(destino));
    QFile(destino).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

QJsonObject Le(const QString& arquivo) { return QJsonDocument::fromJson(Python({QStringLiteral("le"), arquivo})).object(); }

QStringList Diferencas(const QJsonObject& antes, const QJsonObject& depois, const QMap<QString, QJsonObject>& escritas,
                       QStringList* semValor) {
    QStringList r;
    QStringList folhas = antes["celulas"].toObject().keys();
    for (const QString& f : depois["celulas"].toObject().keys())
        if (!folhas.contains(f)) folhas << f;
    for (const QString& folha : folhas) {
        const QJsonObject a = antes["celulas"][folha].toObject(), d = depois["celulas"][folha].toObject();
        QStringList celulas = a.keys();
        for (const QString& c : d.keys())
            if (!celulas.contains(c)) celulas << c;
        for (const QString& celula : celulas) {
            const QString nome = folha + QLatin1Char('!') + celula;
            if (!escritas.contains(nome)) {
                QJsonObject semCalculo = a[celula].toObject();
                if (semValor && semCalculo["t"] == "f" && !semCalculo["c"].isNull()) {
                    semCalculo["c"] = QJsonValue();
                    if (semCalculo == d[celula].toObject()) {
                        *semValor << nome;
                        continue;
                    }
                }
                if (a[celula] != d[celula])
                    r << nome + QStringLiteral(" mudou: ") + QString::fromUtf8(QJsonDocument(a[celula].toObject()).toJson(QJsonDocument::Compact)) +
                             QStringLiteral(" -> ") + QString::fromUtf8(QJsonDocument(d[celula].toObject()).toJson(QJsonDocument::Compact));
                continue;
            }
            const QJsonObject esperado = escritas[nome];
            for (const QString& k : esperado.keys()) {
                // A cell that holds nothing and has no style is not listed.
                QJsonValue atual = d[celula].toObject().value(k);
                if (atual.isUndefined()) atual = QJsonValue();
                if (atual != esperado[k])
                    r << nome + QLatin1Char(' ') + k + QStringLiteral(": ") + atual.toVariant().toString() +
                             QStringLiteral(" em vez de ") + esperado[k].toVariant().toString();
            }
        }
    }
    for (const QString& nome : escritas.keys()) {
        const QString folha = nome.section(QLatin1Char('!'), 0, 0), celula = nome.section(QLatin1Char('!'), 1);
        if (!depois["celulas"][folha].toObject().contains(celula) && escritas[nome].contains(QStringLiteral("v")) &&
            !escritas[nome][QStringLiteral("v")].isNull())
            r << nome + QStringLiteral(" não foi escrita");
    }
    return r;
}

QString Recalculado(const QString& arquivo) {
    const QString pasta = QFileInfo(arquivo).absolutePath() + QStringLiteral("/recalculado");
    return Converte(arquivo, pasta, QStringLiteral("xlsx"), true);
}

QString Aberto(const QString& arquivo) {
    const QString pasta = QFileInfo(arquivo).absolutePath() + QStringLiteral("/aberto");
    return Converte(arquivo, pasta, QStringLiteral("xlsx"), false);
}

QStringList Valores_Diferentes(const QJsonObject& uma, const QJsonObject& outra) {
    QStringList r;
    const QJsonObject celulas = outra[QStringLiteral("celulas")].toObject();
    for (const QString& folha : celulas.keys())
        for (const QString& celula : celulas[folha].toObject().keys())
            if (uma[QStringLiteral("celulas")][folha][celula][QStringLiteral("c")] != celulas[folha][celula][QStringLiteral("c")])
                r << folha + QLatin1Char('!') + celula;
    return r;
}

QString Em_Pdf(const QString& arquivo, const QString& pasta) { return Converte(arquivo, pasta, QStringLiteral("pdf"), true); }

void Poe_Cadeia(const QString& arquivo, const QString& celula) { Python({QStringLiteral("cadeia"), arquivo, celula}); }

void Cria_Compartilhada(const QString& destino, const QString& forma) {
    Python({QStringLiteral("compartilhada"), destino, forma});
    if (forma != QStringLiteral("bloco")) return;
    // Its formulas are written without values: they take those LibreOffice
    // calculates, as a workbook a spreadsheet program saved holds them.
    const QJsonObject calculado = Le(Recalculado(destino))[QStringLiteral("celulas")][QStringLiteral("08")].toObject();
    QJsonObject valores;
    for (const QString& celula : calculado.keys())
        if (calculado[celula][QStringLiteral("t")] == QStringLiteral("f")) valores[celula] = calculado[celula][QStringLiteral("c")];
    Python({QStringLiteral("valores"), destino, QStringLiteral("xl/worksheets/sheet1.xml"),
            QString::fromUtf8(QJsonDocument(valores).toJson(QJsonDocument::Compact))});
}

void Cria_Disposicao(const QString& destino, const QString& forma) {
    Python({QStringLiteral("disposicao"), destino, forma});
}

void Troca(const QString& arquivo, const QString& entrada, const QString& antigo, const QString& novo) {
    Python({QStringLiteral("troca"), arquivo, entrada, antigo, novo});
}

void Prefixa(const QString& arquivo, const QString& entrada, const QString& forma) {
    Python({QStringLiteral("prefixa"), arquivo, entrada, forma});
}

void Codifica(const QString& arquivo, const QString& entrada, const QString& codificacao, bool marca) {
    Python({QStringLiteral("codifica"), arquivo, entrada, codificacao, marca ? QStringLiteral("1") : QStringLiteral("0")});
}

QByteArray Entrada(const QString& arquivo, const QString& entrada) { return Python({QStringLiteral("entrada"), arquivo, entrada}); }

void Mente(const QString& arquivo, const QString& entrada, qint64 tamanho) {
    Python({QStringLiteral("mente"), arquivo, entrada, QString::number(tamanho)});
}

void Acrescenta(const QString& arquivo, const QString& entrada, qint64 tamanho) {
    Python({QStringLiteral("acrescenta"), arquivo, entrada, QString::number(tamanho)});
}

}  // namespace Planilha_Teste
