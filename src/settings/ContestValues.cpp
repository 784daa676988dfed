#include "settings/ContestValues.h"

#include <algorithm>

namespace settings {

ContestCallFields contestCallFields(const QString& hisCall, bool prefixOrder) {
    const qsizetype slash = hisCall.indexOf(QLatin1Char('/'));
    if (slash < 0) return {hisCall, {}, {}};
    const QString base = hisCall.left(slash);
    const QString suffix = hisCall.mid(slash + 1);
    if (prefixOrder) return {suffix, base, QStringLiteral("$DX")};
    return {base, suffix, {}};
}

QString contestFixedRst(bool sstv, bool fixed) {
    if (!fixed) return {};
    return sstv ? QStringLiteral("595") : QStringLiteral("599");
}

QString contestNumberText(const std::optional<QString>& stored) {
    bool ok = false;
    if (stored) stored->trimmed().toInt(&ok);
    return ok ? stored->trimmed() : QStringLiteral("1");
}

int contestNumberValue(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return std::clamp(ok ? n : 1, lowest, highest);
}

} // namespace settings
