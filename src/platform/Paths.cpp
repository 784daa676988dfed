#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace paths {

QString programFolder() {
    QString folder = qEnvironmentVariable("ZORVATEK_HOME");
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) folder = QDir::homePath() + QLatin1String("/.zorvatek");
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

QString fromStored(const QString& stored) {
    QString p = stored;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return p;
}

QString join(const QString& folder, const QString& name) {
    QString f = fromStored(folder);
    QString n = fromStored(name);
    if (f.isEmpty()) return n;
    if (n.isEmpty()) return f;
    while (f.size() > 1 && f.endsWith(QLatin1Char('/')))
        f.chop(1);
    while (n.startsWith(QLatin1Char('/')))
        n.remove(0, 1);
    if (f == QLatin1String("/")) return f + n;
    return f + QLatin1Char('/') + n;
}

QString executableFolder() {
    const QString fromEnv = qEnvironmentVariable("ZV_PROGRAM_DIR");
    if (!fromEnv.isEmpty()) return fromEnv;
    return QCoreApplication::applicationDirPath();
}

} // namespace paths
