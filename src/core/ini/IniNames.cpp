#include "core/ini/IniNames.h"

#include "core/Globals.h"
#include "core/ini/IniStore.h"

#include <algorithm>

namespace core {

std::span<const NameKey> NameKeys() {
    return kNameKeys;
}

bool IsNameKey(const QString& section, const QString& key) {
    return std::any_of(kNameKeys.begin(), kNameKeys.end(), [&](const NameKey& k) {
        return section.compare(QLatin1String(k.section), Qt::CaseInsensitive) == 0 &&
               key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0;
    });
}

bool PutIniName(const QString& section, const QString& key, const QString& name) {
    g.IniSection = section;
    return IniWriter::write(key, name);
}

} // namespace core
