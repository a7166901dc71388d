#include "support/Ambiente.h"
#include "common/Banco.h"
#include "common/Esquema.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/App.h"
#include "platform/Erro.h"
#include "platform/MsgBox.h"
#include "platform/Relogio.h"
#include "platform/Shell.h"
#include "platform/SqlCipher.h"
#include "platform/Tela.h"
#include <QtTest>

namespace {
void liga(SqlCipher::Comando& cmd, const QVariantList& valores) {
    for (int i = 0; i < valores.size(); ++i) {
        const QVariant& v = valores[i];
        if (v.isNull()) continue;  // unbound parameters are NULL
        switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Bool: cmd.LigaInteiro(i + 1, v.toLongLong()); break;
        case QMetaType::Double: cmd.LigaReal(i + 1, v.toDouble()); break;
        default: cmd.LigaTexto(i + 1, v.toString());
        }
    }
}
}  // namespace

Ambiente::Ambiente(bool criaBanco) {
    App::DefinePath(dir_.path());
    if (criaBanco) Esquema::Cria(Arquivo());
    App::DefineAcaoTermino([] { throw ProgramaTerminou{}; });
    Shell::DefineAcao([](const QString&) { return true; });
    Relogio::Define(QDateTime());
    Roteiro::Instala();
    Roteiro::LimpaCaixas();
    Nome_Usuario = QStringLiteral("TESTE");
}

Ambiente::~Ambiente() {
    Roteiro::LimpaCaixas();
    Screen::MousePointer(0);
    Relogio::Define(QDateTime());
}

QString Ambiente::Arquivo() const { return dir_.path() + QLatin1Char('/') + Banco::NomeArquivo; }

void Ambiente::Sql(const QString& sql, const QVariantList& valores) { Le(sql, valores); }

RecordsetPtr Ambiente::Le(const QString& sql, const QVariantList& valores) {
    auto con = SqlCipher::Conexao::Abre(Arquivo());
    SqlCipher::Comando cmd(con, sql);
    liga(cmd, valores);
    QStringList nomes;
    for (int i = 0; i < cmd.Colunas(); ++i) nomes << cmd.NomeColuna(i);
    auto linhas = Recordset::CopiaLinhas(cmd.Colunas(), [&] { return cmd.Passo(); }, [&](int i) { return cmd.Coluna(i); });
    return std::make_unique<Recordset>(nomes, std::move(linhas));
}

QStringList Ambiente::Linhas(const QString& sql, const QVariantList& valores) {
    QStringList r;
    for (RecordsetPtr rs = Le(sql, valores); !rs->Eof(); rs->MoveNext()) {
        QStringList c;
        for (int i = 0; i < rs->FieldCount(); ++i) c << (rs->Fields(i).isNull() ? "NULL" : rs->Fields(i).toString());
        r << c.join('|');
    }
    return r;
}

void Ambiente::Parametros(int codigo, const QString& setor, const QString& congrega, const QString& tipo, int mes,
                          int ano, const QString& razao) {
    Sql(QStringLiteral("DELETE FROM Parametros"));
    Sql(QStringLiteral("INSERT INTO Parametros (Codigo, Razao, Reg_Setor, Congrega, Tipo, Mes, Ano) "
                       "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)"),
        {codigo, razao, setor, congrega, tipo, mes, ano});
}

bool Termina_Programa(const std::function<void()>& f) {
    try {
        f();
    } catch (const ProgramaTerminou&) {
        return true;
    }
    return false;
}

long ErroDe(const std::function<void()>& f, QString* descricao) {
    try {
        f();
    } catch (const ErroExecucao& e) {
        if (descricao) *descricao = e.Description;
        return e.Number;
    }
    return 0;
}

QByteArray Bytes(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QRandomGenerator Gerador_Semeado() {
    bool dada = false;
    quint32 semente = qEnvironmentVariable("TESTES_SEMENTE").toUInt(&dada);
    if (!dada) semente = QRandomGenerator::system()->generate();
    qInfo("semente aleatória %u (TESTES_SEMENTE=%u repete)", semente, semente);
    return QRandomGenerator(semente);
}
