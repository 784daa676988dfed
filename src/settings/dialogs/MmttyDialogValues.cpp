#include "settings/dialogs/MmttyDialogValues.h"

#include "core/engines/MmttyState.h"
#include "core/ini/SettingRanges.h"
#include "platform/mmtty/MmttyProtocol.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace settings {

namespace {

struct Field {
    int first; // character position, from 1
    std::array<const char*, 5> codes;
    int count;
};

Field fieldOf(ViewField f) {
    switch (f) {
    case ViewField::Scope:
        return {2, {"100", "101", "110", "111", "000"}, 5};
    case ViewField::Response:
        return {7, {"10", "01", "00"}, 3};
    case ViewField::Gain:
        return {9, {"00", "01", "10", "11"}, 4};
    }
    return {};
}

bool isViewWord(const QString& bits) {
    if (bits.size() != mmtty::ViewPositions) return false;
    for (QChar c : bits)
        if (c != QLatin1Char('0') && c != QLatin1Char('1')) return false;
    return true;
}

} // namespace

std::optional<std::int32_t> viewWordWith(const QString& reportedBits, ViewField field, int choice) {
    const Field f = fieldOf(field);
    if (!isViewWord(reportedBits) || choice < 0 || choice >= f.count) return std::nullopt;
    const QString code = QString::fromLatin1(f.codes[std::size_t(choice)]);
    QString word = reportedBits;
    word.replace(f.first - 1, code.size(), code);
    return core::BitWord(word);
}

ScopeChoice scopeChoice(int index) {
    static const std::array<int, 5> masks{0x1FF, 0x3FF, 0x7FF, 0xFFF, 0x1FF};
    const int i = index >= 0 && index < 5 ? index : 4;
    return {QString::number(i), i, masks[std::size_t(i)]};
}

std::int32_t profileLoadWord() {
    return core::BitWord(QStringLiteral("00000000000000110000000000000000"));
}

std::int32_t profileSaveWord() {
    return core::BitWord(QStringLiteral("00000000000001000000000000000000"));
}

std::optional<int> txDelayValue(const QString& typed) {
    bool ok = false;
    const int n = typed.trimmed().toInt(&ok);
    if (!ok || n < 0) return std::nullopt;
    return std::min(n, core::StoredRangeOf(QStringLiteral("Mmtty"), QStringLiteral("TXDelay"))->highest);
}

} // namespace settings
