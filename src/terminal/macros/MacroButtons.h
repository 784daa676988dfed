#pragma once
// The main window's 36 macro buttons: each shows its macro's name, colour and
// the first 120 characters of its text; a left press sends the macro, a right
// press opens the editor on it, and in move mode two presses move a macro.
// Also the ALT+letter shortcuts and the round-QSO participants.
#include "terminal/macros/MacroFile.h"

#include <QObject>

class PSK31MAIN;

namespace terminal::macros {

void showOnButton(int i, const Macro& m);
void showColourOnButton(int i, std::uint32_t ref);
// Every macro of the store onto its button.
void showAllOnButtons();
void focusCallSignBox();
void showMainWindow();

// The macro whose shortcut is ALT + the key, or -1.
int macroForShortcut(int key);

void Command8_MouseDown(int i, Qt::MouseButton button);
void MoveMacroButton(int source, int target);
void MACROMOV_Click();
void Roundqso_Click();

// Connects the buttons, the macro menu items and the ALT+letter keys of the main window.
void connectMacroButtons(PSK31MAIN& w);

} // namespace terminal::macros
