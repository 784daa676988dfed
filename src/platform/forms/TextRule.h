#pragma once
// A box that holds only what its rule makes of the text that reaches it:
// typed, pasted by key, menu or middle button, dropped, or set by the
// program. The rule is the box kind's one owner of what the box may hold.
#include <QString>

class QLineEdit;

namespace ui {

// Maps a text to what the box may hold. It works character by character, so
// that the rule's result for the text before the cursor places the cursor.
using TextRule = QString (*)(const QString&);

// The box keeps to the rule from now on; what it held before is ruled too. A
// check or rule the box carries already (a width, say) goes on judging the
// ruled text; set such a check before this. The same rule again changes nothing.
void keepRule(QLineEdit* box, TextRule rule);

} // namespace ui
