#pragma once
// Menus the way the operator reaches them: a click on the control that raises
// a pop-up, or on the title in the menu bar, then the arrow keys down to the
// item and Return.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QPoint>

namespace zvtest {

// Clicks the control with the button at the point (its centre when none is
// given) and waits for a pop-up menu to show; null when none shows.
QMenu* popupByClick(QWidget* control, Qt::MouseButton button = Qt::RightButton, QPoint at = {});
// Chooses the item in the open pop-up with Down and Return, opening a submenu
// that holds it with Right on the way; true when the item was chosen. When the
// keys do not reach the item (greyed, hidden or in another menu) the pop-ups
// are closed with Esc.
bool chooseInPopup(QMenu* popup, QAction* item);
// For a pop-up that the next click opens and waits on (a menu run modally by
// the program): chooses the item in it as soon as it shows.
void chooseInNextPopup(QAction* item);
// "Right click this control, choose that item."
bool chooseByClick(QWidget* control, QAction* item, Qt::MouseButton button = Qt::RightButton, QPoint at = {});
// Opens the menu of the bar that holds the item with a click on its title and
// chooses the item; an item of the bar itself is clicked. True when the item
// was chosen.
bool chooseInMenuBar(QMenuBar* bar, QAction* item);
// "Choose this item of the window's menu bar": the bar is the one the item (or
// the menu holding it) stands in. A hidden window is shown first, as the
// operator can only reach the menu bar of a window on the screen.
bool chooseMenuItem(QAction* item);

// Opens the list of the box with a click on its arrow, moves to the entry with
// the arrow keys and takes it with Return; true when the box reported the entry
// chosen (also when it was already the current one).
bool chooseInList(QComboBox* box, int index);

// Opens the list with a click and chooses entry i with the keys and Return,
// as the operator does (the entry already shown can be chosen again). True
// when the list reported the choice.
bool chooseInCombo(QComboBox* list, int i);

// What the window's own logic has made of an item held greyed until its work
// is built: the state it has once the hold goes.
bool enabledOnceBuilt(QAction* item);

} // namespace zvtest
