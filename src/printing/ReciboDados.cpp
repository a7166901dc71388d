// The receipt form's data: the church's receipt numbers, a receipt shown
// from the file or as a new one, its checks, its save, its copy and its
// print.
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Formularios.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Texto.h"
#include "common/Usuario.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include "printing/ImpressaoRecibo.h"
#include "printing/PainelImpressao.h"
#include "printing/Recibo.h"
#include <QScopedValueRollback>

namespace {
QString Seis_Digitos(qint64 n) { return QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')); }

// A text field of the file as stored: a blank stands for an empty box.
QString Ou_Branco(const QString& texto) { return texto.isEmpty() ? QStringLiteral(" ") : texto; }

// The month's number of a name, upper or lower case: 0 when it names none.
int Numero_Mes(const QString& nome) { return Nome_Mes(0, Apara(nome).toUpper()).toInt(); }

void Mensagem_Recibo(const QString& texto) { Aviso(texto, vbInformation); }
}  // namespace

// ---------------------------------------------------------------------------
// Load and close

void Recibo::Form_Load() {
    Centraliza_Form(this, Form::JanelaPrincipal(), QString());
    Carrega_Combo_Recibos();
    Carrega_Combo_Saidas();
}

void Recibo::Form_Unload(int& Cancel) {
    if (imprimindo_) {
        // A box of the print is open; the form stays until it is answered.
        Cancel = 1;
        return;
    }
    // What the form shows is saved; a receipt that cannot be keeps the form
    // open with what was typed, after its message.
    if (estado_ != Estado::Nenhum && CboRecibo->ListIndex() > -1 && Valor_Numerico(TxtCodIgreja->Text()) > 0 &&
        !Salva_Recibo()) {
        Cancel = 1;
        return;
    }
    Fecha_Efeito(this);
}

void Recibo::Carrega_Combo_Recibos() {
    const Screen::Ampulheta ampulheta;
    RecordsetPtr rs;
    if (!Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqRecibos2"), {Param[1]}); })) return;
    CboRecibo->Clear();
    for (; !rs->Eof(); rs->MoveNext()) {
        const qint64 codigo = rs->Fields(QStringLiteral("Codigo")).toLongLong();
        CboRecibo->AddItem(Seis_Digitos(codigo));
        CboRecibo->setItemData_(CboRecibo->NewIndex(), codigo);
    }
}

void Recibo::Carrega_Combo_Saidas() {
    const Screen::Ampulheta ampulheta;
    BancoLocalPtr banco;
    if (!Tenta([&] { banco = Abre_Banco(true); })) return;
    for (ComboBox* c : textos_)
        Carrega_Combo(c, *banco, QStringLiteral("ProcPesqSaidas"), {Param[1]}, QStringLiteral("Descricao"),
                      QStringLiteral("Codigo"));
    Fecha_Banco(banco);
}

void Recibo::CboRecibo_Click() {
    if (CboRecibo->ListIndex() <= -1) return;
    if (listandoNovo_) Mostra_Novo_Recibo();
    else Carrega_Recibos(double(CboRecibo->ItemData(CboRecibo->ListIndex())));
}

void Recibo::Carrega_Recibos(double dRecibo) {
    const Screen::Ampulheta ampulheta;
    RecordsetPtr rs;
    if (!Tenta([&] { rs = Abre_Query(QStringLiteral("ProcPesqRecibos"), {QString::number(qint64(dRecibo))}); })) {
        // The boxes still hold another receipt: nothing is shown under
        // this number, so nothing is saved over it.
        estado_ = Estado::Nenhum;
        CboRecibo->setListIndex(-1);
        return;
    }
    if (!rs->Eof()) {
        const QVariant codig = rs->Fields(QStringLiteral("Codig"));
        TxtCodIgreja->setText_(codig.isNull() ? QString() : QStringLiteral("%1").arg(codig.toLongLong(), 4, 10, QLatin1Char('0')));
        Dinheiro total;
        for (size_t i = 0; i < 4; ++i) {
            const QVariant v = rs->Fields(QStringLiteral("Valor%1").arg(i + 1));
            const Dinheiro valor = Dinheiro::DeCampo(v);
            total += valor;
            valores_[i]->setText_(v.isNull() ? QString() : valor.Formata());
            textos_[i]->setText_(rs->Texto(QStringLiteral("Despesa%1").arg(i + 1)));
        }
        TxtTotal->setText_(total.Formata());
        TxtEu->setText_(rs->Texto(QStringLiteral("eu")));
        TxtCpf->setText_(rs->Texto(QStringLiteral("CPF")));
        TxtCongregacao->setText_(rs->Texto(QStringLiteral("Congrega")));
        TxtDia->setText_(rs->Texto(QStringLiteral("Dia")));
        const qint64 mes = rs->Fields(QStringLiteral("Mes")).toLongLong();
        TxtMes->setText_(mes >= 1 && mes <= 12 ? Nome_Mes(int(mes)) : QString());
        TxtAno->setText_(rs->Texto(QStringLiteral("Ano")));
        estado_ = Estado::Gravado;
        return;
    }
    Mostra_Novo_Recibo();
}

void Recibo::Mostra_Novo_Recibo() {
    const QDate hoje = Relogio::Hoje();
    TxtCodIgreja->setText_(Param[1]);
    TxtTotal->setText_(QStringLiteral("0,00"));
    TxtCongregacao->setText_(Param[3] + QStringLiteral(" / ") + Param[4]);
    for (TextBox* t : {TxtEu, TxtCpf}) t->setText_(QString());
    for (size_t i = 0; i < 4; ++i) {
        textos_[i]->setText_(QString());
        valores_[i]->setText_(QString());
    }
    TxtDia->setText_(hoje.toString(QStringLiteral("dd")));
    TxtMes->setText_(Nome_Mes(hoje.month()));
    TxtAno->setText_(hoje.toString(QStringLiteral("yyyy")));
    estado_ = Estado::Novo;
}

// ---------------------------------------------------------------------------
// New receipt and total

void Recibo::CmdNovo_Click() {
    Limpa_Controles(this);
    estado_ = Estado::Nenhum;
    Novo_Recibo();
    TxtEu->SetFocus();
}

void Recibo::Novo_Recibo() {
    const std::optional<qint64> n = Le_Proximo_Codigo(TxtCodigo, QStringLiteral("ProcProximoRecibos"));
    Screen::MousePointer(0);
    if (!n) return;
    if (!Existe_Recibo(double(*n))) {
        CboRecibo->AddItem(Seis_Digitos(*n));
        CboRecibo->setItemData_(CboRecibo->NewIndex(), *n);
    }
    // A new receipt whatever the file holds under the number by now: a
    // receipt another program stored there since it was read is never
    // shown to be saved over; the save gives this one the next free number.
    const QScopedValueRollback<bool> listando(listandoNovo_, true);
    Seleciona_Item_Combo(CboRecibo, QVariant(qlonglong(*n)));
}

bool Recibo::Existe_Recibo(double dCod) const {
    for (int i = 0; i < CboRecibo->ListCount(); ++i)
        if (double(CboRecibo->ItemData(i)) == dCod) return true;
    return false;
}

void Recibo::Calcula_Total() {
    Dinheiro total;
    // A box that holds no amount counts nothing; the save refuses it.
    for (const TextBox* v : valores_) total += Dinheiro::Le(v->Text()).value_or(Dinheiro());
    TxtTotal->setText_(total.Formata());
}

// ---------------------------------------------------------------------------
// Checks, save and copy

bool Recibo::Valida_Data() {
    const auto recusa = [](TextBox* caixa, const QString& campo) {
        Aviso(campo + QStringLiteral(" inválido. Preencha corretamente."));
        caixa->SetFocus();
        return false;
    };
    const std::optional<qint64> dia = Codigo_Positivo(TxtDia->Text());
    if (!dia) return recusa(TxtDia, QStringLiteral("Dia"));
    const int mes = Numero_Mes(TxtMes->Text());
    if (mes == 0) return recusa(TxtMes, QStringLiteral("Mês"));
    const std::optional<qint64> ano = Codigo_Positivo(TxtAno->Text());
    if (!ano || *ano > 9999) return recusa(TxtAno, QStringLiteral("Ano"));
    if (*dia > Dias_Mes(mes, int(*ano))) return recusa(TxtDia, QStringLiteral("Dia"));
    // The name as the list of months writes it, as it is printed.
    TxtMes->setText_(Nome_Mes(mes));
    return true;
}

bool Recibo::Valida_Valores() {
    for (TextBox* v : valores_) {
        if (v->Text().isEmpty() || Dinheiro::Le(v->Text())) continue;
        Aviso(QStringLiteral("Valor inválido. Preencha corretamente."));
        v->SetFocus();
        return false;
    }
    return true;
}

QStringList Recibo::Campos(qint64 numero, const QString& ano, const QString& mes, const QString& dia) const {
    QStringList c{QString::number(numero), TxtCodIgreja->Text(), Ou_Branco(TxtEu->Text()), Ou_Branco(TxtCpf->Text()),
                  Ou_Branco(TxtCongregacao->Text())};
    for (const ComboBox* t : textos_) c << Ou_Branco(t->Text());
    for (const TextBox* v : valores_) c << Dinheiro::Le(v->Text()).value_or(Dinheiro()).Texto();
    c << ano << mes << dia;
    return c;
}

void Recibo::Renumera(qint64 numero) {
    const int i = CboRecibo->ListIndex();
    const QString antes = CboRecibo->List(i);
    CboRecibo->setItemText(i, Seis_Digitos(numero));
    CboRecibo->setItemData_(i, numero);
    Mensagem_Recibo(QStringLiteral("O Recibo Nº ") + antes + QStringLiteral(" já estava em uso: foi gravado como Recibo Nº ") +
                    Seis_Digitos(numero));
}

bool Recibo::Salva_Recibo() {
    if (!Valida_Data() || !Valida_Valores()) return false;
    const qint64 numero = CboRecibo->ItemData(CboRecibo->ListIndex());
    QStringList campos = Campos(numero, TxtAno->Text(), QStringLiteral("%1").arg(Numero_Mes(TxtMes->Text()), 2, 10, QLatin1Char('0')),
                                TxtDia->Text());
    const bool novo = estado_ == Estado::Novo;
    qint64 gravado = numero;
    // Whether the number is stored, and the write, under one lock: another
    // program may have stored a receipt under a new receipt's number since
    // it was shown, and that receipt is never written over.
    const bool ok = Tenta_Unidade([&](UnidadeTrabalho& u) {
        gravado = numero;
        const bool existe = !u.AbreQuery(QStringLiteral("ProcPesqRecibos"), {QString::number(numero)})->Eof();
        if (existe && !novo) {
            u.ExecutaQuery(QStringLiteral("ProcUpdRecibo"), campos);
            return;
        }
        if (existe) gravado = Le_Proximo_Codigo(u, TxtCodigo, QStringLiteral("ProcProximoRecibos"));
        campos[0] = QString::number(gravado);
        u.ExecutaQuery(QStringLiteral("ProcInsRecibo"), campos);
    });
    if (!ok) return false;
    estado_ = Estado::Gravado;
    if (gravado != numero) Renumera(gravado);
    return true;
}

void Recibo::CmdCopia_Click() { Copia_Recibo(); }

void Recibo::Copia_Recibo() {
    if (CboRecibo->ListIndex() == -1) {
        Mensagem_Recibo(QStringLiteral("Informe Recibo Nº corretamente."));
        return;
    }
    if (!Valida_Valores()) return;
    const QDate hoje = Relogio::Hoje();
    QStringList campos = Campos(0, hoje.toString(QStringLiteral("yyyy")), QString::number(hoje.month()),
                                QString::number(hoje.day()));
    qint64 numero = 0;
    {
        const Screen::Ampulheta ampulheta;
        // The number is taken and used under one lock: no other program
        // takes it in between.
        const bool ok = Tenta_Unidade([&](UnidadeTrabalho& u) {
            numero = Le_Proximo_Codigo(u, TxtCodigo, QStringLiteral("ProcProximoRecibos"));
            campos[0] = QString::number(numero);
            u.ExecutaQuery(QStringLiteral("ProcInsRecibo"), campos);
        });
        if (!ok) return;
    }
    Mensagem_Recibo(QStringLiteral("O Recibo Nº ") + CboRecibo->Text() + QStringLiteral(" foi copiado para o Recibo Nº ") +
                    Seis_Digitos(numero) + QStringLiteral(" com a data de hoje"));
    Carrega_Combo_Recibos();
    Seleciona_Item_Combo(CboRecibo, QVariant(qlonglong(numero)));
}

// ---------------------------------------------------------------------------
// Print

void Recibo::CmdImprime_Click() {
    if (imprimindo_) return;
    const QScopedValueRollback<bool> emCurso(imprimindo_, true);
    if (CboRecibo->ListIndex() == -1 || estado_ == Estado::Nenhum) {
        Mensagem_Recibo(QStringLiteral("Informe Recibo Nº corretamente."));
        return;
    }
    const QString codigo = Apara(TxtCodIgreja->Text());
    if (!E_Numerico(codigo) || Para_Numero(codigo) < 1) {
        Mensagem_Recibo(QStringLiteral("Informe Código corretamente."));
        return;
    }
    if (TxtEu->Text().isEmpty()) {
        Mensagem_Recibo(QStringLiteral("Informe Nome do beneficiário corretamente."));
        return;
    }
    if (TxtCongregacao->Text().isEmpty()) {
        Mensagem_Recibo(QStringLiteral("Informe corretamente o Nome da Igreja que paga."));
        return;
    }
    if (!Valida_Data() || !Valida_Valores()) return;
    QString cpf = TxtCpf->Text();
    if (!Valida_CPF(cpf) && MsgBox(QStringLiteral("O Nº do CPF é inválido. Prossegue assim mesmo?"),
                                   vbYesNo + vbQuestion + vbDefaultButton2, Titulo_Atencao()) == vbNo)
        return;
    if (!Confirma_Papel(Titulo_Atencao())) return;
    // Only a stored receipt is printed: its paper and its record agree.
    if (!Salva_Recibo()) return;
    Imprime_Recibo();
}

void Recibo::Imprime_Recibo() {
    Recibo_Impresso r;
    r.numero = CboRecibo->Text();
    r.codigo = TxtCodIgreja->Text();
    r.total = TxtTotal->Text();
    r.eu = TxtEu->Text();
    r.cpf = TxtCpf->Text();
    r.congregacao = TxtCongregacao->Text();
    for (size_t i = 0; i < 4; ++i) {
        r.textos[i] = textos_[i]->Text();
        r.valores[i] = valores_[i]->Text();
    }
    r.dia = TxtDia->Text();
    r.mes = TxtMes->Text();
    r.ano = TxtAno->Text();
    ::Imprime_Recibo(r);
}
