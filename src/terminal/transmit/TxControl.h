#pragma once
// Transmit control of the main window: the transmit button and F12 start a
// transmission with the engine of the current mode and, pressed again, end it
// after the text the engine still holds; the abort item (and Alt+X) empties
// the transmit box and ends a transmission at once. With the PSK library and
// the RTTY program the engines' own start and end reports key PTT and colour
// the button; the multi-mode control is keyed here.
#include "core/Globals.h"

namespace terminal::transmit {

inline bool pskMode() {
    return core::g.OpMode >= core::ModeBpsk && core::g.OpMode <= core::ModeQpskLsb;
}
inline bool rttyMode() {
    return core::g.OpMode == core::ModeRtty || core::g.OpMode == core::ModeCw;
}
inline bool pttByCat() {
    return core::g.PttPortControl == QLatin1String("0");
}

void StartTx();
void TXBC_Click();
// Alt+X: as the abort item, but with the multi-mode control only its
// transmission ends and the transmit box keeps its text.
void AbortKey();
// Esc: every transmission, repeat and scan of the main window ends, whatever
// control has the focus; the transmit box is emptied. The repeat cycle's own
// state and the macro-button move mode are the caller's.
void EscapeKey();

// The transmit box's text with the characters the RTTY program cannot send
// replaced, line breaks as CR LF.
QString rttyText(const QString& boxText);

// The box's text without the typed characters the RTTY program already has
// (typedAhead, in the box's order): what the start still has to hand over,
// inserted and pasted text included.
QString notYetHanded(const QString& box, const QString& typedAhead);

} // namespace terminal::transmit
