#pragma once
// The word under a click in the received text, and where it goes: a word with
// a digit goes straight into the call-sign box (cut to 10 characters), any
// other is offered in the word pop-up (cut to 28); in contest mode every word
// is offered (cut to 50). A word runs between the nearest blanks (also the
// full-width one) or line ends on each side of the click, so the last word of
// a line is that word, not the next line's first.
#include <QString>

namespace terminal::receive {

enum class PickTarget {
    Nothing,   // no word under the click: the pick fails
    CallBox,   // straight into the call-sign box
    WordPopup, // offered in the word pop-up
};

struct WordPick {
    QString word; // as picked, already cut
    PickTarget target = PickTarget::Nothing;
    int cut = 0; // the length limit applied
};

// `caret` is the insertion point: the number of characters before it.
WordPick pickWord(const QString& text, int caret, int contestMode);

// Where the word around the caret lies: text[start, end); start == end when
// there is none (also for a click before the first character).
struct WordSpan {
    qsizetype start = 0;
    qsizetype end = 0;
};
WordSpan wordAt(const QString& text, int caret);

} // namespace terminal::receive
