// The shared error handler: its texts, its answers, the connector installer
// of error 3151, and the retry helper that every error exit is built on.
#include "common/Erros.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include <QFile>
#include <QTest>
#include <stdexcept>

namespace {
const QString CR = QString(QChar(13));
QString Prompt(const QString& texto) {
    return texto + CR + QStringLiteral("Contacte área de Sistemas.") + CR + QStringLiteral("Continua Tentando ?");
}
}  // namespace

class tst_Erros : public QObject {
    Q_OBJECT

private slots:
    void textos_da_tabela_data() {
        QTest::addColumn<int>("numero");
        QTest::addColumn<QString>("texto");
        QTest::newRow("13") << 13 << QStringLiteral("Tipo Incompatível.");
        QTest::newRow("52") << 52 << QStringLiteral("Nº de Arquivo Inválido ou Fechado.");
        QTest::newRow("3420") << 3420 << QStringLiteral("O objeto não é válido ou não está definido.");
        QTest::newRow("3022") << 3022 << QStringLiteral("Valor duplicado no índice, chave primária ou relacionamento.");
        QTest::newRow("3044") << 3044 << QStringLiteral("Caminho não é Valido.");
        QTest::newRow("3086") << 3086 << QStringLiteral("Não é possivel excluir nas tabelas especificadas.");
        QTest::newRow("3315") << 3315
                              << QStringLiteral("Podem existir campos em branco que a Tabela de Dados exige preenchidos.");
        QTest::newRow("3201") << 3201
                              << QStringLiteral("Não é possivel adicionar ou alterar registros. ") + CR +
                                     QStringLiteral("A integridade referencial requer um registro relacionado em outras tabelas.");
        QTest::newRow("3260") << 3260 << QStringLiteral("Não é possível salvar; atualmente bloqueado por um outro usuário.");
        QTest::newRow("3146") << 3146
                              << QStringLiteral("A conexão com a base de dados foi interrompida.") + CR +
                                     QStringLiteral("Para solucionar, feche todo o sistema e reabra-o.") + CR +
                                     QStringLiteral("ODBC--falha na chamada.");
        QTest::newRow("20507") << 20507 << QStringLiteral("Nome do arquivo de relatório (RPT) inválido ou inexistente.");
        QTest::newRow("fora da tabela") << 5 << QStringLiteral("Chamada de procedimento ou argumento inválido.");
        QTest::newRow("desconhecido") << 31999 << QStringLiteral("Erro definido pelo aplicativo ou pelo objeto.");
    }
    void textos_da_tabela() {
        QFETCH(int, numero);
        QFETCH(QString, texto);
        Ambiente amb(false);
        Screen::MousePointer(11);
        Roteiro::Responde(vbNo);
        QCOMPARE(Trata_Erro(numero), false);
        QCOMPARE(Num_Erro, double(numero));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        const auto& c = Roteiro::Caixas()[0];
        QCOMPARE(c.titulo, QStringLiteral("<<< Ocorrência de Erro ") + QString::number(numero) + QStringLiteral(" >>>"));
        QCOMPARE(c.prompt, Prompt(texto));
        QCOMPARE(c.estilo, 20);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void zero_nao_mostra_caixa() {
        Ambiente amb(false);
        Screen::MousePointer(11);
        QCOMPARE(Trata_Erro(ErroExecucao(0)), true);
        QVERIFY(Roteiro::Caixas().empty());
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void tabela_do_erro_3200() {
        Ambiente amb(false);
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        QCOMPARE(Trata_Erro(ErroExecucao(3200, QStringLiteral("The record cannot be deleted or changed because table "
                                                              "'LivroCaixa' includes related records."))),
                 true);
        // Fewer than two apostrophes from the fifth character on: no name.
        QCOMPARE(Trata_Erro(ErroExecucao(3200, QStringLiteral("'a' table 'x"))), false);
        const QString antes = QStringLiteral("Não é possível excluir ou alterar registros. Já que existem registros "
                                             "relacionados na tabela ");
        const QString depois = QStringLiteral(", a integridade referencial seria violada.");
        QCOMPARE(Roteiro::Caixas()[0].prompt, Prompt(antes + QStringLiteral("LivroCaixa") + depois));
        QCOMPARE(Roteiro::Caixas()[1].prompt, Prompt(antes + depois));
    }

    void conector_do_erro_3151() {
        Ambiente amb(false);
        QStringList abertos;
        Shell::DefineAcao([&](const QString& alvo) { abertos << alvo; });
        // Without the installer a Yes retries like any other error.
        Roteiro::Responde(vbYes);
        QCOMPARE(Trata_Erro(3151), true);
        QVERIFY(abertos.isEmpty());
        QVERIFY(Roteiro::Caixas()[0].prompt.startsWith(QStringLiteral("A conexão com a base de dados não foi estabelecida.") +
                                                       CR + QStringLiteral("Para solucionar, instale o Kwe-Connector-532.") +
                                                       CR + QStringLiteral("O Arquivo deve estar na pasta do sistema.") + CR));

        const QString instalador = App::Path() + QStringLiteral("/Kwe-Connector-532.msi");
        QFile f(instalador);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        Roteiro::Responde(vbNo);
        QCOMPARE(Trata_Erro(3151), false);
        QVERIFY(abertos.isEmpty());
        Roteiro::Responde(vbYes);
        QCOMPARE(Trata_Erro(3151), false);
        QCOMPARE(abertos, QStringList{instalador});
        Shell::DefineAcao({});
    }

    void tenta_repete_o_mesmo_passo() {
        Ambiente amb(false);
        int primeiro = 0, segundo = 0;
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        const bool ok = Tenta([&] { ++primeiro; }) && Tenta([&] {
                            ++segundo;
                            Levanta_Erro(3022);
                        });
        QCOMPARE(ok, false);
        QCOMPARE(primeiro, 1);  // a retry never repeats a step that succeeded
        QCOMPARE(segundo, 3);   // asked after every failure, stopped at the first No
        QCOMPARE(Roteiro::Caixas().size(), size_t(3));
        QCOMPARE(Roteiro::Pendentes(), 0);

        // A step that succeeds on the retry completes the procedure.
        int vezes = 0;
        Roteiro::Responde(vbYes);
        QCOMPARE(Tenta([&] {
                     if (++vezes == 1) Levanta_Erro(3061);
                 }),
                 true);
        QCOMPARE(vezes, 2);
    }

    void tenta_converte_excecoes_inesperadas() {
        Ambiente amb(false);
        Roteiro::Responde(vbNo);
        Roteiro::Responde(vbNo);
        QCOMPARE(Tenta([] { throw std::runtime_error("falhou"); }), false);
        QCOMPARE(Tenta([] { throw std::out_of_range("fora"); }), false);
        QCOMPARE(Roteiro::Caixas()[0].titulo, QStringLiteral("<<< Ocorrência de Erro 5 >>>"));
        QCOMPARE(Roteiro::Caixas()[1].titulo, QStringLiteral("<<< Ocorrência de Erro 9 >>>"));
        // Ending the program is not an error: it passes through untouched.
        QVERIFY(Termina_Programa([] { Tenta([] { App::Termina(); }); }));
        QCOMPARE(Roteiro::Caixas().size(), size_t(2));
    }
};

REGISTRA_TESTE(tst_Erros)
#include "tst_Erros.moc"
