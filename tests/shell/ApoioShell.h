#pragma once
// The central test server's published version, set through MariaDB's own
// client (never through the code under test).
#include "common/Central.h"
#include <QProcess>

// The rows of the version view's table; an empty list leaves it empty.
inline bool Versao_Central(const QStringList& versoes) {
    QString sql = "DELETE FROM versao_sistema;";
    for (const QString& v : versoes) sql += QString("INSERT INTO versao_sistema VALUES ('%1');").arg(v);
    QProcess p;
    p.start("mariadb", {"--no-defaults", "--default-character-set=utf8mb4", "--protocol=tcp", "-h127.0.0.1", QString("-P%1").arg(Central::Porta),
                        "-u" + Central::Conta, "-p" + Central::Senha, Central::Base, "-e", sql});
    const bool ok = p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok) qWarning("servidor central de testes inacessível (bash scripts/central.sh inicia)");
    return ok;
}
