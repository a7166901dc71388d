#include "common/LancamentosMes.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/LinhaIgrejaSetor.h"
#include "common/LinhaLancamento.h"
#include "common/Parametros.h"
#include "common/Recordset.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Controles.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <algorithm>

namespace Lancamentos_Mes {

namespace {
Lancamento Do_Registro(const Recordset& rs) {
    return De_Registro(rs.Fields(QStringLiteral("Codigo")).toLongLong(), rs.Texto(QStringLiteral("Tipo")),
                       int(rs.Fields(QStringLiteral("Dia")).toLongLong()), rs.Texto(QStringLiteral("Historico")),
                       Dinheiro::DeCampo(rs.Fields(QStringLiteral("Valor"))));
}

// Set on a list once the user was told of its "##########" cells.
const char* const Avisado = "valoresCheiosAvisados";

QStringList Parametros(const QString& codIg, const QString& ano, const QString& mes, const QString& sTipo) {
    return {codIg, ano, mes, sTipo};
}

Linha_Igreja_Setor::Igreja Da_Igreja(const Recordset& rs) {
    Linha_Igreja_Setor::Igreja ig;
    ig.nome = rs.Texto(QStringLiteral("Nome"));
    ig.codCongrega = rs.Fields(QStringLiteral("CodCongrega")).toLongLong();
    ig.calculo = rs.Fields(QStringLiteral("Calculo"));
    ig.entradas = Dinheiro::DeCampo(rs.Fields(QStringLiteral("Entradas")));
    ig.saidas = Dinheiro::DeCampo(rs.Fields(QStringLiteral("Saidas")));
    ig.aluguel = Dinheiro::DeCampo(rs.Fields(QStringLiteral("Aluguel")));
    ig.agua = Dinheiro::DeCampo(rs.Fields(QStringLiteral("Agua")));
    ig.luz = Dinheiro::DeCampo(rs.Fields(QStringLiteral("Luz")));
    ig.prebenda = Dinheiro::DeCampo(rs.Fields(QStringLiteral("Prebenda")));
    return ig;
}

void Anota_Invalida(const Linha_Igreja_Setor::Igreja& ig, QStringList* invalidas) {
    if (invalidas && !Linha_Igreja_Setor::Calculo(ig.calculo)) invalidas->append(Apara(ig.nome));
}
}  // namespace

Lancamento De_Registro(qint64 codigo, const QString& tipo, int dia, const QString& historico, Dinheiro valor) {
    Lancamento l;
    l.codigo = codigo;
    l.tipo = tipo;
    l.dia = dia;
    l.historico = historico;
    l.linha = Linha_Lancamento::De_Registro(tipo, dia, historico, valor);
    // The same column the row shows the amount in.
    if (tipo == QLatin1String("S")) l.saida = valor;
    else l.entrada = valor;
    return l;
}

bool Cabe(const Lancamento& l) { return Linha_Lancamento::Cabe(l.entrada) && Linha_Lancamento::Cabe(l.saida); }

QString Consulta() { return QStringLiteral("ProcImpLivroCaixa"); }

std::vector<Lancamento> Le(const QString& codIg, const QString& ano, const QString& mes, const QString& sTipo) {
    return Le(*Abre_Banco(true), codIg, ano, mes, sTipo);
}

std::vector<Lancamento> Le(BancoLocal& banco, const QString& codIg, const QString& ano, const QString& mes,
                           const QString& sTipo) {
    const RecordsetPtr rs = banco.AbreQuery(Consulta(), Parametros(codIg, ano, mes, sTipo));
    std::vector<Lancamento> v;
    for (; !rs->Eof(); rs->MoveNext()) v.push_back(Do_Registro(*rs));
    return v;
}

bool Carrega_Lancamentos(ListBox* lista, const QString& sTipo, const std::function<void()>& Calcula_Saldo,
                         const std::function<void()>& Conta_Regs) {
    const Screen::Ampulheta ampulheta;
    const QStringList parametros = Parametros(Param[1], Param[10], Param[9], sTipo);
    if (lista->ListCount() == 0) lista->setProperty(Avisado, false);
    RecordsetPtr rs;
    bool ok = Tenta([&] { rs = Abre_Query(Consulta(), parametros); });
    std::vector<Lancamento> ls;
    while (ok && !rs->Eof()) {
        ok = Tenta([&] { ls.push_back(Do_Registro(*rs)); });
        if (ok) ok = Tenta([&] { rs->MoveNext(); });
    }
    Linha_Lista::Adiciona(lista, ls);
    if (ok) {
        if (Calcula_Saldo) Calcula_Saldo();
        if (Conta_Regs) Conta_Regs();
    }
    if (!lista->property(Avisado).toBool() && !std::all_of(ls.begin(), ls.end(), [](const Lancamento& l) { return Cabe(l); })) {
        lista->setProperty(Avisado, true);
        Avisa_Valores_Cheios();
    }
    return ok;
}

void Avisa_Valores_Cheios() {
    MsgBox(QStringLiteral("Há lançamentos com valores que não cabem na coluna (##########). "
                          "Os totais estão corretos; confira esses lançamentos."),
           vbInformation, Titulo_Atencao());
}

std::vector<Lancamento> Le_Mes(const QString& codIg, const QString& ano, const QString& mes) {
    return Le_Mes(*Abre_Banco(true), codIg, ano, mes);
}

std::vector<Lancamento> Le_Mes(BancoLocal& banco, const QString& codIg, const QString& ano, const QString& mes) {
    std::vector<Lancamento> v;
    for (const char* tipo : {"O", "D", "S"}) {
        std::vector<Lancamento> bloco = Le(banco, codIg, ano, mes, QString::fromLatin1(tipo));
        v.insert(v.end(), std::make_move_iterator(bloco.begin()), std::make_move_iterator(bloco.end()));
    }
    return v;
}

QString Consulta_Igrejas() { return QStringLiteral("ProcImpTotIgrejas"); }

std::vector<Lancamento> Le_Igrejas(BancoLocal& banco, const QString& codIg, const QString& ano, const QString& mes,
                                   QStringList* invalidas) {
    const RecordsetPtr rs = banco.AbreQuery(Consulta_Igrejas(), {codIg, ano, mes});
    std::vector<Lancamento> v;
    for (; !rs->Eof(); rs->MoveNext()) {
        const Linha_Igreja_Setor::Igreja ig = Da_Igreja(*rs);
        Anota_Invalida(ig, invalidas);
        v.push_back(Linha_Igreja_Setor::De_Igreja(ig));
    }
    return v;
}

bool Carrega_Igrejas(ListBox* lista, const std::function<void()>& Calcula_Saldo,
                     const std::function<void()>& Conta_Regs) {
    QStringList invalidas;
    bool ok = false;
    {
        const Screen::Ampulheta ampulheta;
        const QStringList parametros{Param[1], Param[10], Param[9]};
        RecordsetPtr rs;
        ok = Tenta([&] { rs = Abre_Query(Consulta_Igrejas(), parametros); });
        lista->setUpdatesEnabled(false);
        while (ok && !rs->Eof()) {
            ok = Tenta([&] {
                const Linha_Igreja_Setor::Igreja ig = Da_Igreja(*rs);
                Linha_Lista::Adiciona(lista, Linha_Igreja_Setor::De_Igreja(ig));
                Anota_Invalida(ig, &invalidas);
            });
            if (ok) ok = Tenta([&] { rs->MoveNext(); });
        }
        lista->setUpdatesEnabled(true);
    }
    // Said once the hourglass is gone: the row is there, with a zero amount.
    for (const QString& nome : invalidas)
        MsgBox(QStringLiteral("Tipo de Cálculo inválido na Igreja ") + nome + QStringLiteral(". Verifique o cadastro."),
               vbOKOnly + vbInformation, Titulo_Atencao());
    if (ok) {
        if (Calcula_Saldo) Calcula_Saldo();
        if (Conta_Regs) Conta_Regs();
    }
    return ok;
}

bool Carrega_Mes_Setor(ListBox* lista, const QString& tipo, const std::function<void()>& Calcula_Saldo,
                       const std::function<void()>& Conta_Regs) {
    bool completo = true;
    for (const char* kind : {"O", "D", "S"})
        if (!Carrega_Lancamentos(lista, QString::fromLatin1(kind), Calcula_Saldo, Conta_Regs)) completo = false;
    if (tipo != QLatin1String("C") && !Carrega_Igrejas(lista, Calcula_Saldo, Conta_Regs)) completo = false;
    return completo;
}

std::vector<Lancamento> Le_Mes_Setor(BancoLocal& banco, const QString& codIg, const QString& ano, const QString& mes,
                                     const QString& tipo) {
    std::vector<Lancamento> v = Le_Mes(banco, codIg, ano, mes);
    if (tipo != QLatin1String("C")) {
        std::vector<Lancamento> igrejas = Le_Igrejas(banco, codIg, ano, mes);
        v.insert(v.end(), std::make_move_iterator(igrejas.begin()), std::make_move_iterator(igrejas.end()));
    }
    return v;
}

}  // namespace Lancamentos_Mes
