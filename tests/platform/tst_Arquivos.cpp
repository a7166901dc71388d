// Files written whole, by a writer in a process of its own: killed at any
// moment, it leaves the folder with the old file (or none) or the whole new
// one, and nothing beside it; a link is followed, a name as long as a
// folder allows is replaced and permissions carry over both where the file
// system makes files without a name and where it refuses them.
#include "platform/Arquivos.h"
#include "platform/Erro.h"
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
#include <sched.h>
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

// From here on the kernel answers this process's (and only its) system
// call `chamada` with `erro` where its argument number `argumento` has
// `bit` set; every call when `bit` is 0.
bool Recusa(long chamada, unsigned argumento, unsigned bit, int erro) {
    const unsigned posicao = unsigned(offsetof(seccomp_data, args) + argumento * sizeof(quint64)) +
                             (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? 4 : 0);
    const unsigned char testes = bit ? 2 : 0;  // the argument's two instructions, when there is one
    std::vector<sock_filter> filtro = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, unsigned(chamada), 0, static_cast<unsigned char>(testes + 1)),
    };
    if (bit) {
        filtro.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, posicao));
        filtro.push_back(BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, bit, 0, 1));
    }
    filtro.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (unsigned(erro) & SECCOMP_RET_DATA)));
    filtro.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    sock_fprog programa{static_cast<unsigned short>(filtro.size()), filtro.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &programa) == 0;
}

// A file without a name refused with `erro`, as a file system without the
// support does; open() reaches the kernel as openat, its flags the third
// argument.
bool Recusa_Sem_Nome(int erro, const QString& pasta) {
    if (!Recusa(__NR_openat, 2, O_TMPFILE & ~O_DIRECTORY, erro)) return false;
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
    return ::stat("/proc/self", &st) != 0 && Recusa(__NR_linkat, 4, AT_EMPTY_PATH, ENOENT);
}

// The writer: `escritor RECUSA MORTE MIB ALVO...` writes MIB mebibytes of
// the new content into each ALVO in turn, a mebibyte at a time, and prints
// the microseconds that took. RECUSA is 0, or, separated by commas: the
// error a file without a name gets, "proc" for a system without /proc,
// "fsync:N" for the error N to every fsync. MORTE, when not 0, the
// microseconds after which the process is killed, wherever it is then.
// Exits with the program's error number of a failure, or with 4 where the
// system cannot be made as RECUSA says.
int Escritor(const QStringList& a) {
    const QString recusa = a.value(0);
    const qint64 morte = a.value(1).toLongLong();
    const int mib = a.value(2).toInt();
    const QStringList alvos = a.mid(3);
    for (const QString& r : recusa.split(',')) {
        if (r == "0") continue;
        const bool recusado = r == "proc"               ? Sem_Proc()
                              : r.startsWith("fsync:") ? Recusa(__NR_fsync, 0, 0, r.mid(6).toInt())
                                                       : Recusa_Sem_Nome(r.toInt(), QFileInfo(alvos.value(0)).absolutePath());
        if (!recusado) {
            std::fprintf(stderr, "o sistema não recusou %s\n", qPrintable(r));
            return 4;
        }
    }
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

struct Rodada {
    bool terminou = false;  // not killed, and without error
    int saida = -1;         // the exit code, when not killed: the error's number
    qint64 micros = 0;
};

Rodada Roda(const QString& recusa, qint64 morte, int mib, const QStringList& alvos) {
    QProcess p;
    Inicia_Outro(p, "escritor", QStringList{recusa, QString::number(morte), QString::number(mib)} + alvos);
    Rodada r;
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        qWarning("o escritor não terminou");
        return r;
    }
    r.terminou = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (p.exitStatus() == QProcess::NormalExit) r.saida = p.exitCode();
    if (r.saida > 0) qWarning("o escritor saiu com %d", r.saida);
    r.micros = p.readAllStandardOutput().trimmed().toLongLong();
    return r;
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
        QTest::addColumn<bool>("falha");
        const QString eio = "fsync:" + QString::number(EIO);
        QTest::newRow("arquivo novo") << eio << false << true;
        QTest::newRow("substituindo um arquivo") << eio << true << true;
        QTest::newRow("substituindo, sem /proc") << "proc," + eio << true << true;
        QTest::newRow("sistema de arquivos que não sincroniza pastas") << "fsync:" + QString::number(EINVAL) << true << false;
    }
    // The folder is flushed once the new file has its name: where the
    // flush fails, the save is reported as failed (75) with the new file
    // already in its place, whole, and nothing beside it. A file system
    // that cannot flush a folder (EINVAL) is no failure.
    void pastaNoDisco() {
        QFETCH(QString, recusa);
        QFETCH(bool, substitui);
        QFETCH(bool, falha);
        QTemporaryDir dir;
        const QString alvo = dir.filePath("Marlovinter.kwe");
        if (substitui) Cria(alvo, "antigo", 0640);
        const Rodada r = Roda(recusa, 0, 2, {alvo});
        if (r.saida == 4) QSKIP("este sistema não deixa simular o que o caso pede");
        QCOMPARE(r.saida, falha ? 75 : 0);
        QVERIFY(Novo_Inteiro(alvo, 2));
        QCOMPARE(Entradas(dir.path()), QStringList{"Marlovinter.kwe"});
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
