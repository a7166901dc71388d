// Files written whole, by a writer in a process of its own: killed at any
// moment, it leaves the folder with the old file (or none) or the whole new
// one, and nothing beside it; a link is followed, a name as long as a
// folder allows is replaced and permissions carry over both where the file
// system makes files without a name and where it refuses them; the flushes
// come in the order that makes a save last, and a failing flush or folder
// is reported for what it left.
#include "platform/Arquivos.h"
#include "platform/Erro.h"
#include "support/Recusa.h"
#include "support/Registro.h"
#include <QtTest>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <future>
#include <grp.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
#include <vector>
#include <unistd.h>

namespace {
constexpr int kMiB = 1 << 20;

// The new content from `inicio` on: every eight bytes hold their own
// offset, so a piece out of place, missing or zeroed shows.
QByteArray Conteudo(qint64 inicio, qint64 tamanho) {
    QByteArray bytes(tamanho, Qt::Uninitialized);
    for (qint64 i = 0; i < tamanho; i += 8) {
        const quint64 palavra = quint64(inicio + i) ^ 0x5445534f55524152ull;
        std::memcpy(bytes.data() + i, &palavra, 8);
    }
    return bytes;
}

// The file holds the whole new content of `mib` mebibytes.
bool Novo_Inteiro(const QString& arquivo, int mib) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly) || f.size() != qint64(mib) * kMiB) return false;
    for (int i = 0; i < mib; ++i)
        if (f.read(kMiB) != Conteudo(qint64(i) * kMiB, kMiB)) return false;
    return true;
}

QByteArray Bytes(const QString& arquivo) {
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(não abriu)");
}

void Cria(const QString& arquivo, const QByteArray& bytes, mode_t modo) {
    QFile f(arquivo);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
    f.close();
    QCOMPARE(::chmod(QFile::encodeName(arquivo).constData(), modo), 0);
}

mode_t Modo(const QString& arquivo) {
    struct stat st {};
    return ::stat(QFile::encodeName(arquivo).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

QStringList Entradas(const QString& pasta) {
    QStringList nomes = QDir(pasta).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    nomes.sort();
    return nomes;
}

// Each call of the calls that flush, name or make files and folders, from
// here on, printed in order as "traço CALL PATH" (the path it names, or
// that of the descriptor it flushes): the kernel holds each call until a
// thread of this process, which no filter reaches, has printed it. False
// where the kernel cannot.
bool Traca() {
    static std::promise<int> ouvinte;
    std::thread([futuro = ouvinte.get_future()]() mutable {
        const int fd = futuro.get();
        for (;;) {
            seccomp_notif pedido{};
            if (::ioctl(fd, SECCOMP_IOCTL_NOTIF_RECV, &pedido) != 0) {
                if (errno == EINTR || errno == ENOENT) continue;
                return;
            }
            const auto texto = [&](int i) { return reinterpret_cast<const char*>(pedido.data.args[i]); };
            const auto descritor = [&](int i) {
                char alvo[4096] = {};
                const QByteArray caminho = "/proc/self/fd/" + QByteArray::number(qint64(pedido.data.args[i]));
                return ::readlink(caminho.constData(), alvo, sizeof alvo - 1) > 0 ? QByteArray(alvo) : QByteArray("?");
            };
            QByteArray linha;
            switch (pedido.data.nr) {
            case __NR_fsync: linha = "fsync " + descritor(0); break;
            case __NR_fdatasync: linha = "fdatasync " + descritor(0); break;
            case __NR_mkdirat: linha = QByteArray("mkdir ") + texto(1); break;
            case __NR_linkat: linha = QByteArray("linkat ") + texto(3); break;
            case __NR_renameat: linha = QByteArray("rename ") + texto(3); break;
            case __NR_renameat2: linha = QByteArray("rename ") + texto(3); break;
#ifdef __NR_mkdir
            case __NR_mkdir: linha = QByteArray("mkdir ") + texto(0); break;
            case __NR_link: linha = QByteArray("linkat ") + texto(1); break;
            case __NR_rename: linha = QByteArray("rename ") + texto(1); break;
#endif
            default: linha = "? " + QByteArray::number(pedido.data.nr); break;
            }
            std::printf("traço %s\n", linha.constData());
            seccomp_notif_resp resposta{};
            resposta.id = pedido.id;
            resposta.flags = SECCOMP_USER_NOTIF_FLAG_CONTINUE;
            ::ioctl(fd, SECCOMP_IOCTL_NOTIF_SEND, &resposta);
        }
    }).detach();
    std::vector<long> chamadas = {__NR_fsync, __NR_fdatasync, __NR_mkdirat, __NR_linkat, __NR_renameat, __NR_renameat2};
#ifdef __NR_mkdir
    chamadas.insert(chamadas.end(), {__NR_mkdir, __NR_link, __NR_rename});
#endif
    std::vector<sock_filter> filtro = {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (const long c : chamadas)
        filtro.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, unsigned(c), 0, 1)),
            filtro.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF));
    filtro.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    sock_fprog programa{static_cast<unsigned short>(filtro.size()), filtro.data()};
    if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) return false;
    const int fd = int(::syscall(__NR_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_NEW_LISTENER, &programa));
    ouvinte.set_value(fd);
    return fd >= 0;
}

// This process as a user who may write into the test's folder but not read
// it: `nobody` for root (the folder then lets others write, not read),
// this same user otherwise (the folder then lets its owner write only).
bool Outro_Usuario() {
    if (::geteuid() != 0) return true;
    constexpr uid_t ninguem = 65534;
    return ::setgroups(0, nullptr) == 0 && ::setresgid(ninguem, ninguem, ninguem) == 0 &&
           ::setresuid(ninguem, ninguem, ninguem) == 0 &&
           // Its descriptors under /proc stay its own, as a user's are.
           ::prctl(PR_SET_DUMPABLE, 1, 0, 0, 0) == 0;
}

// A file without a name refused with `erro`, as a file system without the
// support does; open() reaches the kernel as openat, its flags the third
// argument.
bool Recusa_Sem_Nome(int erro, const QString& pasta) {
    if (!Recusa_Com_Bit(__NR_openat, 2, O_TMPFILE & ~O_DIRECTORY, erro)) return false;
    const int fd = ::open(QFile::encodeName(pasta).constData(), O_TMPFILE | O_WRONLY, 0600);
    const bool recusado = fd < 0 && errno == erro;
    if (fd >= 0) ::close(fd);
    return recusado;
}

bool Escreve_Em(const char* arquivo, const QByteArray& texto) {
    QFile f(arquivo);
    return f.open(QIODevice::WriteOnly) && f.write(texto) == texto.size();
}

// This process in a system without /proc, where it may not link a file by
// its descriptor: /proc covered in a mount namespace of its own (inside a
// user namespace of its own where it is not root), and such a link
// refused as Debian 12's kernel refuses it to a process without
// CAP_DAC_READ_SEARCH (newer kernels let a process link a file it
// opened). False where the system does not let it.
bool Sem_Proc() {
    if (::geteuid() != 0) {
        const QByteArray uid = QByteArray::number(::geteuid()), gid = QByteArray::number(::getegid());
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 || !Escreve_Em("/proc/self/setgroups", "deny") ||
            !Escreve_Em("/proc/self/uid_map", uid + " " + uid + " 1") || !Escreve_Em("/proc/self/gid_map", gid + " " + gid + " 1"))
            return false;
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("nenhum", "/proc", "tmpfs", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) != 0)
        return false;
    struct stat st;
    return ::stat("/proc/self", &st) != 0 && Recusa_Com_Bit(__NR_linkat, 4, AT_EMPTY_PATH, ENOENT);
}

// The system made as RECUSA says, separated by commas (0 for as it is):
// the error a file without a name gets in `pasta`, "proc" for a system
// without /proc, "fsync:N" and "fdatasync:N" for the error N to every such
// flush, "pasta:N" for the error N to every opening of a folder (as when
// no descriptor is left), "outro" for a user who may write into `pasta`
// but not read it, "traço" to print the calls that flush, name or make
// files (see Traca). False, with a message, where the system does not let
// it be made so.
bool Aplica_Recusas(const QString& recusa, const QString& pasta) {
    constexpr unsigned semNome = O_TMPFILE & ~O_DIRECTORY;
    for (const QString& r : recusa.split(',')) {
        if (r == "0") continue;
        const int erro = r.section(':', 1).toInt();
        const bool recusado = r == "proc"                   ? Sem_Proc()
                              : r == "outro"                ? Outro_Usuario()
                              : r == "traço"                ? Traca()
                              : r.startsWith("fsync:")      ? Recusa(__NR_fsync, 0, 0, 0, erro)
                              : r.startsWith("fdatasync:")  ? Recusa(__NR_fdatasync, 0, 0, 0, erro)
                              : r.startsWith("pasta:")      ? Recusa(__NR_openat, 2, O_DIRECTORY | semNome, O_DIRECTORY, erro)
                                                            : Recusa_Sem_Nome(r.toInt(), pasta);
        if (!recusado) {
            std::fprintf(stderr, "o sistema não recusou %s\n", qPrintable(r));
            return false;
        }
    }
    return true;
}

// The writer: `escritor RECUSA MORTE MIB ALVO...` writes MIB mebibytes of
// the new content into each ALVO in turn, a mebibyte at a time, and prints
// the microseconds that took. RECUSA as Aplica_Recusas takes it. MORTE,
// when not 0, the microseconds after which the process is killed,
// wherever it is then. Exits with the program's error number of a
// failure, or with 4 where the system cannot be made as RECUSA says.
int Escritor(const QStringList& a) {
    const qint64 morte = a.value(1).toLongLong();
    const int mib = a.value(2).toInt();
    const QStringList alvos = a.mid(3);
    if (!Aplica_Recusas(a.value(0), QFileInfo(alvos.value(0)).absolutePath())) return 4;
    QElapsedTimer relogio;
    relogio.start();
    if (morte > 0)
        std::thread([morte] {
            std::this_thread::sleep_for(std::chrono::microseconds(morte));
            ::kill(::getpid(), SIGKILL);
        }).detach();
    try {
        for (const QString& alvo : alvos) {
            Arquivos::Novo novo(alvo);
            for (int i = 0; i < mib; ++i) novo.Escreve(Conteudo(qint64(i) * kMiB, kMiB));
            novo.Conclui();
        }
    } catch (const ErroExecucao& e) {
        std::fprintf(stderr, "erro %ld: %s\n", e.Number, e.what());
        return int(e.Number);
    }
    std::printf("%lld\n", relogio.nsecsElapsed() / 1000);
    return 0;
}
REGISTRA_OUTRO(escritor, Escritor)

// `criapasta RECUSA PASTA` makes the folder PASTA, the system made as
// RECUSA says; exits as the writer does.
int Criador(const QStringList& a) {
    if (!Aplica_Recusas(a.value(0), QFileInfo(a.value(1)).absolutePath())) return 4;
    try {
        Arquivos::Cria_Pasta(a.value(1));
    } catch (const ErroExecucao& e) {
        std::fprintf(stderr, "erro %ld: %s\n", e.Number, e.what());
        return int(e.Number);
    }
    return 0;
}
REGISTRA_OUTRO(criapasta, Criador)

struct Rodada {
    bool terminou = false;  // not killed, and without error
    int saida = -1;         // the exit code, when not killed: the error's number
    qint64 micros = 0;
    QStringList traco;      // the calls Traca printed
};

Rodada Roda_Outro(const QString& programa, const QStringList& argumentos) {
    QProcess p;
    Inicia_Outro(p, programa, argumentos);
    Rodada r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        qWarning("o %s não terminou", qPrintable(programa));
        return r;
    }
    r.terminou = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (p.exitStatus() == QProcess::NormalExit) r.saida = p.exitCode();
    if (r.saida > 0) qWarning("o %s saiu com %d", qPrintable(programa), r.saida);
    for (const QString& linha : QString::fromUtf8(p.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts)) {
        if (linha.startsWith(QStringLiteral("traço "))) r.traco << linha.mid(6);
        else r.micros = linha.toLongLong();
    }
    return r;
}

Rodada Roda(const QString& recusa, qint64 morte, int mib, const QStringList& alvos) {
    return Roda_Outro("escritor", QStringList{recusa, QString::number(morte), QString::number(mib)} + alvos);
}
}  // namespace

class tst_Arquivos : public QObject {
    Q_OBJECT

private slots:
    void escritorMorto_data() {
        QTest::addColumn<bool>("substitui");
        QTest::newRow("substituindo um arquivo") << true;
        QTest::newRow("arquivo novo") << false;
    }
    // 64 MiB written and killed at moments drawn between the start and
    // just past the end of a whole run: after each kill the folder holds
    // the old file whole (or none) or the whole new one, and nothing else.
    // Only a file that replaces another has a hidden name beside it, from
    // the moment it is whole to the rename, a few system calls later: a
    // kill there may leave it, and then with the whole new content.
    void escritorMorto() {
        QFETCH(bool, substitui);
        constexpr int mib = 64;
        const quint32 semente = QRandomGenerator::system()->generate();
        qInfo("semente %u", semente);
        QRandomGenerator sorteio(semente);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString nome = "Marlovinter.kwe";
        const QString alvo = dir.filePath(nome);
        QByteArray antigo(3 * kMiB + 17, Qt::Uninitialized);
        for (char& c : antigo) c = char(sorteio.bounded(256));
        // What a kill left goes before the next run.
        const auto prepara = [&] {
            for (const QString& entrada : Entradas(dir.path())) QVERIFY(QFile::remove(dir.filePath(entrada)));
            if (substitui) Cria(alvo, antigo, 0640);
        };

        prepara();
        const Rodada inteira = Roda("0", 0, mib, {alvo});
        QVERIFY(inteira.terminou);
        QCOMPARE(Entradas(dir.path()), QStringList{nome});
        QVERIFY(Novo_Inteiro(alvo, mib));
        qInfo("uma gravação inteira: %lld µs", inteira.micros);

        const QRegularExpression oculto("^\\.tesouraria-\\w{6}$");
        int mortos = 0, novos = 0, entreNomes = 0;
        for (int i = 0; i < 24; ++i) {
            prepara();
            const qint64 morte = 1 + sorteio.bounded(quint64(inteira.micros) * 11 / 10);
            const Rodada r = Roda("0", morte, mib, {alvo});
            const QString rodada = QStringLiteral("morto após %1 µs").arg(morte);
            const QStringList sobra = Entradas(dir.path());
            QStringList entradas = sobra;
            if (!r.terminou) ++mortos;
            if (substitui && !r.terminou && entradas.size() == 2 && oculto.match(entradas[0]).hasMatch() &&
                Novo_Inteiro(dir.filePath(entradas[0]), mib)) {
                ++entreNomes;
                entradas.removeFirst();
            }
            QVERIFY2(entradas == QStringList{nome} || (!substitui && entradas.isEmpty()), qPrintable(rodada + ": " + sobra.join(' ')));
            const bool antes = substitui ? QFileInfo(alvo).size() == antigo.size() && Bytes(alvo) == antigo : entradas.isEmpty();
            const bool depois = Novo_Inteiro(alvo, mib);
            QVERIFY2(depois || (!r.terminou && antes), qPrintable(rodada + ": nem o antigo nem o novo inteiro"));
            novos += depois;
        }
        qInfo("%d de 24 mortos, %d com o arquivo novo, %d entre o nome e a troca", mortos, novos, entreNomes);
        QVERIFY(mortos > 0);
    }

    void caminhos_data() {
        QTest::addColumn<QString>("recusa");
        QTest::newRow("arquivo sem nome") << "0";
        QTest::newRow("sem /proc") << "proc";
        QTest::newRow("sem suporte no sistema de arquivos") << QString::number(EOPNOTSUPP);
        QTest::newRow("kernel anterior ao arquivo sem nome") << QString::number(EISDIR);
        QTest::newRow("combinação inválida") << QString::number(EINVAL);
    }
    // Whether the file system makes the new file without a name (named
    // through /proc) or it takes a hidden name from the start (a file
    // system without the support, a system without /proc where the process
    // may not link a descriptor): a link's target is replaced and the link stays,
    // a name of 255 bytes is no obstacle, the old file's permissions go to
    // the new one and a new file gets what the umask leaves; nothing is
    // left beside them.
    void caminhos() {
        QFETCH(QString, recusa);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString longo = QString(250, QChar('T')) + ".xlsx";
        QCOMPARE(QFile::encodeName(longo).size(), 255);
        Cria(dir.filePath(longo), "antigo", 0604);
        QVERIFY(QFile::link(dir.filePath(longo), dir.filePath("atalho")));
        const mode_t mascara = ::umask(027);
        const Rodada r = Roda(recusa, 0, 2, {dir.filePath("atalho"), dir.filePath("novo.html")});
        ::umask(mascara);
        if (r.saida == 4) QSKIP("este sistema não deixa simular o que o caso pede");
        QVERIFY(r.terminou);
        QCOMPARE(Entradas(dir.path()), (QStringList{longo, "atalho", "novo.html"}));
        QCOMPARE(QFileInfo(dir.filePath("atalho")).symLinkTarget(), dir.filePath(longo));
        QVERIFY(Novo_Inteiro(dir.filePath(longo), 2));
        QVERIFY(Novo_Inteiro(dir.filePath("novo.html"), 2));
        QCOMPARE(Modo(dir.filePath(longo)), mode_t(0604));
        QCOMPARE(Modo(dir.filePath("novo.html")), mode_t(0640));
    }

    void pastaNoDisco_data() {
        QTest::addColumn<QString>("recusa");
        QTest::addColumn<bool>("substitui");
        QTest::addColumn<int>("saida");
        QTest::addColumn<QString>("fica");  // "novo", "antigo" or "nada"
        const QString eio = "fsync:" + QString::number(EIO), tudo = eio + ",fdatasync:" + QString::number(EIO);
        const QString semDescritor = "pasta:" + QString::number(EMFILE);
        QTest::newRow("arquivo novo, disco falha na pasta") << eio << false << 57 << "novo";
        QTest::newRow("substituindo, disco falha na pasta") << eio << true << 57 << "novo";
        QTest::newRow("substituindo sem /proc, disco falha na pasta") << "proc," + eio << true << 57 << "novo";
        QTest::newRow("sistema de arquivos que não sincroniza pastas") << "fsync:" + QString::number(EINVAL) << true << 0 << "novo";
        QTest::newRow("arquivo novo, disco falha em tudo") << tudo << false << 75 << "nada";
        QTest::newRow("substituindo, disco falha em tudo") << tudo << true << 75 << "antigo";
        QTest::newRow("arquivo novo, sem descritor para a pasta") << semDescritor << false << 75 << "nada";
        QTest::newRow("substituindo, sem descritor para a pasta") << semDescritor << true << 75 << "antigo";
        QTest::newRow("arquivo novo, pasta que o usuário não lê") << "outro" << false << 0 << "novo";
        QTest::newRow("substituindo, pasta que o usuário não lê") << "outro" << true << 0 << "novo";
    }
    // What a failure to flush leaves, and what it reports. The folder is
    // opened before anything is named: where that fails, the save fails
    // with the old file as it was (or none). A folder the user may write
    // into but not read cannot be flushed by the user: the file is saved
    // there without that flush, as on a file system that cannot flush
    // folders (EINVAL). Where the folder's flush fails once the new file
    // has its name, the error (57) says so, and the new file is in place,
    // whole. Where the file's own flush fails, it never takes the name.
    void pastaNoDisco() {
        QFETCH(QString, recusa);
        QFETCH(bool, substitui);
        QFETCH(int, saida);
        QFETCH(QString, fica);
        QTemporaryDir dir;
        const QString alvo = dir.filePath("Marlovinter.kwe");
        if (substitui) Cria(alvo, "antigo", 0666);
        // Writable, not readable, by the writer: by others where it runs as
        // another user, by its owner where it is the owner.
        const QByteArray pasta = QFile::encodeName(dir.path());
        if (recusa == "outro") QCOMPARE(::chmod(pasta.constData(), ::geteuid() == 0 ? 0733 : 0300), 0);
        const Rodada r = Roda(recusa, 0, 2, {alvo});
        QCOMPARE(::chmod(pasta.constData(), 0700), 0);
        if (r.saida == 4) QSKIP("este sistema não deixa simular o que o caso pede");
        QCOMPARE(r.saida, saida);
        if (fica == "nada") {
            QCOMPARE(Entradas(dir.path()), QStringList());
            return;
        }
        QCOMPARE(Entradas(dir.path()), QStringList{"Marlovinter.kwe"});
        if (fica == "novo") QVERIFY(Novo_Inteiro(alvo, 2));
        else QCOMPARE(Bytes(alvo), QByteArray("antigo"));
    }

    void ordem_data() {
        QTest::addColumn<QString>("recusa");
        QTest::addColumn<bool>("substitui");
        QTest::addColumn<QStringList>("chamadas");
        const QString semSuporte = QString::number(EOPNOTSUPP) + ",traço";
        QTest::newRow("arquivo novo") << "traço" << false
                                      << QStringList{"fdatasync D/#", "linkat D/Marlovinter.kwe", "fsync D"};
        QTest::newRow("substituindo um arquivo")
            << "traço" << true << QStringList{"fdatasync D/#", "linkat D/T", "rename D/Marlovinter.kwe", "fsync D"};
        QTest::newRow("arquivo novo, sem arquivo sem nome")
            << semSuporte << false << QStringList{"fdatasync D/T", "rename D/Marlovinter.kwe", "fsync D"};
        QTest::newRow("substituindo, sem arquivo sem nome")
            << semSuporte << true << QStringList{"fdatasync D/T", "rename D/Marlovinter.kwe", "fsync D"};
        QTest::newRow("pasta nova") << "traço" << false << QStringList{"mkdir D/nova", "fsync D"};
    }
    // The calls that make the result last, in the order the kernel saw
    // them: the new file's data on the disk before any name is given to
    // it, the folder flushed after the file took its final name; a new
    // folder's name flushed in the folder that holds it. (D is the folder,
    // T a hidden name, # the file without a name.)
    void ordem() {
        QFETCH(QString, recusa);
        QFETCH(bool, substitui);
        QFETCH(QStringList, chamadas);
        QTemporaryDir dir;
        const QString alvo = dir.filePath("Marlovinter.kwe");
        if (substitui) Cria(alvo, "antigo", 0640);
        const bool pasta = chamadas.first().startsWith("mkdir");
        const Rodada r = pasta ? Roda_Outro("criapasta", {recusa, dir.filePath("nova")}) : Roda(recusa, 0, 1, {alvo});
        if (r.saida == 4) QSKIP("este sistema não deixa simular o que o caso pede");
        QVERIFY(r.terminou);
        const QString raiz = QFileInfo(dir.path()).canonicalFilePath();
        QStringList vistas;
        for (QString c : r.traco)
            vistas << c.replace(raiz, "D")
                          .replace(QRegularExpression("#\\d+ \\(deleted\\)$"), "#")
                          .replace(QRegularExpression("\\.tesouraria-\\w{6}"), "T");
        QCOMPARE(vistas, chamadas);
    }

    // A file that another program made under the name while this one was
    // writing a new file is replaced as an old one would be.
    void arquivoQueChegou() {
        QTemporaryDir dir;
        const QString alvo = dir.filePath("0123-082021.html");
        Arquivos::Novo novo(alvo);
        novo.Escreve(Conteudo(0, kMiB));
        Cria(alvo, "de outro programa", 0644);
        novo.Conclui();
        QVERIFY(Novo_Inteiro(alvo, 1));
        QCOMPARE(Entradas(dir.path()), QStringList{"0123-082021.html"});
    }
};

REGISTRA_TESTE(tst_Arquivos)
#include "tst_Arquivos.moc"
