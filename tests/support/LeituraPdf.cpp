#include "support/LeituraPdf.h"
#include "platform/Printer.h"
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QtMath>

QString Documento::Linha(int pagina, double y) const {
    QStringList r;
    for (const Palavra& w : palavras)
        if (w.pagina == pagina && qAbs(w.y - y) <= 0.5) r << w.texto;
    return r.join(' ');
}

QStringList Documento::Linhas(int pagina, const QList<double>& ys) const {
    QStringList r;
    for (double y : ys) r << Linha(pagina, y);
    return r;
}

int Documento::Pagina_Da_Linha(const QString& linha) const {
    for (const Palavra& w : palavras)
        if (Linha(w.pagina, w.y) == linha) return w.pagina;
    return 0;
}

Palavra Documento::Acha(int pagina, const QString& texto, double y) const {
    for (const Palavra& w : palavras)
        if (w.pagina == pagina && w.texto == texto && (y < 0 || qAbs(w.y - y) <= 0.5)) return w;
    return {};
}

QString Documento::Fora_Do_Lugar(const QList<Lugar>& lugares) const {
    QStringList fora;
    for (const Lugar& l : lugares) {
        const Palavra w = Acha(l.pagina, l.texto, l.y);
        const double medido = l.direita ? w.direita : w.x;
        if (w.pagina == 0 || !Perto(medido, l.x))
            fora << QString("%1 na página %2: %3 %4 (y %5), esperado %6")
                        .arg(l.texto).arg(l.pagina).arg(l.direita ? "direita" : "x").arg(medido, 0, 'f', 1)
                        .arg(w.y, 0, 'f', 1).arg(l.x, 0, 'f', 1);
    }
    return fora.join("; ");
}

QString Executa(const QString& programa, const QStringList& args, int* rc) {
    QProcess p;
    p.start(programa, args);
    const bool terminou = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit;
    if (rc) *rc = terminou ? p.exitCode() : -1;
    return terminou && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

Documento Le_Pdf(const QString& pdf) {
    static const QRegularExpression palavra(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    static const QRegularExpression paginas(R"(^Pages:\s+(\d+)$)", QRegularExpression::MultilineOption);
    static const QRegularExpression titulo(R"(^Title:\s+(.*)$)", QRegularExpression::MultilineOption);
    Documento d;
    const QString info = Executa("pdfinfo", {pdf});
    d.paginas = paginas.match(info).captured(1).toInt();
    d.titulo = titulo.match(info).captured(1);
    const QStringList partes = Executa("pdftotext", {"-bbox", pdf, "-"}).split("<page ");
    const double mm = 25.4 / 72;
    for (int i = 1; i < partes.size(); ++i)
        for (auto it = palavra.globalMatch(partes[i]); it.hasNext();) {
            const auto m = it.next();
            QString texto = m.captured(5);
            texto.replace("&gt;", ">").replace("&lt;", "<").replace("&quot;", "\"").replace("&apos;", "'");
            texto.replace("&amp;", "&");
            d.palavras << Palavra{i, m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                                  m.captured(3).toDouble() * mm, texto, m.captured(4).toDouble() * mm};
        }
    return d;
}

Figuras Le_Figuras(const QString& pdf) {
    Figuras f;
    QSet<QString> objetos;
    for (const QString& l : Executa("pdfimages", {"-list", pdf}).split('\n').mid(2))
        if (const QStringList c = l.simplified().split(' '); c.size() > 11) {
            ++f.desenhos;
            objetos << c[10] + ' ' + c[11];
        }
    f.objetos = int(objetos.size());
    return f;
}

Documento Novo_Pdf(qsizetype antes) {
    const QStringList arquivos = Printer::ArquivosPdf();
    return arquivos.size() == antes + 1 ? Le_Pdf(arquivos.back()) : Documento{};
}

bool Grava_Impresso(const QString& pasta) {
    QImage figura(236, 330, QImage::Format_Grayscale8);
    figura.fill(230);
    return figura.save(QDir(pasta).filePath("impresso.kwe"), "PNG");
}
