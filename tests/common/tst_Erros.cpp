// The shared error handler: its texts, its answers, the connector installer
// of error 3151, and the retry helper that every error exit is built on.
#include "common/Erros.h"
#include "platform/App.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QFile>
#include <QTest>
#include <stdexcept>

namespace {
const QString CR = "\r";
QString Prompt(const QString& texto) { return texto + CR + "Contacte área de Sistemas." + CR + "Continua Tentando ?"; }
struct Texto { int numero; QString descricao, texto; };
}  // namespace

class tst_Erros : public QObject {
    Q_OBJECT

private slots:
    void textoDoErro_data() {
        const QString r3200 = "Não é possível excluir ou alterar registros. Já que existem registros relacionados na tabela ";
        const QString a3200 = ", a integridade referencial seria violada.";
        Tabela<Texto>({
            {"3146 em três linhas", {3146, {}, "A conexão com a base de dados foi interrompida." + CR +
                                                   "Para solucionar, feche todo o sistema e reabra-o." + CR +
                                                   "ODBC--falha na chamada."}},
            {"5 fora da tabela", {5, {}, "Chamada de procedimento ou argumento inválido."}},
            {"número desconhecido", {31999, {}, "Erro definido pelo aplicativo ou pelo objeto."}},
            // 3200 names the table between the apostrophes of the engine's text.
            {"3200 com o nome da tabela",
             {3200, "The record cannot be deleted or changed because table 'LivroCaixa' includes related records.",
              r3200 + "LivroCaixa" + a3200}},
            {"3200 sem dois apóstrofos após o quinto caractere", {3200, "'a' table 'x", r3200 + a3200}},
        });
    }
    void textoDoErro() {
        QFETCH(Texto, caso);
        Ambiente amb(false);
        Screen::MousePointer(11);
        Roteiro::Responde(vbNo);
        QCOMPARE(Trata_Erro(ErroExecucao(caso.numero, caso.descricao)), false);
        QCOMPARE(Num_Erro, double(caso.numero));
        QCOMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, "<<< Ocorrência de Erro " + QString::number(caso.numero) + " >>>");
        QCOMPARE(Roteiro::Caixas()[0].prompt, Prompt(caso.texto));
        QCOMPARE(Roteiro::Caixas()[0].estilo, vbYesNo + vbCritical);
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }

    void erro3151OfereceOConector() {
        Ambiente amb(false);
        QCOMPARE(Trata_Erro(ErroExecucao(0)), true);  // no error, no box
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
