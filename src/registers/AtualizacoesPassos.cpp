// The eight steps of the register download. Each one reads first, walks
// the rows with the progress, and writes last (see Atualizacoes.h). The
// rows collected are keyed as the local match keys them, so that a central
// row repeating one met earlier in the same step edits it instead of
// adding it twice; the write looks every key up again under the write
// lock, as another window may have saved a row while the step walked.
#include "common/Banco.h"
#include "common/Central.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "registers/Atualizacoes.h"
#include <QHash>
#include <QSet>
#include <cmath>
#include <vector>

namespace {

// The calculation type from a congregation's newest remittance setting,
// read as Val reads a text and rounded as a 16-bit whole number: a missing
// or Null setting, or one outside 1 to 6 (the closing rows hold amounts for
// those six only), gives 3.
int Tipo_Calculo(const QVariant& codDesconto) {
    if (codDesconto.isNull()) return 3;
    // Halves to the even neighbour, as a 16-bit conversion rounds.
    const double tipo = std::nearbyint(Val(codDesconto.toString()));
    return tipo >= 1 && tipo <= 6 ? int(tipo) : 3;
}

// Department names match as a person reads them: upper case, accents kept,
// blanks around ignored ("Música" is "MÚSICA", not "MUSICA").
QString Chave_Nome(const QString& nome) { return nome.trimmed().toUpper(); }

// A text as the download's stored queries take it (they strip the leading
// mark), so that an empty central text is still a value.
QString Texto_Query(const QString& texto) { return QLatin1Char('=') + texto; }

// The seven weekday offering histories, in the order of their codes 1 to 7.
const QStringList& Historicos_Ofertas() {
    static const QStringList historicos{
        QStringLiteral("DOMINGO - CULTO COM A FAMÍLIA"),
        QStringLiteral("SEGUNDA-FEIRA - CULTO DE ORAÇÃO"),
        QStringLiteral("TERÇA-FEIRA - CULTO DE ENSINO E DOUTRINA"),
        QStringLiteral("QUARTA-FEIRA - CULTO DE NOITE DA BENÇÃO"),
        QStringLiteral("QUINTA-FEIRA - CULTO DE NOITE DA BENÇÃO"),
        QStringLiteral("SEXTA-FEIRA - CULTO DE ENSINO E DOUTRINA"),
        QStringLiteral("SÁBADO - CEIA DO SENHOR"),
    };
    return historicos;
}

QString N(qint64 v) { return QString::number(v); }

// The key `le` reads from every row of a local query.
template <class Chave, class Le>
QSet<Chave> Chaves(RecordsetPtr rs, Le le) {
    QSet<Chave> chaves;
    for (; !rs->Eof(); rs->MoveNext()) chaves.insert(le(*rs));
    return chaves;
}

QString Descricao(const Recordset& rs) { return Chave_Nome(rs.Texto(QStringLiteral("Descricao"))); }
qint64 Codigo(const Recordset& rs) { return rs.Fields(0).toLongLong(); }

// Tithers by membership number: their Codigo.
QHash<QString, qint64> Dizimistas(BancoLocal& banco) {
    QHash<QString, qint64> ri;
    RecordsetPtr rs = banco.AbreSnapshot(QStringLiteral("ProcAtuPesqDizimos"));
    ri.reserve(rs->RecordCount());
    const int campoRI = rs->Indice(QStringLiteral("RI")), codigo = rs->Indice(QStringLiteral("Codigo"));
    for (; !rs->Eof(); rs->MoveNext()) ri.insert(rs->Texto(campoRI), rs->Fields(codigo).toLongLong());
    return ri;
}

// Field Proximo of a next-code query's first row; 1 when it has none.
qint64 Proximo(BancoLocal& banco, const QString& consulta) {
    const RecordsetPtr rs = banco.AbreSnapshot(consulta);
    if (rs->Eof() || rs->Fields(QStringLiteral("Proximo")).isNull()) return 1;
    return rs->Fields(QStringLiteral("Proximo")).toLongLong();
}

// Rows collected by a step, one per key, in the order first met.
template <class Chave, class Item>
class Coleta {
public:
    Item& Poe(const Chave& chave, Item item) {
        const auto achado = pos_.constFind(chave);
        if (achado != pos_.constEnd()) return itens_[*achado] = std::move(item);
        pos_.insert(chave, itens_.size());
        itens_.push_back(std::move(item));
        return itens_.back();
    }
    const std::vector<Item>& Itens() const { return itens_; }

private:
    QHash<Chave, size_t> pos_;
    std::vector<Item> itens_;
};
}  // namespace

void Atualizacoes::Gera_Calculos() {
    for (int n = 1; n <= 6; ++n) Mostra_Percent(n, 6);
    Grava([](UnidadeTrabalho& u) {
        const QSet<qint64> tipos = Chaves<qint64>(u.AbreSnapshot(QStringLiteral("ProcAtuPesqCalculos")), Codigo);
        for (int n = 1; n <= 6; ++n)
            u.ExecutaQuery(tipos.contains(n) ? QStringLiteral("ProcAtuUpdCalculo") : QStringLiteral("ProcAtuInsCalculo"),
                           {N(n), Texto_Query(QStringLiteral("Cálculo %1").arg(n, 2, 10, QLatin1Char('0')))});
    });
}

void Atualizacoes::Gera_Deptos() {
    RecordsetPtr rs;
    {
        const std::unique_ptr<ConexaoCentral> conexao = Conecta();
        if (!conexao) return;
        rs = conexao->AbreSnapshot(QStringLiteral("Select descricao From tbldepartamentos Where descricao <> '---'"));
    }
    QSet<QString> locais;
    {
        BancoLocalPtr banco = Abre_Banco(true);
        locais = Chaves<QString>(banco->AbreSnapshot(QStringLiteral("ProcAtuPesqDeptos")), Descricao);
    }
    const qint64 total = rs->RecordCount();
    QStringList novos;
    for (qint64 linha = 1; !rs->Eof(); rs->MoveNext(), ++linha) {
        const QString descricao = rs->Texto(QStringLiteral("descricao"));
        const QString chave = Chave_Nome(descricao);
        if (!locais.contains(chave)) {
            locais.insert(chave);
            novos << descricao.toUpper();
        }
        Mostra_Percent(linha, total);
    }
    if (novos.isEmpty()) return;
    Grava([&](UnidadeTrabalho& u) {
        QSet<QString> agora = Chaves<QString>(u.AbreSnapshot(QStringLiteral("ProcAtuPesqDeptos")), Descricao);
        qint64 codigo = Proximo(u, QStringLiteral("ProcProximoDeptos"));
        for (const QString& descricao : novos) {
            if (agora.contains(Chave_Nome(descricao))) continue;
            agora.insert(Chave_Nome(descricao));
            u.ExecutaQuery(QStringLiteral("ProcAtuInsDepto"), {N(codigo++), N(igreja_), Texto_Query(descricao)});
        }
    });
}

void Atualizacoes::Gera_Cargos() {
    RecordsetPtr rs;
    {
        const std::unique_ptr<ConexaoCentral> conexao = Conecta();
        if (!conexao) return;
        rs = conexao->AbreSnapshot(QStringLiteral("Select codigo,descricao,descricaocompleta From tblcargos"));
    }
    struct Cargo {
        qint64 codigo;
        QString descricao, abreviado;
    };
    Coleta<qint64, Cargo> cargos;
    const qint64 total = rs->RecordCount();
    for (qint64 linha = 1; !rs->Eof(); rs->MoveNext(), ++linha) {
        const qint64 codigo = rs->Fields(QStringLiteral("codigo")).toLongLong();
        cargos.Poe(codigo, {codigo, rs->Texto(QStringLiteral("descricao")).toUpper(),
                            rs->Texto(QStringLiteral("descricaocompleta"))});
        Mostra_Percent(linha, total);
    }
    if (cargos.Itens().empty()) return;
    Grava([&](UnidadeTrabalho& u) {
        const QSet<qint64> locais = Chaves<qint64>(u.AbreSnapshot(QStringLiteral("ProcAtuPesqCargos")), Codigo);
        for (const Cargo& c : cargos.Itens())
            u.ExecutaQuery(locais.contains(c.codigo) ? QStringLiteral("ProcAtuUpdCargo") : QStringLiteral("ProcAtuInsCargo"),
                           {N(c.codigo), Texto_Query(c.descricao), Texto_Query(c.abreviado)});
    });
}

void Atualizacoes::Gera_Igrejas() {
    const bool setor = Param[8] == QLatin1String("S");
    if (!setor && Param[8] != QLatin1String("R")) {
        Mostra_Percent(1, 1);
        return;
    }
    struct Igreja {
        qint64 codigo;
        QString nome;
        int calculo;
    };
    Coleta<qint64, Igreja> igrejas;
    {
        const std::unique_ptr<ConexaoCentral> conexao = Conecta();
        if (!conexao) return;
        RecordsetPtr rs =
            setor ? conexao->AbreSnapshot(QStringLiteral("Select codigo, nome FROM tblcongregacoes"
                                                         " WHERE setor = (Select setor FROM tblcongregacoes WHERE codigo = ?)"
                                                         " And codigo <> ? ORDER BY codigo"),
                                          {igreja_, igreja_})
                  : conexao->AbreSnapshot(QStringLiteral("Select c.CODIGO, c.NOME FROM tblcongregacoes c, tblsetores s"
                                                         " Where s.Codigo = c.Setor And s.codigo In ("
                                                         "Select codigo FROM tblsetores WHERE codregional=("
                                                         "Select codregional FROM tblsetores WHERE codigo=("
                                                         "Select setor FROM tblcongregacoes WHERE codigo = ?)))"
                                                         " ORDER BY c.CODIGO"),
                                          {igreja_});
        const qint64 total = rs->RecordCount();
        for (qint64 linha = 1; !rs->Eof(); rs->MoveNext(), ++linha) {
            const qint64 codigo = rs->Fields(QStringLiteral("codigo")).toLongLong();
            // The congregation's newest setting in its own sector.
            const RecordsetPtr remessa = conexao->AbreSnapshot(
                QStringLiteral("Select Codigo,CodDesconto From tblcongremessas"
                               " Where setor = (Select setor From tblcongregacoes Where codigo = ?)"
                               " And congregacao = ? ORDER BY Codigo DESC LIMIT 1"),
                {codigo, codigo});
            const int calculo =
                Tipo_Calculo(remessa->Eof() ? QVariant() : remessa->Fields(QStringLiteral("CodDesconto")));
            // The own congregation, in a region's list, is counted but kept
            // out of its own register.
            if (codigo != igreja_)
                igrejas.Poe(codigo, {codigo, rs->Texto(QStringLiteral("nome")).left(30).toUpper(), calculo});
            Mostra_Percent(linha, total);
        }
    }
    if (igrejas.Itens().empty()) return;
    Grava([&](UnidadeTrabalho& u) {
        const QSet<qint64> locais = Chaves<qint64>(u.AbreQuery(QStringLiteral("ProcAtuPesqIgrejas"), {N(igreja_)}), Codigo);
        for (const Igreja& i : igrejas.Itens())
            u.ExecutaQuery(locais.contains(i.codigo) ? QStringLiteral("ProcAtuUpdIgreja") : QStringLiteral("ProcAtuInsIgreja"),
                           {N(igreja_), N(i.codigo), Texto_Query(i.nome), N(i.calculo)});
    });
}

void Atualizacoes::Gera_Ofertas() {
    if (Conta_Regs(QStringLiteral("Ofertas")) > 0) {
        Mostra_Percent(7, 7);
        return;
    }
    const QStringList& historicos = Historicos_Ofertas();
    for (int n = 1; n <= 7; ++n) Mostra_Percent(n, 7);
    Grava([&](UnidadeTrabalho& u) {
        // Only into an empty table: another window may have added a
        // history while the step walked.
        if (u.AbreSnapshot(QStringLiteral("Select Count(0) as Conta From Ofertas"))->Fields(0).toLongLong() > 0) return;
        for (int n = 1; n <= 7; ++n)
            u.ExecutaQuery(QStringLiteral("ProcInsOfertas"), {N(n), N(igreja_), historicos[n - 1]});
    });
}

void Atualizacoes::Gera_Saidas() {
    RecordsetPtr rs;
    {
        const std::unique_ptr<ConexaoCentral> conexao = Conecta();
        if (!conexao) return;
        rs = conexao->AbreSnapshot(QStringLiteral("Select CodSeq,Descricao FROM tblcontas WHERE tipo = 'D' ORDER BY CodSeq"));
    }
    struct Saida {
        qint64 codigo;
        QString descricao;
    };
    std::vector<Saida> saidas;
    saidas.reserve(size_t(rs->RecordCount()));
    const qint64 total = rs->RecordCount();
    const int codSeq = rs->Indice(QStringLiteral("CodSeq")), descricao = rs->Indice(QStringLiteral("Descricao"));
    for (qint64 linha = 1; !rs->Eof(); rs->MoveNext(), ++linha) {
        saidas.push_back({rs->Fields(codSeq).toLongLong(), rs->Texto(descricao).toUpper()});
        Mostra_Percent(linha, total);
    }
    // A central chart without outflow accounts would leave the cash book
    // with none: the accounts the installation has stay.
    if (saidas.empty()) return;
    Grava([&](UnidadeTrabalho& u) {
        u.ExecutaQuery(QStringLiteral("ProcAtuDelSaidas"), {});
        const QString igreja = N(igreja_);
        for (const Saida& s : saidas)
            u.ExecutaQuery(QStringLiteral("ProcAtuInsSaida"), {N(s.codigo), igreja, Texto_Query(s.descricao)});
    });
}

void Atualizacoes::Gera_Dizimistas() {
    RecordsetPtr rs;
    {
        const std::unique_ptr<ConexaoCentral> conexao = Conecta();
        if (!conexao) return;
        rs = conexao->AbreSnapshot(QStringLiteral("SELECT * FROM vws_getmember WHERE Congregacao = ?"), {igreja_});
    }
    struct Dizimista {
        QString ri, nome, cargo;
    };
    Coleta<QString, Dizimista> dizimistas;
    const qint64 total = rs->RecordCount();
    const int codMembro = rs->Indice(QStringLiteral("CodMembro")), nomeMembro = rs->Indice(QStringLiteral("NomeMembro")),
              ministerio = rs->Indice(QStringLiteral("Ministerio"));
    for (qint64 linha = 1; !rs->Eof(); rs->MoveNext(), ++linha) {
        const QString ri = rs->Texto(codMembro);
        // Without a membership number a member matches no tither, and would
        // be added again on every run.
        if (!ri.isEmpty()) {
            const QVariant cargo = rs->Fields(ministerio);
            dizimistas.Poe(ri, {ri, rs->Texto(nomeMembro).toUpper(), cargo.isNull() ? QString() : N(cargo.toLongLong())});
        }
        Mostra_Percent(linha, total);
    }
    if (dizimistas.Itens().empty()) return;
    Grava([&](UnidadeTrabalho& u) {
        QHash<QString, qint64> agora = Dizimistas(u);
        qint64 codigo = Proximo(u, QStringLiteral("ProcProximoDizimos"));
        const QString igreja = N(igreja_);
        for (const Dizimista& d : dizimistas.Itens()) {
            const auto achado = agora.constFind(d.ri);
            if (achado != agora.constEnd()) {
                u.ExecutaQuery(QStringLiteral("ProcAtuUpdDizimo"),
                               {N(*achado), igreja, Texto_Query(d.nome), Texto_Query(d.cargo)});
            } else {
                u.ExecutaQuery(QStringLiteral("ProcAtuInsDizimo"),
                               {N(codigo), igreja, Texto_Query(d.ri), Texto_Query(d.nome), Texto_Query(d.cargo)});
                agora.insert(d.ri, codigo++);
            }
        }
    });
}

void Atualizacoes::Gera_Transmissao() {
    if (!Tem_Tabela())
        Executa_SQL(QStringLiteral("Create Table Transmissao (Mes integer,Ano integer,Data Datetime,Usuario varchar(50))"));
    Mostra_Percent(1, 1);
    MsgBox(QStringLiteral("Processo Concluido.") + QChar(13) + QStringLiteral("Examine seus Dados."), vbInformation,
           Titulo_Atencao());
    Limpa_Percent();
}
