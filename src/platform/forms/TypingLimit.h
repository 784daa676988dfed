#pragma once
// A box whose maximum length limits what the operator types into it, not the
// text the program puts there: a stored value longer than the limit is shown
// and written back whole (QLineEdit::setMaxLength would cut it at setText).
#include <QLineEdit>

namespace ui {

// Refuses a typed, pasted or dropped edit that makes the text longer than
// maxChars and longer than it was; shortening a longer stored text by hand
// stays possible, and text set by the program or brought back by undo is
// taken whole.
void limitTyping(QLineEdit* box, int maxChars);

} // namespace ui
