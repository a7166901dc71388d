#pragma once
// The page that shows the month's tithers on a TV or a monitor: white on
// black, the month's title, the names scrolling slowly upward. Written for
// Windows readers in their code page (Windows-1252), each line ended by CR
// LF, with no character set declared, one file per church and month.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace Pagina_TV {

// The page's bytes: its 18 fixed lines around one item per list line, in
// the list's order, each line trimmed. "&", "<" and ">" of the month and
// the lines are written as HTML's named references, so a name shows as it
// was typed; a control character, or one the code page lacks (an emoji,
// a letter of another alphabet), as its numeric reference, never as "?"
// or a raw byte; NUL, which has none, as the replacement character's.
QByteArray Monta(const QString& mesAno, const QStringList& linhas);

// The page's file in `pasta`: "0123-082021.html" for the church 0123 and
// the month 8 of 2021.
QString Arquivo(const QString& pasta, const QString& codIg, const QString& mes, const QString& ano);

}  // namespace Pagina_TV
