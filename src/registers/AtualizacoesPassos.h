#pragma once
// What the register download's steps decide on their own, apart from the
// window: the calculation type of a remittance setting, how names are
// matched, how texts travel to the download's stored queries, and the
// fixed offering histories.
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Atualizacao {

// The calculation type from a congregation's newest remittance setting,
// read as Val reads a text and rounded as a 16-bit whole number: a missing
// or Null setting, or one outside 1 to 6 (the closing rows hold amounts for
// those six only), gives 3.
int Tipo_Calculo(const QVariant& codDesconto);

// Department names match as a person reads them: upper case, accents kept,
// blanks around ignored ("Música" is "MÚSICA", not "MUSICA").
QString Chave_Nome(const QString& nome);

// A text as the download's stored queries take it (they strip the leading
// mark), so that an empty central text is still a value.
QString Texto_Query(const QString& texto);

// The seven weekday offering histories, in the order of their codes 1 to 7.
const QStringList& Historicos_Ofertas();

}  // namespace Atualizacao
