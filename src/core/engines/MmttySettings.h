#pragma once
// What the system sends the RTTY/CW program at its start: the settings of
// [Mmtty], the view word (XY scope, FFT response and gain) and the switch word
// (notch kind), built on the words the program last reported.
#include <QString>

namespace core {

// Reads [Mmtty] into core::mm; a missing key takes its default (XY scope "4",
// gain 2, response 1, TX delay 0, notch kind "1").
void ReadMmttySettings();

// Builds core::mm's MmttyViewBits, MmttySwitchStates, XyScopeQuality and
// XyScopeMask from the last reported words and the settings. Without
// Mmtty.INI beside the program fixed view defaults stand instead of the
// settings' scope, gain, response and TX delay.
void BuildMmttyStartWords(bool iniBeside);

// The squelch level (text, 0..100) on the program's scale 0..1024, to the
// nearest whole number, halves to even; 0 when it is no number.
int MmttySquelchValue(const QString& squelchLevel);

} // namespace core
