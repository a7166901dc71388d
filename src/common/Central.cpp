#include "common/Central.h"
#include "common/Erros.h"
#include "common/Parametros.h"
#include "common/Usuario.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Rede.h"
#include "platform/Shell.h"
#include "platform/Tela.h"
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <optional>

std::unique_ptr<ConexaoCentral> Banco_Central;

namespace {
const QString CR = QString(QChar(13));
const QString NomeDriver = QStringLiteral("MySQL ODBC 5.1 Driver");

QString& textoTeste() {
    static QString t;
    return t;
}

// The connection string names its driver "MySQL ODBC 5.1 Driver"; on this
// system that is MariaDB's ODBC driver, registered under that name in an
// odbcinst.ini of our own. When neither the environment nor the system
// says where the drivers are registered, the copy beside the program is used.
void Localiza_Driver() {
    if (qEnvironmentVariableIsSet("ODBCSYSINI")) return;
    QFile sistema(QStringLiteral("/etc/odbcinst.ini"));
    if (sistema.open(QIODevice::ReadOnly) && sistema.readAll().contains(("[" + NomeDriver + "]").toUtf8())) return;
    if (QFileInfo::exists(App::Path() + QStringLiteral("/odbcinst.ini")))
        qputenv("ODBCSYSINI", QFile::encodeName(App::Path()));
}

// Qt 6.4's ODBC driver fails to parse a connection string that ends in ";".
// MariaDB's driver ignores the login-timeout attribute, so its own
// CONN_TIMEOUT bounds the connect and the server's greeting: a silent server
// would otherwise hold the program for minutes.
QString Texto_Para_Driver(QString texto) {
    while (texto.endsWith(QLatin1Char(';'))) texto.chop(1);
    return texto + QStringLiteral(";CONN_TIMEOUT=") + QString::number(Central::TempoConexao);
}

// Qt 6.4 sends a bound QString with a trailing NUL, so "x = ?" never
// matches and a number in text is refused; UTF-8 bytes travel intact.
QVariant Valor_Para_Driver(const QVariant& v) {
    if (v.typeId() != QMetaType::QString || v.isNull()) return v;
    return v.toString().toUtf8();
}

QString Texto(const QSqlError& e) {
    const QString t = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    return t.isNull() ? QStringLiteral("") : t;
}

void Liga(QSqlQuery& q, const QVariantList& valores) {
    for (qsizetype i = 0; i < valores.size(); ++i) q.bindValue(int(i), Valor_Para_Driver(valores[i]));
}

// A bound statement the server refuses with a data error (a number that is
// not one, a text too long) is reported by the driver as a success that
// changed nothing; ask the server.
void Confere_Recusa(const QSqlQuery& q, const QString& conexao) {
    if (q.isSelect() || q.numRowsAffected() > 0) return;
    QSqlQuery e(QSqlDatabase::database(conexao, false));
    if (e.exec(QStringLiteral("SHOW ERRORS")) && e.next()) Levanta_Erro(3146, e.value(2).toString());
}

QString Texto_Da_Conexao() {
    Localiza_Driver();
    return textoTeste().isEmpty() ? Central::Texto_Conexao(Param[11]) : textoTeste();
}
std::optional<QString> Le_Versao() {
    try {
        if (!Testa_Conexao(Param[11], QStringLiteral("N"))) return std::nullopt;
        const RecordsetPtr rs = Abre_Recordset_Central(QStringLiteral("Select versao from vws_versao"));
        if (!rs) return std::nullopt;
        if (rs->Eof()) return App::Versao();
        return rs->Texto(QStringLiteral("versao"));
    } catch (...) {
        // The version check must never stop the login or the About box.
        return std::nullopt;
    }
}
}  // namespace

QString Central::Texto_Conexao(const QString& servidor) {
    return QStringLiteral("Driver={") + NomeDriver + QStringLiteral("};Server=") + servidor + QStringLiteral(";User=") +
           Conta + QStringLiteral(";Password=") + Senha + QStringLiteral(";Database=") + Base +
           QStringLiteral(";Port=") + QString::number(Porta) + QStringLiteral(";Option=3;");
}

void Central::DefineTextoConexao(const QString& texto) { textoTeste() = texto; }

bool Conectado_Internet() { return Rede::ConectadoInternet(); }

void Avisa_Sem_Internet() {
    MsgBox(QStringLiteral("Não há Conexão com a Internet!") + CR + QStringLiteral("Examine e tente novamente."),
           vbExclamation, Titulo_Atencao());
}

void Avisa_Sem_Alcance() {
    MsgBox(QStringLiteral("Sua Conexão não alcança a base Vendral!") + CR + QStringLiteral("Examine e tente novamente."),
           vbExclamation, Titulo_Atencao());
}

bool Testa_Conexao(const QString& servidor, const QString& mostra) {
    const bool mensagens = mostra == QLatin1String("S");
    bool resultado = false;
    bool online = false;
    if (!Tenta([&] { online = Conectado_Internet(); })) return resultado;
    if (!online) {
        if (mensagens) Avisa_Sem_Internet();
        return false;
    }
    // Any answer counts, a refused connection too; only silence does not.
    if (!Tenta([&] { resultado = Rede::Responde(servidor, Central::Porta); })) return resultado;
    if (!resultado && mensagens) Avisa_Sem_Alcance();
    return resultado;
}

ConexaoCentral::ConexaoCentral(bool somenteLeitura) {
    static int serie = 0;
    nome_ = QStringLiteral("central-%1").arg(++serie);
    QString erro;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), nome_);
        db.setDatabaseName(Texto_Para_Driver(Texto_Da_Conexao()));
        QString opcoes = QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1").arg(Central::TempoConexao);
        if (somenteLeitura) opcoes += QStringLiteral(";SQL_ATTR_ACCESS_MODE=SQL_MODE_READ_ONLY");
        db.setConnectOptions(opcoes);
        if (!db.open()) erro = Texto(db.lastError());
    }
    if (!erro.isNull()) {
        QSqlDatabase::removeDatabase(nome_);
        Levanta_Erro(3151, erro);
    }
}

ConexaoCentral::~ConexaoCentral() {
    // The driver refuses to disconnect in the middle of a transaction.
    if (emTransacao_) Rollback();
    QSqlDatabase::database(nome_, false).close();
    QSqlDatabase::removeDatabase(nome_);
}

QSqlQuery ConexaoCentral::NovaConsulta() const {
    QSqlQuery q(QSqlDatabase::database(nome_, false));
    q.setForwardOnly(true);
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);  // money stays exact, as text
    return q;
}

void ConexaoCentral::Executa(const QString& sql, const QVariantList& valores) {
    if (!valores.isEmpty()) {
        ComandoCentral(*this, sql).Executa(valores);
        return;
    }
    QSqlQuery q = NovaConsulta();
    if (!q.exec(sql)) Levanta_Erro(3146, Texto(q.lastError()));
}

RecordsetPtr ConexaoCentral::AbreSnapshot(const QString& sql, const QVariantList& valores) {
    QSqlQuery q = NovaConsulta();
    bool ok;
    if (valores.isEmpty()) {
        ok = q.exec(sql);
    } else {
        ok = q.prepare(sql);
        if (ok) {
            Liga(q, valores);
            ok = q.exec();
        }
    }
    if (!ok) Levanta_Erro(3146, Texto(q.lastError()));
    const QSqlRecord campos = q.record();
    QStringList nomes;
    for (int i = 0; i < campos.count(); ++i) nomes << campos.fieldName(i);
    auto linhas =
        Recordset::CopiaLinhas(int(nomes.size()), [&] { return q.next(); }, [&](int i) { return q.value(i); });
    if (q.lastError().isValid()) Levanta_Erro(3146, Texto(q.lastError()));
    return std::make_unique<Recordset>(nomes, std::move(linhas));
}

void ConexaoCentral::Begin() {
    QSqlDatabase db = QSqlDatabase::database(nome_, false);
    if (!db.transaction()) Levanta_Erro(3146, Texto(db.lastError()));
    emTransacao_ = true;
}

void ConexaoCentral::Commit() {
    QSqlDatabase db = QSqlDatabase::database(nome_, false);
    // Still open after a failed commit: the destructor or the holder's
    // Rollback ends it.
    if (!db.commit()) Levanta_Erro(3146, Texto(db.lastError()));
    emTransacao_ = false;
}

void ConexaoCentral::Rollback() noexcept {
    emTransacao_ = false;
    QSqlDatabase::database(nome_, false).rollback();
}

ComandoCentral::ComandoCentral(ConexaoCentral& conexao, const QString& sql)
    : conexao_(conexao), consulta_(std::make_unique<QSqlQuery>(conexao.NovaConsulta())) {
    if (!consulta_->prepare(sql)) Levanta_Erro(3146, Texto(consulta_->lastError()));
}

ComandoCentral::~ComandoCentral() = default;

void ComandoCentral::Executa(const QVariantList& valores) {
    Liga(*consulta_, valores);
    if (!consulta_->exec()) Levanta_Erro(3146, Texto(consulta_->lastError()));
    Confere_Recusa(*consulta_, conexao_.nome_);
}

std::unique_ptr<ConexaoCentral> Abre_Conexao_Central(bool somenteLeitura) {
    if (!Testa_Conexao(Param[11], QStringLiteral("S"))) return nullptr;
    return std::make_unique<ConexaoCentral>(somenteLeitura);
}

bool Abre_Banco_Central(bool somenteLeitura) {
    if (!Testa_Conexao(Param[11], QStringLiteral("S"))) return false;
    Banco_Central.reset();
    Banco_Central = std::make_unique<ConexaoCentral>(somenteLeitura);
    return true;
}

void Fecha_Banco_Central() { Banco_Central.reset(); }

RecordsetPtr Abre_Recordset_Central(const QString& sql, const QVariantList& valores) {
    const std::unique_ptr<ConexaoCentral> conexao = Abre_Conexao_Central(true);
    if (!conexao) return nullptr;
    return conexao->AbreSnapshot(sql, valores);
}

QString Versao_Servidor() { return Le_Versao().value_or(App::Versao()); }

std::optional<QString> Versao_Servidor_Lida() { return Le_Versao(); }

void Abre_Link(const QString& alvo) {
    const Screen::Ampulheta ampulheta;
    Shell::Abre(alvo);
}
