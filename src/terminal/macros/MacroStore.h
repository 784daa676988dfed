#pragma once
// Filling and saving the macro store: the macro file at each load of the store,
// the legacy per-macro files of older installations, the file chosen by the
// operator, and the copy of every macro onto the main window's buttons.
#include "terminal/macros/MacroFile.h"

#include <QString>

class MACRO_FORM;

namespace terminal::macros {

// The store's load: from [PSKCFG] MacroFile, or from MACRO<i>.DAT and
// MACNAME<i>.DAT when no macro file was ever saved. The shortcut keys and the
// used letters are rebuilt from the names read.
void fillStoreAtLoad(MACRO_FORM& f);

// Reads the file into the store and onto the buttons and makes it the current
// macro file. What a damaged file holds is loaded; the operator is told when
// anything was missing. False when the file could not be read at all, or the
// operator kept the macros typed in the open editor.
bool LoadMacroFile(const QString& path);
// The menu item: asks for a file, then loads it.
void MAC_LOAD_Click();

// Asks where to save, writes every macro (temporary file, then rename), shows
// them on the buttons and stores the shortcut keys. A cancelled dialog or a
// failed write changes nothing but tells the operator, and gives false.
bool SaveMacroFile();

// The shortcut letters of the names now in the store: MacroShortcutKeys and
// UsedShortcutKeys. A marker with a letter that is never available is a plain name.
void rebuildShortcuts(const MACRO_FORM& f);

// One macro as the store holds it (text with CR LF).
Macro macroInStore(const MACRO_FORM& f, int i);
void putInStore(MACRO_FORM& f, int i, const Macro& m);

} // namespace terminal::macros
