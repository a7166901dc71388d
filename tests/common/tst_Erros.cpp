// The shared error handler: its texts, its answers, the connector installer
// of error 3151, and the retry helper that every error exit is built on;
// errors escaping a form's event handlers reach it instead of ending the
// program, and the hourglass never outlives the procedure that showed it.
#include "common/Erros.h"
#include "platform/App.h"
#include "platform/Controles.h"
#include "platform/Form.h"
#include "platform/MsgBox.h"
#include "platform/Shell.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <QFile>
#include <QTest>
#include <new>
#include <stdexcept>

namespace {
const QString CR = "\r";
QString Prompt(const QString& texto) { return texto + CR + "Contacte área de Sistemas." + CR + "Continua Tentando ?"; }
struct Texto { int numero; QString descricao, texto; };
struct Escape { bool clique; int tipo; QString titulo; };  // a click's handler, or a timer's
enum Tipo { Execucao, ForaDoIntervalo, SemMemoria, Outra };

[[noreturn]] void lanca(int tipo) {
    switch (tipo) {
    case Execucao: Levanta_Erro(3022);
    case ForaDoIntervalo: throw std::out_of_range("vector::at");
    case SemMemoria: throw std::bad_alloc();
    default: throw std::runtime_error("falhou");
    }
}

struct Lancamentos : Form {
    Lancamentos() : Form(QStringLiteral("Lancamentos"), false) {
        setTamanhoCliente(4000, 2000);
        Twips::Posiciona(CmdGrava, 120, 120, 1200, 400);
        CmdGrava->Click = [this] { CmdGrava_Click(); };
        Relogio->Tick = [this] { Relogio_Timer(); };
    }
    CommandButton* CmdGrava = new CommandButton(QStringLiteral("&Gravar"), this);
    ::Timer* Relogio = new ::Timer(this, 10);
    int tipo = Execucao;
    int cliques = 0;

    void CmdGrava_Click() {
        ++cliques;
        const Screen::Ampulheta ampulheta;
        lanca(tipo);
    }
    void Relogio_Timer() {
        Relogio->setEnabled(false);
        lanca(tipo);
    }
};
}  // namespace

class tst_Erros : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        for (Form* f : Form::Existentes()) delete f;
    }

    void textoDoErro_data() {
        const QString r3200 = "Não é possível excluir ou alterar registros. Já que existem registros relacionados na tabela ";
        const QString a3200 = ", a integridade referencial seria violada.";
        Tabela<Texto>({
            {"3146 em três linhas", {3146, {}, "A conexão com a base de dados foi interrompida." + CR +
                                                   "Para solucionar, feche todo o sistema e reabra-o." + CR +
                                                   "ODBC--falha na chamada."}},
            {"5 fora da tabela", {5, {}, "Chamada de procedimento ou argumento inválido."}},
            {"número desconhecido", {31999, {}, "Erro definido pelo aplicativo ou pelo objeto."}},
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
        Shell::DefineAcao([&](const QString& alvo) {
            abertos << alvo;
            return true;
        });
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

    // A click's handler, and a timer's, which the event loop itself calls
    // with no caller of the program's own to catch what it lets escape.
    void handlerQueFalha_data() {
        QTest::addColumn<Escape>("caso");
        const std::pair<const char*, int> tipos[] = {
            {"erro do programa", Execucao}, {"fora do intervalo", ForaDoIntervalo},
            {"sem memória", SemMemoria}, {"outra exceção padrão", Outra}};
        const int numeros[] = {3022, 9, 7, 5};
        for (bool clique : {true, false})
            for (const auto& [nome, tipo] : tipos)
                QTest::addRow("%s, %s", clique ? "clique" : "relógio", nome)
                    << Escape{clique, tipo, QString("<<< Ocorrência de Erro %1 >>>").arg(numeros[tipo])};
    }
    void handlerQueFalha() {
        QFETCH(Escape, caso);
        const auto& [clique, tipo, titulo] = caso;
        Ambiente amb(false);
        auto* f = new Lancamentos;
        f->tipo = tipo;
        f->Show();
        // Yes has nothing to run again: the click is over, and runs once.
        Roteiro::Responde(vbYes);
        if (clique) QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        else f->Relogio->setEnabled(true);
        QTRY_COMPARE(Roteiro::Caixas().size(), size_t(1));
        QCOMPARE(Roteiro::Caixas()[0].titulo, titulo);
        QCOMPARE(Roteiro::Caixas()[0].estilo, vbYesNo + vbCritical);
        QCOMPARE(Screen::MousePointerAtual(), 0);
        if (!clique) return;
        QCOMPARE(f->cliques, 1);
        // The form goes on answering its user.
        f->tipo = -1;
        Roteiro::Responde(vbNo);
        QTest::mouseClick(f->CmdGrava, Qt::LeftButton);
        QCOMPARE(f->cliques, 2);
        QVERIFY(!Roteiro::HouveInesperada());
    }

    // A step inside a longer run gives the run its hourglass back, even
    // after the error handler put the default pointer up.
    void ampulhetaVolta() {
        Ambiente amb(false);
        {
            const Screen::Ampulheta externa;
            Roteiro::Responde(vbNo);
            {
                const Screen::Ampulheta interna;
                Tenta([] { Levanta_Erro(3022); });
            }
            QCOMPARE(Screen::MousePointerAtual(), 11);
        }
        QCOMPARE(Screen::MousePointerAtual(), 0);
    }
};

REGISTRA_TESTE(tst_Erros)
#include "tst_Erros.moc"
