#include "common/Banco.h"
#include "common/Erros.h"
#include "platform/Controles.h"
#include "platform/Tela.h"

void Proximo_Codigo(TextBox* alvo, const QString& nomeQuery) {
    const Screen::Ampulheta ampulheta;
    RecordsetPtr rs;
    if (Tenta([&] { rs = Abre_Recordset(nomeQuery); })) {
        if (rs->Eof() || rs->Fields(QStringLiteral("Proximo")).isNull())
            alvo->setText(QStringLiteral("1"));
        else
            alvo->setText(rs->Texto(QStringLiteral("Proximo")));
    }
}

std::optional<qint64> Le_Proximo_Codigo(TextBox* alvo, const QString& nomeQuery) {
    // An empty box after the call means the next key could not be read.
    alvo->setText_(QString());
    Proximo_Codigo(alvo, nomeQuery);
    bool lido = false;
    const qint64 codigo = alvo->Text().toLongLong(&lido);
    if (!lido) return std::nullopt;
    return codigo;
}
