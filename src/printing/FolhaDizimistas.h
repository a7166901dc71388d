#pragma once
// The page of the tithers' printouts, the month's list and the yearly
// grid: A4 portrait in millimetres, Courier New 12, no picture. A heading
// names the church and what is listed, with the page number; the body
// lines stand 4.8 mm apart from Y 34.8; the line that passes Y 270 closes
// the page with its footer and opens the next one under a new heading; a
// Bible verse follows the last line when that line ends above Y 243; and
// every page ends with the footer. Each printout brings its heading's
// title (the grid also its column heading) and its body.
//
// Y is kept in single precision, each step rounded to it, as the page's
// count has always been made: from 30, the 50th line of a page lands a
// hair past 270 (270.0001), so a page holds 50 lines, and the verse fits
// under at most 44.
//
// The page runs as one print job of the print-job runner
// (TrabalhoImpressao.h): Prepara reads what is to be printed before
// anything is drawn, an error discards the job, and Yes to the error
// handler's question prints it again from page 1.
#include <QString>
#include <QtGlobal>

class Folha_Dizimistas {
public:
    virtual ~Folha_Dizimistas() = default;
    Folha_Dizimistas(const Folha_Dizimistas&) = delete;
    Folha_Dizimistas& operator=(const Folha_Dizimistas&) = delete;

    // Prints the document on the program's printer: true when it was sent
    // whole; false when the user gave up after an error (nothing of it is
    // sent) or another print is under way.
    bool Imprime_Dizimistas();

    static constexpr float Topo = 30.0f;
    static constexpr double Passo = 4.8;
    static constexpr float Quebra = 270.0f;
    static constexpr float LimiteVersiculo = 243.0f;
    // A line of the page is 78 characters from X 7.
    static constexpr int Largura = 78;
    // A text centred in the line's 78 characters.
    static QString Centraliza(const QString& texto);

protected:
    // `titulo` names the print job ("Dizimistas 2021").
    explicit Folha_Dizimistas(const QString& titulo) : titulo_(titulo) {}

    // Reads and checks what is to be printed before anything is drawn; an
    // error here reaches the error handler with nothing printed.
    virtual void Prepara() {}
    virtual void Imprime_Cabec(qint16 iNumPag) = 0;
    virtual void Imprime_Corpo() = 0;

    // The heading's first lines, shared by both printouts, at size 12: the
    // rule at Y 8, the church's name at 13, its sector and congregation at
    // 18, the title at 23 with "Pág. nn" at X 185.
    static void Imprime_Cabec_Igreja(const QString& titulo, qint16 iNumPag);
    // A rule of 78 "~" at (7, y).
    static void Imprime_Regua(double y);
    void Imprime_Rodape();
    // After each body line: past Y 270 the page is closed and a new one
    // opened under its heading, from Y 30.
    void Checa_Lin();
    // Y one body line down.
    void Proxima_Linha();
    // The verse under the last body line, when that line ends above Y 243;
    // `terceira` is its third line, spaced differently in each printout.
    void Imprime_Versiculo(const QString& terceira);

    qint16 Pagina = 1;
    float Y = Topo;

private:
    void Imprime_Documento();

    QString titulo_;
};
