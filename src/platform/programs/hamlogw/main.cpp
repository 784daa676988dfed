// The logging program's window, standing in for the outside program.
// Command line: [-i<anything>] [--log <log path>] [--trace]. With --trace
// every message handled is written to standard output, one line each. The log is the given path,
// else the log of the system's settings, else HAMLOG.HDB in the program folder;
// a missing log is created.
#include "LoggingWindow.h"
#include "platform/hamlog/Hamlog.h"
#include "platform/os/Paths.h"
#include "platform/profile/ProfileFile.h"

#include <QCoreApplication>

namespace {

QString withoutExtension(const QString& path) {
    return path.endsWith(QLatin1String(".HDB"), Qt::CaseInsensitive) ? path.chopped(4) : path;
}

QString logDataPath(const QStringList& args) {
    const qsizetype at = args.indexOf(QStringLiteral("--log"));
    if (at >= 0 && at + 1 < args.size()) return withoutExtension(args[at + 1]);
    const QString ini = paths::join(paths::programFolder(), QStringLiteral("ZORVATEK.INI"));
    const QString configured =
        profile::getString(QStringLiteral("HamLog"), QStringLiteral("HAMLOGPOS"), {}, ini);
    if (!configured.isEmpty()) return withoutExtension(paths::fromStored(configured));
    return paths::join(paths::programFolder(), QStringLiteral("HAMLOG"));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString dataPath = logDataPath(app.arguments());
    if (!hamlog::createLog(dataPath)) {
        qWarning("hamlogw: the log %s cannot be opened", qPrintable(dataPath));
        return 2;
    }
    LoggingWindow window(dataPath);
    window.setTrace(app.arguments().contains(QStringLiteral("--trace")));
    if (!window.listen()) return 1;
    QObject::connect(&window, &LoggingWindow::closeRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return app.exec();
}
