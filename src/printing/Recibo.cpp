// The receipt form: its screen, laid out as the printed receipt reads, the
// key filters and the buttons. Loading and storing receipts is in
// ReciboDados.cpp.
#include "printing/Recibo.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "platform/Caracteres.h"
#include "platform/Tela.h"
#include <QPainter>
#include <cmath>

namespace {
using Twips::Posiciona;

constexpr int Largura = 10200;  // the form's inner width in twips
constexpr int Margem = 120;

// The pictures of the new and copy buttons: one sheet with a star, two
// sheets one over the other.
QIcon Icone_Folhas(bool copia) {
    return Icone_Desenhado([copia](QPainter& p) {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.2));
        p.setBrush(Qt::white);
        if (copia) p.drawRect(QRectF(4.5, 3.5, 16, 20));
        p.drawRect(QRectF(copia ? 11.5 : 8.5, copia ? 8.5 : 4.5, 16, 20));
        if (!copia) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xe0, 0xa0, 0x10));
            QPolygonF estrela;
            for (int i = 0; i < 10; ++i) {
                const double r = i % 2 ? 2.5 : 6.0, a = 3.14159265 / 5 * i - 3.14159265 / 2;
                estrela << QPointF(23 + r * std::cos(a), 23 + r * std::sin(a));
            }
            p.drawPolygon(estrela);
        }
    });
}

CommandButton* Botao(QWidget* pai, const QString& legenda, const QIcon& icone, const QString& dica) {
    auto* b = new CommandButton(legenda, pai);
    b->setIcon(icone);
    b->setIconSize(QSize(24, 24));
    if (!dica.isEmpty()) b->setToolTip(dica);
    return b;
}

TextBox* Caixa(QWidget* pai, int limite, bool centrada = false, bool somenteLeitura = false) {
    auto* t = new TextBox(pai);
    t->setMaxLength_(limite);
    if (centrada) t->setAlignment(Qt::AlignCenter);
    t->setLocked(somenteLeitura);
    return t;
}

// A caption beside its box, on the box's line.
Label* Legenda(QWidget* pai, const QString& texto, int x, int topo, int largura) {
    Label* l = Rotulo(pai, texto, x, topo + 50, largura);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}
}  // namespace

Recibo::Recibo() : Form(QStringLiteral("Recibo"), true) {
    setCaption(QStringLiteral(" Impressão de Recibo Avulso"));
    monta_Tela();
}

void Recibo::monta_Tela() {
    Pinta_Fundo(this);
    const int direita = Largura - Margem;

    LblTitulo = Rotulo(this, QStringLiteral("Recibo para Pagamento Avulso"), Margem, 240, 6000);
    QFont titulo = LblTitulo->font();
    titulo.setPointSizeF(14);
    titulo.setBold(true);
    LblTitulo->setFont(titulo);
    Posiciona(LblTitulo, Margem, 200, 6000, 420);
    CmdNovo = Botao(this, QStringLiteral("Novo"), Icone_Folhas(false), QStringLiteral("Novo Recibo"));
    CmdCopia = Botao(this, QStringLiteral("Cópia"), Icone_Folhas(true), {});
    CmdImprime = Botao(this, QStringLiteral("Imprime"), Icone_Impressora(), QStringLiteral("Imprime Recibo"));
    int x = direita - 3 * 1260 + 60;
    for (CommandButton* b : {CmdNovo, CmdCopia, CmdImprime}) {
        Posiciona(b, x, 120, 1200, 560);
        x += 1260;
    }

    // Number, church code and total.
    int y = 960;
    LblRecibo = Legenda(this, QStringLiteral("Recibo Nº"), Margem, y, 1200);
    CboRecibo = new ComboBox(this, 2);
    Posiciona(CboRecibo, 1400, y, 1700, 360);
    LblCodigo = Legenda(this, QStringLiteral("Código"), 3400, y, 900);
    TxtCodIgreja = Caixa(this, 4, true, true);
    Posiciona(TxtCodIgreja, 4400, y, 900, 360);
    LblTotal = Legenda(this, QStringLiteral("R$"), 7000, y, 600);
    TxtTotal = Caixa(this, 10, true, true);
    Posiciona(TxtTotal, 7700, y, direita - 7700, 360);

    // Who received, and the church that pays.
    y += 600;
    LblEu = Legenda(this, QStringLiteral("Eu,"), Margem, y, 500);
    TxtEu = Caixa(this, 50);
    Posiciona(TxtEu, 700, y, 5900, 360);
    LblCpf = Legenda(this, QStringLiteral("CPF"), 6700, y, 500);
    TxtCpf = Caixa(this, 15, true);
    Posiciona(TxtCpf, 7300, y, direita - 7300, 360);
    y += 540;
    LblRecebi = Rotulo(this, QStringLiteral("Recebi a importância supra citada referente ao(s) iten(s) abaixo descrito(s) de"),
                       Margem, y, direita - Margem);
    y += 300;
    TxtCongregacao = Caixa(this, 100, false, true);
    Posiciona(TxtCongregacao, Margem, y, direita - Margem, 360);

    // The four items.
    y += 600;
    for (int i = 0; i < 4; ++i, y += 480) {
        Legenda(this, QStringLiteral("%1)").arg(i + 1), Margem, y, 400);
        auto* c = textos_[size_t(i)] = new ComboBox(this, 0);
        c->setSorted(true);
        c->setMaxVisibleItems(15);
        c->setToolTip(QStringLiteral("Use Seta Abaixo para selecionar histórico"));
        Posiciona(c, 600, y, 6000, 360);
        Legenda(this, QStringLiteral("R$"), 7000, y, 600);
        auto* v = valores_[size_t(i)] = Caixa(this, 10, true);
        Posiciona(v, 7700, y, direita - 7700, 360);
    }
    CboTexto1 = textos_[0], CboTexto2 = textos_[1], CboTexto3 = textos_[2], CboTexto4 = textos_[3];
    Txt1Valor = valores_[0], Txt2Valor = valores_[1], Txt3Valor = valores_[2], Txt4Valor = valores_[3];

    // The date: day "de" month "de" year.
    y += 240;
    TxtDia = Caixa(this, 2, true);
    Posiciona(TxtDia, 3000, y, 600, 360);
    Legenda(this, QStringLiteral("de"), 3600, y, 450);
    TxtMes = Caixa(this, 10, true);
    Posiciona(TxtMes, 4150, y, 1900, 360);
    Legenda(this, QStringLiteral("de"), 6050, y, 450);
    TxtAno = Caixa(this, 4, true);
    Posiciona(TxtAno, 6600, y, 900, 360);

    TxtCodigo = Caixa(this, 8);
    TxtCodigo->hide();
    y += 600;
    LblKwe = Rotulo(this, QStringLiteral("Tavrelo"), direita - 1380, y, 1380, QColor(0xa0, 0xa0, 0xa0));
    LblKwe->setAlignment(Qt::AlignRight);
    setTamanhoCliente(Largura, y + 360);

    CboRecibo->Click = [this] { CboRecibo_Click(); };
    CmdNovo->Click = [this] { CmdNovo_Click(); };
    CmdCopia->Click = [this] { CmdCopia_Click(); };
    CmdImprime->Click = [this] { CmdImprime_Click(); };
    for (int i = 0; i < 4; ++i) {
        valores_[size_t(i)]->LostFocus = [this, i] { Valor_LostFocus(i); };
        valores_[size_t(i)]->KeyPress = [](int& k) { k = Filtra_Tecla(k, QStringLiteral("V")); };
        ComboBox* c = textos_[size_t(i)];
        c->KeyPress = [this, c](int& k) { CboTexto_KeyPress(c, k); };
    }
    TxtCpf->KeyPress = [this](int& k) { TxtCpf_KeyPress(k); };
    for (TextBox* t : {TxtCodIgreja, TxtDia, TxtAno}) t->KeyPress = [](int& k) { k = Filtra_Tecla(k, QStringLiteral("I")); };
    for (TextBox* t : {TxtEu, TxtCongregacao, TxtMes}) t->KeyPress = [](int& k) { k = Filtra_Tecla(k, QStringLiteral("M")); };

    QWidget* ordem[] = {CboRecibo, TxtCodIgreja, TxtTotal, TxtEu, TxtCpf, TxtCongregacao,
                        CboTexto1, Txt1Valor, CboTexto2, Txt2Valor, CboTexto3, Txt3Valor, CboTexto4, Txt4Valor,
                        TxtDia, TxtMes, TxtAno, CmdImprime, CmdNovo, CmdCopia};
    for (size_t i = 1; i < std::size(ordem); ++i) setTabOrder(ordem[i - 1], ordem[i]);
}

// ---------------------------------------------------------------------------
// Keys and values

void Recibo::TxtCpf_KeyPress(int& KeyAscii) {
    // A CPF is written with its points and dash: they stay as typed.
    if (KeyAscii != '.') KeyAscii = Filtra_Tecla(KeyAscii, QStringLiteral("I"));
}

void Recibo::CboTexto_KeyPress(ComboBox* texto, int& KeyAscii) {
    // Up to 46 characters; Backspace always works, so a full description
    // can still be corrected.
    if (KeyAscii == 8) return;
    KeyAscii = Caracteres::Conta(texto->Text()) < 46 ? Filtra_Tecla(KeyAscii, QStringLiteral("M")) : 0;
}

void Recibo::Valor_LostFocus(int i) {
    TextBox* v = valores_[size_t(i)];
    v->setText_(Formata_Valor(v->Text()));
    Calcula_Total();
}
