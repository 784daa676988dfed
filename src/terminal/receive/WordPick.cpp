#include "terminal/receive/WordPick.h"

#include <algorithm>

namespace terminal::receive {

namespace {

constexpr int kCallLimit = 10;
constexpr int kWordLimit = 28;
constexpr int kContestLimit = 50;

bool separates(QChar c) {
    return c == QLatin1Char(' ') || c == QChar(0x3000) || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool holdsDigit(const QString& s) {
    return std::any_of(s.begin(), s.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

} // namespace

WordSpan wordAt(const QString& text, int caret) {
    // A click before the first character has no word behind it.
    if (caret <= 0 || text.isEmpty()) return {};
    const qsizetype at = std::min<qsizetype>(caret, text.size());
    qsizetype start = at;
    while (start > 0 && !separates(text[start - 1]))
        --start;
    qsizetype end = at;
    while (end < text.size() && !separates(text[end]))
        ++end;
    return {start, end};
}

WordPick pickWord(const QString& text, int caret, int contestMode) {
    const WordSpan span = wordAt(text, caret);
    const QString word = text.mid(span.start, span.end - span.start);
    if (word.isEmpty()) return {};
    if (contestMode != 0) return {word.left(kContestLimit), PickTarget::WordPopup, kContestLimit};
    if (!holdsDigit(word)) return {word.left(kWordLimit), PickTarget::WordPopup, kWordLimit};
    return {word.left(kCallLimit), PickTarget::CallBox, kCallLimit};
}

} // namespace terminal::receive
