// hamlogdemo [<log path>]: writes the demo master data (".mst", ".dx2", ".dx4")
// beside the log and, when the log is missing, a new log with a few QSOs; and
// the award program's "実績.txt" beside the log when there is none (point the
// award program's path, HLJCA, at that folder to have the JCA state checked).
// Without a path the log is HAMLOG.HDB in the program folder.
#include "platform/HamlogDemoData.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString log = args.size() > 1 ? paths::fromStored(args[1])
                                  : paths::join(paths::programFolder(), QStringLiteral("HAMLOG.HDB"));
    if (log.endsWith(QLatin1String(".HDB"), Qt::CaseInsensitive)) log.chop(4);
    if (!hamlog::demo::writeDemoSetup(log)) {
        std::fprintf(stderr, "hamlogdemo: cannot write %s.HDB and its master data\n", qPrintable(log));
        return 1;
    }
    std::printf("%s.HDB with its master data is ready\n", qPrintable(log));
    return 0;
}
