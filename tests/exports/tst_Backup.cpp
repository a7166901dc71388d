// The backup copy driven from the main window's menu: the 72 steps with
// their status lines, percentage and bar, the dated folder and its copies
// (the database copy opened with the password by SQLCipher itself, and
// restored into a program folder that the program then opens), the
// handler's Yes that passes over a failed copy and the final message that
// names it, No that stops the run, a run in the same minute, a read-only
// program folder, a full disk, a writer busy on the database during the
// copy, a file another program put in write-ahead mode (its log's rows in
// the copy, or the file named as not copied while that program keeps the
// log open), and closing the form or starting another run while one goes
// on.
#include "common/Banco.h"
#include "exports/Backup.h"
#include "operations/LivroCaixa.h"
#include "platform/App.h"
#include "platform/Progresso.h"
#include "platform/Relogio.h"
#include "platform/SqlCipher.h"
#include "platform/Tela.h"
#include "support/Ambiente.h"
#include "support/Interacao.h"
#include "support/Protecao.h"
#include "support/Recusa.h"
#include "support/Registro.h"
#include "support/Tabela.h"
#include <sqlcipher/sqlite3.h>
#include <QtTest>
#include <atomic>
#include <cstdio>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <thread>

namespace {
const QString Pasta = "0512262317";  // 5 December 2026, 23:17
const QString Concluido = "Backup Concluido";
const QString Erro53 = "Arquivo / Caminho Inválidos ou Inexistentes.\rContacte área de Sistemas.\rContinua Tentando ?";

// The status lines of a whole run into `destino`.
QStringList Linhas_Completas(const QString& destino) {
    return {"1) Definindo pastas Origem e Destino...",
            "2) Gerando a pasta destino " + destino + "...",
            "3) Copiando arquivo Marlovinter.exe para " + destino + "...",
            "4) Copiando arquivo Marlovinter.kwe para " + destino + "...",
            "5) Copiando arquivo Impresso.kwe para " + destino + "...",
            "6) Copiando arquivo Recibo.kwe para " + destino + "...",
            "8) FIM."};
}

// Rows of a query on a database file opened by SQLCipher with the
// password, as any other program that knows it would.
QStringList Le_Com_Senha(const QString& arquivo, const char* sql) {
    sqlite3* db = nullptr;
    QStringList linhas;
    if (sqlite3_open_v2(QFile::encodeName(arquivo).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_key(db, "wodrak", 6) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW) {
                QStringList c;
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    c << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
                linhas << c.join('|');
            }
        else linhas << "ERRO: " + QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return linhas;
}

void Escreve(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A program folder with its pictures and a church whose month holds one
// entry saved by the program's own query.
void Prepara(Ambiente& amb) {
    amb.Parametros(12, "SETOR LESTE", "VILA NOVA", "S", 12, 2026);
    Executa_Query("ProcInsLivroCaixa", {"1", "12", "2026", "12", "5", "O", "OFERTA ANTES DO BACKUP", "123,45"});
    Escreve(amb.Pasta() + "/impresso.kwe", "quadro do fechamento");
    Escreve(amb.Pasta() + "/recibo.kwe", "quadro do recibo");
}

// The form opened from the menu at 23:17 of 5 December 2026.
Backup* Abre_Backup() {
    Relogio::Define(QDateTime(QDate(2026, 12, 5), QTime(23, 17, 40)));
    return Abre_Pelo_Menu<Backup>(&Principal::Exp_BKP);
}

// `backup_disco PASTA PROGRAMA`: a whole run on the test's program folder
// PASTA, on a disk that fails to flush any folder while the files' own
// data reach it, every question answered Yes; prints each box shown, its
// style and its text on a line of its own.
int Backup_Disco_Falho(const QStringList& a) {
    Ambiente amb(a.value(0));
    App::DefineExecutavel(a.value(1));
    DefineSleep([](int) {});
    Backup* f = Abre_Backup();
    if (!Recusa(__NR_fsync, 0, 0, 0, EIO)) return 4;
    for (int i = 0; i < 5; ++i) Roteiro::Responde(vbYes);
    Roteiro::Responde(vbOK);
    f->CmdValida->click();
    for (const Roteiro::Caixa& c : Roteiro::Caixas())
        std::printf("%d %s\n", c.estilo, QString(c.titulo + ": " + c.prompt).replace('\r', '|').toUtf8().constData());
    return 0;
}
REGISTRA_OUTRO(backup_disco, Backup_Disco_Falho)

struct Falta {
    QString arquivo;  // removed from the program folder
    int resposta;     // to the handler's question
};

// Another program on the database file, as a database browser the
// treasurer opens beside this one: it puts the file in write-ahead mode
// and commits 100 transactions of a row each, all left in the log.
class Navegador {
public:
    explicit Navegador(const QString& arquivo) : arquivo_(QFile::encodeName(arquivo)) {
        escritor_ = abre(SQLITE_OPEN_READWRITE);
        bool ok = escritor_ && executa(escritor_, "PRAGMA wal_autocheckpoint = 0") &&
                  executa(escritor_, "CREATE TABLE Fora (N INTEGER)") && consulta(escritor_, "PRAGMA journal_mode = WAL") == "wal";
        // A reader that keeps the log open: the writer's close then leaves
        // the log as it is.
        leitor_ = ok ? abre(SQLITE_OPEN_READONLY) : nullptr;
        ok = leitor_ && !consulta(leitor_, "SELECT count(*) FROM sqlite_master").isEmpty();
        for (int i = 1; ok && i <= 100; ++i)
            ok = executa(escritor_, QByteArray("INSERT INTO Fora VALUES (") + QByteArray::number(i) + ")");
        ok_ = ok;
    }
    ~Navegador() { Fecha(); }
    bool Ok() const { return ok_; }
    // Ends as a program that stops without writing its log back into the
    // file: the writer goes while the reader holds the log, and the reader,
    // which may not write, cannot.
    void Fecha() {
        sqlite3_close(escritor_);
        sqlite3_close(leitor_);
        escritor_ = leitor_ = nullptr;
    }

private:
    sqlite3* abre(int modo) const {
        sqlite3* db = nullptr;
        if (sqlite3_open_v2(arquivo_.constData(), &db, modo, nullptr) != SQLITE_OK || sqlite3_key(db, "wodrak", 6) != SQLITE_OK) {
            sqlite3_close(db);
            return nullptr;
        }
        return db;
    }
    static bool executa(sqlite3* db, const QByteArray& sql) {
        return sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    // The first column of the statement's first row.
    static QByteArray consulta(sqlite3* db, const char* sql) {
        sqlite3_stmt* st = nullptr;
        QByteArray r;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            r = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        return r;
    }
    QByteArray arquivo_;
    sqlite3* escritor_ = nullptr;
    sqlite3* leitor_ = nullptr;
    bool ok_ = false;
};
}  // namespace

class tst_Backup : public QObject {
    Q_OBJECT

    QTemporaryDir fora_;  // the program file, outside the program folder
    QString programa_;
    Backup* f_ = nullptr;
    int passo_ = 0;                      // pauses so far, one per step
    QList<int> pausas_;                  // their lengths
    QStringList andamento_;              // "percentage bar-length" at each pause
    std::function<void(int)> no_passo_;  // run at the pause of a step

    // A program folder with its pictures and a church whose month holds
    // one entry saved by the program's own query, then the form opened
    // from the menu at 23:17 of 5 December 2026.
    Backup* abre(Ambiente& amb) {
        Prepara(amb);
        f_ = Abre_Backup();
        return f_;
    }

    // "Iniciar Backup" with the script's answers; every box answered.
    void inicia(std::initializer_list<int> respostas = {}) {
        for (int r : respostas) Roteiro::Responde(r);
        passo_ = 0;
        pausas_.clear();
        andamento_.clear();
        QTest::mouseClick(f_->CmdValida, Qt::LeftButton);
        QVERIFY(!Roteiro::HouveInesperada());
        QCOMPARE(Roteiro::Pendentes(), 0);
    }

    static QStringList prompts() {
        QStringList r;
        for (const Roteiro::Caixa& c : Roteiro::Caixas()) r << c.titulo + ": " + c.prompt;
        return r;
    }

    static QStringList conteudo(const QString& pasta) { return QDir(pasta).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

private slots:
    void initTestCase() {
        programa_ = fora_.path() + "/tesouraria";
        Escreve(programa_, QByteArray("\x7f" "ELF o programa", 15));
    }

    void init() {
        App::DefineExecutavel(programa_);
        no_passo_ = {};
        DefineSleep([this](int ms) {
            ++passo_;
            pausas_ << ms;
            andamento_ << f_->LblAndam->Caption() + " " + QString::number(f_->LblProgresso->Caption().size());
            QCOMPARE(Screen::MousePointerAtual(), 11);
            if (no_passo_) no_passo_(passo_);
        });
    }

    void cleanup() {
        DefineSleep({});
        App::DefineExecutavel({});
        Fecha_Tudo();
    }

    // A whole run: the steps' display, one pause of a second per step, the
    // start refused while it goes, the copies byte for byte, the database
    // copy opened with the password and holding the entry saved just
    // before, then restored into a new program folder and opened there by
    // the program.
    void corridaInteira() {
        QByteArray copiaBanco;
        {
            Ambiente amb;
            Backup* f = abre(amb);
            QCOMPARE(f->Caption(), QString("Backup do Sistema"));
            QCOMPARE(f->LblAndam->Caption(), QString("0%"));
            QVERIFY(f->LblProgresso->Caption().isEmpty());
            bool outraRecusada = false;
            no_passo_ = [&](int passo) {
                if (passo != 20) return;
                // A second start, from the form or the menu, does nothing.
                outraRecusada = !f->CmdValida->isEnabled() && !Principal::Atual()->Exp_BKP->isEnabled();
                f->CmdValida_Click();
                Principal::Atual()->Exp_BKP->trigger();
            };
            const QByteArray banco = Bytes(amb.Arquivo());
            inicia({vbOK});
            QVERIFY(outraRecusada);
            QCOMPARE(passo_, 72);
            QCOMPARE(pausas_, QList<int>(72, 1000));
            for (const auto& [passo, esperado] : std::initializer_list<std::pair<int, const char*>>{
                     {1, "1% 1"}, {9, "12% 9"}, {27, "38% 27"}, {36, "50% 36"}, {45, "62% 45"}, {63, "88% 63"}, {72, "100% 72"}})
                QCOMPARE(andamento_[passo - 1], QString(esperado));
            const QString destino = amb.Pasta() + "/" + Pasta;
            QCOMPARE(Linhas(f->LstBackup), Linhas_Completas(destino));
            QCOMPARE(f->LblAndam->Caption(), QString("100%"));
            QCOMPARE(f->LblProgresso->Caption(), QString(72, '='));
            CONFERE_CAIXA(Concluido, vbOKOnly + vbInformation);
            QVERIFY(f->CmdValida->isEnabled());
            QVERIFY(Principal::Atual()->Exp_BKP->isEnabled());
            QCOMPARE(Screen::MousePointerAtual(), 0);

            QCOMPARE(conteudo(destino), (QStringList{"Marlovinter.kwe", "Marlovinter.xex", "impresso.kwe", "recibo.kwe"}));
            QCOMPARE(Bytes(destino + "/Marlovinter.xex"), Bytes(programa_));
            QCOMPARE(Bytes(destino + "/impresso.kwe"), QByteArray("quadro do fechamento"));
            QCOMPARE(Bytes(destino + "/recibo.kwe"), QByteArray("quadro do recibo"));
            QCOMPARE(Bytes(amb.Arquivo()), banco);
            QCOMPARE(Le_Com_Senha(destino + "/Marlovinter.kwe", "SELECT Historico, Valor FROM LivroCaixa"),
                     QStringList{"OFERTA ANTES DO BACKUP|123.45"});
            copiaBanco = Bytes(destino + "/Marlovinter.kwe");
        }
        Fecha_Tudo();

        Ambiente restaurado(false);
        Escreve(restaurado.Arquivo(), copiaBanco);
        auto* livro = Abre_Pelo_Menu<LivroCaixa>(&Principal::Liv_Cx);
        QCOMPARE(livro->LstLivroCx->ListCount(), 1);
        QVERIFY2(livro->LstLivroCx->List(0).contains("OFERTA ANTES DO BACKUP"), qPrintable(livro->LstLivroCx->List(0)));
        QVERIFY(livro->LstLivroCx->List(0).contains("123,45"));
    }

    void arquivoFaltando_data() {
        Tabela<Falta>({
            {"recibo, Sim", {"recibo.kwe", vbYes}},
            {"recibo, Não", {"recibo.kwe", vbNo}},
            {"impresso, Sim", {"impresso.kwe", vbYes}},
            {"banco, Sim", {"Marlovinter.kwe", vbYes}},
        });
    }
    // A missing file stops its step at the handler: Yes passes over it and
    // the final message names it; No stops the run there, without its end
    // and without the final message.
    void arquivoFaltando() {
        QFETCH(Falta, caso);
        Ambiente amb;
        Backup* f = abre(amb);
        QVERIFY(QFile::remove(amb.Pasta() + "/" + caso.arquivo));
        if (caso.resposta == vbYes) inicia({vbYes, vbOK});
        else inicia({vbNo});
        const QString destino = amb.Pasta() + "/" + Pasta;
        const QStringList todas = Linhas_Completas(destino);
        const int linha = int(std::find_if(todas.begin(), todas.end(), [&](const QString& l) {
                                  return l.contains(caso.arquivo, Qt::CaseInsensitive);
                              }) - todas.begin());
        const QStringList caixas = prompts();
        QCOMPARE(caixas.value(0), "<<< Ocorrência de Erro 53 >>>: " + Erro53);
        QStringList copiados = {"Marlovinter.kwe", "Marlovinter.xex", "impresso.kwe", "recibo.kwe"};
        if (caso.resposta == vbYes) {
            QCOMPARE(passo_, 72);
            QCOMPARE(Linhas(f->LstBackup), todas);
            QCOMPARE(caixas.size(), 2);
            QCOMPARE(Roteiro::Caixas().back().prompt, Concluido + "\rArquivo não copiado: " + caso.arquivo);
            QCOMPARE(Roteiro::Caixas().back().estilo, vbOKOnly + vbExclamation);
            copiados.removeOne(caso.arquivo);
        } else {
            QCOMPARE(Linhas(f->LstBackup), todas.mid(0, linha + 1));
            QCOMPARE(caixas.size(), 1);
            QCOMPARE(f->LblAndam->Caption(), QString("88%"));
            QCOMPARE(f->LblProgresso->Caption(), QString(63, '='));
            copiados = {"Marlovinter.kwe", "Marlovinter.xex", "impresso.kwe"};
        }
        QCOMPARE(conteudo(destino), copiados);
        QCOMPARE(Screen::MousePointerAtual(), 0);
        QVERIFY(f->CmdValida->isEnabled());
    }

    // Two runs in the same minute: the folder exists, Yes goes on, and the
    // second run's copies replace the first's.
    void mesmoMinuto() {
        Ambiente amb;
        Backup* f = abre(amb);
        inicia({vbOK});
        Escreve(amb.Pasta() + "/recibo.kwe", "recibo novo");
        Executa_SQL("UPDATE LivroCaixa SET Historico = 'OFERTA CORRIGIDA'");
        Roteiro::LimpaCaixas();
        inicia({vbYes, vbOK});
        const QStringList caixas = prompts();
        QCOMPARE(caixas.size(), 2);
        QVERIFY2(caixas[0].startsWith("<<< Ocorrência de Erro 75 >>>: "), qPrintable(caixas[0]));
        QCOMPARE(Roteiro::Caixas().back().prompt, Concluido);
        const QString destino = amb.Pasta() + "/" + Pasta;
        QCOMPARE(Linhas(f->LstBackup), Linhas_Completas(destino));
        QCOMPARE(Bytes(destino + "/recibo.kwe"), QByteArray("recibo novo"));
        QCOMPARE(Le_Com_Senha(destino + "/Marlovinter.kwe", "SELECT Historico FROM LivroCaixa"), QStringList{"OFERTA CORRIGIDA"});
        QCOMPARE(conteudo(destino), (QStringList{"Marlovinter.kwe", "Marlovinter.xex", "impresso.kwe", "recibo.kwe"}));
    }

    // A program folder that refuses writing: no folder, each copy passed
    // over on Yes and named, the program's own file as it was.
    // A disk that fails to flush the folders: the dated folder and each
    // copy are in place, but the disk did not confirm them, and the
    // handler and the final message say so of each, never that a file
    // present was not copied.
    void discoQueNaoConfirma() {
        Ambiente amb;
        Prepara(amb);
        QProcess p;
        Inicia_Outro(p, "backup_disco", {amb.Pasta(), programa_});
        QVERIFY(p.waitForFinished(120000));
        if (p.exitCode() == 4) QSKIP("este sistema não deixa simular um disco que falha");
        QCOMPARE(p.exitCode(), 0);
        const QString erro = "20 <<< Ocorrência de Erro 57 >>>: Erro de entrada/saída no dispositivo.|"
                             "Contacte área de Sistemas.|Continua Tentando ?";
        QString final = "48 Atenção MARIA: " + Concluido;
        for (const char* nome : {"Marlovinter.exe", "Marlovinter.kwe", "impresso.kwe", "recibo.kwe"})
            final += QStringLiteral("|Arquivo copiado, mas o disco acusou erro: ") + nome;
        QCOMPARE(QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 QStringList({erro, erro, erro, erro, erro, final}));
        const QString destino = amb.Pasta() + "/" + Pasta;
        QCOMPARE(conteudo(destino), QStringList({"Marlovinter.kwe", "Marlovinter.xex", "impresso.kwe", "recibo.kwe"}));
        QCOMPARE(Bytes(destino + "/recibo.kwe"), QByteArray("quadro do recibo"));
        QCOMPARE(Bytes(destino + "/Marlovinter.xex"), Bytes(programa_));
        QCOMPARE(Le_Com_Senha(destino + "/Marlovinter.kwe", "SELECT Historico FROM LivroCaixa"),
                 QStringList{"OFERTA ANTES DO BACKUP"});
    }

    void pastaSomenteLeitura() {
        Ambiente amb;
        Backup* f = abre(amb);
        const QByteArray banco = Bytes(amb.Arquivo());
        Protecao protecao(amb.Pasta());
        QVERIFY(protecao.Protegido());
        inicia({vbYes, vbYes, vbYes, vbYes, vbYes, vbOK});
        const QStringList caixas = prompts();
        QCOMPARE(caixas.size(), 6);
        QVERIFY2(caixas[0].startsWith("<<< Ocorrência de Erro 70 >>>: Permissão negada."), qPrintable(caixas[0]));
        QCOMPARE(Roteiro::Caixas().back().prompt,
                 Concluido + "\rArquivo não copiado: Marlovinter.exe\rArquivo não copiado: Marlovinter.kwe"
                             "\rArquivo não copiado: impresso.kwe\rArquivo não copiado: recibo.kwe");
        QCOMPARE(f->LstBackup->ListCount(), 7);
        QVERIFY(!QFileInfo::exists(amb.Pasta() + "/" + Pasta));
        QCOMPARE(Bytes(amb.Arquivo()), banco);
    }

    // The program folder on a disk too small for the database's copy: the
    // full disk's message, no half copy left, the program's file as it was.
    void discoCheio() {
        Ambiente amb;
        amb.Sql("CREATE TABLE Lastro (Dado BLOB)");
        amb.Sql("INSERT INTO Lastro VALUES (randomblob(400000))");
        QTemporaryDir montagem;
        const QByteArray ponto = QFile::encodeName(montagem.path());
        const qint64 tamanho = QFileInfo(amb.Arquivo()).size();
        const QByteArray opcoes = "size=" + QByteArray::number(tamanho + 32 * 1024);
        if (::mount("tmpfs", ponto.constData(), "tmpfs", 0, opcoes.constData()) != 0)
            QSKIP("needs a tmpfs mounted here (root)");
        const auto desmonta = qScopeGuard([&] { ::umount2(ponto.constData(), MNT_DETACH); });
        Backup* f = abre(amb);
        QVERIFY(QFile::copy(amb.Arquivo(), montagem.path() + "/Marlovinter.kwe"));
        QVERIFY(QFile::copy(amb.Pasta() + "/recibo.kwe", montagem.path() + "/recibo.kwe"));
        QVERIFY(QFile::copy(amb.Pasta() + "/impresso.kwe", montagem.path() + "/impresso.kwe"));
        App::DefinePath(montagem.path());
        const QByteArray banco = Bytes(montagem.path() + "/Marlovinter.kwe");
        inicia({vbYes, vbOK});
        const QStringList caixas = prompts();
        QCOMPARE(caixas.size(), 2);
        QVERIFY2(caixas[0].startsWith("<<< Ocorrência de Erro 61 >>>: Disco cheio."), qPrintable(caixas[0]));
        QCOMPARE(Roteiro::Caixas().back().prompt, Concluido + "\rArquivo não copiado: Marlovinter.kwe");
        QCOMPARE(Bytes(montagem.path() + "/Marlovinter.kwe"), banco);
        QCOMPARE(conteudo(montagem.path() + "/" + Pasta), (QStringList{"Marlovinter.xex", "impresso.kwe", "recibo.kwe"}));
        QCOMPARE(f->LstBackup->ListCount(), 7);
    }

    // Another program writing the database all through the copy: the copy
    // is the file as it stood between two of its transactions.
    void bancoEscritoDuranteACopia() {
        Ambiente amb;
        abre(amb);
        std::atomic<bool> parar = false;
        std::atomic<int> gravados = 0;
        std::thread escritor;
        no_passo_ = [&](int passo) {
            if (passo != 35) return;
            escritor = std::thread([&, arquivo = amb.Arquivo()] {
                auto con = SqlCipher::Conexao::Abre(arquivo);
                con.Executa("CREATE TABLE IF NOT EXISTS Carga (Lote INTEGER, Dado BLOB)");
                for (int lote = 0; !parar && lote < 400; ++lote) {
                    try {
                        con.Executa(QString("BEGIN IMMEDIATE; INSERT INTO Carga SELECT %1, randomblob(3000) FROM "
                                            "(WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40) "
                                            "SELECT i FROM n); COMMIT")
                                        .arg(lote));
                        ++gravados;
                    } catch (const ErroExecucao&) {
                        con.Desfaz();
                    }
                }
            });
            QTRY_VERIFY(gravados >= 20);
        };
        const auto junta = qScopeGuard([&] {
            parar = true;
            if (escritor.joinable()) escritor.join();
        });
        inicia({vbOK});
        parar = true;
        escritor.join();
        CONFERE_CAIXA(Concluido, vbOKOnly + vbInformation);
        const QString copia = amb.Pasta() + "/" + Pasta + "/Marlovinter.kwe";
        QCOMPARE(Le_Com_Senha(copia, "PRAGMA integrity_check"), QStringList{"ok"});
        // Whole batches of 40 only.
        const QStringList lotes = Le_Com_Senha(copia, "SELECT count(*) FROM Carga GROUP BY Lote HAVING count(*) <> 40");
        QVERIFY2(lotes.isEmpty(), qPrintable(lotes.join(',')));
        QVERIFY(Le_Com_Senha(copia, "SELECT count(*) FROM Carga").value(0).toInt() >= 20 * 40);
    }

    void outroProgramaEmModoWal_data() {
        Tabela<bool>({{"log deixado pelo outro programa", false}, {"outro programa com o log aberto", true}});
    }
    // Another program put the database file in write-ahead mode and left
    // 100 committed transactions in the log: the copy holds them and the
    // file is back in its rollback journal; while that program keeps the
    // log open the copy is refused, the file named as not copied, and the
    // rows stay where that program left them.
    void outroProgramaEmModoWal() {
        QFETCH(bool, caso);
        const bool aberto = caso;
        Ambiente amb;
        abre(amb);
        auto navegador = std::make_unique<Navegador>(amb.Arquivo());
        QVERIFY(navegador->Ok());
        if (!aberto) navegador->Fecha();
        QVERIFY(QFileInfo(amb.Arquivo() + "-wal").size() > 0);
        const QString copia = amb.Pasta() + "/" + Pasta + "/Marlovinter.kwe";
        if (aberto) {
            inicia({vbYes, vbOK});
            const QStringList caixas = prompts();
            QCOMPARE(caixas.size(), 2);
            QVERIFY2(caixas[0].startsWith("<<< Ocorrência de Erro 3260 >>>: "), qPrintable(caixas[0]));
            QCOMPARE(Roteiro::Caixas().back().prompt, Concluido + "\rArquivo não copiado: Marlovinter.kwe");
            QCOMPARE(Roteiro::Caixas().back().estilo, vbOKOnly + vbExclamation);
            QVERIFY(!QFileInfo::exists(copia));
            navegador.reset();
            QCOMPARE(Le_Com_Senha(amb.Arquivo(), "SELECT count(*), sum(N) FROM Fora"), QStringList{"100|5050"});
            return;
        }
        inicia({vbOK});
        CONFERE_CAIXA(Concluido, vbOKOnly + vbInformation);
        QCOMPARE(Le_Com_Senha(copia, "SELECT count(*), sum(N) FROM Fora"), QStringList{"100|5050"});
        QCOMPARE(Le_Com_Senha(copia, "SELECT Historico FROM LivroCaixa"), QStringList{"OFERTA ANTES DO BACKUP"});
        QCOMPARE(Le_Com_Senha(copia, "PRAGMA journal_mode"), QStringList{"delete"});
        QCOMPARE(Le_Com_Senha(amb.Arquivo(), "PRAGMA journal_mode"), QStringList{"delete"});
        QVERIFY(!QFileInfo::exists(amb.Arquivo() + "-wal"));
    }

    // Closing the form during a run ends the run after its step, without
    // the final message, and then the form.
    void fechaDuranteACorrida() {
        Ambiente amb;
        Backup* f = abre(amb);
        QPointer<Backup> forma = f;
        no_passo_ = [&](int passo) {
            if (passo == 20) QVERIFY(!f->Unload());
        };
        inicia();
        QCOMPARE(passo_, 20);
        QCOMPARE(Roteiro::Caixas().size(), size_t(0));
        QVERIFY(!Form::Procura("Backup"));
        QVERIFY(!Execucao::EmCurso());
        QVERIFY(Principal::Atual()->Exp_BKP->isEnabled());
        QCOMPARE(conteudo(amb.Pasta() + "/" + Pasta), QStringList{"Marlovinter.xex"});
        QTRY_VERIFY(!forma);
    }
};

REGISTRA_TESTE(tst_Backup)
#include "tst_Backup.moc"
