#pragma once
// Shared state of the macros: shortcut letters, the macro file, the move mode
// and the round-QSO participants. One instance, macros::g; a test resets it
// with macros::g = {}.
#include <QString>
#include <array>

namespace macros {

constexpr int kCount = 36;
constexpr int kPerPage = 9;
// Letters never given to a macro: the main window's own ALT keys.
inline const QString kReservedShortcutLetters = QStringLiteral("CLMNPRTWXZ");

struct Globals {
    // ALT+letter key code (the upper-case letter's code) of each macro, 0 for none.
    std::array<int, kCount> MacroShortcutKeys{};
    // Every letter that may not be given to a macro.
    QString UsedShortcutKeys = kReservedShortcutLetters;
    // 1 while the editor waits for an ALT+letter after a double click on a text.
    int ShortcutRegistering = 0;
    // 1 while the file reader fills the editor's boxes; its load then reads nothing.
    int MacrosFromFile = 0;
    // CW identifications 'CWID1' to 'CWID5' (element n-1 is CWIDn).
    std::array<QString, 5> CwIdList;
    // Full path of the current macro file ([PSKCFG] MacroFile).
    QString MacroFilePath;
    // 1 while the macro buttons are being moved.
    int MacroMoveMode = 0;
    // The participants of a round QSO: the value of 'CP'.
    QString RoundQsoCalls;
};

extern Globals g;

} // namespace macros
