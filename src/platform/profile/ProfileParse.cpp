#include "platform/profile/ProfileParse.h"

#include "platform/os/Cp932.h"

namespace profile {
namespace {

// The file read one character unit at a time: a byte, or two bytes in UTF-16.
// Only ASCII units matter for the layout; everything else is passed over.
class Units {
  public:
    Units(const QByteArray& bytes, Encoding encoding)
        : bytes_(bytes), width_(isUtf16(encoding) ? 2 : 1), bigEndian_(encoding == Encoding::Utf16Be) {}

    // Where the whole units end: an odd byte at the end of a UTF-16 file is left over.
    qsizetype size() const { return bytes_.size() - bytes_.size() % width_; }
    char16_t at(qsizetype pos) const {
        const auto b = static_cast<unsigned char>(bytes_[pos]);
        if (width_ == 1) return b;
        const auto b2 = static_cast<unsigned char>(bytes_[pos + 1]);
        return bigEndian_ ? static_cast<char16_t>((b << 8) | b2) : static_cast<char16_t>(b | (b2 << 8));
    }
    qsizetype next(qsizetype pos) const { return pos + width_; }
    qsizetype previous(qsizetype pos) const { return pos - width_; }

  private:
    const QByteArray& bytes_;
    qsizetype width_;
    bool bigEndian_;
};

bool isBlank(char16_t u) {
    return u == u' ' || u == u'\t';
}

Span trimmed(const Units& units, Span s) {
    while (s.begin < s.end && isBlank(units.at(s.begin)))
        s.begin = units.next(s.begin);
    while (s.end > s.begin && isBlank(units.at(units.previous(s.end))))
        s.end = units.previous(s.end);
    return s;
}

Span withoutQuotes(const Units& units, Span s) {
    if (s.end - s.begin < 2 * (units.next(s.begin) - s.begin)) return s;
    const char16_t first = units.at(s.begin);
    if ((first == u'"' || first == u'\'') && units.at(units.previous(s.end)) == first)
        return {units.next(s.begin), units.previous(s.end)};
    return s;
}

bool isTrailByte(char16_t u) {
    return (u >= 0x40 && u <= 0x7E) || (u >= 0x80 && u <= 0xFC);
}

// The closing "]" of a header; in Shift-JIS the second byte of a double-byte
// character (0x5D is one) is not a bracket.
qsizetype closingBracket(const Units& units, Span s, Encoding encoding) {
    for (qsizetype pos = s.begin; pos < s.end; pos = units.next(pos)) {
        const char16_t u = units.at(pos);
        if (u == u']') return pos;
        if (encoding == Encoding::ShiftJis && cp932::isLeadByte(static_cast<unsigned char>(u)) &&
            pos + 1 < s.end && isTrailByte(units.at(pos + 1)))
            ++pos;
    }
    return -1;
}

qsizetype find(const Units& units, Span s, char16_t wanted) {
    for (qsizetype pos = s.begin; pos < s.end; pos = units.next(pos))
        if (units.at(pos) == wanted) return pos;
    return -1;
}

void classify(const Units& units, Encoding encoding, Line& line) {
    const Span content = trimmed(units, line.text);
    if (content.begin == content.end) return;
    line.kind = Line::Kind::Other;
    const char16_t first = units.at(content.begin);
    if (first == u';') return;
    if (first == u'[') {
        const qsizetype close = closingBracket(units, {units.next(content.begin), content.end}, encoding);
        if (close >= 0) {
            line.kind = Line::Kind::Section;
            line.name = trimmed(units, {units.next(content.begin), close});
            return;
        }
    }
    const qsizetype eq = find(units, content, u'=');
    if (eq < 0) return;
    line.kind = Line::Kind::Key;
    line.name = trimmed(units, {content.begin, eq});
    line.value = withoutQuotes(units, trimmed(units, {units.next(eq), content.end}));
}

Encoding encodingOf(const QByteArray& bytes, qsizetype* bodyStart) {
    if (bytes.startsWith("\xFF\xFE")) {
        *bodyStart = 2;
        return Encoding::Utf16Le;
    }
    if (bytes.startsWith("\xFE\xFF")) {
        *bodyStart = 2;
        return Encoding::Utf16Be;
    }
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        *bodyStart = 3;
        return Encoding::Utf8;
    }
    *bodyStart = 0;
    return Encoding::ShiftJis;
}

bool isAscii(const QByteArray& bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

char16_t asciiLower(char16_t u) {
    return u >= u'A' && u <= u'Z' ? static_cast<char16_t>(u + (u'a' - u'A')) : u;
}

bool sameName(const QByteArray& bytes, Span span, Encoding encoding, const QString& name) {
    // Names are mostly ASCII on both sides: they compare as they stand, with
    // no text made for the one in the file.
    if (!isUtf16(encoding)) {
        bool ascii = true;
        bool same = span.end - span.begin == name.size();
        for (qsizetype i = 0; ascii && i < span.end - span.begin; ++i) {
            const auto b = static_cast<unsigned char>(bytes[span.begin + i]);
            ascii = b < 0x80;
            if (ascii && same) {
                const char16_t c = name[i].unicode();
                ascii = c < 0x80;
                same = asciiLower(b) == asciiLower(c);
            }
        }
        if (ascii) {
            for (const QChar c : name)
                ascii = ascii && c.unicode() < 0x80;
            if (ascii) return same;
        }
    }
    return decode(bytes, span, encoding).compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

Parsed parse(const QByteArray& bytes) {
    Parsed parsed;
    parsed.encoding = encodingOf(bytes, &parsed.bodyStart);
    const Units units(bytes, parsed.encoding);
    qsizetype pos = parsed.bodyStart;
    while (pos < units.size()) {
        Line line;
        line.text.begin = pos;
        while (pos < units.size() && units.at(pos) != u'\r' && units.at(pos) != u'\n')
            pos = units.next(pos);
        line.text.end = pos;
        if (pos < units.size()) {
            const bool cr = units.at(pos) == u'\r';
            pos = units.next(pos);
            if (cr && pos < units.size() && units.at(pos) == u'\n') pos = units.next(pos);
        }
        line.whole = {line.text.begin, pos};
        classify(units, parsed.encoding, line);
        parsed.lines.append(line);
    }
    if (pos < bytes.size()) {
        Line leftOver;
        leftOver.kind = Line::Kind::Other;
        leftOver.text = leftOver.whole = {pos, bytes.size()};
        parsed.lines.append(leftOver);
    }
    return parsed;
}

const Parsed& parsedView(const QByteArray& bytes) {
    // The bytes are kept with their view: a copy of a QByteArray shares its
    // data, so the comparison below is exact and costs far less than a parse.
    thread_local struct {
        QByteArray bytes;
        Parsed parsed;
        bool valid = false;
    } last;
    if (!last.valid || last.bytes != bytes) {
        last.parsed = parse(bytes);
        last.bytes = bytes;
        last.valid = true;
    }
    return last.parsed;
}

QString decode(const QByteArray& bytes, Span span, Encoding encoding) {
    const QByteArray part = bytes.mid(span.begin, span.end - span.begin);
    switch (encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const Units units(part, encoding);
        QString text;
        for (qsizetype i = 0; i < units.size(); i = units.next(i))
            text += QChar(units.at(i));
        if (part.size() % 2) text += QChar::ReplacementCharacter;
        return text;
    }
    case Encoding::Utf8:
        return QString::fromUtf8(part);
    case Encoding::ShiftJis:
        // Names and most values are ASCII, which Shift-JIS leaves as it is.
        return isAscii(part) ? QString::fromLatin1(part) : cp932::decode(part);
    }
    return {};
}

QByteArray encode(const QString& text, Encoding encoding) {
    switch (encoding) {
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        QByteArray bytes;
        for (const QChar c : text) {
            const char low = static_cast<char>(c.unicode() & 0xFF);
            const char high = static_cast<char>(c.unicode() >> 8);
            bytes += encoding == Encoding::Utf16Be ? high : low;
            bytes += encoding == Encoding::Utf16Be ? low : high;
        }
        return bytes;
    }
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::ShiftJis:
        return cp932::encode(text);
    }
    return {};
}

std::optional<Block> findSection(const QByteArray& bytes, const Parsed& parsed, const QString& section) {
    const QList<Line>& lines = parsed.lines;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].kind != Line::Kind::Section || !sameName(bytes, lines[i].name, parsed.encoding, section))
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && lines[end].kind != Line::Kind::Section)
            ++end;
        return Block{i, end};
    }
    return std::nullopt;
}

qsizetype findKey(const QByteArray& bytes, const Parsed& parsed, Block block, const QString& key) {
    for (qsizetype i = block.header + 1; i < block.end; ++i) {
        const Line& line = parsed.lines[i];
        if (line.kind == Line::Kind::Key && sameName(bytes, line.name, parsed.encoding, key)) return i;
    }
    return -1;
}

std::optional<QString> valueIn(const QByteArray& bytes, const QString& section, const QString& key) {
    const Parsed& parsed = parsedView(bytes);
    const std::optional<Block> block = findSection(bytes, parsed, section);
    if (!block) return std::nullopt;
    const qsizetype k = findKey(bytes, parsed, *block, key);
    if (k < 0) return std::nullopt;
    return decode(bytes, parsed.lines[k].value, parsed.encoding);
}

QByteArray lineEndOf(const QByteArray& bytes, const Parsed& parsed) {
    for (const Line& l : parsed.lines)
        if (l.whole.end > l.text.end) return bytes.mid(l.text.end, l.whole.end - l.text.end);
    return encode(QStringLiteral("\r\n"), parsed.encoding);
}

} // namespace profile
