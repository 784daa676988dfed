#include "platform/profile/ProfileEdit.h"

#include "platform/profile/ProfileParse.h"

namespace profile {
namespace {

// Where text added after line `after` goes, with a line end first when that
// line has none (the last line of a file may lack it). A left-over odd byte at
// the end of a UTF-16 file stays after everything added.
struct Insertion {
    qsizetype at = 0;
    bool needsLineEnd = false;
};

Insertion after(const Parsed& parsed, qsizetype line) {
    if (line < 0) return {parsed.bodyStart, false};
    const Line& l = parsed.lines[line];
    return {l.whole.end, l.text.end == l.whole.end};
}

// The odd byte left over at the end of a UTF-16 file is a line of its own;
// what is added goes before it, or every character after it would be cut in two.
bool isOddTail(const Parsed& parsed, qsizetype line) {
    return line >= 0 && isUtf16(parsed.encoding) && parsed.lines[line].whole.end % 2;
}

Insertion atEndOfFile(const Parsed& parsed) {
    qsizetype last = parsed.lines.size() - 1;
    if (isOddTail(parsed, last)) --last;
    return after(parsed, last);
}

qsizetype lastNonBlank(const Parsed& parsed, Block block) {
    qsizetype last = block.header;
    for (qsizetype i = block.header + 1; i < block.end; ++i)
        if (parsed.lines[i].kind != Line::Kind::Blank && !isOddTail(parsed, i)) last = i;
    return last;
}

QByteArray inserted(const QByteArray& bytes, Insertion where, const QByteArray& lineEnd,
                    const QByteArray& text) {
    return bytes.left(where.at) + (where.needsLineEnd ? lineEnd : QByteArray()) + text + bytes.mid(where.at);
}

} // namespace

QByteArray withValue(const QByteArray& bytes, const QString& section, const QString& key,
                     const QString& value) {
    const Parsed& parsed = parsedView(bytes);
    const Encoding enc = parsed.encoding;
    const QByteArray lineEnd = lineEndOf(bytes, parsed);
    const QByteArray entry = encode(key + QLatin1Char('=') + value, enc) + lineEnd;

    const std::optional<Block> block = findSection(bytes, parsed, section);
    if (!block) {
        const QByteArray header = encode(QLatin1Char('[') + section + QLatin1Char(']'), enc) + lineEnd;
        return inserted(bytes, atEndOfFile(parsed), lineEnd, header + entry);
    }
    const qsizetype k = findKey(bytes, parsed, *block, key);
    if (k < 0) return inserted(bytes, after(parsed, lastNonBlank(parsed, *block)), lineEnd, entry);
    // A rewritten line keeps its own end (none on a last line without one).
    const Line& old = parsed.lines[k];
    return bytes.left(old.whole.begin) + encode(key + QLatin1Char('=') + value, enc) +
           bytes.mid(old.text.end);
}

} // namespace profile
