#pragma once
// Menus as the operator meets them.
#include <QAction>

namespace zvtest {

// What the window's own logic has made of an item held greyed until its work
// is built: the state it has once the hold goes.
bool enabledOnceBuilt(QAction* item);

} // namespace zvtest
