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
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <thread>
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
// `bit` set.
bool Recusa(long chamada, unsigned argumento, unsigned bit, int erro) {
    const unsigned posicao = unsigned(offsetof(seccomp_data, args) + argumento * sizeof(quint64)) +
                             (__BYTE_ORDER__ == __ORDER_BIG_ENDIAN__ ? 4 : 0);
    sock_filter filtro[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, unsigned(chamada), 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, posicao),
        BPF_JUMP(BPF_JMP | BPF_JSET | BPF_K, bit, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | (unsigned(erro) & SECCOMP_RET_DATA)),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog programa{static_cast<unsigned short>(std::size(filtro)), filtro};
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

// A link through /proc/self/fd fails as where /proc is not mounted; a link
// of the descriptor itself still works.
bool Sem_Proc() { return Recusa(__NR_linkat, 4, AT_SYMLINK_FOLLOW, ENOENT); }

// The writer: `escritor RECUSA MORTE MIB ALVO...` writes MIB mebibytes of
// the new content into each ALVO in turn, a mebibyte at a time, and prints
// the microseconds that took. RECUSA is 0, or the error a file without a
// name gets, or "proc" for a system without /proc; MORTE, when not 0, the
// microseconds after which the process is killed, wherever it is then.
int Escritor(const QStringList& a) {
    const QString recusa = a.value(0);
    const qint64 morte = a.value(1).toLongLong();
    const int mib = a.value(2).toInt();
    const QStringList alvos = a.mid(3);
    const bool recusado = recusa == "0" || (recusa == "proc" ? Sem_Proc() : Recusa_Sem_Nome(recusa.toInt(), QFileInfo(alvos.value(0)).absolutePath()));
    if (!recusado) {
        std::fprintf(stderr, "o kernel não recusou %s\n", qPrintable(recusa));
        return 3;
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
        return 1;
    }
    std::printf("%lld\n", relogio.nsecsElapsed() / 1000);
    return 0;
}
REGISTRA_OUTRO(escritor, Escritor)

// Whether this process may link a file without a name by its descriptor.
bool Liga_Descritor(const QString& pasta) {
    const int fd = ::open(QFile::encodeName(pasta).constData(), O_TMPFILE | O_WRONLY, 0600);
    const QByteArray nome = QFile::encodeName(pasta + "/.descritor");
    const bool ok = fd >= 0 && ::linkat(fd, "", AT_FDCWD, nome.constData(), AT_EMPTY_PATH) == 0;
    ::unlink(nome.constData());
    if (fd >= 0) ::close(fd);
    return ok;
}

struct Rodada {
    bool terminou = false;  // not killed, and without error
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
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() != 0) qWarning("o escritor saiu com %d", p.exitCode());
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
    // through /proc or, without it, by its descriptor) or it takes a hidden
    // name from the start: a link's target is replaced and the link stays,
    // a name of 255 bytes is no obstacle, the old file's permissions go to
    // the new one and a new file gets what the umask leaves; nothing is
    // left beside them.
    void caminhos() {
        QFETCH(QString, recusa);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        if (recusa == "proc" && !Liga_Descritor(dir.path()))
            QSKIP("este kernel só liga um arquivo sem nome pelo descritor com CAP_DAC_READ_SEARCH");
        const QString longo = QString(250, QChar('T')) + ".xlsx";
        QCOMPARE(QFile::encodeName(longo).size(), 255);
        Cria(dir.filePath(longo), "antigo", 0604);
        QVERIFY(QFile::link(dir.filePath(longo), dir.filePath("atalho")));
        const mode_t mascara = ::umask(027);
        const Rodada r = Roda(recusa, 0, 2, {dir.filePath("atalho"), dir.filePath("novo.html")});
        ::umask(mascara);
        QVERIFY(r.terminou);
        QCOMPARE(Entradas(dir.path()), (QStringList{longo, "atalho", "novo.html"}));
        QCOMPARE(QFileInfo(dir.filePath("atalho")).symLinkTarget(), dir.filePath(longo));
        QVERIFY(Novo_Inteiro(dir.filePath(longo), 2));
        QVERIFY(Novo_Inteiro(dir.filePath("novo.html"), 2));
        QCOMPARE(Modo(dir.filePath(longo)), mode_t(0604));
        QCOMPARE(Modo(dir.filePath("novo.html")), mode_t(0640));
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
