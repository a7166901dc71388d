#pragma once
// The benchmarks' independent readers of a PDF job (poppler's tools), with
// which each floor is checked against the program before it is timed.
#include <QProcess>
#include <QString>
#include <QStringList>

namespace Leitura_Pdf {

// What a tool printed.
inline QString Saida(const QString& programa, const QStringList& args) {
    QProcess p;
    p.start(programa, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The file's pages, as pdfinfo counts them; 0 when it cannot tell.
inline int Paginas(const QString& pdf) {
    const QString s = Saida(QStringLiteral("pdfinfo"), {pdf});
    const qsizetype i = s.indexOf(QStringLiteral("Pages:"));
    return i < 0 ? 0 : s.mid(i + 6).section(QLatin1Char('\n'), 0, 0).trimmed().toInt();
}

// Its text as laid out on the pages (pdftotext -layout), whole.
inline QString Texto(const QString& pdf) {
    return Saida(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
}

// The same, page by page.
inline QStringList Texto_Paginas(const QString& pdf) { return Texto(pdf).split(QLatin1Char('\f')); }

}  // namespace Leitura_Pdf
