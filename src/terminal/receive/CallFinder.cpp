#include "terminal/receive/CallFinder.h"

#include <algorithm>

namespace terminal::receive {

namespace {

constexpr int kTail = 200;
constexpr int kOwnParts = 5;

const QString kDe = QStringLiteral(" DE ");

bool holdsDigit(const QString& s) {
    return std::any_of(s.begin(), s.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// Upper case one character for one, so that places found in the upper-case
// text are places in the text itself.
QString upperInPlace(QString s) {
    for (QChar& c : s)
        c = c.toUpper();
    return s;
}

// The station's own "DE" parts come off the end, so that the other station's
// " DE " is the last one left.
QString dropOwnParts(QString t, const QString& own) {
    if (own.isEmpty()) return t;
    for (int i = 0; i < kOwnParts; ++i) {
        const QString upper = upperInPlace(t);
        const qsizetype p = upper.lastIndexOf(kDe);
        if (p < 0 || upper.indexOf(own, p) < 0) break;
        t = t.left(p);
    }
    return t;
}

Found wordsAfter(const QString& t, qsizetype p) {
    QString w = upperInPlace(t.mid(p + 4));
    w.replace(QChar(0x3000), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    QStringList words = w.split(QLatin1Char(' '), Qt::SkipEmptyParts).mid(0, 3);
    while (words.size() < 3)
        words.append(QString());
    for (QString& word : words)
        if (!holdsDigit(word)) word.clear();
    Found f;
    f.searched = true;
    if (!words[0].isEmpty() && (words[1] == words[0] || words[2] == words[0]))
        f.call = words[0];
    else if (!words[1].isEmpty() && words[2] == words[1])
        f.call = words[1];
    else
        for (const QString& word : words)
            if (!word.isEmpty()) f.candidates.append(word);
    return f;
}

} // namespace

Found FindCall(const QString& text, const QString& userCall) {
    const QString t = dropOwnParts(text.right(kTail), upperInPlace(userCall));
    const QString upper = upperInPlace(t);
    for (const QString& mark : {kDe, QStringLiteral(" CQ "), QStringLiteral("QRZ ")}) {
        const qsizetype p = upper.lastIndexOf(mark);
        if (p >= 0) return wordsAfter(t, p);
    }
    return {};
}

} // namespace terminal::receive
