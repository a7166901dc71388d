#include "printing/RelatorioLivroCaixa.h"
#include "common/Formularios.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "printing/MolduraA4.h"
#include <algorithm>
#include <optional>
#include <vector>

namespace {

// A sector congregation's row holds its amount by calculation type inside
// the 48 characters that the report prints as the history: its name block
// (38) and the amount's cell (10).
constexpr int LarguraHistorico = 48;
constexpr int LarguraBloco = 38;
constexpr int LarguraValor = 10;

// What the report takes from one row of the closing list.
struct Linha_Relatorio {
    QChar tipo;
    QString dia;
    QString historico;  // 48 characters; a congregation's name block only (38)
    Dinheiro entrada;
    Dinheiro saida;
    Dinheiro calculada;
};

QString Faixa(QChar tipo) {
    const auto faixa = [](int antes, const char* palavra, int depois) {
        return QString(antes, QLatin1Char('~')) + QString::fromUtf8(palavra) + QString(depois, QLatin1Char('~'));
    };
    switch (tipo.unicode()) {
    case 'O': return faixa(21, "  O F E R T A S  ", 37);
    case 'D': return faixa(21, "  D Í Z I M O S  ", 37);
    case 'S': return faixa(20, "  D E S P E S A S  ", 36);
    case 'I': return faixa(14, "  I G R E J A S  D O  S E T O R  ", 28);
    }
    return {};
}

QString Total_Secao(QChar tipo) {
    switch (tipo.unicode()) {
    case 'O': return QStringLiteral("TOTAL DE OFERTAS R$ ");
    case 'D': return QStringLiteral("TOTAL DE DÍZIMOS R$ ");
    case 'S': return QStringLiteral("TOTAL DE DESPESAS R$ ");
    }
    return {};
}

// 0.6 of the remittance base, to the nearest cent. Six times a whole number
// of cents never ends in five tenths, so there is no tie to break.
Dinheiro Parte_Da_Base(Dinheiro base) {
    const qint64 c = base.Centavos() * 6;
    return Dinheiro::DeCentavos((c >= 0 ? c + 5 : c - 5) / 10);
}

class Relatorio_Livro_Caixa final : public MolduraA4 {
public:
    explicit Relatorio_Livro_Caixa(const Fechamento_Mensal& dados)
        : MolduraA4(QStringLiteral("Fechamento do Livro Caixa"), dados.deslocaEsquerda, dados.deslocaTopo),
          dados_(dados) {}

private:
    // The rows as the body prints them, from the values each row keeps: no
    // amount is read back from a cell, so one too wide for its cell
    // ("##########" on screen) prints whole.
    void Prepara() override {
        linhas_.clear();
        linhas_.reserve(dados_.linhas.size());
        for (const Linha_Lista::Linha& r : dados_.linhas) {
            Linha_Relatorio l;
            l.tipo = r.tipo.isEmpty() ? QChar() : r.tipo[0];
            l.dia = Digitos(r.dia, 2);
            l.historico = Caracteres::Meio(r.linha, 5, l.tipo == QLatin1Char('I') ? LarguraBloco : LarguraHistorico);
            l.entrada = r.entrada;
            l.saida = r.saida;
            l.calculada = r.calculado;
            linhas_.push_back(std::move(l));
        }
    }

    // The 48 history characters of a congregation, `cabem` of them when an
    // amount reached left into their room: the name block and, at the end,
    // the amount by calculation type, which takes the room it needs (and a
    // blank before it, when wider than its cell) from the name block.
    static QString Historico_Igreja(const Linha_Relatorio& l, int cabem) {
        const QString valor = l.calculada.Formata();
        const qsizetype w = Caracteres::Conta(valor);
        const int largura = w > LarguraValor ? int(w) + 1 : LarguraValor;
        const int n = std::min(LarguraHistorico, cabem);
        return Caracteres::Esquerda(l.historico, std::max(0, n - largura)) +
               Formata_Texto(valor, std::min(largura, n), QStringLiteral("D"));
    }

    void Imprime_Cabec(qint16 Pag) override {
        const QString pagina = Digitos(Pag, 2);
        Imprime_Texto(171, 14, Param[1] + Formata(Param[9], QStringLiteral("00")) + Param[10] + pagina, 10);
        Imprime_Igreja_Mes(115, pagina);
    }

    void Imprime_Corpo() override {
        Dinheiro Tot_Secao, Tot_Ent_Igrejas, Tot_Calc_Igrejas;
        QChar Tipo_Anterior = QLatin1Char('*');
        bool Mostra_Final = true;
        const QString S = QStringLiteral("S");
        const QString traco = QStringLiteral("----");
        for (size_t i = 0; i < linhas_.size(); ++i) {
            const Linha_Relatorio& l = linhas_[i];
            if (l.tipo != Tipo_Anterior) {
                Tipo_Anterior = l.tipo;
                const QString faixa = Faixa(l.tipo);
                if (!faixa.isEmpty()) Imprime_Texto(10, Lin, faixa);
                Incrementa_Lin(S);
            }
            Imprime_Texto(12, Lin, l.dia);
            if (l.tipo == QLatin1Char('S')) {
                Imprime_Texto(24, Lin, l.historico);
                Imprime_Texto(158, Lin, traco);
                Imprime_Valor(172, Lin, l.saida);
                Tot_Secao += l.saida;
                Tot_Saidas += l.saida;
            } else if (l.tipo == QLatin1Char('I')) {
                // Right to left, each amount giving way to the one after it.
                const double saida = Inicio_Valor(172, l.saida);
                const double entrada = Inicio_Valor(144, l.entrada, saida);
                Imprime_Texto(24, Lin, Historico_Igreja(l, Cabem(24, entrada)));
                Imprime_Valor(144, Lin, l.entrada, saida);
                Imprime_Valor(172, Lin, l.saida);
                Tot_Ent_Igrejas += l.entrada;
                Tot_Entradas += l.entrada;
                Tot_Saidas += l.saida;
                Tot_Calc_Igrejas += l.calculada;
            } else {
                Imprime_Texto(24, Lin, Caracteres::Esquerda(l.historico, Cabem(24, Inicio_Valor(144, l.entrada))));
                Imprime_Valor(144, Lin, l.entrada);
                Imprime_Texto(186, Lin, traco);
                Tot_Secao += l.entrada;
                Tot_Entradas += l.entrada;
            }
            Incrementa_Lin(S);

            if (i + 1 == linhas_.size() || linhas_[i + 1].tipo != Tipo_Anterior) {
                Imprime_Texto(12, Lin, QStringLiteral(">>"));
                if (Tipo_Anterior == QLatin1Char('I')) {
                    const Dinheiro base = Tot_Entradas - Tot_Ent_Igrejas + Tot_Calc_Igrejas;
                    Imprime_Texto(45, Lin, QStringLiteral("BASE DE REMESSA R$ ") + base.Formata());
                    Imprime_Fechamento(base);
                    Mostra_Final = false;
                } else if (const QString total = Total_Secao(Tipo_Anterior); !total.isEmpty()) {
                    Imprime_Texto(45, Lin, total + Tot_Secao.Formata());
                }
                Tot_Secao = Dinheiro();
                Incrementa_Lin(S);
            }
        }
        if (Mostra_Final) Imprime_Fechamento(std::nullopt);
    }

    // The month's closing block at its fixed places: with the sector's
    // congregations the remittance is the share of the base, without them
    // the remittances sent.
    void Imprime_Fechamento(std::optional<Dinheiro> base) {
        const Dinheiro remessas = dados_.remessas;
        const Dinheiro anterior = dados_.saldoAnterior;
        if (base) {
            const Dinheiro parte = Parte_Da_Base(*base);
            Imprime_Valor(172, 232, parte);
            Imprime_Valor(172, 238, remessas);
            Imprime_Valor(144, 244, anterior);
            Imprime_Valor(144, 250, anterior + remessas + Tot_Entradas - Tot_Saidas - parte);
        } else {
            Imprime_Valor(172, 238, remessas);
            Imprime_Valor(144, 244, anterior);
            Imprime_Valor(144, 250, anterior + Tot_Entradas - Tot_Saidas - remessas);
        }
    }

    const Fechamento_Mensal& dados_;
    std::vector<Linha_Relatorio> linhas_;
};

}  // namespace

bool Imprime_Mov_Mensal(const Fechamento_Mensal& dados) {
    Relatorio_Livro_Caixa relatorio(dados);
    return relatorio.Imprime_Mov_Mensal();
}
