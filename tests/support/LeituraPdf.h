#pragma once
// A printed PDF read back with poppler's own tools (pdfinfo, pdftotext
// -bbox), never with the code under test: its pages and every word with
// its box in millimetres from the paper's corner.
#include <QList>
#include <QString>
#include <QStringList>

struct Palavra {
    int pagina = 0;
    double x = -1, y = -1, direita = -1;  // millimetres from the paper's corner
    QString texto;
    double baixo = -1;  // the bottom of the word's box
};

// Where a word must stand: its top at y (any line when negative) and its
// left edge at x, or its right edge when `direita`.
struct Lugar {
    int pagina;
    QString texto;
    double y, x;
    bool direita = false;
};

struct Documento {
    int paginas = 0;
    QString titulo;  // the document's Title
    QList<Palavra> palavras;
    // The words of a page whose top is within half a millimetre of y, left
    // to right, joined by blanks.
    QString Linha(int pagina, double y) const;
    // Those lines at each of these heights.
    QStringList Linhas(int pagina, const QList<double>& ys) const;
    // The page holding a line of exactly this text; 0 when none does.
    int Pagina_Da_Linha(const QString& linha) const;
    // The first word with this text on the page (on the line at y).
    Palavra Acha(int pagina, const QString& texto, double y = -1) const;
    // The places missed by more than half a millimetre, each with what was
    // measured, joined by "; "; empty when every word stands where it must.
    QString Fora_Do_Lugar(const QList<Lugar>& lugares) const;
};

// A program's standard output; empty when it failed. `rc` receives its
// exit code, -1 when it did not finish.
QString Executa(const QString& programa, const QStringList& args, int* rc = nullptr);
Documento Le_Pdf(const QString& pdf);
// How many times a PDF draws a picture, and how many picture objects it
// holds (pdfimages -list).
struct Figuras { int desenhos = 0, objetos = 0; };
Figuras Le_Figuras(const QString& pdf);
// The one job written since `antes` jobs, read back; empty when there is
// not exactly one more.
Documento Novo_Pdf(qsizetype antes);
// The printed form's picture the closing reports draw under each page,
// a plain grey A4 sheet, into the program folder.
bool Grava_Impresso(const QString& pasta);

// The top of a report's body line, counted from 0.
inline double Y(int linha) { return 48.0 + linha * 5.94; }

// Within the half millimetre the printouts are checked to.
inline bool Perto(double medido, double esperado) { return medido >= esperado - 0.5 && medido <= esperado + 0.5; }

// Courier New at 12 points: a money cell of 12 characters ends this far
// right of where it starts.
inline constexpr double Celula12 = 12 * 12 * (1229.0 / 2048) * 25.4 / 72;
