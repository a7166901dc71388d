#include "common/ListaDizimistas.h"
#include "common/Banco.h"
#include "common/Dizimo.h"
#include "common/Erros.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Recordset.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "platform/Controles.h"
#include "platform/Tela.h"
#include <cmath>

namespace {
// Reads every row of an open recordset with `linha`, each step under Tenta,
// into the list at the end (whole or as far as the user let it go). True
// when the last row was read.
bool Enche(ListBox* lista, const std::function<RecordsetPtr()>& abre,
           const std::function<Linha_Lista::Linha(const Recordset&)>& linha) {
    const Screen::Ampulheta ampulheta;
    lista->Clear();
    RecordsetPtr rs;
    bool ok = Tenta([&] { rs = abre(); });
    std::vector<Linha_Lista::Linha> ls;
    while (ok && !rs->Eof()) {
        ok = Tenta([&] { ls.push_back(linha(*rs)); });
        if (ok) ok = Tenta([&] { rs->MoveNext(); });
    }
    Linha_Lista::Adiciona(lista, ls);
    return ok;
}
}  // namespace

namespace Dizimistas_Mes {

QString Mes::Texto() const {
    const double n = Valor_Numerico(Apara(mes));
    const int m = n >= 1 && n <= 12 && n == std::floor(n) ? int(n) : 0;
    return (m ? Nome_Mes(m) : Apara(mes)) + QStringLiteral(" / ") + ano;
}

Mes Mes_De_Trabalho() { return {Param[1], Param[10], Param[9]}; }

QString Consulta() { return QStringLiteral("ProcDizimistas"); }

Linha_Lista::Linha De_Historico(const QString& historico, bool cargo) {
    const qsizetype tamanho = Caracteres::Conta(historico);
    const QString nome = Caracteres::Esquerda(historico, qMax<qsizetype>(0, tamanho - 3));
    Linha_Lista::Linha l;
    l.tipo = QStringLiteral("D");
    l.historico = historico;
    l.linha = cargo ? Caracteres::Direita(historico, 2) + QStringLiteral(". ") + nome : nome;
    return l;
}

namespace {
QStringList Parametros(const Mes& mes) { return {mes.codIg, mes.ano, mes.mes}; }
}  // namespace

std::vector<Linha_Lista::Linha> Le(const Mes& mes, bool cargo) {
    const RecordsetPtr rs = Abre_Query(Consulta(), Parametros(mes));
    const int historico = rs->Indice(QStringLiteral("Historico"));
    std::vector<Linha_Lista::Linha> v;
    v.reserve(size_t(rs->RecordCount()));
    for (; !rs->Eof(); rs->MoveNext()) v.push_back(De_Historico(rs->Texto(historico), cargo));
    return v;
}

std::optional<Mes> Carrega(ListBox* lista, bool cargo, const std::function<void()>& Conta_Regs) {
    const Mes mes = Mes_De_Trabalho();
    const bool ok = Enche(
        lista, [&] { return Abre_Query(Consulta(), Parametros(mes)); },
        [&](const Recordset& rs) { return De_Historico(rs.Texto(QStringLiteral("Historico")), cargo); });
    if (!ok) return std::nullopt;
    if (Conta_Regs) Conta_Regs();
    return mes;
}

}  // namespace Dizimistas_Mes

namespace Dizimistas_Cadastro {

Linha_Lista::Linha De_Registro(const QString& abreviado, const QString& nome, const QString& ri) {
    Linha_Lista::Linha l;
    // The row shows the number the grid matches: blanks typed before it
    // would push its digits out of the column.
    l.ri = Apara(ri);
    l.linha = Linha_Dizimista::Monta(abreviado, nome, l.ri);
    l.historico = nome;
    return l;
}

namespace {
const QString Consulta = QStringLiteral("ProcPesqDizimos");

Linha_Lista::Linha Da_Linha(const Recordset& rs) {
    return De_Registro(rs.Texto(QStringLiteral("Abreviado")), rs.Texto(QStringLiteral("Nome")),
                       rs.Texto(QStringLiteral("RI")));
}
}  // namespace

std::vector<Linha_Lista::Linha> Le(const QString& codIg) {
    const RecordsetPtr rs = Abre_Query(Consulta, {codIg});
    std::vector<Linha_Lista::Linha> v;
    for (; !rs->Eof(); rs->MoveNext()) v.push_back(Da_Linha(*rs));
    return v;
}

bool Carrega(ListBox* lista, const std::function<void()>& Conta_Regs) {
    const QString codIg = Param[1];
    if (!Enche(lista, [&] { return Abre_Query(Consulta, {codIg}); }, Da_Linha)) return false;
    if (Conta_Regs) Conta_Regs();
    return true;
}

}  // namespace Dizimistas_Cadastro
