#pragma once
// Where the small settings dialogs open: owned by the window that opens them
// (kept in front of it), 650 twips below and 5100 twips right of its top-left
// corner. The owner is the SSTV window in SSTV mode, else the main window.
#include <QWidget>

namespace settings {

QWidget& dialogOwner();
void placeBesideOwner(QWidget& dialog, QWidget& owner);

} // namespace settings
