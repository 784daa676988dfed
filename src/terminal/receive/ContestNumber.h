#pragma once
// The contest number of the main window's serial-number box.
#include <QString>

// The number a box's text stands for: its leading number, halves to even,
// held to 0..32766 (0 for a text without one or a negative one).
int contestNumberOf(const QString& text);
