// Zorvatek: a terminal for amateur-radio keyboard modes and slow-scan television.
#include "app/ProgramRun.h"
#include "platform/forms/dialogs/QtJapanese.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    app::prepareProcess();
    qtja::useJapaneseLocale();
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvatek"));
    QApplication::setOrganizationName(QStringLiteral("zorvatek"));
    qtja::installQtJapanese(qtApp);
    return app::run();
}
