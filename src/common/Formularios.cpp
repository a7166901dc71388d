#include "common/Formularios.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "platform/Printer.h"
#include "platform/Tela.h"
#include <QPointer>
#include <cmath>
#include <limits>

namespace {
std::function<void(Form*, int)> g_observador;

// A code field as the 32-bit item data of a combo item.
qint64 Codigo_Item(const QVariant& v) {
    if (v.isNull()) Levanta_Erro(94, QStringLiteral("Uso inválido de Nulo."));
    double n;
    if (E_Tipo_Numerico(v)) n = v.toDouble();
    else if (E_Numerico(v.toString())) n = Para_Numero(v.toString());
    else Levanta_Erro(13, QStringLiteral("Tipo Incompatível."));
    n = std::nearbyint(n);  // halves to even, as a whole-number conversion does
    if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        Levanta_Erro(6, QStringLiteral("Estouro de capacidade."));
    return qint64(n);
}
}  // namespace

void Centraliza_Form(Form* form, Form* pai, const QString& modo) {
    if (!form || !pai) return;
    form->setLeft((pai->Width() - form->Width()) / 2);
    form->setTop(modo == QLatin1String("S") ? (pai->Height() - form->Height()) / 2 : 100);
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
                 const QString& campoCodigo) {
    const Screen::Ampulheta ampulheta;
    const QString mantido = combo->Text();
    combo->Clear();
    BancoLocalPtr banco;
    RecordsetPtr rs;
    bool ok = Tenta([&] { banco = Abre_Banco(true); }) && Tenta([&] { rs = abre(*banco); });
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

void Seleciona_Item_Combo(ComboBox* combo, const QVariant& valor) {
    const QString antes = combo->Text();
    combo->setListIndex(-1);
    const QString texto = valor.isNull() ? QString() : valor.toString();
    if (texto.isEmpty()) return;
    if (E_Tipo_Numerico(valor) || E_Numerico(texto)) {
        const double n = E_Tipo_Numerico(valor) ? valor.toDouble() : Para_Numero(texto);
        for (int i = 0; i < combo->ListCount(); ++i) {
            if (double(combo->ItemData(i)) == n) {
                combo->setListIndex(i);
                return;
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

void Fecha_Forms(const QString& manter) {
    std::vector<QPointer<Form>> abertos;
    for (Form* f : Form::Forms()) abertos.emplace_back(f);
    for (const QPointer<Form>& f : abertos) {
        if (!f || !f->Loaded()) continue;
        const QString nome = f->Name();
        if (nome == manter || nome == QLatin1String("QRCode") || nome == QLatin1String("Principal")) continue;
        f->Unload();
    }
}

void Imprime_Texto(double x, double y, const QString& texto, std::optional<double> tamanhoFonte) {
    Printer& p = Impressora();
    if (tamanhoFonte) p.setFontSize(*tamanhoFonte);
    p.setCurrentX(x);
    p.setCurrentY(y);
    p.Print(texto);
}
