#pragma once
// The values of the contest dialog, apart from its controls.
#include <QString>
#include <optional>

namespace settings {

// The sent report fixed for the contest: "595" in SSTV mode, else "599";
// empty when it is not fixed.
QString contestFixedRst(bool sstv, bool fixed);

// The stored serial number as the serial box shows it, three digits at
// least ("007"): "001" when the key is missing or holds no whole number.
QString contestNumberText(const std::optional<QString>& stored);
// That text as the spin control takes it, within the spin control's range.
int contestNumberValue(const QString& text, int lowest, int highest);
// Whether a box's serial number may replace the stored one: the serial sent
// only moves forward, so a box that fell behind (not filled from the store,
// or left from an earlier contest) never takes it back.
bool contestNumberMayStore(const QString& boxText, const std::optional<QString>& stored);

} // namespace settings
