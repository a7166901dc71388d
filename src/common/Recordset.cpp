#include "common/Recordset.h"
#include "platform/Erro.h"

Recordset::Recordset(QStringList nomes, std::vector<std::vector<QVariant>> linhas)
    : nomes_(std::move(nomes)), linhas_(std::move(linhas)) {}

void Recordset::MoveNext() {
    if (Eof()) Levanta_Erro(3021, QStringLiteral("Não há registro atual."));
    ++pos_;
}

int Recordset::Indice(const QString& nome) const {
    // Field names are found without regard to case, as the forms write
    // them; most are written as the query names them, which is quicker to
    // find.
    for (qsizetype i = 0; i < nomes_.size(); ++i)
        if (nomes_[i] == nome) return int(i);
    for (qsizetype i = 0; i < nomes_.size(); ++i)
        if (nomes_[i].compare(nome, Qt::CaseInsensitive) == 0) return int(i);
    Levanta_Erro(3265, QStringLiteral("Campo '%1' não encontrado no recordset.").arg(nome));
}

QVariant Recordset::Fields(const QString& nome) const { return Fields(Indice(nome)); }

QVariant Recordset::Fields(int indice) const {
    if (indice < 0 || indice >= nomes_.size())
        Levanta_Erro(3265, QStringLiteral("Campo de índice %1 não existe no recordset.").arg(indice));
    if (Eof()) Levanta_Erro(3021, QStringLiteral("Não há registro atual."));
    return linhas_[pos_][size_t(indice)];
}

QString Recordset::Texto(const QString& nome) const { return Texto(Indice(nome)); }

QString Recordset::Texto(int indice) const {
    const QVariant v = Fields(indice);
    if (v.isNull()) return {};
    // A number joined to a text comes out in the regional form: comma
    // before the decimals, no thousands separator.
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 15).replace(QLatin1Char('.'), QLatin1Char(','));
    return v.toString();
}
