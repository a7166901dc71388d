#include "common/LinhaLancamento.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "platform/Erro.h"

namespace Linha_Lancamento {

namespace {
const QString Traco = QStringLiteral("----");

QString Dia_Texto(int dia) {
    const QString d = QStringLiteral("%1").arg(dia < 0 ? -qint64(dia) : qint64(dia), 2, 10, QLatin1Char('0'));
    return dia < 0 ? QLatin1Char('-') + d : d;
}

QString Celula(std::optional<Dinheiro> valor) {
    return Formata_Texto(valor ? valor->Formata() : Traco, LarguraValor, QStringLiteral("D"));
}

bool Digito(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// "#,##0.00" as the rows write it ("-1.234,56"), read without the general
// parser: the totals read every row of the month at each save.
std::optional<qint64> Le_Formatado(QStringView s) {
    qsizetype i = 0;
    const bool negativo = !s.isEmpty() && s[0] == QLatin1Char('-');
    if (negativo) ++i;
    const qsizetype virgula = s.size() - 3;
    if (virgula <= i || s[virgula] != QLatin1Char(',') || !Digito(s[virgula + 1]) || !Digito(s[virgula + 2]))
        return std::nullopt;
    qint64 inteiro = 0;
    int digitosNoGrupo = 0;
    bool agrupado = false;
    for (; i < virgula; ++i) {
        const QChar c = s[i];
        if (Digito(c)) {
            if (++digitosNoGrupo > 3 && agrupado) return std::nullopt;
            inteiro = inteiro * 10 + (c.unicode() - '0');
        } else if (c == QLatin1Char('.')) {
            if (digitosNoGrupo == 0 || (agrupado && digitosNoGrupo != 3) || (!agrupado && digitosNoGrupo > 3))
                return std::nullopt;
            agrupado = true;
            digitosNoGrupo = 0;
        } else {
            return std::nullopt;
        }
    }
    if (digitosNoGrupo == 0 || (agrupado && digitosNoGrupo != 3) || digitosNoGrupo > 16) return std::nullopt;
    const qint64 c = inteiro * 100 + (s[virgula + 1].unicode() - '0') * 10 + (s[virgula + 2].unicode() - '0');
    return negativo ? -c : c;
}

QStringView Aparada(QStringView s) {
    qsizetype i = 0, j = s.size();
    while (i < j && s[i] == QLatin1Char(' ')) ++i;
    while (j > i && s[j - 1] == QLatin1Char(' ')) --j;
    return s.mid(i, j - i);
}
}  // namespace

bool Cabe(Dinheiro valor) { return valor.Formata().size() <= LarguraValor; }

QString Historico_Exibido(const QString& armazenado) {
    const QString h = Apara(armazenado);
    return Apara(Caracteres::Direita(h, 2) + QLatin1Char(' ') + Caracteres::Esquerda(h, Caracteres::Conta(h) - 2));
}

QString Monta(const QString& tipo, int dia, const QString& historico, std::optional<Dinheiro> entrada,
              std::optional<Dinheiro> saida) {
    QString r;
    r.reserve(Largura);
    r += Formata_Texto(tipo, 2, QStringLiteral("E"));
    r += Formata_Texto(Dia_Texto(dia), 3, QStringLiteral("E"));
    r += Formata_Texto(historico, LarguraHistorico, QStringLiteral("E"));
    r += Celula(entrada);
    r += QLatin1Char(' ');
    r += Celula(saida);
    return r;
}

QString Monta(const QString& tipo, int dia, const QString& historico, Dinheiro valor) {
    if (tipo == QLatin1String("S")) return Monta(tipo, dia, historico, std::nullopt, valor);
    return Monta(tipo, dia, historico, valor, std::nullopt);
}

QString De_Registro(const QString& tipo, int dia, const QString& historicoArmazenado, Dinheiro valor) {
    if (tipo == QLatin1String("D")) return Monta(tipo, dia, Historico_Exibido(historicoArmazenado), valor);
    return Monta(tipo, dia, historicoArmazenado, valor);
}

Dinheiro Valor(const QString& linha, int coluna) {
    const QStringView resto = QStringView(linha).mid(Caracteres::Posicao(linha, coluna - 1));
    const QStringView celula = Aparada(resto.first(Caracteres::Posicao(resto, LarguraValor)));
    if (celula.isEmpty() || celula == Traco) return {};
    if (const auto c = Le_Formatado(celula)) return Dinheiro::DeCentavos(*c);
    if (const auto v = Dinheiro::Le(celula.toString())) return *v;
    Levanta_Erro(13, QStringLiteral("Tipo Incompatível."));
}

Linha Le(const QString& linha) {
    Linha l;
    l.tipo = Caracteres::Esquerda(linha, 1);
    l.dia = Caracteres::Meio(linha, 2, 2);
    l.historico = Apara(Caracteres::Meio(linha, 5, LarguraHistorico));
    l.cargo = Caracteres::Meio(linha, 5, 2);
    l.nome = Apara(Caracteres::Meio(linha, 8, LarguraHistorico - 3));
    l.entrada = Valor(linha, ColunaEntrada);
    l.saida = Valor(linha, ColunaSaida);
    return l;
}

QString Historico_Dizimo(const Linha& l) { return l.nome + QLatin1Char(' ') + l.cargo; }

void Soma(const QString& linha, Dinheiro& entradas, Dinheiro& saidas) {
    const QChar tipo = linha.isEmpty() ? QChar() : linha[0];
    if (tipo == QLatin1Char('S')) {
        saidas += Valor(linha, ColunaSaida);
    } else if (tipo == QLatin1Char('I')) {
        entradas += Valor(linha, ColunaEntrada);
        saidas += Valor(linha, ColunaSaida);
    } else {
        entradas += Valor(linha, ColunaEntrada);
    }
}

}  // namespace Linha_Lancamento
