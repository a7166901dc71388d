// A database file that cannot be written (an immutable file, or a folder
// that refuses the journal): start-up leaves a current file untouched and
// reads work; a write, and the upgrade of an older file, fail with the
// program's Portuguese message instead of the engine's English text.
#include "common/Banco.h"
#include "common/Erros.h"
#include "common/Esquema.h"
#include "platform/MsgBox.h"
#include "platform/SqlCipher.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Protecao.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTest>

namespace {

struct Estado {
    QByteArray bytes;
    QDateTime modificado;
    QStringList pasta;
};

Estado EstadoDe(const Ambiente& amb) {
    return {Bytes(amb.Arquivo()), QFileInfo(amb.Arquivo()).lastModified(),
            QDir(amb.Pasta()).entryList(QDir::Files | QDir::Hidden)};
}

QString Protegido(const Ambiente& amb, const QString& alvo) {
    return alvo == QLatin1String("pasta") ? amb.Pasta() : amb.Arquivo();
}

}  // namespace

class tst_ArquivoProtegido : public QObject {
    Q_OBJECT

private slots:
    void arquivoAtualSemEscrita_data() {
        QTest::addColumn<QString>("alvo");
        QTest::newRow("arquivo imutável") << QStringLiteral("arquivo");
        QTest::newRow("pasta sem escrita") << QStringLiteral("pasta");
    }
    void arquivoAtualSemEscrita() {
        QFETCH(QString, alvo);
        Ambiente amb;
        Executa_SQL(QStringLiteral("INSERT INTO Cargos (Codigo, Descricao) VALUES (1, 'PASTOR')"));
        const Estado antes = EstadoDe(amb);
        Protecao protecao(Protegido(amb, alvo));
        if (!protecao.Protegido()) QSKIP("este sistema não deixa proteger o arquivo contra escrita");

        // The start-up step: a current file is read, never written.
        QCOMPARE(ErroDe([&] { QVERIFY(!Esquema::Atualiza(amb.Arquivo())); }), 0L);
        QCOMPARE(Abre_Recordset(QStringLiteral("SELECT count(*) FROM Cargos"))->Fields(0).toInt(), 1);

        // A write is refused in Portuguese, under the read-only number.
        Roteiro::Responde(vbNo);
        QVERIFY(!Tenta([] { Executa_SQL(QStringLiteral("DELETE FROM Cargos")); }));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QStringLiteral("<<< Ocorrência de Erro 3027 >>>"));
        QCOMPARE(Roteiro::Caixas()[0].prompt.section(QChar(13), 0, 0),
                 QStringLiteral("Não é possível atualizar. O banco de dados ou objeto é somente leitura."));

        const Estado depois = EstadoDe(amb);
        QCOMPARE(depois.bytes, antes.bytes);
        QCOMPARE(depois.modificado, antes.modificado);
        QCOMPARE(depois.pasta, antes.pasta);
    }

    // An older file that cannot be written is not reported as brought up
    // to date: the upgrade fails with the read-only number and the file
    // keeps its version.
    void arquivoAntigoSemEscrita() {
        Ambiente amb;
        Executa_SQL(QStringLiteral("PRAGMA user_version = 1"));
        const QByteArray antes = Bytes(amb.Arquivo());
        Protecao protecao(amb.Arquivo());
        if (!protecao.Protegido()) QSKIP("este sistema não deixa proteger o arquivo contra escrita");
        QString descricao;
        QCOMPARE(ErroDe([&] { Esquema::Atualiza(amb.Arquivo()); }, &descricao), 3027L);
        QVERIFY2(Texto_Erro(3027, descricao).startsWith(QStringLiteral("Não é possível atualizar")),
                 qPrintable(Texto_Erro(3027, descricao)));
        QCOMPARE(Bytes(amb.Arquivo()), antes);
    }

    // The program folder's preparation (run before the program starts)
    // accepts an up-to-date file it cannot write.
    void ferramentaSobreArquivoProtegido() {
        Ambiente amb;
        const QString programa = QCoreApplication::applicationDirPath() + QStringLiteral("/../criabanco");
        if (!QFileInfo::exists(programa)) QSKIP("criabanco não foi compilado");
        const QByteArray antes = Bytes(amb.Arquivo());
        Protecao protecao(amb.Arquivo());
        if (!protecao.Protegido()) QSKIP("este sistema não deixa proteger o arquivo contra escrita");
        QCOMPARE(QProcess::execute(programa, {amb.Pasta()}), 0);
        QCOMPARE(Bytes(amb.Arquivo()), antes);
    }

    // The engine's failures that had no Portuguese text of their own.
    void falhasDoMotorEmPortugues_data() {
        QTest::addColumn<int>("codigo");
        QTest::addColumn<QString>("textoMotor");
        const std::pair<const char*, std::pair<int, const char*>> casos[] = {
            {"somente leitura", {SQLITE_READONLY, "attempt to write a readonly database"}},
            {"diário somente leitura", {SQLITE_READONLY_ROLLBACK, "attempt to write a readonly database"}},
            {"regra de validação", {SQLITE_CONSTRAINT_CHECK, "CHECK constraint failed: Valor > 0"}},
            {"grande demais", {SQLITE_TOOBIG, "string or blob too big"}},
            {"tabela existente", {SQLITE_ERROR, "table Cargos already exists"}},
            {"função ausente", {SQLITE_ERROR, "no such function: FOO"}},
        };
        for (const auto& [nome, caso] : casos)
            QTest::newRow(nome) << caso.first << QString::fromLatin1(caso.second);
    }
    void falhasDoMotorEmPortugues() {
        QFETCH(int, codigo);
        QFETCH(QString, textoMotor);
        const long numero = SqlCipher::NumeroErro(codigo, textoMotor);
        const QString texto = Texto_Erro(numero, textoMotor);
        QVERIFY2(!texto.contains(textoMotor), qPrintable(texto));
        QVERIFY2(texto != QStringLiteral("Erro definido pelo aplicativo ou pelo objeto."), qPrintable(texto));
    }
};

REGISTRA_TESTE(tst_ArquivoProtegido)
#include "tst_ArquivoProtegido.moc"
