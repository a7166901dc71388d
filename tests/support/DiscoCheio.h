#pragma once
// A folder on a disk that fills up after a few kilobytes: a write past
// them fails, as on a full disk, while the writer goes on.
//
// Where the test may mount (root, with or without a network of its own) it
// is a small tmpfs, mounted in a mount namespace of the test's thread
// alone, so that nothing outside the test sees it. Elsewhere the same
// failure comes from the process's file size limit: every write past the
// size, in any file, fails (EFBIG instead of ENOSPC); child processes
// inherit it, so lift it (Libera) before running any. Either way the test
// runs, and says which disk it had.
#include <QString>
#include <QTemporaryDir>
#include <sys/resource.h>

class Disco_Cheio {
public:
    enum class Meio { Tmpfs, Limite };
    // `meio` is the one wanted: a tmpfs falls back to the limit where it
    // cannot be mounted.
    explicit Disco_Cheio(qint64 bytes, Meio meio = Meio::Tmpfs);
    ~Disco_Cheio();
    Disco_Cheio(const Disco_Cheio&) = delete;
    Disco_Cheio& operator=(const Disco_Cheio&) = delete;

    QString Pasta() const { return pasta_; }
    Meio Usado() const { return usado_; }
    // From now on the disk has room for whatever is written.
    void Libera();

private:
    QTemporaryDir dir_;
    QString pasta_;
    Meio usado_ = Meio::Limite;
    bool preso_ = false;
    rlimit antes_{};
    void (*sinalAntes_)(int) = nullptr;
};
