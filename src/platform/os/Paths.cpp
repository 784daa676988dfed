#include "platform/os/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace paths {

QString programFolder() {
    QString folder = qEnvironmentVariable("ZORVATEK_HOME");
    if (folder.isEmpty()) folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) folder = QDir::homePath() + QLatin1String("/.zorvatek");
    QDir().mkpath(folder);
    return QDir::cleanPath(folder);
}

std::optional<QString> programFolderProblem(const QString& folder) {
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return QStringLiteral("同じ名前のファイルがあり、フォルダにできません");
    if (!info.exists() && !QDir().mkpath(folder)) return QStringLiteral("フォルダを作成できません");
    // The permission bits do not tell (the superuser passes them): a file is tried.
    QTemporaryFile probe(join(folder, QStringLiteral(".zorvatek-XXXXXX")));
    if (!probe.open()) return QStringLiteral("フォルダに書き込めません");
    probe.close();
    const QString iniPath = join(folder, QStringLiteral("ZORVATEK.INI"));
    const QFileInfo ini(iniPath);
    if (ini.exists() && !ini.isFile()) return QStringLiteral("ZORVATEK.INI がファイルではありません");
    // It is written by replacing it whole, so reading it is what it must allow.
    QFile iniFile(iniPath);
    if (ini.exists() && !iniFile.open(QIODevice::ReadOnly))
        return QStringLiteral("ZORVATEK.INI を読み込めません");
    return std::nullopt;
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
