#pragma once
// The printer object of the printouts, over QPrinter + QPainter.
//
// Positions are measured from the paper's corner (full page, no margins) in
// the unit of ScaleMode (6 = millimetres), shifted by ScaleLeft/ScaleTop:
// a point (x, y) lands at (x - ScaleLeft, y - ScaleTop) from the corner. A
// printed text's Y is its top (baseline = Y + ascent). Font settings stay
// in force between texts. The document starts with the first thing drawn
// and goes to the printer at EndDoc: one job per EndDoc.
//
// A job is drawn into a PDF file of its own and handed to the print
// system whole at EndDoc, so a job dropped with KillDoc never reaches the
// printer. "Courier New" is drawn with Liberation Mono (same advance
// widths). A picture painted several times is stored once in the job.
//
// Failures raise ErroExecucao: 482 when the printer cannot start the job
// (none installed, the chosen one removed; nothing is left open), 484 when
// a page or the job cannot be finished, 481 for an empty picture, 380 for a
// property value the printer does not know.
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QPixmap;

class Printer {
public:
    // An empty name is the system's default printer.
    explicit Printer(const QString& deviceName = {});
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    QString DeviceName() const;

    int PaperSize() const { return papel_; }    // 9 A4, 1 Letter, 5 Legal, 8 A3, 11 A5
    void setPaperSize(int v);
    int Orientation() const { return orientacao_; }  // 1 portrait, 2 landscape
    void setOrientation(int v);
    // 1 twips, 2 points, 3 printer pixels, 5 inches, 6 millimetres, 7 cm.
    // Setting it resets ScaleLeft and ScaleTop to 0 and keeps the current
    // position where it is on paper.
    int ScaleMode() const { return escala_; }
    void setScaleMode(int v);

    QString FontName() const { return fonte_; }
    void setFontName(const QString& v) { fonte_ = v; }
    bool FontBold() const { return negrito_; }
    void setFontBold(bool v) { negrito_ = v; }
    double FontSize() const { return tamanho_; }
    void setFontSize(double v);

    double ScaleLeft() const { return esquerda_; }
    void setScaleLeft(double v) { esquerda_ = v; }
    double ScaleTop() const { return topo_; }
    void setScaleTop(double v) { topo_ = v; }
    double CurrentX() const { return x_; }
    void setCurrentX(double v) { x_ = v; }
    double CurrentY() const { return y_; }
    void setCurrentY(double v) { y_ = v; }

    // Prints the text as one line at the current position; then the
    // position moves to the start of the next line (CurrentX = ScaleLeft).
    void Print(const QString& texto);
    // Draws the picture stretched into the rectangle.
    void PaintPicture(const QImage& figura, double x, double y, double largura, double altura);
    void PaintPicture(const QPixmap& figura, double x, double y, double largura, double altura);
    // Ends the page; the next drawing goes to a new one.
    void NewPage();
    // Ends the document and sends it. Without anything drawn it does nothing.
    void EndDoc();
    // Drops the document started: nothing of it is sent. Without one it
    // does nothing.
    void KillDoc();

    // A document is open (something was drawn since the last EndDoc).
    bool Imprimindo() const;

    // Tests: when a folder is set, every job is written there as a PDF file
    // (impressao-0001.pdf, ...) instead of going to a printer.
    static void DefinePastaPdf(const QString& pasta);
    static QString PastaPdf();
    static QStringList ArquivosPdf();  // files written so far, in order

private:
    friend void Define_Impressora(const QString& deviceName);
    struct Documento;
    void comeca();
    std::unique_ptr<Documento> fecha();
    // Where a picture goes in the job's pixels, the job started; an empty
    // picture raises 481 first.
    QRectF areaFigura(bool vazia, double x, double y, double largura, double altura);
    double porUnidade() const;  // device pixels per unit of ScaleMode
    QString nome_;
    int papel_ = 9;
    int orientacao_ = 1;
    int escala_ = 1;
    QString fonte_ = QStringLiteral("Courier New");
    bool negrito_ = false;
    double tamanho_ = 12;
    double esquerda_ = 0, topo_ = 0, x_ = 0, y_ = 0;
    std::unique_ptr<Documento> doc_;
};

// The Printers collection: the installed printers' device names in the
// system's order.
namespace Printers {
QStringList Nomes();
int Count();
QString DeviceName(int i);
// Tests: replaces the installed printers by a fixed list (an empty
// function gives the system's list back).
void DefineLista(std::function<QStringList()> lista);
}

// The program's printer: the default printer until another is chosen; the
// choice serves the rest of the run.
Printer& Impressora();
void Define_Impressora(const QString& deviceName);
