#pragma once
// A box that holds only what its rule makes of the text that reaches it:
// typed, pasted by key, menu or middle button, dropped, or set by the
// program. The rule is the box kind's one owner of what the box may hold.
// Such a box also owns its longest text, so that what comes in is cleaned by
// the rule first and cut to the limit after; and here is the one overtype
// rule of the boxes that overtype.
#include <QString>

class QLineEdit;

namespace ui {

// Maps a text to what the box may hold. It works character by character, so
// that the rule's result for the text before the cursor places the cursor.
using TextRule = QString (*)(const QString&);

// The box keeps to the rule from now on; what it held before is ruled too. A
// check or rule the box carries already (a width, say) goes on judging the
// ruled text; set such a check before this. The same rule again changes
// nothing. A box with rules only takes its maximum length over as its limit.
void keepRule(QLineEdit* box, TextRule rule);

// The longest text the box holds, typed, pasted or set by the program. A box
// with rules only cuts text to it after its rules: a paste with blanks or line
// breaks keeps as many characters as the limit allows.
void setTextLimit(QLineEdit* box, int maxChars);

// What a key typed into an overtyping box replaces.
struct Span {
    qsizetype start;
    qsizetype length;
    bool operator==(const Span&) const = default;
};

// From the selection's start (the caret when nothing is selected) the next n
// characters, fewer at the end of the text. A selection longer than that
// stays whole: the key replaces everything the operator selected, and never
// leaves a tail of it.
Span overtypeSpan(const QString& text, qsizetype start, qsizetype length, int n);

// Selects the box's overtype span, so that the key about to be inserted (or a
// Backspace) replaces it. In a box whose characters have fixed places (a
// date, a time) a key takes the place at the selection's start only, however
// much is selected.
void selectOvertype(QLineEdit* box, int n, bool fixedPlaces = false);

} // namespace ui
