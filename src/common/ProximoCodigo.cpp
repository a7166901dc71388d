#include "common/Banco.h"
#include "common/Erros.h"
#include "platform/Controles.h"
#include "platform/Tela.h"

namespace {
// The query's "Proximo" into the box; an empty table gives 1.
void Mostra_Proximo(TextBox* alvo, const Recordset& rs) {
    if (rs.Eof() || rs.Fields(QStringLiteral("Proximo")).isNull())
        alvo->setText(QStringLiteral("1"));
    else
        alvo->setText(rs.Texto(QStringLiteral("Proximo")));
}

// The key the box holds; none when it is not a whole number.
std::optional<qint64> Codigo_Da_Caixa(const TextBox* alvo) {
    bool lido = false;
    const qint64 codigo = alvo->Text().toLongLong(&lido);
    if (!lido) return std::nullopt;
    return codigo;
}
}  // namespace

void Proximo_Codigo(TextBox* alvo, const QString& nomeQuery) {
    const Screen::Ampulheta ampulheta;
    RecordsetPtr rs;
    if (Tenta([&] { rs = Abre_Recordset(nomeQuery); })) Mostra_Proximo(alvo, *rs);
}

std::optional<qint64> Le_Proximo_Codigo(TextBox* alvo, const QString& nomeQuery) {
    // An empty box after the call means the next key could not be read.
    alvo->setText_(QString());
    Proximo_Codigo(alvo, nomeQuery);
    return Codigo_Da_Caixa(alvo);
}

qint64 Le_Proximo_Codigo(BancoLocal& banco, TextBox* alvo, const QString& nomeQuery) {
    alvo->setText_(QString());
    Mostra_Proximo(alvo, *banco.AbreSnapshot(nomeQuery));
    if (const std::optional<qint64> codigo = Codigo_Da_Caixa(alvo)) return *codigo;
    throw ErroExecucao(3421, QStringLiteral("Consulta '%1': o próximo código \"%2\" não é um número.")
                                 .arg(nomeQuery, alvo->Text()));
}
