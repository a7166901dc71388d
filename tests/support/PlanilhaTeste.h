#pragma once
// Statement workbooks for the tests, made and read back by tools that are
// not the program: openpyxl writes a workbook laid out as a treasurer's
// statement (tests/support/planilha_teste.py) and LibreOffice headless
// opens and saves it once, so that its formulas carry the values they
// show, as a workbook saved by a spreadsheet program does. After a run,
// openpyxl reads every cell back, and LibreOffice recalculates the filled
// file for its formulas to be checked.
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

namespace Planilha_Teste {

// A new statement workbook at `destino`. `ajustes` (see the script): cells
// to set ({"celulas": {"08": {"A4": 12, "A5": "=100+23"}}}) and sheets to
// leave out ({"sem": ["TC"]}). With `comValores` the formulas carry their
// values (LibreOffice saved it); without, they have none, as openpyxl
// leaves them.
void Cria(const QString& destino, const QJsonObject& ajustes = {}, bool comValores = true);

// Every cell that holds something or has a style, by sheet and address:
// "v" the value or the formula ("=SUM(...)"), "c" the value a formula
// shows, "t" openpyxl's type (n number, s text, d date, f formula, b
// truth), "fmt" the number format, "negrito", "preenchimento"; and the
// sheets ("folhas"), merged ranges ("mescladas"), names ("nomes"), the
// archive's entries ("partes"), the workbook's calcPr element, the sheet
// it opens on ("ativa") and the selected sheets with their active cell
// ("selecionadas").
QJsonObject Le(const QString& arquivo);

// What differs between two readings of a workbook (Le) from what a run
// should have changed: a cell named in `escritas` ("08!E4") must have the
// keys given there; every other cell must be exactly as it was. Each
// difference is one line naming the cell. With `semValor`, a formula
// that lost its value and nothing else is not a difference: it is listed
// there.
QStringList Diferencas(const QJsonObject& antes, const QJsonObject& depois, const QMap<QString, QJsonObject>& escritas,
                       QStringList* semValor = nullptr);

// The workbook as LibreOffice opens it with recalculation on load and
// saves it again, every formula's value recalculated.
QString Recalculado(const QString& arquivo);

// The workbook as LibreOffice opens it at its defaults, from a new profile
// (a formula shows the value saved with it; one without a value is
// calculated), and saves it again.
QString Aberto(const QString& arquivo);

// The cells ("08!E2") whose value shown differs between two readings of
// a workbook (Le): opened at the defaults against recalculated, say.
QStringList Valores_Diferentes(const QJsonObject& uma, const QJsonObject& outra);

// The workbook as a PDF made by LibreOffice, to be looked at.
QString Em_Pdf(const QString& arquivo, const QString& pasta);

// Adds a calculation chain naming the cell `celula` of the first sheet,
// as a spreadsheet program keeps one.
void Poe_Cadeia(const QString& arquivo, const QString& celula);

// A small workbook whose sheet "08" has, in E4:E6, one formula written once
// in E4 and repeated by the other two, as a spreadsheet program stores a
// formula filled down. `forma` (see the script): "bloco" fills E4:F7 with
// a formula holding references of every kind, with the values LibreOffice
// calculates for them; "matriz" and "tabela" put an array formula or a
// data table over E4:E6 instead.
void Cria_Compartilhada(const QString& destino, const QString& forma = QStringLiteral("coluna"));

// A workbook of three sheets (A with 3,000 numbers, B with one, C with
// 2,000) whose archive holds the entries that a save of a cell of B
// rewrites (B and the workbook part) in the place `forma` says:
// "openpyxl" as openpyxl orders them (the sheets first, the workbook's own
// parts last), or "inicio", "meio" (just past the middle), "fim" of the
// file.
void Cria_Disposicao(const QString& destino, const QString& forma);

// The first `antigo` of the archive entry's text replaced by `novo`: a
// workbook as another program may write it.
void Troca(const QString& arquivo, const QString& entrada, const QString& antigo, const QString& novo);

// Every element of the entry's main namespace under the prefix "x:",
// declared on the root, as some programs write them; with `forma` "dados",
// sheetData and what it holds stay unprefixed, the main namespace declared
// again as the default on sheetData.
void Prefixa(const QString& arquivo, const QString& entrada, const QString& forma = QString());

// The entry written in `codificacao` (Python's name: "utf-16-le"), its
// declaration saying UTF-16, with the byte order mark or without.
void Codifica(const QString& arquivo, const QString& entrada, const QString& codificacao, bool marca);

// The entry's bytes as the archive holds them.
QByteArray Entrada(const QString& arquivo, const QString& entrada);

// The archive's directory claims `tamanho` bytes for the entry.
void Mente(const QString& arquivo, const QString& entrada, qint64 tamanho);

// A new entry of `tamanho` zero bytes, stored without compression: an
// archive as large as that, whatever it deflates to.
void Acrescenta(const QString& arquivo, const QString& entrada, qint64 tamanho);

}  // namespace Planilha_Teste
