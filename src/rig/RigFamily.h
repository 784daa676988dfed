#pragma once
// The rig families as data: everything that differs between them apart from
// the framing of their commands and replies (mode codes, reply lengths, how
// replies are read, how many digits a frequency takes, how it is shown).
#include <QString>
#include <optional>

namespace rig {

enum class Family { Ft1000mp, Ft920, Ft900, Ft847, Ft817, Ft767, Kenwood, Icom, Jst245 };

struct FamilyTraits {
    Family family;
    const char* name; // the RIG_TYPE text
    const char* lsbCode;
    const char* usbCode;
    const char* cwCode;
    const char* rttyCode;
    const char* pskCode;
    int replyLength;      // bytes or characters of the status reply
    bool textInput;       // replies are read as text, commands written as text
    int qsyDigits;        // digits of the dial frequency handed to the frequency command
    int labelDecimals;    // decimals of the frequency label: 6 (14.070.150) or 5 (14.070.15)
    bool finishSetsMode;  // the common finish writes the mode label
    bool rttyIsLowerSide; // a QSY in "RTTY" retunes like LSB
};

// The family whose RIG_TYPE text is exactly this; none for "Not Use" and anything else.
std::optional<Family> familyOf(const QString& rigType);
const FamilyTraits& traits(Family f);

} // namespace rig
