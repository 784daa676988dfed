// hamlogdemo [<log path>]: writes the demo master data (".mst", ".dx2", ".dx4")
// beside the log and, when the log is missing, a new log with a few QSOs; and
// the award program's "実績.txt" beside the log when there is none (point the
// award program's path, HLJCA, at that folder to have the JCA state checked).
// Without a path the log is HAMLOG.HDB in the program folder. An option it
// does not know, or more than one path, gets the usage and writes nothing.
#include "platform/hamlog/HamlogDemoData.h"
#include "platform/os/Paths.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a demo log with a few QSOs and the demo master data beside it."));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("log"),
        QStringLiteral("The log to write (default: HAMLOG.HDB in the program folder)."),
        QStringLiteral("[<log path>]"));
    const bool parsed = parser.parse(app.arguments());
    if (parsed && parser.isSet(QStringLiteral("help"))) {
        std::printf("%s", qPrintable(parser.helpText()));
        return 0;
    }
    const QStringList paths = parser.positionalArguments();
    if (!parsed || paths.size() > 1) {
        std::fprintf(stderr, "hamlogdemo: %s\n%s",
                     qPrintable(parsed ? QStringLiteral("only one log path is taken") : parser.errorText()),
                     qPrintable(parser.helpText()));
        return 2;
    }
    QString log = paths.isEmpty() ? paths::join(paths::programFolder(), QStringLiteral("HAMLOG.HDB"))
                                  : paths::fromStored(paths[0]);
    if (log.endsWith(QLatin1String(".HDB"), Qt::CaseInsensitive)) log.chop(4);
    if (!hamlog::demo::writeDemoSetup(log)) {
        std::fprintf(stderr, "hamlogdemo: cannot write %s.HDB and its master data\n", qPrintable(log));
        return 1;
    }
    std::printf("%s.HDB with its master data is ready\n", qPrintable(log));
    return 0;
}
