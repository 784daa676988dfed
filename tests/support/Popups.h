#pragma once
// Menus the way the operator reaches them: a click on the control that raises
// a pop-up, or on the title in the menu bar, then the arrow keys down to the
// item and Return.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPoint>

namespace zvtest {

// Clicks the control with the button at the point (its centre when none is
// given) and waits for a pop-up menu to show; null when none shows.
QMenu* popupByClick(QWidget* control, Qt::MouseButton button = Qt::RightButton, QPoint at = {});
// Chooses the item in the open pop-up with Down and Return; true when the item
// was chosen. When the keys do not reach the item (greyed, hidden or in
// another menu) the pop-up is closed with Esc.
bool chooseInPopup(QMenu* popup, QAction* item);
// "Right click this control, choose that item."
bool chooseByClick(QWidget* control, QAction* item, Qt::MouseButton button = Qt::RightButton, QPoint at = {});
// Opens the menu of the bar that holds the item with a click on its title and
// chooses the item; an item of the bar itself is clicked. True when the item
// was chosen.
bool chooseInMenuBar(QMenuBar* bar, QAction* item);

// What the window's own logic has made of an item held greyed until its work
// is built: the state it has once the hold goes.
bool enabledOnceBuilt(QAction* item);

} // namespace zvtest
