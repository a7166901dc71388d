// The envelopes' print run and the two models' layouts, in millimetres
// from the paper's corner shifted by the offsets.
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/MsgBox.h"
#include "platform/Printer.h"
#include "platform/Tela.h"
#include "printing/Celulas.h"
#include "printing/Envelope.h"
#include "printing/TrabalhoImpressao.h"
#include <QScopeGuard>
#include <QScopedValueRollback>

namespace {
// The yellow model's labels are 13 characters wide; a continuation line
// starts under the text after them.
constexpr int Linha_Nome = 27;
const QString Sob_Rotulo(13, QLatin1Char(' '));
// The answer that ends a run without printing more.
constexpr qint16 Cancela = 9999;

// "2,5" moves 2 mm: the number stops at the comma.
void Prepara_Impressora(const Dados_Envelope& d, bool negrito) {
    Prepara_A4(negrito, Val(d.deslocaTopo), Val(d.deslocaEsquerda));
}

// Characters 1-27 and 28-54 of a text; what lies beyond is not printed.
QString Parte(const QString& texto, int n) { return Caracteres::Meio(texto, n * Linha_Nome, Linha_Nome); }

// A text printed from x up to where the next item of its line starts, at
// xProximo, when that item prints something: each keeps its place, and
// neither prints over the other.
QString Ate_O_Proximo(double x, const QString& texto, double xProximo, const QString& proximo) {
    return proximo.isEmpty() ? texto : Corta_Ate(x, texto, xProximo);
}
}  // namespace

void Imprime_Amarelo(const Dados_Envelope& d) {
    Prepara_Impressora(d, false);
    const Linha_Envelope::Linha& t = d.dizimista;
    Imprime_Texto(13, 35, QStringLiteral("ANO........: ") + d.ano, 11);
    Imprime_Texto(13, 40, QStringLiteral("RI.........: ") + t.ri);
    // A name too long for one line takes two, and moves the lines under it
    // down by one.
    double y = 45;
    Imprime_Texto(13, y, QStringLiteral("NOME.......: ") + Parte(t.nome, 0));
    if (Caracteres::Conta(t.nome) > Linha_Nome) Imprime_Texto(13, y += 5, Sob_Rotulo + Parte(t.nome, 1));
    Imprime_Texto(13, y += 5, QStringLiteral("CARGO......: ") + Envelope::Cargo(t.abreviado));
    Imprime_Texto(13, y += 5, QStringLiteral("CONGREGAÇÃO: ") + Parte(d.congregacao, 0));
    Imprime_Texto(13, y += 5, Sob_Rotulo + Parte(d.congregacao, 1));

    Imprime_Texto(13, 115, QStringLiteral(TESOURARIA_ENVELOPE_IGREJA), 12);
    Imprime_Texto(34, 120, QStringLiteral(TESOURARIA_ENVELOPE_MINISTERIO));
    Imprime_Texto(13, 127, QStringLiteral("Banco...........: ") + Envelope::Espaca(Apara(d.banco)));
    Imprime_Texto(13, 132, QStringLiteral("Agência.........: ") + Envelope::Espaca(Apara(d.agencia)));
    Imprime_Texto(13, 137, QStringLiteral("Conta Corrente..: ") + Envelope::Espaca(Apara(d.conta)));

    // The membership number as a Code 39 symbol, the asterisks its start
    // and stop.
    Impressora().setFontName(QStringLiteral("Free 3 of 9 Extended"));
    Imprime_Texto(34, 75, QLatin1Char('*') + t.ri + QLatin1Char('*'), 48);
}

void Imprime_Pardo(const Dados_Envelope& d) {
    Prepara_Impressora(d, true);
    // The size first: the room before the year is measured at it.
    Impressora().setFontSize(8);
    Imprime_Texto(13, 25, Ate_O_Proximo(13, d.dizimista.nome, 93, d.ano));
    Imprime_Texto(93, 25, d.ano);
    Imprime_Texto(13, 31, Ate_O_Proximo(13, d.congregacao, 91, d.dizimista.ri));
    Imprime_Texto(91, 31, d.dizimista.ri);
}

void Envelope::Imprime_Envelope_Amarelo() { Imprime_Envelopes(true); }
void Envelope::Imprime_Envelope_Pardo() { Imprime_Envelopes(false); }

Dados_Envelope Envelope::Dados(int linha) const {
    Dados_Envelope d;
    d.dizimista = Linha_Envelope::Le(LstEnvelope->List(linha));
    d.ano = Apara(TxtAno->Text());
    d.congregacao = Param[3] + QStringLiteral(" / ") + Param[4];
    d.banco = banco_;
    d.agencia = agencia_;
    d.conta = conta_;
    d.deslocaTopo = TxtTop->Text();
    d.deslocaEsquerda = TxtLeft->Text();
    return d;
}

bool Envelope::Pergunta_Lote(qint16& lote) {
    // An answer that is not a whole number of 16 bits goes to the error
    // handler; Yes asks again.
    return Tenta([&] {
        lote = Para_Inteiro16(InputBox(QStringLiteral("9999 - Cancela a Impressão\rQuantas impressões por vez ?: "),
                                       QStringLiteral("Impressão de Envelopes"), QStringLiteral("10")));
    });
}

void Envelope::Imprime_Envelopes(bool amarelo) {
    if (imprimindo_) return;
    if (LstEnvelope->SelCount() == 0) {
        MsgBox(QStringLiteral("Marque ao menos 1 item para impressão"), vbExclamation, Titulo_Atencao());
        return;
    }
    // The run lets events through between envelopes: the button waits for
    // its end, so a click cannot start a second run inside this one.
    {
        const QScopedValueRollback<bool> emCurso(imprimindo_, true);
        CmdImprime->setEnabled(false);
        const auto fim = qScopeGuard([this] { CmdImprime->setEnabled(true); });

        bool ok = true;
        if (amarelo) {
            const Screen::Ampulheta ampulheta;
            ok = Tenta([this] { Busca_Bco_Ag_Cta(); });
        }
        // Counted in 32 bits: a batch of 0 or less never comes round again,
        // however many rows follow.
        int contador = 0;
        qint16 lote = 0;
        for (int i = 0; ok && !fechar_ && i < LstEnvelope->ListCount(); ++i) {
            // Read as the run reaches the row: a row the user selected or
            // deselected ahead of the run counts as it stands now.
            if (!LstEnvelope->Selected(i)) continue;
            if (contador == 0 && !Pergunta_Lote(lote)) break;
            if (lote == Cancela) break;
            if (++contador == lote) contador = 0;
            // One job per envelope: on an error, No sends nothing of it and
            // ends the run, Yes prints it again from its first item.
            const Dados_Envelope d = Dados(i);
            ok = Imprime_Trabalho(Apara(QStringLiteral("Envelope RI ") + d.dizimista.ri),
                                  [&] { amarelo ? Imprime_Amarelo(d) : Imprime_Pardo(d); });
            if (!ok) break;
            if (ChkDesmarca->Value() == 1) LstEnvelope->setSelected_(i, false);
            DoEvents();
        }
    }
    if (fechar_) {
        // Closed while it ran: the form goes now that the run is over.
        fechar_ = false;
        Unload();
    }
}
