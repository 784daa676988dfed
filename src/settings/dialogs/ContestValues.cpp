#include "settings/dialogs/ContestValues.h"

#include <algorithm>

namespace settings {

QString contestFixedRst(bool sstv, bool fixed) {
    if (!fixed) return {};
    return sstv ? QStringLiteral("595") : QStringLiteral("599");
}

QString contestNumberText(const std::optional<QString>& stored) {
    bool ok = false;
    const int n = stored ? stored->trimmed().toInt(&ok) : 0;
    if (!ok) return QStringLiteral("001");
    // The serial box writes three digits from the first number on.
    if (n >= 0 && n < 1000) return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
    return stored->trimmed();
}

int contestNumberValue(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return std::clamp(ok ? n : 1, lowest, highest);
}

bool contestNumberMayStore(const QString& boxText, const std::optional<QString>& stored) {
    bool boxOk = false;
    const int box = boxText.trimmed().toInt(&boxOk);
    if (!boxOk) return false;
    bool storedOk = false;
    const int before = stored ? stored->trimmed().toInt(&storedOk) : 0;
    return !storedOk || box >= before;
}

} // namespace settings
