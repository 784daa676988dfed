#pragma once
// Qt's own texts (the buttons and labels of the standard dialogs, the edit
// menus of text boxes), dates and numbers in Japanese, whatever the locale of
// the desktop, so that nothing the operator meets reads in English.
#include <QCoreApplication>
#include <QTranslator>

namespace qtja {

// Before the application is made: Japanese dates, numbers and messages for Qt
// (its file dialogs read the system's locale from the environment), the
// character type left as the desktop has it; the default locale Japanese.
void useJapaneseLocale();

// Installs Qt's Japanese texts into the application, which owns the
// translator, and the few that Qt's own translations lack (the kinds of the
// file dialog's entries). Null when Qt's translations are not installed:
// its texts then stay English and everything else works as before.
QTranslator* installQtJapanese(QCoreApplication& app);

} // namespace qtja
