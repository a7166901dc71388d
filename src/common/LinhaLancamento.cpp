#include "common/LinhaLancamento.h"
#include "common/Dizimo.h"
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

QStringView Aparada(QStringView s) {
    qsizetype i = 0, j = s.size();
    while (i < j && s[i] == QLatin1Char(' ')) ++i;
    while (j > i && s[j - 1] == QLatin1Char(' ')) --j;
    return s.mid(i, j - i);
}
}  // namespace

bool Cabe(Dinheiro valor) { return valor.Formata().size() <= LarguraValor; }

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
    if (tipo == QLatin1String("D")) return Monta(tipo, dia, Historico_Dizimo::Exibido(historicoArmazenado), valor);
    return Monta(tipo, dia, historicoArmazenado, valor);
}

Dinheiro Valor(const QString& linha, int coluna) {
    const QStringView resto = QStringView(linha).mid(Caracteres::Posicao(linha, coluna - 1));
    const QStringView celula = Aparada(resto.first(Caracteres::Posicao(resto, LarguraValor)));
    if (celula.isEmpty() || celula == Traco) return {};
    if (const auto v = Dinheiro::Le(celula)) return *v;
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

QString Historico_Dizimo(const Linha& l) { return Historico_Dizimo::Armazenado(l.cargo + QLatin1Char(' ') + l.nome); }

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
