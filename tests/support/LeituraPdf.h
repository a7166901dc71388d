#pragma once
// A printed PDF read back with poppler's own tools (pdfinfo, pdftotext
// -bbox), never with the code that wrote it: each word with its page and
// its box in millimetres from the paper's corner.
#include <QList>
#include <QString>
#include <QStringList>

struct Palavra {
    int pagina = 0;
    double x = -1, y = -1, direita = -1;  // millimetres from the paper's corner
    QString texto;
};

struct Documento {
    int paginas = 0;
    QList<Palavra> palavras;
    // The words of a page whose top is within half a millimetre of y, left
    // to right, joined by blanks.
    QString Linha(int pagina, double y) const;
    // The page holding a line of exactly this text; 0 when none does.
    int Pagina_Da_Linha(const QString& linha) const;
    // The first word with this text on the page (on the line at y).
    Palavra Acha(int pagina, const QString& texto, double y = -1) const;
};

// A program's standard output; empty when it fails.
QString Executa(const QString& programa, const QStringList& args);
Documento Le_Pdf(const QString& pdf);
// Within the half millimetre the printouts are checked to.
bool Perto(double medido, double esperado);
