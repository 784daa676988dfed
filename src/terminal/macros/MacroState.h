#pragma once
// Shared state of the macros: the used shortcut letters, the move mode and
// the round-QSO participants, the repeat's pause and mode; and the caption rule of the macro slots. One
// instance, terminal::macros::g; a test resets it with terminal::macros::g = {}.
#include <QString>

namespace terminal::macros {

constexpr int kCount = 36;
constexpr int kPerPage = 9;
// What macro i's editor tab shows: its name, or for a slot without a name "M"
// and its number, so that no tab is too narrow to pick. Its button shows the
// name alone: an empty slot is a blank grey button.
inline QString caption(int i, const QString& name) {
    return name.isEmpty() ? QStringLiteral("M%1").arg(i + 1) : name;
}

// Letters never given to a macro: the main window's own ALT keys.
inline const QString kReservedShortcutLetters = QStringLiteral("CLMNPRTWXZ");

struct Globals {
    // Every letter that may not be given to a macro.
    QString UsedShortcutKeys = kReservedShortcutLetters;
    // 1 while the macro buttons are being moved.
    int MacroMoveMode = 0;
    // The entry of the CW identification list picked last.
    int CwIdListIndex = 0;
    // The participants of a round QSO: the value of 'CP'.
    QString RoundQsoCalls;
    // The macro file last said to be unreadable, until one is read: the
    // store's loads after it say it no more.
    QString UnreadableMacroFile;

    // Repeat transmission: the pause in seconds, at most 65.
    QString RepeatSeconds;
    // What stood between "'RPT" and its apostrophe, as typed.
    QString RepeatCountText;
    // The PSK transmit mode each repeat sends in.
    int RepeatPskMode = 0;
};

extern Globals g;

} // namespace terminal::macros
