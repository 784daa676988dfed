// Stored numbers brought into their range for the run: what is read is the
// number in use, while the file keeps the bytes it has until a setting is
// stored with another value.
#include "core/ini/SettingRanges.h"

#include <QHash>

namespace core {
namespace {

struct InUse {
    QString forPath;
    QHash<QString, QString> values;
};

// They belong to the file they were read from.
QHash<QString, QString>& inUse(const QString& path) {
    static InUse held;
    if (path != held.forPath) {
        held.forPath = path;
        held.values.clear();
    }
    return held.values;
}

QString slot(const QString& section, const QString& key) {
    return section.toLower() + QLatin1Char('\n') + key.toLower();
}

} // namespace

void UseForRun(const QString& path, const QString& section, const QString& key, const QString& value) {
    inUse(path).insert(slot(section, key), value);
}

std::optional<QString> NumberInUse(const QString& path, const QString& section, const QString& key) {
    const QHash<QString, QString>& values = inUse(path);
    const auto found = values.constFind(slot(section, key));
    if (found == values.constEnd()) return std::nullopt;
    return *found;
}

bool StoredAsInUse(const QString& path, const QString& section, const QString& key, const QString& value) {
    QHash<QString, QString>& values = inUse(path);
    const auto found = values.find(slot(section, key));
    if (found == values.end()) return false;
    if (*found == value) return true;
    values.erase(found);
    return false;
}

void ForgetNumbersInUse(const QString& path) {
    inUse(path).clear();
}

} // namespace core
