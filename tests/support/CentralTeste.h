#pragma once
// A statement run on the central test server from a test, on a connection
// of its own, with its values bound.
#include "common/Central.h"
#include <QString>
#include <QVariantList>

inline void Central_Sql(const QString& sql, const QVariantList& valores = {}) { ConexaoCentral(false).Executa(sql, valores); }
