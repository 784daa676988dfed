#pragma once
// A profile (INI) file seen as bytes: where each line lies, and in it the
// section name, or the key and its value. Nothing is decoded here beyond what
// finding "[", "]", "=" and ";" needs, so every line can be written back with
// exactly the bytes it came with, whatever they hold.
//
// The file is Shift-JIS unless it starts with a byte-order mark: EF BB BF makes
// it UTF-8, FF FE UTF-16 little-endian (what Notepad saves as "Unicode"), FE FF
// UTF-16 big-endian.
// Lines end at CR LF, LF or a lone CR. A line whose first non-blank character
// is "[" and that holds a "]" names a section; ";" starts a comment; any other
// line with "=" holds a key. Around names and values only blanks and tabs are
// trimmed; one pair of enclosing double or single quotes is dropped from a
// value.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace profile {

enum class Encoding { ShiftJis, Utf8, Utf16Le, Utf16Be };

constexpr bool isUtf16(Encoding encoding) {
    return encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be;
}

// Bytes [begin, end) of the file.
struct Span {
    qsizetype begin = 0;
    qsizetype end = 0;
};

struct Line {
    enum class Kind { Blank, Other, Section, Key }; // Other: a comment or a line without "="
    Kind kind = Kind::Blank;
    Span whole; // the line with its line end
    Span text;  // the line without its line end
    Span name;  // a section's or a key's name
    Span value; // a key's value, without blanks and enclosing quotes
};

struct Parsed {
    Encoding encoding = Encoding::ShiftJis;
    qsizetype bodyStart = 0; // after the byte-order mark
    QList<Line> lines;
};

// Pure: any bytes at all give a view, and every span lies within the bytes.
Parsed parse(const QByteArray& bytes);
// The same, kept for the bytes last asked about: a window's load reads many
// keys, and a batch of writes reads each key back, from the same bytes.
const Parsed& parsedView(const QByteArray& bytes);

QString decode(const QByteArray& bytes, Span span, Encoding encoding);
QByteArray encode(const QString& text, Encoding encoding);
// The file's own line end: that of its first line that has one; CR LF for a
// file without any. What is added to a file ends as its lines end.
QByteArray lineEndOf(const QByteArray& bytes, const Parsed& parsed);

// The lines of the section's first block: from its header (exclusive) to the
// next header; nothing when the section is not in the file.
struct Block {
    qsizetype header = -1; // index of the header line
    qsizetype end = -1;    // index of the first line after the block
};
std::optional<Block> findSection(const QByteArray& bytes, const Parsed& parsed, const QString& section);
// Index of the key's first line in the block, or -1.
qsizetype findKey(const QByteArray& bytes, const Parsed& parsed, Block block, const QString& key);

// The key's value in the file's bytes, or nothing when the section or key is missing.
std::optional<QString> valueIn(const QByteArray& bytes, const QString& section, const QString& key);

} // namespace profile
