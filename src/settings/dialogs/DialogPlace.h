#pragma once
// Where the small settings dialogs open: owned by the window that opens them
// (kept in front of it), 650 twips below and 5100 twips right of its top-left
// corner. The owner is the SSTV window in SSTV mode, else the main window.
#include <QWidget>

namespace settings {

QWidget& dialogOwner();
void placeBesideOwner(QWidget& dialog, QWidget& owner);
// The same place without the ownership; a place that would lie off the screen
// comes onto it by the rule every window opens by.
void placeBeside(QWidget& dialog, const QWidget& window);

} // namespace settings
