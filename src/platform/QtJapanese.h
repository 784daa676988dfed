#pragma once
// Qt's own texts (the buttons and labels of the standard dialogs, the edit
// menus of text boxes) in Japanese, from Qt's translations installed with the
// system, so that nothing the operator meets reads in English.
#include <QCoreApplication>
#include <QTranslator>

namespace qtja {

// Installs Qt's Japanese texts into the application, which owns the
// translator. Null when the translations are not installed: Qt's texts then
// stay English and everything else works as before.
QTranslator* installQtJapanese(QCoreApplication& app);

} // namespace qtja
