#pragma once
// Where the small settings dialogs open: 650 twips below and 5100 twips right
// of their owner's top-left corner. The owner is the SSTV window in SSTV mode,
// else the main window.
#include <QWidget>

namespace settings {

QWidget& dialogOwner();
void placeBesideOwner(QWidget& dialog, const QWidget& owner);

} // namespace settings
