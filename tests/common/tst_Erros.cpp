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
const QString CR = "\r";
QString Prompt(const QString& texto) { return texto + CR + "Contacte área de Sistemas." + CR + "Continua Tentando ?"; }
}  // namespace

class tst_Erros : public QObject {
    Q_OBJECT

private slots:
    void textosDaTabelaE3200() {
        Ambiente amb(false);
        const std::pair<int, QString> casos[] = {
            {3022, "Valor duplicado no índice, chave primária ou relacionamento."},
            {3146, "A conexão com a base de dados foi interrompida." + CR + "Para solucionar, feche todo o sistema e reabra-o." +
                       CR + "ODBC--falha na chamada."},
            {5, "Chamada de procedimento ou argumento inválido."},       // outside the table
            {31999, "Erro definido pelo aplicativo ou pelo objeto."},  // unknown
        };
        for (const auto& [numero, texto] : casos) {
            Screen::MousePointer(11);
            Roteiro::Responde(vbNo);
            QCOMPARE(Trata_Erro(numero), false);
            QCOMPARE(Num_Erro, double(numero));
            const auto& caixa = Roteiro::Caixas().back();
            QCOMPARE(caixa.titulo + caixa.prompt, "<<< Ocorrência de Erro " + QString::number(numero) + " >>>" + Prompt(texto));
            QCOMPARE(caixa.estilo, 20);
            QCOMPARE(Screen::MousePointerAtual(), 0);
        }
        // No error: no box, and the pointer is back.
        Screen::MousePointer(11);
        QCOMPARE(Trata_Erro(ErroExecucao(0)), true);
        QCOMPARE(Roteiro::Caixas().size(), std::size(casos));
        QCOMPARE(Screen::MousePointerAtual(), 0);

        // 3200 names the table between the apostrophes of the engine's text.
        Roteiro::LimpaCaixas();
        Roteiro::Responde(vbYes);
        Roteiro::Responde(vbNo);
        QCOMPARE(Trata_Erro(ErroExecucao(
                     3200, "The record cannot be deleted or changed because table 'LivroCaixa' includes related records.")),
                 true);
        // Fewer than two apostrophes from the fifth character on: no name.
        QCOMPARE(Trata_Erro(ErroExecucao(3200, "'a' table 'x")), false);
        const QString antes = "Não é possível excluir ou alterar registros. Já que existem registros relacionados na tabela ";
        const QString depois = ", a integridade referencial seria violada.";
        QCOMPARE(Roteiro::Caixas()[0].prompt, Prompt(antes + "LivroCaixa" + depois));
        QCOMPARE(Roteiro::Caixas()[1].prompt, Prompt(antes + depois));
    }

    void erro3151OfereceOConector() {
        Ambiente amb(false);
        QStringList abertos;
        Shell::DefineAcao([&](const QString& alvo) { abertos << alvo; });
        // Without the installer a Yes retries like any other error.
        Roteiro::Responde(vbYes);
        QCOMPARE(Trata_Erro(3151), true);
        QVERIFY(Roteiro::Caixas()[0].prompt.startsWith("A conexão com a base de dados não foi estabelecida." + CR +
                                                       "Para solucionar, instale o Kwe-Connector-532." + CR +
                                                       "O Arquivo deve estar na pasta do sistema." + CR));
        const QString instalador = App::Path() + "/Kwe-Connector-532.msi";
        QVERIFY(QFile(instalador).open(QIODevice::WriteOnly));
        Roteiro::Responde(vbNo);
        QCOMPARE(Trata_Erro(3151), false);
        QVERIFY(abertos.isEmpty());
        Roteiro::Responde(vbYes);
        QCOMPARE(Trata_Erro(3151), false);
        QCOMPARE(abertos, QStringList{instalador});
        Shell::DefineAcao({});
    }

    void tentaRepeteSoOPassoQueFalhou() {
        Ambiente amb(false);
        int primeiro = 0, segundo = 0;
        for (int r : {vbYes, vbYes, vbNo}) Roteiro::Responde(r);
        const bool ok = Tenta([&] { ++primeiro; }) && Tenta([&] {
                            ++segundo;
                            Levanta_Erro(3022);
                        });
        QCOMPARE(ok, false);
        QCOMPARE(primeiro, 1);  // a retry never repeats a step that succeeded
        QCOMPARE(segundo, 3);   // asked after every failure, stopped at the first No
        QCOMPARE(Roteiro::Pendentes(), 0);

        // Other exceptions are errors too; ending the program passes through untouched.
        Roteiro::LimpaCaixas();
        Roteiro::Responde(vbNo);
        QCOMPARE(Tenta([] { throw std::runtime_error("falhou"); }), false);
        QCOMPARE(Roteiro::Caixas()[0].titulo, QString("<<< Ocorrência de Erro 5 >>>"));
        QVERIFY(Termina_Programa([] { Tenta([] { App::Termina(); }); }));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
    }
};

REGISTRA_TESTE(tst_Erros)
#include "tst_Erros.moc"
