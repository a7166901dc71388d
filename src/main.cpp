#include "platform/Form.h"
#include "platform/Traducao.h"
#include "shell/Principal.h"
#include <QApplication>
#include <QLocale>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zuvevozo Ruverirora"));
    // The program speaks Brazilian Portuguese whatever the machine's locale,
    // Qt's own menus and buttons included.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    if (!Traducao::InstalaQt())
        std::fprintf(stderr, "tesouraria: traduções do Qt (qtbase_pt_BR) ausentes; instale qt6-translations-l10n\n");
    Ativacao::Instala();
    auto* principal = new Principal();
    principal->Show();
    return app.exec();
}
