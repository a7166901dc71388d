#pragma once
// The one way a printout reaches the program's printer: a print job run
// all or nothing. Every printout (the closing reports' A4 frame, the
// receipt, the tithers' list and grid, each envelope) hands its job here
// and keeps only its own layout.
//
//     const bool enviado = Imprime_Trabalho(
//         QStringLiteral("Recibo ") + numero,     // the job's title
//         [&] {                                   // Imprime: draws the job
//             Printer& p = Impressora();
//             p.setPaperSize(9);
//             p.setScaleMode(6);
//             p.setFontName(QStringLiteral("Courier New"));
//             p.PaintPicture(figura, 5, 5, 200, 143);
//             Imprime_Texto(46, 44.5, numero, 12);
//         },
//         [&] { figura = Le_Figura(QStringLiteral("recibo.kwe")); });  // Prepara
//
// What the runner guarantees, attempt by attempt:
//   - the hourglass shows for the whole run, error boxes aside;
//   - the job carries its title, by which a printer's queue (and a PDF
//     printer's file) tells one printout from another: what it is and its
//     key ("Envelope RI 00013002", "Dizimistas 2026");
//   - each attempt starts from the printer's defaults (Printer::Padroes):
//     whatever an earlier job set (bold, a size, offsets, another unit) is
//     gone, so the job sets every property it relies on, inside Imprime or
//     Prepara, never before calling the runner;
//   - Prepara, when given, runs before anything is drawn: read and check
//     the data, decode the pictures. An error there prints nothing;
//   - Imprime draws the job from its first page; the runner ends the
//     document (EndDoc) when Imprime returns, so Imprime never calls EndDoc
//     or KillDoc itself;
//   - any error of either step drops what was drawn (KillDoc: nothing of
//     the attempt reaches the printer) and goes to Trata_Erro: Yes runs the
//     whole job again, Prepara first, then Imprime from page 1; No ends the
//     run with nothing sent. So does a job whose file the disk had no room
//     for (error 61 of EndDoc).
// A call made while a job runs (a click let through by an error box)
// returns false at once, with no message and nothing printed.
#include <QImage>
#include <QString>
#include <functional>

// Runs one print job (see above). True when the document was sent whole,
// or when the job drew nothing; false when the user gave up after an error
// or another job was running.
bool Imprime_Trabalho(const QString& titulo, const std::function<void()>& Imprime,
                      const std::function<void()>& Prepara = {});

// The title of a month's printout: its name and the month as "08-2021",
// from the month and year as the parameters hold them ("8", "2021").
QString Titulo_Mes(const QString& nome, const QString& mes, const QString& ano);

// The set-up a printout starts its job with, in the order the printouts
// make it: A4, portrait, millimetres, "Courier New" bold or not, and the
// whole print moved down and right by the offsets in millimetres (as
// ScaleTop and ScaleLeft of minus them).
void Prepara_A4(bool negrito, double deslocaTopo, double deslocaEsquerda);

// A picture of the program folder ("impresso.kwe", "recibo.kwe") decoded
// for a job, whatever its file's extension: error 53 when the file is not
// there, 481 when it is not a picture. Decode it once in Prepara and paint
// the same QImage on every page: the job then holds it once.
QImage Le_Figura(const QString& arquivo);
