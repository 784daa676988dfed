#pragma once
// The values of the RTTY settings dialog, apart from its controls: the fields
// of the RTTY program's view word, the X-Y scope choices, the profile words
// and the transmit delay as typed.
#include <QString>
#include <cstdint>
#include <optional>

namespace settings {

enum class ViewField { Scope, Response, Gain };

// The view word last reported with one field replaced by the code of the
// choice, as the number posted; nothing before a whole view word (14 binary
// digits) has been reported, or for a choice outside the field's list.
std::optional<std::int32_t> viewWordWith(const QString& reportedBits, ViewField field, int choice);

// An X-Y scope choice 0..4 as the system keeps it: the stored text, the
// sample set drawn and the highest sample index.
struct ScopeChoice {
    QString stored;
    int quality = 4;
    int mask = 0x1FF;
};
ScopeChoice scopeChoice(int index);

// The profile commands' words: load (bits 17 and 16) and save (bit 18).
std::int32_t profileLoadWord();
std::int32_t profileSaveWord();

// The transmit delay as typed: a whole number of 0 or more, the longest for
// one beyond it, else nothing.
std::optional<int> txDelayValue(const QString& typed);

} // namespace settings
