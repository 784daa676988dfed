#include "sstv/qso/SstvQsoRoutines.h"

namespace sstv {

namespace {

constexpr int RsvLength = 3;
constexpr int CallLength = 20;

} // namespace

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
