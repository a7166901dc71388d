// Saving one cash-book entry: the checks in their order, the tithe's
// history brought to its forms, the outflow's account tag, the insert.
#include "common/Banco.h"
#include "common/Dizimo.h"
#include "common/Erros.h"
#include "common/MarcasHistorico.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "common/Transmissao.h"
#include "common/Usuario.h"
#include "common/LinhaLancamento.h"
#include "operations/LivroCaixa.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <optional>

namespace {

// An outflow history longer than the row's 50 characters is shortened so
// that its account tag stays whole, and is stored that way: the row read
// back and the stored text then carry the same tag.
QString Saida_Ajustada(const QString& historico, const QString& conta) {
    const int max = Linha_Lancamento::LarguraHistorico;
    if (Caracteres::Conta(historico) <= max) return historico;
    const qsizetype u = historico.indexOf(conta);
    const qsizetype p = u < 0 ? -1 : Caracteres::Conta(QStringView(historico).first(u));
    if (p + Caracteres::Conta(conta) <= max) return Apara(Caracteres::Esquerda(historico, max));
    return Apara(Caracteres::Esquerda(historico, std::max<qsizetype>(0, max - 1 - Caracteres::Conta(conta)))) +
           QLatin1Char(' ') + conta;
}
}  // namespace

void LivroCaixa::CboHistorico_Click() {
    if (!OptSaidas->Value()) return;
    Conta_Selecionada = Marcas_Historico::Marca_Conta(CboHistorico->Text());
}

void LivroCaixa::CmdEnvia_Click() { Salva(); }

bool LivroCaixa::Salva() {
    const Screen::Ampulheta ampulheta;

    if (!Valida_Controle(CboMesAno, LblMesAno, QStringLiteral("T"), QStringLiteral("S"))) return false;
    if (!Valida_Controle(TxtDia, LblDia, QStringLiteral("N"), QStringLiteral("S"))) return false;
    const double dia = Para_Numero(TxtDia->Text());
    if (!Valida_Dia(dia)) return false;
    if (!Valida_Controle(CboHistorico, LblHistorico, QStringLiteral("T"), QStringLiteral("S"))) return false;
    // Only a well-formed amount that fits its column: "1234.56" is not
    // read as 123456, and no total is read back from a cut cell.
    const std::optional<Dinheiro> valor = Dinheiro::Le(TxtValor->Text());
    if (!valor || !Linha_Lancamento::Cabe(*valor)) {
        Aviso(QStringLiteral("Preencha ") + LblValor->Caption() + QStringLiteral(" Corretamente."));
        return false;
    }
    const QString historico = Apara(CboHistorico->Text());
    if (historico.contains(QLatin1Char('\''))) {
        Aviso(QStringLiteral("Para prosseguir retire apóstrofos (') do Histórico."));
        return false;
    }
    const QString tipo = OfDzSd();
    QString exibido = historico, armazenado = historico;
    if (tipo == QLatin1String("D")) {
        if (Historico_Dizimo::RI_Com_Ponto(historico)) {
            Aviso(QStringLiteral("Para prosseguir retire pontos (.) do Nº do RI."));
            return false;
        }
        const std::optional<QString> s = Historico_Dizimo::Exibido_Do_Digitado(historico);
        if (!s) {
            Aviso(QStringLiteral("Preencha ") + LblHistorico->Caption() + QStringLiteral(" Corretamente."));
            return false;
        }
        exibido = *s;
        armazenado = Historico_Dizimo::Armazenado(exibido);
    } else if (tipo == QLatin1String("S")) {
        const QString conta = Marcas_Historico::Marca_Conta(historico);
        if (Conta_Selecionada.isEmpty() || conta.isEmpty()) {
            Aviso(QStringLiteral("Para prosseguir é necessário o Nº da Conta (CT:\?\?\?) no Histórico."));
            return false;
        }
        if (conta != Conta_Selecionada) {
            Aviso(QStringLiteral("A Conta ") + conta + QStringLiteral(" é Inválida para este Histórico. Verifique."));
            return false;
        }
        exibido = armazenado = Saida_Ajustada(historico, conta);
    } else if (tipo.isEmpty()) {
        return false;
    }

    // The key is read inside the unit: its write lock keeps another
    // program instance from taking the same key before the insert.
    qint64 codigo = 0;
    const bool gravado = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        codigo = Le_Proximo_Codigo(unidade, TxtCodigo, QStringLiteral("ProcProximoLivroCaixa"));
        unidade.ExecutaQuery(QStringLiteral("ProcInsLivroCaixa"),
                             {QString::number(codigo), Param[1], Param[10], Param[9], QString::number(qint64(dia)),
                              tipo, armazenado, valor->Texto()});
        Limpa_Transmissao(unidade);
    });
    // The row comes only after the commit: a failed save leaves nothing
    // on screen that the totals would count, and the typed text as it was.
    if (!gravado) return false;
    Lancamentos_Mes::Lancamento l = Lancamentos_Mes::De_Registro(codigo, tipo, int(dia), armazenado, *valor);
    l.linha = Linha_Lancamento::Monta(tipo, int(dia), exibido, *valor);
    Adiciona_Linha(l);

    Limpa_Campos_LivroCx();
    Calcula_Saldo();
    Conta_Regs();
    TxtDia->SetFocus();
    return true;
}

// The central system holds the month as it was sent: any change of its
// entries makes it count as not transmitted, in the same unit as the change.
void LivroCaixa::Limpa_Transmissao(BancoLocal& banco) { Deleta_Transmissao(banco); }
