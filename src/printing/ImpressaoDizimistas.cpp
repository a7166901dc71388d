#include "printing/ImpressaoDizimistas.h"
#include "common/Banco.h"
#include "common/Formularios.h"
#include "common/MarcasHistorico.h"
#include "common/Numeros.h"
#include "common/Recordset.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "printing/FolhaDizimistas.h"
#include "printing/TrabalhoImpressao.h"

namespace {

class Relacao_Mes final : public Folha_Dizimistas {
public:
    Relacao_Mes(const QStringList& linhas, const Dizimistas_Mes::Mes& mes)
        : Folha_Dizimistas(Titulo_Mes(QStringLiteral("Relação de Dizimistas"), mes.mes, mes.ano)), linhas_(linhas),
          mesAno_(mes.Texto()) {}

private:
    void Imprime_Cabec(qint16 iNumPag) override {
        Imprime_Cabec_Igreja(QStringLiteral("Relação de Dizimistas do Mês de ") +
                                 Apara(Caracteres::Esquerda(mesAno_, 20)),
                             iNumPag);
        Imprime_Regua(28);
    }

    void Imprime_Corpo() override {
        for (qsizetype i = 0; i < linhas_.size(); ++i) {
            Proxima_Linha();
            Imprime_Texto(35, Y, QStringLiteral("%1 - ").arg(i + 1, 4, 10, QLatin1Char('0')) + Apara(linhas_[i]));
            Checa_Lin();
        }
        Imprime_Versiculo(QStringLiteral("Cada  um  contribua  segundo  propôs  no  seu  coração,   não   com"));
    }

    const QStringList& linhas_;
    const QString mesAno_;
};

}  // namespace

bool Imprime_Relacao_Mes(const QStringList& linhas, const Dizimistas_Mes::Mes& mes) {
    Relacao_Mes relacao(linhas, mes);
    return relacao.Imprime_Dizimistas();
}

namespace Grade_Dizimistas {

Dizimos_Ano Le_Ano(const QString& codIg, const QString& ano) {
    const RecordsetPtr rs = Abre_Query(QStringLiteral("ProcDizimistasAno"), {codIg, ano});
    const int mes = rs->Indice(QStringLiteral("Mes"));
    const int historico = rs->Indice(QStringLiteral("Historico"));
    Dizimos_Ano d;
    for (; !rs->Eof(); rs->MoveNext()) {
        const qint64 m = rs->Fields(mes).toLongLong();
        if (m < 1 || m > 12) continue;
        if (const std::optional<QString> ri = Marcas_Historico::Numero_RI(rs->Texto(historico)))
            d.numeros[size_t(m - 1)].insert(*ri);
    }
    return d;
}

QString Busca_Dizimo(const Linha_Lista::Linha& dizimista, const Dizimos_Ano& ano) {
    QString linha = Formata_Texto(Caracteres::Esquerda(dizimista.linha, 29), 29, QStringLiteral("E"));
    const bool numero = Val(dizimista.ri) != 0;
    for (int m = 1; m <= 12; ++m)
        linha += numero && ano.Pagou(m, dizimista.ri) ? QStringLiteral("  OK") : QStringLiteral("  --");
    return linha;
}

namespace {

class Grade final : public Folha_Dizimistas {
public:
    Grade(const std::vector<Linha_Lista::Linha>& linhas, const QString& codIg, const QString& ano,
          const std::function<void(int)>& progresso)
        : Folha_Dizimistas(QStringLiteral("Dizimistas ") + Apara(ano)), linhas_(linhas), codIg_(codIg), ano_(ano),
          progresso_(progresso) {}

private:
    void Prepara() override { ano_marcas_ = Le_Ano(codIg_, ano_); }

    void Imprime_Cabec(qint16 iNumPag) override {
        Imprime_Cabec_Igreja(QStringLiteral("Relação de Dizimistas do Mês 1 ao 12 de ") + Apara(ano_), iNumPag);
        Imprime_Texto(7, 28, Colunas);
        Imprime_Regua(31);
    }

    void Imprime_Corpo() override {
        for (size_t i = 0; i < linhas_.size(); ++i) {
            Proxima_Linha();
            Imprime_Texto(7, Y, Busca_Dizimo(linhas_[i], ano_marcas_));
            Checa_Lin();
            if (progresso_) progresso_(int(i + 1));
        }
        Imprime_Versiculo(QStringLiteral("Cada  um  contribua  segundo  propôs  no  seu  coração,   não  com"));
    }

    const std::vector<Linha_Lista::Linha>& linhas_;
    const QString codIg_, ano_;
    const std::function<void(int)>& progresso_;
    Dizimos_Ano ano_marcas_;
};

}  // namespace

bool Imprime_Por_Mes(const std::vector<Linha_Lista::Linha>& linhas, const QString& codIg, const QString& ano,
                     const std::function<void(int)>& progresso) {
    Grade grade(linhas, codIg, ano, progresso);
    return grade.Imprime_Dizimistas();
}

}  // namespace Grade_Dizimistas
