// Zorvatek: a terminal for amateur-radio keyboard modes and slow-scan television.
#include "app/AppContext.h"
#include "core/Globals.h"
#include "platform/Paths.h"
#include "platform/SingleInstance.h"
#include "startup/Startup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zorvatek"));
    QApplication::setOrganizationName(QStringLiteral("zorvatek"));

    const instance::Guard guard(paths::programFolder());
    if (!guard.isFirst()) return 0; // a second start ends at once, silently

    app::AppContext context;
    core::StartUp();
    if (core::g.ProgramEndRequested) return 0;
    return QApplication::exec();
}
