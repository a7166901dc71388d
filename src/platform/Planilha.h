#pragma once
// A workbook (.xlsx) filled cell by cell, in place, the way the closing
// statement fills the treasurer's own workbook: sheets found by name, cells
// by their A1 address, a formula read by the value it last showed, numbers
// written as numbers, texts as inline strings, dates as date serials.
// Everything else of the file stays as it was: other cells, styles,
// formulas, merged ranges, names, other sheets and parts.
//
// The edits live in memory until Salva, which asks the spreadsheet program
// to recalculate on open (the calculation chain dropped) and replaces the
// file in one step: a workbook is never left half-written.
//
// Errors are raised as ErroExecucao: 53 no such file, 55 open in another
// program (LibreOffice's lock file beside it), 70 the file cannot be read
// or written, 61/75 the new file could not be written and 7 memory ran
// out for it (the old one stays), 57 the new file is in place but the
// disk failed to flush its folder (Arquivos::ErroAposGravar); 1004 for a
// file that is not a workbook, a missing sheet, a formula without a value
// or a cell that cannot be replaced, with a description that names it.
#include <QDate>
#include <QString>
#include <QVariant>
#include <memory>

class Planilha {
public:
    explicit Planilha(const QString& caminho);
    ~Planilha();
    Planilha(const Planilha&) = delete;
    Planilha& operator=(const Planilha&) = delete;

    // Whether the file is a workbook of the old binary format (.xls), told
    // by its contents, whatever its name.
    static bool Formato_Antigo(const QString& caminho);

    // Sheet names compare without regard to case, as spreadsheet programs
    // compare them.
    bool Tem_Folha(const QString& folha) const;

    // What the cell shows: nothing (an invalid QVariant), a number
    // (double), a text (QString, an error value such as "#DIV/0!" too) or a
    // truth value (bool). A formula gives its cached value; one without
    // any raises 1004 naming the cell.
    QVariant Valor(const QString& folha, const QString& celula) const;
    // Whether the cell holds neither a formula nor a value (an empty text
    // counts as none); `valor`, when given, receives what Valor gives.
    bool Vazia(const QString& folha, const QString& celula, QVariant* valor = nullptr) const;

    // Each replaces whatever the cell held, its formula too, and keeps its
    // style; a cell the sheet lacks takes its row's or column's style. A
    // formula that other cells repeat passes first to the next of them; one
    // that spans several cells as a whole (an array formula, a data table)
    // cannot be replaced, nor can any other cell of its block be written
    // or emptied.
    void Numero(const QString& folha, const QString& celula, double valor);
    void Texto(const QString& folha, const QString& celula, const QString& texto);
    // A date serial; a cell whose format shows no date gets its style with
    // the format "dd/mm/yyyy".
    void Data(const QString& folha, const QString& celula, const QDate& data);
    void Esvazia(const QString& folha, const QString& celula);

    // The sheet shown and the cell selected when the workbook is opened.
    void Seleciona(const QString& folha, const QString& celula);

    // Writes the workbook over the file: the whole new file beside it,
    // flushed to disk, then renamed over it, keeping its permissions; see
    // Arquivos.h for what each failure leaves.
    void Salva();

    struct Dados;

private:
    std::unique_ptr<Dados> d_;
};
