#include "support/LeituraPdf.h"
#include <QProcess>
#include <QRegularExpression>

QString Documento::Linha(int pagina, double y) const {
    QStringList r;
    for (const Palavra& w : palavras)
        if (w.pagina == pagina && qAbs(w.y - y) <= 0.5) r << w.texto;
    return r.join(' ');
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

QString Executa(const QString& programa, const QStringList& args) {
    QProcess p;
    p.start(programa, args);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

Documento Le_Pdf(const QString& pdf) {
    static const QRegularExpression palavra(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    static const QRegularExpression paginas(R"(Pages:\s+(\d+))");
    Documento d;
    d.paginas = paginas.match(Executa("pdfinfo", {pdf})).captured(1).toInt();
    const QStringList partes = Executa("pdftotext", {"-bbox", pdf, "-"}).split("<page ");
    const double mm = 25.4 / 72;
    for (int i = 1; i < partes.size(); ++i)
        for (auto it = palavra.globalMatch(partes[i]); it.hasNext();) {
            const auto m = it.next();
            QString texto = m.captured(4);
            texto.replace("&gt;", ">").replace("&lt;", "<").replace("&quot;", "\"").replace("&amp;", "&");
            d.palavras << Palavra{i, m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                                  m.captured(3).toDouble() * mm, texto};
        }
    return d;
}

bool Perto(double medido, double esperado) { return qAbs(medido - esperado) <= 0.5; }
