#include "core/IniStore.h"

#include "core/Globals.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <QFile>
#include <QFileInfo>

namespace core {

bool FileExists(const QString& path) {
    if (path.isEmpty() || QFileInfo(path).isDir()) return false;
    QFile f(path);
    const bool ok = f.open(QIODevice::ReadOnly);
    f.close();
    return ok;
}

QString IniFilePath() {
    return paths::join(paths::programFolder(), QStringLiteral("ZORVATEK.INI"));
}

void GetIniString(const QString& key, QString& value) {
    // Values are read whole: the store keeps no fixed-size buffer that could cut them.
    value = profile::getString(g.IniSection, key, g.IniSection, IniFilePath());
}

bool PutIniString(const QString& key, const QString& value) {
    const QString path = IniFilePath();
    if (key == QLatin1String("NEW")) {
        if (FileExists(path)) return QFile::remove(path);
        return true;
    }
    return profile::writeString(g.IniSection, key, value, path);
}

QString IniValueOr(const QString& section, const QString& key, const QString& defaultValue) {
    g.IniSection = section;
    QString v;
    GetIniString(key, v);
    return v == section ? defaultValue : v;
}

} // namespace core
