// Correction and deletion of a cash-book entry, and the day's summary of
// tithes and offerings.
#include "common/Formularios.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/LancamentosMes.h"
#include "common/MarcasHistorico.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/TelaLancamento.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "common/LinhaLancamento.h"
#include "operations/LivroCaixa.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Tela.h"
#include <array>

void LivroCaixa::LstLivroCx_DblClick() {
    if (!Confirma_Sobrepor(!CboHistorico->Text().isEmpty())) return;
    const Screen::Ampulheta ampulheta;
    const int i = LstLivroCx->ListIndex();
    if (i < 0) return;
    const Lancamentos_Mes::Lancamento guardado = Linha_Lista::Da_Lista(LstLivroCx, i);
    const QString armazenado = Apara(guardado.historico);
    Linha_Lancamento::Linha l;
    if (!Tenta([&] { l = Linha_Lancamento::Le(guardado.linha); })) return;
    // The stored entry goes first: when it cannot be deleted, the fields
    // stay as they were and nothing can be saved twice.
    if (!Deleta_Lancamento(guardado.codigo, i)) return;

    TxtDia->setText_(l.dia);
    if (l.tipo == QLatin1String("O")) {
        OptOfertas->setValue(true);
        TxtValor->setText_(l.entrada.Formata());
        Seleciona_Historico(armazenado.isEmpty() ? l.historico : armazenado);
    } else if (l.tipo == QLatin1String("D")) {
        OptDizimos->setValue(true);
        TxtValor->setText_(l.entrada.Formata());
        Seleciona_Historico(armazenado.isEmpty() ? Linha_Lancamento::Historico_Dizimo(l) : armazenado);
    } else if (l.tipo == QLatin1String("S")) {
        OptSaidas->setValue(true);
        TxtValor->setText_(l.saida.Formata());
        Seleciona_Historico(armazenado.isEmpty() ? l.historico : armazenado);
        // Without a tag the account is empty, and the save asks for it.
        Conta_Selecionada = Marcas_Historico::Marca_Conta(CboHistorico->Text());
    }
    Calcula_Saldo();
    Conta_Regs();
}

void LivroCaixa::LstLivroCx_KeyUp(int& KeyCode, int) {
    if (KeyCode != 46) return;
    const int i = LstLivroCx->ListIndex();
    if (i < 0 || !Confirma_Remocao(LstLivroCx, i)) return;
    const Screen::Ampulheta ampulheta;
    if (Deleta_Lancamento(LstLivroCx->ItemData(i), i)) {
        Calcula_Saldo();
        Conta_Regs();
    }
}

bool LivroCaixa::Deleta_Lancamento(qint64 iCodigo, int indice) {
    const bool removido = Tenta_Unidade([&](UnidadeTrabalho& unidade) {
        unidade.ExecutaQuery(QStringLiteral("ProcDelLivroCaixa"), {QString::number(iCodigo), {}, {}, {}, {}, {}, {}, {}});
        Limpa_Transmissao(unidade);
    });
    if (!removido) return false;
    Remove_Linha(indice);
    return true;
}

// ---------------------------------------------------------------------------
// Day's summary

int LivroCaixa::FraResumo_Left() const { return resumoLeft_; }

void LivroCaixa::Posiciona_Resumo(int leftTw) {
    resumoLeft_ = leftTw;
    FraResumo->move(Twips::ParaPixelX(leftTw), LstLivroCx->y());
    // Beyond the form's right edge it is out of sight; a wider screen font
    // must not let an edge of it show.
    FraResumo->setVisible(leftTw == ResumoVisivel);
    if (leftTw == ResumoVisivel) FraResumo->raise();
}

void LivroCaixa::CmdOk_Click() {
    if (FraResumo_Left() == ResumoOculto) {
        Posiciona_Resumo(ResumoVisivel);
        CmdOk->setCaption(QStringLiteral("Fechar"));
        Carrega_Resumo();
    } else if (FraResumo_Left() == ResumoVisivel) {
        Posiciona_Resumo(ResumoOculto);
        CmdOk->setCaption(QStringLiteral("Resumo"));
    }
}

void LivroCaixa::Carrega_Resumo() {
    const Screen::Ampulheta ampulheta;
    std::array<qint64, 32> dizimos{}, ofertas{};
    const QStringList parametros{Param[1], Param[10], Param[9], {}, {}, {}, {}, {}};
    RecordsetPtr rs;
    bool ok = Tenta([&] { rs = Abre_Query(QStringLiteral("ProcSomaLivroCaixaDia"), parametros); });
    while (ok && !rs->Eof()) {
        const qint64 dia = rs->Fields(QStringLiteral("Dia")).toLongLong();
        const qint64 centavos = rs->Fields(QStringLiteral("Centavos")).toLongLong();
        if (dia >= 1 && dia <= 31) {
            if (rs->Texto(QStringLiteral("Tipo")) == QLatin1String("D")) dizimos[size_t(dia)] += centavos;
            else ofertas[size_t(dia)] += centavos;
        }
        ok = Tenta([&] { rs->MoveNext(); });
    }
    LstResumo->Clear();
    // An amount too wide for its 12-character cell shows "#" in all of it:
    // cut, it would read as another amount.
    const auto celula = [](Dinheiro v) {
        const QString t = v.Formata();
        return Caracteres::Conta(t) > 12 ? QString(12, QLatin1Char('#')) : Formata_Texto(t, 12, QStringLiteral("D"));
    };
    for (int d = 1; d <= 31; ++d) {
        const Dinheiro diz = Dinheiro::DeCentavos(dizimos[size_t(d)]);
        const Dinheiro ofe = Dinheiro::DeCentavos(ofertas[size_t(d)]);
        if ((diz + ofe).Centavos() <= 0) continue;
        LstResumo->AddItem(Formata_Texto(Formata(double(d), QStringLiteral("00")), 3, QStringLiteral("E")) + celula(diz) +
                           celula(ofe) + celula(diz + ofe));
    }
}
