#include "support/AdifReader.h"

#include <QStringDecoder>

namespace zvtest {

namespace {

QString fromSjis(const QByteArray& bytes) {
    QStringDecoder decoder("Shift_JIS");
    return decoder.isValid() ? decoder.decode(bytes) : QString();
}

struct Cursor {
    const QByteArray& bytes;
    qsizetype pos = 0;
    bool atEnd() const { return pos >= bytes.size(); }
};

// One "<TAG:len[:type]>value" or "<TAG>" at the cursor; false on a broken field.
bool nextField(Cursor& c, QString& tag, QString& value) {
    const qsizetype close = c.bytes.indexOf('>', c.pos);
    if (close < 0) return false;
    const QList<QByteArray> parts = c.bytes.mid(c.pos + 1, close - c.pos - 1).split(':');
    tag = QString::fromLatin1(parts[0]).toUpper();
    c.pos = close + 1;
    value.clear();
    if (parts.size() == 1) return true;
    bool ok = false;
    const qsizetype length = parts[1].toLongLong(&ok);
    if (!ok || length < 0 || c.pos + length > c.bytes.size()) return false;
    value = fromSjis(c.bytes.mid(c.pos, length));
    c.pos += length;
    return true;
}

} // namespace

std::optional<AdifFile> readAdif(const QByteArray& bytes) {
    AdifFile file;
    Cursor c{bytes};
    c.pos = bytes.indexOf('<');
    if (c.pos < 0) return std::nullopt;
    // No header text: the file opens with its end-of-header mark.
    if (c.pos == 0 && !bytes.toUpper().startsWith("<EOH>")) return std::nullopt;
    file.preamble = fromSjis(bytes.left(c.pos)).trimmed();
    bool inHeader = true;
    AdifRecord record;
    while (true) {
        const qsizetype next = bytes.indexOf('<', c.pos);
        if (next < 0) break;
        c.pos = next;
        QString tag, value;
        if (!nextField(c, tag, value)) return std::nullopt;
        if (inHeader) {
            if (tag == QLatin1String("EOH"))
                inHeader = false;
            else
                file.header.insert(tag, value);
        } else if (tag == QLatin1String("EOR")) {
            file.records.push_back(record);
            record.clear();
        } else if (tag == QLatin1String("EOH") || record.contains(tag)) {
            return std::nullopt;
        } else {
            record.insert(tag, value);
        }
    }
    if (inHeader || !record.isEmpty()) return std::nullopt;
    return file;
}

} // namespace zvtest
