#include "common/Transmissao.h"
#include "common/Banco.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/Relogio.h"

namespace {
// Catalogue rows only: a probe of the table itself would fail on a file
// without it, and a failure ends the caller's unit of work.
const QString Sonda = QStringLiteral("PRAGMA table_info(Transmissao)");
const QString Criacao =
    QStringLiteral("Create Table Transmissao (Mes integer,Ano integer,Data Datetime,Usuario varchar(50))");
}  // namespace

bool Tem_Tabela(BancoLocal& banco) {
    try {
        // The columns of the table, none when it is missing; the one the
        // readers select must be among them.
        for (auto rs = banco.AbreSnapshot(Sonda); !rs->Eof(); rs->MoveNext())
            if (rs->Texto(QStringLiteral("name")).compare(QLatin1String("Usuario"), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    } catch (...) {
        return false;
    }
}

bool Tem_Tabela() {
    try {
        const BancoLocalPtr banco = Abre_Banco(true);
        return Tem_Tabela(*banco);
    } catch (...) {
        return false;
    }
}

void Cria_Tabela(BancoLocal& banco) { banco.Executa(Criacao); }
void Cria_Tabela() { Executa_SQL(Criacao); }

void Grava_Transmissao(BancoLocal& banco) {
    banco.ExecutaQuery(QStringLiteral("ProcInsTransmissao"),
                       {Param[9], Param[10], Relogio::Agora().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
                        Nome_Usuario});
}
void Grava_Transmissao() { Em_Unidade([](UnidadeTrabalho& u) { Grava_Transmissao(u); }); }

void Deleta_Transmissao(BancoLocal& banco) {
    banco.ExecutaQuery(QStringLiteral("ProcDelTransmissaoMes"), {Param[9], Param[10]});
}
void Deleta_Transmissao() { Em_Unidade([](UnidadeTrabalho& u) { Deleta_Transmissao(u); }); }

void Registra_Transmissao(BancoLocal& banco) {
    if (!Tem_Tabela(banco)) Cria_Tabela(banco);
    Grava_Transmissao(banco);
}
void Registra_Transmissao() { Em_Unidade([](UnidadeTrabalho& u) { Registra_Transmissao(u); }); }

void Elimina_Transmissao(BancoLocal& banco) {
    if (Tem_Tabela(banco)) Deleta_Transmissao(banco);
}
void Elimina_Transmissao() { Em_Unidade([](UnidadeTrabalho& u) { Elimina_Transmissao(u); }); }
