#include "common/Parametros.h"
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Numeros.h"
#include "common/Texto.h"
#include "platform/App.h"
#include "platform/Controles.h"
#include "platform/Relogio.h"
#include "platform/Tela.h"
#include <cmath>

QString Param[100];

namespace {
const char* const Meses[] = {"JANEIRO", "FEVEREIRO", "MARÇO", "ABRIL", "MAIO", "JUNHO",
                             "JULHO", "AGOSTO", "SETEMBRO", "OUTUBRO", "NOVEMBRO", "DEZEMBRO"};

QString Titulo_Base() { return QStringLiteral("Zuvevozo Ruverirora ") + App::Versao(); }

// A stored month as a whole number, the way the title and the month box
// read it: a null month cannot be read (error 94), a text that is no number
// neither (error 13).
int Mes_Inteiro(const QVariant& campo) {
    if (campo.isNull()) Levanta_Erro(94, QStringLiteral("Uso inválido de Nulo."));
    if (campo.typeId() == QMetaType::QString && !E_Numerico(campo.toString()))
        Levanta_Erro(13, QStringLiteral("Tipo Incompatível."));
    return int(std::floor(Valor_Numerico(campo)));
}

QString Texto_Mes_Ano() {
    RecordsetPtr rs = Abre_Recordset(QStringLiteral("ProcPesqParametros"));
    if (rs->Eof()) return {};
    return Nome_Mes(Mes_Inteiro(rs->Fields(QStringLiteral("Mes"))), {}) + QStringLiteral(" / ") +
           rs->Texto(QStringLiteral("Ano"));
}
}  // namespace

QString Nome_Mes(int mes, const QString& nome) {
    if (mes > 12) Levanta_Erro(9, QStringLiteral("Subscrito fora do intervalo."));
    if (mes >= 1) return QString::fromUtf8(Meses[mes - 1]);
    for (int i = 0; i < 12; ++i)
        if (nome == QString::fromUtf8(Meses[i])) return Formata(double(i + 1), QStringLiteral("00"));
    return {};
}

void Carrega_Parametros() {
    const Screen::Ampulheta ampulheta;
    RecordsetPtr rs;
    if (Tenta([&] { rs = Abre_Recordset(QStringLiteral("ProcPesqParametros")); })) {
        if (rs->Eof()) {
            const QDate hoje = Relogio::Hoje();
            Param[1] = QStringLiteral("0000");
            Param[2] = QStringLiteral("NADA CONSTA");
            Param[3] = QStringLiteral("NADA CONSTA");
            Param[4] = QStringLiteral("NADA CONSTA");
            Param[8] = QStringLiteral("C");
            Param[9] = QString::number(hoje.month());
            Param[10] = QString::number(hoje.year());
            Param[11] = Servidor_Central;
            Param[99] = Titulo_Base() + QStringLiteral(" - ") + Param[3] + QStringLiteral(" / ") + Param[4];
        } else {
            // One step per statement, so that a retry repeats only the one
            // that failed and No keeps what was stored before it.
            const std::pair<int, const char*> campos[] = {
                {2, "Razao"}, {3, "Reg_Setor"}, {4, "Congrega"}, {8, "Tipo"}, {9, "Mes"}, {10, "Ano"}};
            bool ok = Tenta([&] { Param[1] = Formata(rs->Texto(QStringLiteral("Codigo")), QStringLiteral("0000")); });
            for (const auto& par : campos) {
                if (!ok) break;
                ok = Tenta([&] { Param[par.first] = rs->Texto(QString::fromLatin1(par.second)); });
            }
            if (ok) Param[11] = Servidor_Central;
            if (ok)
                Tenta([&] {
                    const QString mes = Nome_Mes(int(std::floor(Valor_Numerico(Param[9]))), {});
                    Param[99] = QLatin1Char(' ') + Titulo_Base() + QStringLiteral(" - ") + Param[3] + QStringLiteral(" / ") +
                                Param[4] + QStringLiteral(" / ") + mes + QLatin1Char('-') + Param[10];
                });
        }
    }
    rs.reset();
}

void Recarrega_Parametros() { Carrega_Parametros(); }

void Mostra_Mes_Ano(ComboBox* controle) {
    const QString t = Texto_Mes_Ano();
    if (!t.isEmpty()) controle->setText_(t);
}

void Mostra_Mes_Ano(TextBox* controle) {
    const QString t = Texto_Mes_Ano();
    if (!t.isEmpty()) controle->setText(t);
}

namespace {
std::function<void(bool)>& menusDoSetor() {
    static std::function<void(bool)> f;
    return f;
}
}  // namespace

void Registra_Menus_Setor(std::function<void(bool)> habilita) { menusDoSetor() = std::move(habilita); }

void Habilita_Menus() {
    if (menusDoSetor()) menusDoSetor()(Param[8] != QLatin1String("C"));
}
