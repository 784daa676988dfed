#pragma once
// CW identification: the operator's identification in Morse after a digital
// transmission, through the same audio path. The PSK library makes the Morse
// itself from the text and the speed; "*", "+" and "=" go to it unchanged and
// it keys them as the prosigns SK, AR and BT. The multi-mode control has its
// own member for it.
#include <QString>
#include <Qt>

namespace terminal::transmit {

// The text handed to the PSK library: a leading blank, and with PTT keyed by
// CAT one trailing blank too, so the rig is still keyed for the last element.
QString cwIdLibraryText(const QString& cwId, bool pttByCat);

// One-shot identification through the PSK library.
void SendCwId();
// The CW ID button: left sends, right shows or hides the frame "CWID Set".
void Command3_MouseDown(Qt::MouseButton button);

} // namespace terminal::transmit
