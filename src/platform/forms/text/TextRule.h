#pragma once
// A box that holds only what its rules make of the text that reaches it, and
// no more of it than its limit allows: typed, pasted by key, menu or middle
// button, dropped, or set by the program. One owner per box holds both, so
// that every way in passes the same rules and the same limit: what comes in is
// cleaned by the rules first and held to the limit after, then judged by any
// check the box carried before (a width in bytes, say). Here too is the one
// overtype rule of the boxes that overtype.
#include <QString>

class QLineEdit;
class QValidator;

namespace ui {

// Maps a text to what the box may hold. It works character by character, so
// that the rule's result for the text before the cursor places the cursor.
using TextRule = QString (*)(const QString&);

// What a box does with a text longer than its limit.
enum class PastLimit {
    // Cut to the limit, whichever way it came: what came in is cut from its
    // end and the text after the cursor stays, as the box's own maximum
    // length would cut it. Rules run first, so that blanks and line breaks
    // they take out leave their room to the rest.
    Cut,
    // A setting's box: a stored text longer than the limit, set by the
    // program, is shown and kept whole while untouched, and shortening it by
    // hand stays possible; an edit that would leave the text longer than the
    // limit and longer than it was is refused as a whole.
    Refuse,
};

// The box keeps to the rule from now on, after the rules it keeps already;
// what it held before is ruled too. A check the box carries already (a
// width, say) goes on judging the ruled text. The same rule again changes
// nothing. The box's own maximum length becomes its limit (cut past it).
void keepRule(QLineEdit* box, TextRule rule);

// The longest text the box holds from now on, and what it does past it.
// With Cut, what the box holds already is cut to it at once.
void setTextLimit(QLineEdit* box, int maxChars, PastLimit past = PastLimit::Cut);
// The box's limit: 0 when it has none.
int textLimit(const QLineEdit* box);
// Whether the box's text has an owner here (rules, a limit or a check set
// through these functions).
bool keepsRules(const QLineEdit* box);

// The check judges the box's text after its rules and its limit; the box
// owns the check from now on.
void keepCheck(QLineEdit* box, QValidator* check);
// Whether the box's rules and check take the text; the limit is not asked.
bool checkTakes(const QLineEdit* box, const QString& text);

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
