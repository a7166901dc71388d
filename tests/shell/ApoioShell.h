#pragma once
// What the shell's tests share: typing as a user does, closing every form
// between cases, and the central test server's published version, set
// through MariaDB's own client (never through the code under test).
#include "common/Central.h"
#include "platform/Form.h"
#include "platform/Rede.h"
#include <QProcess>
#include <QtTest>

// The rows of the version view's table; an empty list leaves it empty.
inline bool Versao_Central(const QStringList& versoes) {
    QString sql = "DELETE FROM versao_sistema;";
    for (const QString& v : versoes) sql += QString("INSERT INTO versao_sistema VALUES ('%1');").arg(v);
    QProcess p;
    p.start("mariadb", {"--no-defaults", "--protocol=tcp", "-h127.0.0.1", QString("-P%1").arg(Central::Porta),
                        "-u" + Central::Conta, "-p" + Central::Senha, Central::Base, "-e", sql});
    const bool ok = p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok) qWarning("servidor central de testes inacessível (bash scripts/central.sh inicia)");
    return ok;
}

// Key by key, accented letters included (keyClicks refuses those).
inline void Digita(QWidget* w, const QString& texto) {
    for (QChar c : texto) {
        const Qt::Key k = c.isLetter() && c.unicode() < 0x80 ? Qt::Key(c.toUpper().unicode())
                          : c.isDigit()                     ? Qt::Key(c.unicode())
                                                            : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, w, k, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, w, k, QString(c), Qt::NoModifier);
    }
}

// Destroys every form, top-level ones first, without their unload handling.
inline void Fecha_Tudo() {
    QList<QPointer<Form>> formas;
    for (Form* f : Form::Existentes()) formas << f;
    for (auto& f : formas)
        if (f && !f->Filho()) delete f.data();
    for (auto& f : formas)
        if (f) delete f.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
