#pragma once
// Blanks (spaces only) trimmed from both ends, as the lists and the picked
// and pasted texts were always trimmed: tabs and line breaks stay.
#include <QString>

namespace core {

inline QString TrimBlanks(const QString& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text[from] == QLatin1Char(' '))
        ++from;
    while (to > from && text[to - 1] == QLatin1Char(' '))
        --to;
    return text.mid(from, to - from);
}

} // namespace core
