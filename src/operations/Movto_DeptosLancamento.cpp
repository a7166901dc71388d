// Saving one department ledger entry, the balance carried from the months
// before, and the correction and deletion of an entry.
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/LinhaLancamentoDepto.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/TelaLancamento.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "operations/Movto_Deptos.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <optional>

namespace {

// A month's total of one kind, in cents; none is zero.
Dinheiro Total_Mes(const QString& consulta, const QStringList& parametros) {
    const QVariant centavos = Abre_Query(consulta, parametros)->Fields(QStringLiteral("Centavos"));
    return Dinheiro::DeCentavos(centavos.isNull() ? 0 : centavos.toLongLong());
}
}  // namespace

void Movto_Deptos::CmdEnvia_Click() { Salva(); }

bool Movto_Deptos::Salva() {
    const Screen::Ampulheta ampulheta;

    if (!Valida_Controle(CboMesAno, LblMesAno, QStringLiteral("T"), QStringLiteral("S"))) return false;
    if (!Valida_Controle(CboDepto, LblDepto, QStringLiteral("L"), QStringLiteral("S"))) return false;
    if (!Valida_Controle(TxtDia, LblDia, QStringLiteral("N"), QStringLiteral("S"))) return false;
    const double dia = Para_Numero(TxtDia->Text());
    if (!Valida_Dia(dia)) return false;
    if (!Valida_Controle(CboHistorico, LblHistorico, QStringLiteral("T"), QStringLiteral("S"))) return false;
    // Only a well-formed amount that fits its column: "1234.56" is not
    // read as 123456, and no total is read back from a cut cell.
    const std::optional<Dinheiro> valor = Dinheiro::Le(TxtValor->Text());
    if (!valor || !Linha_Lancamento_Depto::Cabe(*valor)) {
        Aviso(QStringLiteral("Preencha ") + LblValor->Caption() + QStringLiteral(" Corretamente."));
        return false;
    }
    const QString tipo = EntSai();
    if (tipo.isEmpty()) return false;
    const QString historico = CboHistorico->Text();
    const QString depto = Depto();

    // The key is read inside the unit: its write lock keeps another
    // program instance from taking the same key before the insert.
    qint64 codigo = 0;
    const bool gravado = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        codigo = Le_Proximo_Codigo(unidade, TxtCodigo, QStringLiteral("ProcProximoLancDeptos"));
        unidade.ExecutaQuery(QStringLiteral("ProcInsLancDeptos"),
                             {QString::number(codigo), Param[1], Param[10], Param[9], depto,
                              QString::number(qint64(dia)), tipo, historico, valor->Texto()});
    });
    // The row comes only after the commit: a failed save leaves nothing on
    // screen that the totals would count, and the typed text as it was.
    if (!gravado) return false;
    Linha_Lista::Adiciona(LstDeptos, Linha_Lancamento_Depto::De_Registro(codigo, int(dia), tipo, historico, *valor));

    Limpa_Campos_Deptos();
    Calcula_Saldo();
    Conta_Regs();
    if (ActiveControl() == CmdEnvia) TxtDia->SetFocus();
    return true;
}

void Movto_Deptos::Saldo_Anterior() {
    if (LstDeptos->ListCount() > 0 || CboDepto->ListIndex() < 0) return;
    const int mes = Param[9].toInt();
    const int ano = Param[10].toInt();
    const int mesAnterior = mes - 1 == 0 ? 12 : mes - 1;
    const int anoAnterior = mes - 1 == 0 ? ano - 1 : ano;

    // The balance at the end of the previous month is that of the latest
    // month with entries up to it: a month without any carries nothing
    // away from the balance.
    Dinheiro entrada, saida;
    const bool ok = Tenta([&] {
        entrada = saida = Dinheiro();
        RecordsetPtr rs = Abre_Query(QStringLiteral("ProcPesqUltimoMesDepto"),
                                     {Param[1], QString::number(anoAnterior), QString::number(mesAnterior), Depto()});
        if (rs->Eof()) return;
        const QStringList parametros{Param[1], rs->Texto(QStringLiteral("Ano")), rs->Texto(QStringLiteral("Mes")),
                                     Depto()};
        entrada = Total_Mes(QStringLiteral("ProcPesqEntDepto"), parametros);
        saida = Total_Mes(QStringLiteral("ProcPesqSaiDepto"), parametros);
    });
    if (!ok) return;

    // The kind first: choosing it reloads the history list.
    if (saida > entrada) OptSaida->setValue(true);
    else OptEntrada->setValue(true);
    TxtDia->setText_(QStringLiteral("1"));
    CboHistorico->setText_(QStringLiteral("SALDO ANTERIOR (") + Formata(double(mesAnterior), QStringLiteral("00")) +
                           QLatin1Char('/') + QString::number(anoAnterior) + QLatin1Char(')'));
    const Dinheiro saldo = entrada - saida;
    TxtValor->setText_((saldo < Dinheiro() ? -saldo : saldo).Formata());
    Salva();
}

// ---------------------------------------------------------------------------
// Correction and deletion

void Movto_Deptos::LstDeptos_DblClick() {
    if (!Confirma_Sobrepor(!CboHistorico->Text().isEmpty())) return;
    const Screen::Ampulheta ampulheta;
    const int i = LstDeptos->ListIndex();
    if (i < 0) return;
    const QString linha = LstDeptos->List(i);
    const QString armazenado = Linha_Lista::Da_Lista(LstDeptos, i).historico;
    Linha_Lancamento_Depto::Linha l;
    if (!Tenta([&] { l = Linha_Lancamento_Depto::Le(linha); })) return;
    // The stored entry goes first: when it cannot be deleted, the fields
    // stay as they were and nothing can be saved twice.
    if (!Deleta_Lancamento(LstDeptos->ItemData(i), i)) return;
    TxtDia->setText_(l.dia);
    if (l.tipo == QLatin1String("E")) {
        OptEntrada->setValue(true);
        TxtValor->setText_(l.entrada.Formata());
    } else if (l.tipo == QLatin1String("S")) {
        OptSaida->setValue(true);
        TxtValor->setText_(l.saida.Formata());
    }
    Seleciona_Texto_Combo(CboHistorico, armazenado.isEmpty() ? l.historico : armazenado);
    Calcula_Saldo();
    Conta_Regs();
}

void Movto_Deptos::LstDeptos_KeyUp(int& KeyCode, int) {
    if (KeyCode != 46) return;
    const int i = LstDeptos->ListIndex();
    if (i < 0 || !Confirma_Remocao(LstDeptos, i)) return;
    const Screen::Ampulheta ampulheta;
    if (Deleta_Lancamento(LstDeptos->ItemData(i), i)) {
        Calcula_Saldo();
        Conta_Regs();
    }
}

bool Movto_Deptos::Deleta_Lancamento(qint64 iCodigo, int indice) {
    const bool removido = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        unidade.ExecutaQuery(QStringLiteral("ProcDelLancDeptos"), {QString::number(iCodigo), {}, {}, {}, {}, {}, {}, {}, {}});
    });
    if (!removido) return false;
    LstDeptos->RemoveItem(indice);
    return true;
}
