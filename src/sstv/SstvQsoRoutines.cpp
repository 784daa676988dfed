#include "sstv/SstvQsoRoutines.h"

namespace sstv {

namespace {

constexpr int RsvLength = 3;
constexpr int CallLength = 20;

} // namespace

LogCall LogCallFor(const QString& hisCall, bool prefixFirst) {
    const qsizetype slash = hisCall.indexOf(QLatin1Char('/'));
    if (slash < 0) return {hisCall, {}, hisCall, {}, std::nullopt};
    const QString base = hisCall.left(slash);
    const QString suffix = hisCall.mid(slash + 1);
    if (prefixFirst) return {base, suffix, suffix, base, QStringLiteral("$DX")};
    return {base, suffix, base, suffix, QString()};
}

QString ContestNoText(int value) {
    return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0'));
}

QStringList RsvEntries(const QString& fileText) {
    QStringList list;
    for (const QString& line : fileText.split(QLatin1Char('\n'))) {
        const QString entry = line.trimmed().left(RsvLength).trimmed();
        if (!entry.isEmpty()) list << entry;
    }
    return list;
}

QString DroppedCall(const QString& text) {
    QString out;
    for (const QChar c : text)
        if (c.category() != QChar::Other_Control) out += c;
    return out.trimmed().left(CallLength).trimmed();
}

} // namespace sstv
