#include "common/LancamentosMes.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/LinhaLancamento.h"
#include "common/Parametros.h"
#include "common/Recordset.h"
#include "common/Texto.h"
#include "platform/Controles.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <algorithm>

namespace Lancamentos_Mes {

static_assert(PapelHistorico == Qt::UserRole + 1);

namespace {
Lancamento Do_Registro(const Recordset& rs) {
    return De_Registro(rs.Fields(QStringLiteral("Codigo")).toLongLong(), rs.Texto(QStringLiteral("Tipo")),
                       int(rs.Fields(QStringLiteral("Dia")).toLongLong()), rs.Texto(QStringLiteral("Historico")),
                       Dinheiro::DeCampo(rs.Fields(QStringLiteral("Valor"))));
}

// Set on a list once the user was told of its "##########" cells.
const char* const Avisado = "valoresCheiosAvisados";

void Preenche(QListWidgetItem* item, const Lancamento& l) {
    item->setData(ListBox::PapelItemData, QVariant(qlonglong(l.codigo)));
    // The history as stored: a correction takes it back whole, even where
    // the row shows only its first 50 characters.
    item->setData(PapelHistorico, l.historico);
    item->setData(PapelEntrada, QVariant(qlonglong(l.entrada.Centavos())));
    item->setData(PapelSaida, QVariant(qlonglong(l.saida.Centavos())));
}

QStringList Parametros(const QString& codIg, const QString& ano, const QString& mes, const QString& sTipo) {
    return {codIg, ano, mes, sTipo};
}
}  // namespace

Lancamento De_Registro(qint64 codigo, const QString& tipo, int dia, const QString& historico, Dinheiro valor) {
    Lancamento l;
    l.codigo = codigo;
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
    const RecordsetPtr rs = Abre_Query(Consulta(), Parametros(codIg, ano, mes, sTipo));
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
    Adiciona(lista, ls);
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

void Adiciona(ListBox* lista, const Lancamento& l) { Adiciona(lista, std::vector<Lancamento>{l}); }

void Adiciona(ListBox* lista, const std::vector<Lancamento>& ls) {
    QStringList textos;
    textos.reserve(qsizetype(ls.size()));
    for (const Lancamento& l : ls) textos.append(l.linha);
    lista->AddItems(textos, [&](QListWidgetItem* item, qsizetype k) { Preenche(item, ls[size_t(k)]); });
}

void Avisa_Valores_Cheios() {
    MsgBox(QStringLiteral("Há lançamentos com valores que não cabem na coluna (##########). "
                          "Os totais estão corretos; confira esses lançamentos."),
           vbInformation, Titulo_Atencao());
}

Lancamento Da_Lista(const ListBox* lista, int i) {
    const QListWidgetItem* item = lista->item(i);
    Lancamento l;
    l.codigo = lista->ItemData(i);
    l.linha = item->text();
    l.historico = item->data(PapelHistorico).toString();
    l.entrada = Dinheiro::DeCentavos(item->data(PapelEntrada).toLongLong());
    l.saida = Dinheiro::DeCentavos(item->data(PapelSaida).toLongLong());
    return l;
}

void Soma(const ListBox* lista, Dinheiro& entradas, Dinheiro& saidas) {
    const int n = lista->ListCount();
    for (int i = 0; i < n; ++i) {
        const QListWidgetItem* item = lista->item(i);
        entradas += Dinheiro::DeCentavos(item->data(PapelEntrada).toLongLong());
        saidas += Dinheiro::DeCentavos(item->data(PapelSaida).toLongLong());
    }
}

}  // namespace Lancamentos_Mes
