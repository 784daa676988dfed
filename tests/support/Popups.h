#pragma once
// Menus the way the operator reaches them: a click on the title in the menu
// bar, then the arrow keys down to the item and Return.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace zvtest {

// Chooses the item in the open pop-up with Down and Return; true when the item
// was chosen. When the keys do not reach the item (greyed, hidden or in
// another menu) the pop-up is closed with Esc.
bool chooseInPopup(QMenu* popup, QAction* item);
// Opens the menu of the bar that holds the item with a click on its title and
// chooses the item; an item of the bar itself is clicked. True when the item
// was chosen.
bool chooseInMenuBar(QMenuBar* bar, QAction* item);

// What the window's own logic has made of an item held greyed until its work
// is built: the state it has once the hold goes.
bool enabledOnceBuilt(QAction* item);

} // namespace zvtest
