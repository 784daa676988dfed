#include "sstv/qso/SstvQsoRoutines.h"

#include "core/lists/ListFiles.h"

namespace sstv {

namespace {

constexpr int RsvLength = 3;
constexpr int CallLength = 20;

} // namespace

QString ContestNoText(int value) {
    return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0'));
}

QString RsvTaken(const QString& line) {
    return line.trimmed().left(RsvLength).trimmed();
}

QStringList RsvEntries(const QByteArray& file) {
    QStringList list;
    for (const QString& line : core::ListFileLines(file)) {
        const QString entry = RsvTaken(line);
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
