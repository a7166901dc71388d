#include "platform/Traducao.h"
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

QTranslator* Traducao::InstalaQt() {
    auto* tradutor = new QTranslator(QCoreApplication::instance());
    if (!tradutor->load(QStringLiteral("qtbase_pt_BR"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(tradutor)) {
        delete tradutor;
        return nullptr;
    }
    return tradutor;
}
