#include "common/Banco.h"
#include "common/Erros.h"
#include "platform/Controles.h"
#include "platform/Tela.h"

void Proximo_Codigo(TextBox* alvo, const QString& nomeQuery) {
    Screen::MousePointer(11);
    RecordsetPtr rs;
    if (Tenta([&] { rs = Abre_Recordset(nomeQuery); })) {
        if (rs->Eof() || rs->Fields(QStringLiteral("Proximo")).isNull())
            alvo->setText(QStringLiteral("1"));
        else
            alvo->setText(rs->Texto(QStringLiteral("Proximo")));
    }
    Screen::MousePointer(0);
}
