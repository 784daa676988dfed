#pragma once
// Typed transmit text: every key typed in the transmit box goes to the engine
// of the current mode the moment it is typed, whether or not the engine
// transmits yet. Characters are counted as the system code page (Shift-JIS)
// has them: KeyAscii is the byte of a single-byte character, or the two-byte
// code of a double-byte character as a signed 16-bit value (negative).
#include <QString>
#include <cstdint>

class QKeyEvent;

namespace terminal::transmit {

std::int16_t keyAsciiOf(QChar c);
QString charOfKeyAscii(std::int16_t code);
// The Shift-JIS bytes of one KeyAscii.
QByteArray bytesOfKeyAscii(std::int16_t code);

// The KeyAscii that a key press in a text box stands for: Backspace, Enter,
// Escape and printable characters; nothing for other keys and for keys held
// with Ctrl or Alt, which the box and the main window handle themselves.
QList<std::int16_t> keyAsciisOf(const QKeyEvent& e);

// To the engine of the current mode (the transmit box and the receive panes).
// KeyAscii may come back changed: 0 makes the box ignore the key, a converted
// full-width character makes the box show its single-byte form.
void SendKey(std::int16_t& KeyAscii);
void SendKeyPsk(std::int16_t& KeyAscii);
void SendKeyMmvari(std::int16_t& KeyAscii);

// Text just appended to the transmit box by an insert or a paste: handed to
// the engine along the same path as typing (a new line begun while receiving,
// the history of character kinds), so a later Backspace stays right.
void SendInsertedText(const QString& text, bool boxWasEmpty);

// How long a Backspace waits at most for the library to send the second half of
// a double-byte character.
constexpr int kBufferWaitMsecs = 2000;

} // namespace terminal::transmit
