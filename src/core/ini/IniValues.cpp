#include "core/ini/IniValues.h"

#include "core/Globals.h"
#include "core/ini/IniStore.h"

#include <cmath>

namespace core {

std::optional<QString> IniStored(const QString& section, const QString& key) {
    g.IniSection = section;
    QString v;
    GetIniString(key, v);
    if (v == section) return std::nullopt;
    return v;
}

std::optional<int> WholeNumber(const QString& text) {
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d) || d < -2147483648.0 || d > 2147483647.0) return std::nullopt;
    return static_cast<int>(std::lround(d));
}

std::optional<int> IniWhole(const QString& section, const QString& key) {
    const std::optional<QString> v = IniStored(section, key);
    if (!v) return std::nullopt;
    return WholeNumber(*v);
}

int IniWholeOr(const QString& section, const QString& key, int defaultValue) {
    return IniWhole(section, key).value_or(defaultValue);
}

QString NumberText(int n) {
    return n >= 0 ? QLatin1Char(' ') + QString::number(n) : QString::number(n);
}

bool PutIniNumber(const QString& section, const IniKey& key, int n) {
    return PutIniText(section, key, NumberText(n));
}

bool PutIniText(const QString& section, const IniKey& key, const QString& value) {
    g.IniSection = section;
    return PutIniString(key, value);
}

bool SatelliteModeOn(const QString& stored) {
    return stored != QLatin1String("False");
}

} // namespace core
