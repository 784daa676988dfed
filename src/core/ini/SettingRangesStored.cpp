// The table's ranges applied to what is stored; the table itself stays free of
// the store, so that the settings dialogs' pure values can use its bounds.
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "core/ini/SettingRanges.h"

#include <algorithm>

namespace core {

std::optional<int> CorrectedNumber(const StoredRange& row, const QString& stored, int fallback) {
    const std::optional<int> n = WholeNumber(stored);
    if (n && InStoredRange(row, *n)) return std::nullopt;
    if (n && *n > 0 && row.toNearerEnd) return std::clamp(*n, row.lowest, row.highest);
    return fallback;
}

void BringStoredNumbersIntoRange() {
    IniBatch together;
    const QString path = IniFilePath();
    ForgetNumbersInUse(path);
    for (const StoredRange& row : StoredRanges()) {
        const QString section = QString::fromLatin1(row.section);
        int fallback = row.fallback;
        if (row.fallbackKey)
            fallback = IniWhole(section, QString::fromLatin1(row.fallbackKey)).value_or(row.fallback);
        for (int n = 0; n < std::max(row.count, 1); ++n) {
            const QString key = StoredRangeKey(row, n);
            const std::optional<QString> stored = IniStored(section, key);
            if (!stored) continue;
            if (const std::optional<int> corrected = CorrectedNumber(row, *stored, fallback))
                UseForRun(path, section, key, QString::number(*corrected));
        }
    }
}

} // namespace core
