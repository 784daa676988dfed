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

} // namespace settings
