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
#include "support/Tabela.h"
#include "support/Protecao.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QTest>

namespace {
struct Motor { int codigo; QString texto; };  // the engine's code and English text
}  // namespace

class tst_ArquivoProtegido : public QObject {
    Q_OBJECT

private slots:
    void arquivoAtualSemEscrita_data() {
        QTest::addColumn<bool>("pasta");
        QTest::newRow("arquivo imutável") << false;
        QTest::newRow("pasta sem escrita") << true;
    }
    void arquivoAtualSemEscrita() {
        QFETCH(bool, pasta);
        Ambiente amb;
        Executa_SQL(QStringLiteral("INSERT INTO Cargos (Codigo, Descricao) VALUES (1, 'PASTOR')"));
        const QByteArray bytes = Bytes(amb.Arquivo());
        const QDateTime modificado = QFileInfo(amb.Arquivo()).lastModified();
        const QStringList arquivos = QDir(amb.Pasta()).entryList(QDir::Files | QDir::Hidden);
        Protecao protecao(pasta ? amb.Pasta() : amb.Arquivo());
        if (!protecao.Protegido()) QSKIP("este sistema não deixa proteger o arquivo contra escrita");

        // A write is refused in Portuguese, under the read-only number.
        Roteiro::Responde(vbNo);
        QVERIFY(!Tenta([] { Executa_SQL(QStringLiteral("DELETE FROM Cargos")); }));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, QStringLiteral("<<< Ocorrência de Erro 3027 >>>"));
        QCOMPARE(Roteiro::Caixas()[0].prompt.section(QChar(13), 0, 0),
                 QStringLiteral("Não é possível atualizar. O banco de dados ou objeto é somente leitura."));

        QCOMPARE(Bytes(amb.Arquivo()), bytes);
        QCOMPARE(QFileInfo(amb.Arquivo()).lastModified(), modificado);
        QCOMPARE(QDir(amb.Pasta()).entryList(QDir::Files | QDir::Hidden), arquivos);
    }

    // An older file that cannot be written is not reported as brought up
    // to date: the upgrade fails with the read-only number and the file
    // keeps its version. The program folder's preparation (run before the
    // program starts) accepts an up-to-date one.
    void arquivoSemEscritaFicaComoEsta_data() {
        QTest::addColumn<bool>("antigo");
        QTest::newRow("atualização de um arquivo antigo") << true;
        QTest::newRow("ferramenta sobre um arquivo atual") << false;
    }
    void arquivoSemEscritaFicaComoEsta() {
        QFETCH(bool, antigo);
        Ambiente amb;
        const QString programa = QCoreApplication::applicationDirPath() + QStringLiteral("/../criabanco");
        if (!antigo && !QFileInfo::exists(programa)) QSKIP("criabanco não foi compilado");
        if (antigo) Executa_SQL(QStringLiteral("PRAGMA user_version = 1"));
        const QByteArray antes = Bytes(amb.Arquivo());
        Protecao protecao(amb.Arquivo());
        if (!protecao.Protegido()) QSKIP("este sistema não deixa proteger o arquivo contra escrita");
        QString descricao;
        if (antigo) {
            QCOMPARE(ErroDe([&] { Esquema::Atualiza(amb.Arquivo()); }, &descricao), 3027L);
            QVERIFY2(Texto_Erro(3027, descricao).startsWith(QStringLiteral("Não é possível atualizar")),
                     qPrintable(Texto_Erro(3027, descricao)));
        } else {
            QCOMPARE(QProcess::execute(programa, {amb.Pasta()}), 0);
        }
        QCOMPARE(Bytes(amb.Arquivo()), antes);
    }

    // The engine's failures that had no Portuguese text of their own.
    void falhasDoMotorEmPortugues_data() {
        Tabela<Motor>({
            {"somente leitura", {SQLITE_READONLY, "attempt to write a readonly database"}},
            {"diário somente leitura", {SQLITE_READONLY_ROLLBACK, "attempt to write a readonly database"}},
            {"regra de validação", {SQLITE_CONSTRAINT_CHECK, "CHECK constraint failed: Valor > 0"}},
            {"grande demais", {SQLITE_TOOBIG, "string or blob too big"}},
            {"tabela existente", {SQLITE_ERROR, "table Cargos already exists"}},
            {"função ausente", {SQLITE_ERROR, "no such function: FOO"}},
        });
    }
    void falhasDoMotorEmPortugues() {
        QFETCH(Motor, caso);
        const QString texto = Texto_Erro(SqlCipher::NumeroErro(caso.codigo, caso.texto), caso.texto);
        QVERIFY2(!texto.contains(caso.texto), qPrintable(texto));
        QVERIFY2(texto != QStringLiteral("Erro definido pelo aplicativo ou pelo objeto."), qPrintable(texto));
    }
};

REGISTRA_TESTE(tst_ArquivoProtegido)
#include "tst_ArquivoProtegido.moc"
