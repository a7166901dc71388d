#include "common/Dizimo.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"

namespace Historico_Dizimo {

namespace {
const QString Tag_RI = QStringLiteral("RI:");

QString Valida_RI(const QString& t) { return t.contains(Tag_RI) ? t : t + QStringLiteral(" RI:00000000"); }

// "ANA PRADO ... PR" keeps the "PR" of PRADO: only a tag standing as a word
// of its own is taken out before it goes last.
QString Valida_Cargo(const QString& t) {
    static const QString cargos = QStringLiteral(" PR EV MS MB PB DC CP CG");
    for (int i = 0; i + 3 <= cargos.size(); i += 3) {
        const QString tag = cargos.mid(i, 3);
        if (!t.endsWith(tag)) continue;
        QString r = t;
        for (qsizetype p = r.indexOf(tag); p >= 0; p = r.indexOf(tag, p)) {
            if (p + 3 == r.size() || r[p + 3] == QLatin1Char(' ')) r.remove(p, 3);
            else p += 3;
        }
        return r + tag;
    }
    return t + QStringLiteral(" CG");
}
}  // namespace

bool RI_Com_Ponto(const QString& digitado) {
    const qsizetype ri = digitado.indexOf(Tag_RI);
    return ri >= 0 && digitado.indexOf(QLatin1Char('.'), ri) >= 0;
}

std::optional<QString> Exibido_Do_Digitado(const QString& digitado) {
    const QString t = Valida_Cargo(Valida_RI(Apara(digitado)));
    QString s = Exibido(t);
    const qsizetype tamanho = Caracteres::Conta(s);
    if (tamanho > Largura) {
        const qsizetype p = s.indexOf(Tag_RI);
        const qsizetype ri = p < 0 ? -1 : Caracteres::Conta(QStringView(s).first(p));
        const qsizetype mantidos = ri + 1 + (Largura - 2) - tamanho;
        if (ri < 0 || mantidos < 2) return std::nullopt;
        s = Caracteres::Esquerda(s, mantidos) + QLatin1Char(' ') + Caracteres::Meio(s, ri, Largura);
    }
    return s;
}

QString Exibido(const QString& armazenado) {
    const QString h = Apara(armazenado);
    return Apara(Caracteres::Direita(h, 2) + QLatin1Char(' ') +
                 Caracteres::Esquerda(h, qMax<qsizetype>(0, Caracteres::Conta(h) - 2)));
}

QString Armazenado(const QString& exibido) {
    const QString nome = Apara(Caracteres::Meio(exibido, 3, Largura - 3));
    const QString cargo = QLatin1Char(' ') + Caracteres::Esquerda(exibido, 2);
    const QString r = nome + cargo;
    if (Caracteres::Simples(r) || Caracteres::Conta(r) <= Largura) return r;
    // Characters the shown form counts together may count apart once the
    // name stands alone (and marks may join the blanks around it): the
    // stored history still keeps its width. The name gives way, never the
    // membership tag, which the tithers' lists and the send read back.
    const QString fim = Caracteres::Basico(cargo);
    const qsizetype p = nome.indexOf(Tag_RI);
    if (p < 0) return Caracteres::Esquerda(Caracteres::Basico(nome), Largura - Caracteres::Conta(fim)) + fim;
    const QString tag = Caracteres::Basico(nome.mid(p));
    const qsizetype resta = Largura - Caracteres::Conta(fim) - Caracteres::Conta(tag);
    if (resta < 0) return Caracteres::Esquerda(tag, Largura - Caracteres::Conta(fim)) + fim;
    // A blank between the name and the tag, as the shown form's cut keeps.
    const QString curto = Apara(Caracteres::Esquerda(Caracteres::Basico(nome.left(p)), resta - 1));
    return (curto.isEmpty() ? QString() : curto + QLatin1Char(' ')) + tag + fim;
}

}  // namespace Historico_Dizimo

namespace Linha_Dizimista {

QString Monta(const std::optional<QString>& abreviado, const QString& nome, const QString& ri,
              std::optional<qint64> cargo) {
    const QString prefixo = abreviado ? *abreviado + QLatin1Char('.') : QString();
    const QString E = QStringLiteral("E");
    // A code wider than its column is kept whole, past column 77: cut, it
    // would read back as another position's code.
    return Monta_Linha({{prefixo, ColunaNome - 1, E}, {nome, 51, E}, {ri, 10, E},
                        {(cargo ? QString::number(*cargo) : QString()).rightJustified(12)}});
}

QString Monta(const QString& abreviado, const QString& nome, const QString& ri) {
    const QString E = QStringLiteral("E");
    return Monta_Linha({{abreviado + QLatin1Char('.'), ColunaNome - 1, E}, {nome, 51, E}, {ri, 10, E}});
}

Linha Le(const QString& linha) {
    Linha l;
    l.nome = Apara(Caracteres::Meio(linha, ColunaNome - 1, 50));
    l.ri = Apara(Caracteres::Meio(linha, 55, 10));
    l.cargo = Para_Inteiro(Apara(Caracteres::Meio(linha, 65, -1)));
    return l;
}

}  // namespace Linha_Dizimista
