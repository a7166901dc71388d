#include "platform/Form.h"
#include "shell/Principal.h"
#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zuvevozo Ruverirora"));
    // The program speaks Brazilian Portuguese whatever the machine's locale.
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    Ativacao::Instala();
    auto* principal = new Principal();
    principal->Show();
    return app.exec();
}
