#include "common/MarcasHistorico.h"

namespace Marcas_Historico {

namespace {
const QString TagRI = QStringLiteral("RI:");
const QString TagCT = QStringLiteral("CT:");

// The text from `inicio` up to the next blank or the end.
QString Ate_Branco(const QString& historico, qsizetype inicio) {
    const qsizetype fim = historico.indexOf(QLatin1Char(' '), inicio);
    return historico.mid(inicio, fim < 0 ? -1 : fim - inicio);
}
}  // namespace

std::optional<QString> Numero_RI(const QString& historico) {
    const qsizetype p = historico.indexOf(TagRI);
    if (p < 0) return std::nullopt;
    return Ate_Branco(historico, p + TagRI.size());
}

bool Tem_Conta(const QString& historico) { return historico.contains(TagCT); }

QString Marca_Conta(const QString& historico) {
    const qsizetype p = historico.indexOf(TagCT);
    return p < 0 ? QString() : Ate_Branco(historico, p);
}

std::optional<qint64> Numero_Conta(const QString& historico) {
    const qsizetype p = historico.indexOf(TagCT);
    if (p < 0) return std::nullopt;
    qsizetype fim = p + TagCT.size();
    while (fim < historico.size() && historico.at(fim).unicode() >= '0' && historico.at(fim).unicode() <= '9') ++fim;
    const qsizetype inicio = p + TagCT.size();
    if (fim == inicio) return std::nullopt;
    bool ok = false;
    const qint64 n = QStringView(historico).mid(inicio, fim - inicio).toLongLong(&ok);
    if (!ok) return std::nullopt;
    return n;
}

}  // namespace Marcas_Historico
