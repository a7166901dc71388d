#include "common/MarcasHistorico.h"

namespace Marcas_Historico {

namespace {
const QString TagRI = QStringLiteral("RI:");
const QString TagCT = QStringLiteral("CT:");
}  // namespace

std::optional<QString> Numero_RI(const QString& historico) {
    const qsizetype p = historico.indexOf(TagRI);
    if (p < 0) return std::nullopt;
    const qsizetype inicio = p + TagRI.size();
    const qsizetype fim = historico.indexOf(QLatin1Char(' '), inicio);
    return historico.mid(inicio, fim < 0 ? -1 : fim - inicio);
}

bool Tem_Conta(const QString& historico) { return historico.contains(TagCT); }

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
