#pragma once
// Qt's own texts (the context menu of a text box, the buttons of standard
// dialogs) in Brazilian Portuguese, from the system's Qt translations.
class QTranslator;

namespace Traducao {
// Loads Qt's Brazilian Portuguese texts and installs them in the
// application, which owns the translator (deleting it uninstalls it).
// Null when the system has no such translation: Qt then speaks English.
QTranslator* InstalaQt();
}
