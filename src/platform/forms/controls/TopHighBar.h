#pragma once
// A vertical scroll bar whose top is its largest value.
#include <QScrollBar>

namespace ui {

// A new vertical bar turned over so that its top is its largest value: the
// thumb is drawn at the top for the largest value and a drag to the top gives
// it, ▲ (and the up key) raises the value and each arrow, page and key step
// moves the thumb the way the value goes. Qt's inverted appearance does none
// of this for a scroll bar, so the bar tells the style it is upside down.
QScrollBar* makeTopHigh(QWidget* parent = nullptr);

} // namespace ui
