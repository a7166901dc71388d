#include "common/Texto.h"
#include "common/Numeros.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/Caracteres.h"
#include "platform/Controles.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include <QDate>
#include <cmath>
#include <QRegularExpression>
#include <vector>

namespace {
bool Digito(int c) { return c >= '0' && c <= '9'; }

// Capital of a Windows-1252 character code.
int Maiuscula(int c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;  // à..þ, not ÷
    switch (c) {
    case 0x9A: return 0x8A;  // š
    case 0x9C: return 0x8C;  // œ
    case 0x9E: return 0x8E;  // ž
    case 0xFF: return 0x9F;  // ÿ
    }
    if (c > 0xFF) {  // not a Windows-1252 code: upper-case the character itself
        const QString m = QString(QChar(c)).toUpper();
        return m.size() == 1 ? m[0].unicode() : c;
    }
    return c;
}

QString Texto_Controle(QWidget* c) {
    if (auto* cb = qobject_cast<ComboBox*>(c)) return cb->Text();
    if (auto* cb = qobject_cast<QComboBox*>(c)) return cb->currentText();
    if (auto* t = qobject_cast<QLineEdit*>(c)) return t->text();
    if (auto* l = qobject_cast<QLabel*>(c)) return l->text();
    Levanta_Erro(438, QStringLiteral("Objeto não suporta a propriedade ou método solicitado."));
}

bool Tem_Selecao(QWidget* c) {
    if (auto* cb = qobject_cast<ComboBox*>(c)) return cb->ListIndex() != -1;
    if (auto* cb = qobject_cast<QComboBox*>(c)) return cb->currentIndex() != -1;
    if (auto* lb = qobject_cast<ListBox*>(c)) return lb->ListIndex() != -1;
    if (auto* lb = qobject_cast<QListWidget*>(c)) return lb->currentRow() != -1;
    Levanta_Erro(438, QStringLiteral("Objeto não suporta a propriedade ou método solicitado."));
}
}  // namespace

QString Apara(const QString& s) {
    int i = 0, j = int(s.size());
    while (i < j && s[i] == QLatin1Char(' ')) ++i;
    while (j > i && s[j - 1] == QLatin1Char(' ')) --j;
    return s.mid(i, j - i);
}

namespace {
QString Ajusta(const QString& t, int largura, const QString& alinhamento) {
    const qsizetype falta = largura - Caracteres::Conta(t);
    if (falta <= 0) return Caracteres::Esquerda(t, largura);
    if (alinhamento == QLatin1String("D")) return QString(falta, QLatin1Char(' ')) + t;
    if (alinhamento == QLatin1String("C"))
        return QString(falta / 2, QLatin1Char(' ')) + t + QString(falta - falta / 2, QLatin1Char(' '));
    return t + QString(falta, QLatin1Char(' '));
}
}  // namespace

QString Formata_Texto(const QString& texto, int largura, const QString& alinhamento) {
    if (largura < 0) Levanta_Erro(5, QStringLiteral("Chamada de procedimento ou argumento inválido."));
    const QString t = texto.normalized(QString::NormalizationForm_C);
    const QString r = Ajusta(t, largura, alinhamento);
    // Padding measured apart from the text: a mark that begins it joins the
    // blank put before it, a sign that ends it the blank after it.
    if (Caracteres::Simples(t) || Caracteres::Conta(r) == largura) return r;
    return Ajusta(Caracteres::Basico(t), largura, alinhamento);
}

QString Monta_Linha(std::initializer_list<Celula> celulas) {
    auto monta = [&](bool basico, std::vector<Caracteres::Marco>* marcos) {
        QString r;
        qsizetype coluna = 0;
        for (const Celula& c : celulas) {
            if (marcos) marcos->push_back({r.size(), coluna});
            const QString texto = basico && !Caracteres::Simples(c.texto) ? Caracteres::Basico(c.texto) : c.texto;
            if (c.largura < 0) {
                r += texto;
                coluna += Caracteres::Conta(texto);
            } else {
                r += Formata_Texto(texto, c.largura, c.alinhamento);
                coluna += c.largura;
            }
        }
        if (marcos) marcos->push_back({r.size(), coluna});
        return r;
    };
    bool simples = true;
    for (const Celula& c : celulas) simples = simples && Caracteres::Simples(c.texto);
    if (simples) return monta(false, nullptr);
    // The row is measured joined: characters may join across its cells (and
    // a script's own rules may count a text apart otherwise than among its
    // neighbours), which would move every later column.
    std::vector<Caracteres::Marco> marcos;
    const QString r = monta(false, &marcos);
    if (Caracteres::Alinhado(r, marcos.back().coluna, marcos.data(), qsizetype(marcos.size()))) return r;
    return monta(true, nullptr);
}

int Filtra_Tecla(int tecla, const QString& modo) {
    const bool digito = Digito(tecla);
    if (modo == QLatin1String("I"))
        return (digito || tecla == '-' || tecla == 8) ? tecla : 0;
    if (modo == QLatin1String("V")) {
        if (tecla == '.') return ',';
        return (digito || tecla == '-' || tecla == ',' || tecla == 8) ? tecla : 0;
    }
    if (modo == QLatin1String("M"))
        return (tecla == 8 || tecla == 13) ? tecla : Maiuscula(tecla);
    if (modo == QLatin1String("A"))
        return (digito || tecla == 8 || tecla == 13) ? tecla : Maiuscula(tecla);
    if (modo == QLatin1String("L"))
        return digito ? 0 : tecla;
    if (modo == QLatin1String("H"))
        return (digito || tecla == ':' || tecla == 8) ? tecla : 0;
    if (modo == QLatin1String("D"))
        return (digito || tecla == '/' || tecla == 8) ? tecla : 0;
    return 0;
}

QString Dia_Semana(int dia) {
    static const char* const nomes[] = {"DOMINGO", "SEGUNDA", "TERÇA", "QUARTA", "QUINTA", "SEXTA", "SÁBADO"};
    if (dia < 1 || dia > 7) return {};
    return QString::fromUtf8(nomes[dia - 1]);
}

QString Extrai_Texto(const QString& texto, const QString& abre, const QString& fecha) {
    const int p1 = int(texto.indexOf(abre)) + 1;  // 1-based, 0 when absent
    const int p2 = int(texto.indexOf(fecha)) + 1;
    if (p1 + p2 <= 0) return {};
    const int tamanho = p2 - p1 - 1;
    // An opening delimiter with no closing one after it has nothing to
    // give: the empty text.
    if (tamanho < 0) return {};
    return Apara(texto.mid(p1, tamanho));
}

bool Valida_CPF(QString& cpf) {
    cpf.remove(QLatin1Char('.'));
    cpf.remove(QLatin1Char('-'));
    if (cpf.size() != 11) return false;
    auto valor = [&](int i) { return cpf[i].isDigit() && cpf[i].unicode() < 128 ? cpf[i].unicode() - '0' : 0; };
    auto digito = [&](int n) {
        int soma = 0;
        for (int i = 0; i < n; ++i) soma += valor(i) * (n + 1 - i);
        const int d = 11 - soma % 11;
        return d >= 10 ? 0 : d;
    };
    return digito(9) == valor(9) && digito(10) == valor(10);
}

bool Valida_Controle(QWidget* controle, Label* rotulo, const QString& tipo, const QString& mostra) {
    bool valido = true;
    if (tipo == QLatin1String("T")) {
        valido = !Apara(Texto_Controle(controle)).isEmpty();
    } else if (tipo == QLatin1String("N")) {
        valido = E_Numerico(Texto_Controle(controle));
    } else if (tipo == QLatin1String("0")) {
        valido = Val(Texto_Controle(controle)) != 0;
    } else if (tipo == QLatin1String("L")) {
        valido = Tem_Selecao(controle);
    } else if (tipo == QLatin1String("D")) {
        if (auto* t = qobject_cast<TextBox*>(controle)) valido = E_Data(t->Text());
    } else if (tipo == QLatin1String("H")) {
        const QString t = Texto_Controle(controle);
        const double h = Val(t.left(2)), m = Val(t.right(2));
        valido = !(h < 0 || h > 23 || m < 0 || m > 59);
    } else if (tipo == QLatin1String("%")) {
        const double p = Val(Texto_Controle(controle));
        valido = !(p < 0 || p > 100);
    }
    if (!valido && mostra == QLatin1String("S"))
        MsgBox(QStringLiteral("Preencha ") + (rotulo ? rotulo->Caption() : QString()) + QStringLiteral(" Corretamente."),
               vbExclamation, Titulo_Atencao());
    return valido;
}

void Limpa_Controles(QWidget* form) {
    if (!form) return;
    const auto controles = form->findChildren<QWidget*>();
    for (QWidget* c : controles) {
        try {
            if (auto* t = qobject_cast<TextBox*>(c)) {
                t->setText(QString());
            } else if (auto* cb = qobject_cast<ComboBox*>(c)) {
                cb->setListIndex(-1);
                if (cb->Style() != 2) cb->setText_(QString());
            } else if (auto* o = qobject_cast<OptionButton*>(c)) {
                o->setValue(false);
            } else if (auto* l = qobject_cast<ListBox*>(c)) {
                l->Clear();
            }
        } catch (const std::exception&) {
            // a control that refuses is passed over
        }
    }
}

int Dias_Mes(int mes, int ano) {
    if (mes == 12 && QDate(ano, 12, 1).isValid()) return 31;
    const QDate seguinte(ano, mes + 1, 1);
    if (mes < 1 || mes > 12 || !seguinte.isValid()) Levanta_Erro(13, QStringLiteral("Tipo Incompatível."));
    return seguinte.addDays(-1).day();
}

bool Valida_Dia(double dia) {
    int diasDoMes = 31;
    try {
        diasDoMes = Dias_Mes(Param[9].toInt(), Param[10].toInt());
    } catch (const ErroExecucao&) {
        // no working month to measure against: any day of a month passes
    }
    if (dia == std::floor(dia) && dia >= 1 && dia <= diasDoMes) return true;
    MsgBox(QStringLiteral("Dia inválido. Preencha corretamente."), vbExclamation, Titulo_Atencao());
    return false;
}

std::optional<qint64> Codigo_Positivo(const QString& texto) {
    const QString t = Apara(texto);
    if (t.isEmpty()) return std::nullopt;
    for (QChar c : t)
        if (c.unicode() < '0' || c.unicode() > '9') return std::nullopt;
    bool ok = false;
    const qint64 codigo = t.toLongLong(&ok);
    if (!ok || codigo == 0) return std::nullopt;
    return codigo;
}

double Valor_Numerico(const QVariant& valor) {
    if (valor.isNull() || !valor.isValid()) return 0;
    if (E_Tipo_Numerico(valor)) return valor.toDouble();
    const QString t = Apara(valor.toString());
    return E_Numerico(t) ? Para_Numero(t) : 0;
}

bool E_Data(const QString& texto) {
    static const QRegularExpression dma(QStringLiteral("^([0-9]{1,2})([/.-])([0-9]{1,2})(?:\\2([0-9]{2}|[0-9]{4}))?$"));
    static const QRegularExpression amd(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));
    const QString t = texto.trimmed();
    if (auto m = amd.match(t); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()).isValid();
    auto m = dma.match(t);
    if (!m.hasMatch()) return false;
    int ano = Relogio::Hoje().year();
    if (m.hasCaptured(4)) {
        ano = m.captured(4).toInt();
        if (m.captured(4).size() == 2) ano += ano < 30 ? 2000 : 1900;
    }
    return QDate(ano, m.captured(3).toInt(), m.captured(1).toInt()).isValid();
}
