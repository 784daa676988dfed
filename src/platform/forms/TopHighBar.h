#pragma once
// A vertical scroll bar whose top is its largest value.
#include <QScrollBar>

namespace ui {

// Turns the bar over so that its top is its largest value. Qt's bar steps
// towards its minimum with the top arrow (and the up key) even when its
// appearance is turned over, so each arrow, page and key step is turned round:
// ▲ raises the value and the thumb moves the way the value goes.
void makeTopHigh(QScrollBar* bar);

} // namespace ui
