#include "core/engines/MmttyState.h"

namespace core {

MmttyGlobals mm;

std::optional<QString> BitText(std::int64_t word, int positions) {
    if (word < 0 || positions < 0 || positions > 62 || word >= (std::int64_t(1) << positions))
        return std::nullopt;
    return QString::number(word, 2).rightJustified(positions, QLatin1Char('0'));
}

std::int32_t BitWord(const QString& bits) {
    std::int32_t word = 0;
    for (const QChar c : bits)
        word = word * 2 + (c == QLatin1Char('1') ? 1 : 0);
    return word;
}

} // namespace core
