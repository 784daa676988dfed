#pragma once
// The values of the contest dialog, apart from its controls.
#include <QString>
#include <optional>

namespace settings {

// The log entry's call fields at a contest start. A call written with "/" is
// split at its first "/": in call/suffix order the call is the part before it
// and the other part the part after; in prefix/call order the two change
// places and Rem2 becomes "$DX". A call without "/" is the call as it stands.
struct ContestCallFields {
    QString call;  // TEMP_LOG.Text1
    QString other; // TEMP_LOG.Text2
    QString rem2;  // TEMP_LOG.Text15
};
ContestCallFields contestCallFields(const QString& hisCall, bool prefixOrder);

// The sent report fixed for the contest: "595" in SSTV mode, else "599";
// empty when it is not fixed.
QString contestFixedRst(bool sstv, bool fixed);

// The stored serial number as the serial box shows it: "1" when the key is
// missing or holds no whole number.
QString contestNumberText(const std::optional<QString>& stored);
// That text as the spin control takes it, within the spin control's range.
int contestNumberValue(const QString& text, int lowest, int highest);

} // namespace settings
