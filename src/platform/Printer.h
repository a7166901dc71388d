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
// Every job starts from the printer's defaults: EndDoc and KillDoc end
// the job and put back every property a job may set (paper, orientation,
// scale and its offsets, position, font name, size and bold, title), so
// nothing a job set outlives it; Padroes does the same at the start of a
// job.
//
// A job is drawn into a PDF file of its own and handed to the print
// system whole at EndDoc, so a job dropped with KillDoc never reaches the
// printer. A picture painted several times is stored once in the job.
// The PDF writer does not tell of a write that failed: EndDoc reads the
// file back and hands on only a whole one.
//
// A font is drawn as named or not at all: "Courier New" is drawn with its
// metric twin Liberation Mono (same advance widths), any other name must
// be an installed family or a face the layer draws itself (Registra_Face;
// "Free 3 of 9 Extended", the Code 39 face of Codigo39.h, is one from the
// start); a name that would fall back to another family is refused when
// it is set, never printed in a substitute.
//
// Failures raise ErroExecucao: 482 when the printer cannot start the job
// (none installed, the chosen one removed; nothing is left open), 484 when
// a page or the job cannot be finished, 61 when the job's file came out
// cut short (a full disk: the file is removed and nothing is sent), 481 for
// an empty picture, 380 for a property value the printer does not know,
// 483 for a font it cannot draw (the description names the font, for the
// error handler to show).
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QFont;
class QPainter;
class QPixmap;
class QPointF;

class Printer {
public:
    // An empty name is the system's default printer.
    explicit Printer(const QString& deviceName = {});
    ~Printer();
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    QString DeviceName() const;

    int PaperSize() const { return a_.papel; }    // 9 A4, 1 Letter, 5 Legal, 8 A3, 11 A5
    void setPaperSize(int v);
    int Orientation() const { return a_.orientacao; }  // 1 portrait, 2 landscape
    void setOrientation(int v);
    // 1 twips, 2 points, 3 printer pixels, 5 inches, 6 millimetres, 7 cm.
    // Setting it resets ScaleLeft and ScaleTop to 0 and keeps the current
    // position where it is on paper.
    int ScaleMode() const { return a_.escala; }
    void setScaleMode(int v);

    QString FontName() const { return a_.fonte; }
    // Error 483, the font unchanged, for a name the printer cannot draw.
    void setFontName(const QString& v);
    bool FontBold() const { return a_.negrito; }
    void setFontBold(bool v) { a_.negrito = v; }
    double FontSize() const { return a_.tamanho; }
    void setFontSize(double v);

    double ScaleLeft() const { return a_.esquerda; }
    void setScaleLeft(double v) { a_.esquerda = v; }
    double ScaleTop() const { return a_.topo; }
    void setScaleTop(double v) { a_.topo = v; }
    double CurrentX() const { return a_.x; }
    void setCurrentX(double v) { a_.x = v; }
    double CurrentY() const { return a_.y; }
    void setCurrentY(double v) { a_.y = v; }

    // What the job is called in the print system's queue, in the PDF's
    // Title and so in a PDF printer's file name ("Recibo 000123"). Read
    // when the job starts: set it before the first thing is drawn.
    QString Titulo() const { return a_.titulo; }
    void setTitulo(const QString& v) { a_.titulo = v; }

    // Puts back the defaults of every property above: A4 portrait, twips
    // without offsets, at the paper's corner, "Courier New" 12 not bold,
    // titled "Tesouraria".
    // A document already started keeps what it drew.
    void Padroes();

    // Prints the text as one line at the current position (blanks around
    // it take their room and draw nothing); then the position moves to the
    // start of the next line (CurrentX = ScaleLeft).
    void Print(const QString& texto);
    // Draws the picture stretched into the rectangle.
    void PaintPicture(const QImage& figura, double x, double y, double largura, double altura);
    void PaintPicture(const QPixmap& figura, double x, double y, double largura, double altura);
    // Ends the page; the next drawing goes to a new one.
    void NewPage();
    // Ends the document and sends it; without anything drawn nothing is
    // sent. Either way the job is over: the properties go back to their
    // defaults.
    void EndDoc();
    // Drops the document started: nothing of it is sent. The properties go
    // back to their defaults, with or without a document.
    void KillDoc();

    // A document is open (something was drawn since the last EndDoc).
    bool Imprimindo() const;

    // A face the printer layer draws itself, for a name no installed font
    // serves (the barcode face): it draws `texto` with the top of its line
    // at `topo`, in the device pixels of `pintor`, at the size and weight
    // of `fonte`, and returns the line's height in those pixels (where the
    // next Print goes).
    using Desenho_Face =
        std::function<double(QPainter& pintor, const QPointF& topo, const QFont& fonte, const QString& texto)>;
    // Makes FontName accept `nome` (compared without regard to case) and
    // Print draw it with `desenho`; an empty function takes it back.
    static void Registra_Face(const QString& nome, Desenho_Face desenho);

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
    // The font the job's next text is drawn in, with its measures.
    struct Fonte;
    const Fonte& fonteAtual();
    // What a job may set; a new Ajustes is the defaults.
    struct Ajustes {
        int papel = 9;
        int orientacao = 1;
        int escala = 1;
        QString fonte = QStringLiteral("Courier New");
        bool negrito = false;
        double tamanho = 12;
        double esquerda = 0, topo = 0, x = 0, y = 0;
        QString titulo = QStringLiteral("Tesouraria");
    };
    QString nome_;
    Ajustes a_;
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
