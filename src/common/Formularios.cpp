#include "common/Formularios.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Printer.h"
#include "platform/Tela.h"
#include <QFontMetrics>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <cmath>
#include <limits>

namespace {
std::function<void(Form*, int)> g_observador;

// A code field as the item data of a combo item: 64 bits, and exact all
// the way (a double would round codes beyond 2^53 to their neighbours).
qint64 Codigo_Item(const QVariant& v) {
    if (v.isNull()) Levanta_Erro(94, QStringLiteral("Uso inválido de Nulo."));
    const auto estouro = [] { Levanta_Erro(6, QStringLiteral("Estouro de capacidade.")); };
    switch (v.typeId()) {
    case QMetaType::ULongLong: case QMetaType::ULong:
        if (v.toULongLong() > quint64(std::numeric_limits<qint64>::max())) estouro();
        return v.toLongLong();
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::Short:
    case QMetaType::UShort: case QMetaType::Long:
        return v.toLongLong();
    default:
        break;
    }
    const QString texto = v.toString();
    if (!E_Tipo_Numerico(v)) {
        if (const auto n = Para_Inteiro(texto)) return *n;
        if (!E_Numerico(texto)) Levanta_Erro(13, QStringLiteral("Tipo Incompatível."));
    }
    // A fractional code becomes whole as a whole-number conversion makes
    // it: halves to even.
    const double n = std::nearbyint(E_Tipo_Numerico(v) ? v.toDouble() : Para_Numero(texto));
    if (!(n >= -0x1p63 && n < 0x1p63)) estouro();
    return qint64(n);
}

// The value Seleciona_Item_Combo looks for among the item data, when it is
// a number; a fractional one can match no code.
std::optional<qint64> Codigo_Procurado(const QVariant& valor, const QString& texto) {
    if (valor.typeId() == QMetaType::Double || valor.typeId() == QMetaType::Float) {
        const double n = valor.toDouble();
        if (n != std::floor(n) || !(n >= -0x1p63 && n < 0x1p63)) return std::nullopt;
        return qint64(n);
    }
    if (E_Tipo_Numerico(valor)) {
        if (valor.typeId() == QMetaType::ULongLong && valor.toULongLong() > quint64(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return valor.toLongLong();
    }
    return Para_Inteiro(texto);
}
}  // namespace

void Pinta_Fundo(QWidget* form) {
    form->setAutoFillBackground(true);
    QPalette pal = form->palette();
    pal.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    form->setPalette(pal);
}

Label* Rotulo(QWidget* pai, const QString& legenda, int esquerda, int topo, int largura, const QColor& cor) {
    auto* l = new Label(legenda, pai);
    l->setForeColor(cor);
    Twips::Posiciona(l, esquerda, topo, largura, 255);
    return l;
}

Frame* Quadro(QWidget* pai, const QString& legenda) {
    auto* f = new Frame(legenda, pai);
    Pinta_Fundo(f);
    QPalette p = f->palette();
    p.setColor(QPalette::WindowText, Cor_Saldo);
    f->setPalette(p);
    return f;
}

QFont Fonte_Lista(double pontos) {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSizeF(pontos);
    return f;
}

void Caixa_Total(TextBox* caixa, const QColor& cor) {
    caixa->setLocked(true);
    caixa->setAlignment(Qt::AlignRight);
    caixa->setFocusPolicy(Qt::NoFocus);
    QPalette p = caixa->palette();
    p.setColor(QPalette::Base, QColor(0, 0, 0));
    caixa->setPalette(p);
    caixa->setForeColor(cor);
    QFont f = caixa->font();
    f.setBold(true);
    caixa->setFont(f);
}

QIcon Icone_Desenhado(const std::function<void(QPainter& p)>& desenha) {
    QPixmap px(32, 32);
    px.fill(Qt::transparent);
    {
        QPainter p(&px);
        p.setRenderHint(QPainter::Antialiasing);
        desenha(p);
    }
    return QIcon(px);
}

QIcon Icone_Impressora() {
    return Icone_Desenhado([](QPainter& p) {
        p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(0x9a, 0x9a, 0xa0));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 20, 16, 9));
        p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
        for (int y : {23, 26}) p.drawLine(QPointF(10, y), QPointF(22, y));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x20, 0xb0, 0x40));
        p.drawEllipse(QRectF(24, 15, 3, 3));
    });
}

void Pisca_Saldo(TextBox* saldo) {
    if (saldo->Text().isEmpty()) return;
    const auto valor = Dinheiro::Le(saldo->Text());
    if (!valor || valor->Centavos() >= 0) return;
    // Any other colour is left alone.
    if (saldo->ForeColor() == Cor_Saldo) saldo->setForeColor(Cor_Saldo_Apagado);
    else if (saldo->ForeColor() == Cor_Saldo_Apagado) saldo->setForeColor(Cor_Saldo);
}

void Conta_Registros(Label* rotulo, const ListBox* lista) {
    rotulo->setCaption(Formata(double(lista->ListCount()), QStringLiteral("#,### Registro(s)")));
}

int Largura_Lista(const ListBox* lista, int colunas) {
    const QFontMetrics fm(lista->font());
    return Twips::DePixelX(fm.horizontalAdvance(QString(colunas, QLatin1Char('0'))) + 2 * lista->frameWidth() + 6 +
                           lista->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

int Altura_Lista(const ListBox* lista, int alturaTwips) {
    // A row's height as the list draws it (its font and the room each row
    // keeps for the accents), measured on a list of its own.
    ListBox medida;
    medida.setFont(lista->font());
    medida.ensurePolished();
    medida.AddItem(QStringLiteral("ÁÇ"));
    const int linha = std::max(1, medida.sizeHintForRow(0));
    const int bordas = 2 * lista->frameWidth();
    const int linhas = std::max(1, (Twips::ParaPixelY(alturaTwips) - bordas) / linha);
    return Twips::DePixelY(linhas * linha + bordas);
}

Label* Cabecalho_Lista(QWidget* pai, const ListBox* lista, const QString& texto, int coluna, bool direita, int topo,
                       const QColor& cor) {
    const QFontMetrics fm(lista->font());
    auto* l = new Label(texto, pai);
    l->setForeColor(cor);
    l->adjustSize();
    const int x0 = lista->x() + lista->frameWidth() + 3;
    const int x = direita ? x0 + fm.horizontalAdvance(QString(coluna, QLatin1Char('0'))) - l->width()
                          : x0 + fm.horizontalAdvance(QString(coluna - 1, QLatin1Char('0')));
    l->move(x, Twips::ParaPixelY(topo));
    return l;
}

void Centraliza_Form(Form* form, Form* pai, const QString& modo) {
    if (!form || !pai) return;
    form->setLeft((pai->Width() - form->Width()) / 2);
    form->setTop(modo == QLatin1String("S") ? (pai->Height() - form->Height()) / 2 : 100);
}

bool Fica_Aberto(bool emEdicao, const std::function<bool()>& salva) {
    return emEdicao &&
           MsgBox(QStringLiteral("Existem dados em edição. Deseja Salvar ?"), vbYesNo + vbQuestion, Titulo_Atencao()) ==
               vbYes &&
           !salva();
}

bool Confirma_Sobrepor(bool emEdicao, const QString& pergunta) {
    return !emEdicao || MsgBox(pergunta, vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) == vbYes;
}

void Fecha_Efeito(Form* form) {
    if (!form) return;
    for (int h = form->Height(); h >= 0; h -= 100) {
        form->setHeight(h);
        if (g_observador) g_observador(form, h);
        DoEvents();
    }
}

void Define_Observador_Efeito(std::function<void(Form*, int)> observador) { g_observador = std::move(observador); }

namespace {
void Enche_Combo(ComboBox* combo, const std::function<RecordsetPtr(BancoLocal&)>& abre, const QString& campoTexto,
                 const QString& campoCodigo, BancoLocal* aberto = nullptr) {
    const Screen::Ampulheta ampulheta;
    const QString mantido = combo->Text();
    combo->Clear();
    BancoLocalPtr banco;
    RecordsetPtr rs;
    bool ok = (aberto || Tenta([&] { banco = Abre_Banco(true); })) && Tenta([&] { rs = abre(aberto ? *aberto : *banco); });
    const bool comCodigo = !Apara(campoCodigo).isEmpty();
    while (ok && !rs->Eof()) {
        QVariant texto;
        ok = Tenta([&] { texto = rs->Fields(campoTexto); });
        if (ok && !texto.isNull()) {
            ok = Tenta([&] { combo->AddItem(Apara(texto.toString())); });
            if (ok && comCodigo)
                ok = Tenta([&] { combo->setItemData_(combo->NewIndex(), Codigo_Item(rs->Fields(campoCodigo))); });
        }
        if (ok) ok = Tenta([&] { rs->MoveNext(); });
    }
    if (ok) ok = Tenta([&] { Seleciona_Item_Combo(combo, mantido); });
    DoEvents();
    rs.reset();
    if (banco) Fecha_Banco(banco);
}
}  // namespace

void Carrega_Combo(ComboBox* combo, const QString& sqlOuNome, const QString& campoTexto, const QString& campoCodigo) {
    Enche_Combo(combo, [&](BancoLocal& b) { return b.AbreSnapshot(sqlOuNome); }, campoTexto, campoCodigo);
}

void Carrega_Combo(ComboBox* combo, const QString& nomeQuery, const QStringList& parametros, const QString& campoTexto,
                   const QString& campoCodigo) {
    Enche_Combo(combo, [&](BancoLocal& b) { return b.AbreQuery(nomeQuery, parametros); }, campoTexto, campoCodigo);
}

void Carrega_Combo(ComboBox* combo, BancoLocal& banco, const QString& nomeQuery, const QStringList& parametros,
                   const QString& campoTexto, const QString& campoCodigo) {
    Enche_Combo(combo, [&](BancoLocal& b) { return b.AbreQuery(nomeQuery, parametros); }, campoTexto, campoCodigo, &banco);
}

void Seleciona_Item_Combo(ComboBox* combo, const QVariant& valor) {
    const QString antes = combo->Text();
    combo->setListIndex(-1);
    const QString texto = valor.isNull() ? QString() : valor.toString();
    if (texto.isEmpty()) return;
    if (E_Tipo_Numerico(valor) || E_Numerico(texto)) {
        if (const auto codigo = Codigo_Procurado(valor, texto)) {
            for (int i = 0; i < combo->ListCount(); ++i) {
                if (combo->ItemData(i) == *codigo) {
                    combo->setListIndex(i);
                    return;
                }
            }
        }
        // No item has that code: the typed text stays as it was.
        if (combo->Style() != 2 && combo->Text() != antes) combo->setText_(antes);
        return;
    }
    const QString procurado = texto.toUpper();
    for (int i = 0; i < combo->ListCount(); ++i) {
        if (combo->List(i).left(procurado.size()).toUpper() == procurado) {
            combo->setListIndex(i);
            return;
        }
    }
    // A list-only combo has no typed text to receive it: it stays without
    // a selection.
    if (combo->Style() != 2) combo->setText_(texto);
}

void Seleciona_Texto_Combo(ComboBox* combo, const QString& texto) {
    combo->setListIndex(-1);
    for (int i = 0; i < combo->ListCount(); ++i) {
        if (combo->List(i).compare(texto, Qt::CaseInsensitive) == 0) {
            combo->setListIndex(i);
            return;
        }
    }
    combo->setText_(texto);
}

bool Fecha_Forms(const QString& manter) {
    std::vector<QPointer<Form>> abertos;
    for (Form* f : Form::Forms()) abertos.emplace_back(f);
    bool todos = true;
    for (const QPointer<Form>& f : abertos) {
        if (!f || !f->Loaded()) continue;
        const QString nome = f->Name();
        if (nome == manter || nome == QLatin1String("QRCode") || nome == QLatin1String("Principal")) continue;
        if (!f->Unload()) todos = false;
    }
    return todos;
}

void Imprime_Texto(double x, double y, const QString& texto, std::optional<double> tamanhoFonte) {
    Printer& p = Impressora();
    if (tamanhoFonte) p.setFontSize(*tamanhoFonte);
    p.setCurrentX(x);
    p.setCurrentY(y);
    p.Print(texto);
}
