#include "spots/SpotPage.h"

#include "platform/os/Cp932.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>

namespace spots {

namespace {

const QLatin1StringView PreOpen("<PRE>");

// A piece of the text from a 1-based position, as many characters as there
// are: positions and lengths outside the text give what lies inside it.
QString cut(const QString& text, qsizetype from, qsizetype count) {
    if (from < 1) {
        count += from - 1;
        from = 1;
    }
    if (count <= 0 || from > text.size()) return {};
    return text.mid(from - 1, count);
}

QByteArray charsetOf(const QByteArray& contentType) {
    for (QByteArray part : contentType.split(';')) {
        part = part.trimmed();
        if (part.toLower().startsWith("charset=")) {
            QByteArray name = part.mid(8).trimmed();
            if (name.startsWith('"') && name.endsWith('"') && name.size() >= 2)
                name = name.mid(1, name.size() - 2);
            return name.toLower();
        }
    }
    return {};
}

bool isShiftJisName(const QByteArray& name) {
    return name == "shift_jis" || name == "shift-jis" || name == "sjis" || name == "x-sjis" ||
           name == "windows-31j" || name == "cp932" || name == "ms_kanji";
}

bool isUtf8Name(const QByteArray& name) {
    return name == "utf-8" || name == "utf8";
}

qsizetype indexOfAnyCase(const QByteArray& bytes, const char* marker, qsizetype from) {
    const qsizetype size = qsizetype(qstrlen(marker));
    for (qsizetype at = bytes.indexOf(marker[0], from); at >= 0 && at + size <= bytes.size();
         at = bytes.indexOf(marker[0], at + 1))
        if (qstrnicmp(bytes.constData() + at, marker, size) == 0) return at;
    return -1;
}

// A spot line is some eighty characters: a longer one is read in its first
// 4 KiB, cut after a one-byte character (never inside a double-byte one).
constexpr qsizetype LineLimit = 4096;

qsizetype lineCut(const QByteArray& bytes, qsizetype start, qsizetype end) {
    if (end - start <= LineLimit) return end;
    const qsizetype cut = start + LineLimit;
    for (qsizetype at = cut; at > cut - 64; --at)
        if (uchar(bytes[at - 1]) < 0x80 && uchar(bytes[at - 2]) < 0x80) return at;
    return cut;
}

// The block's end marker after the part, when the page has one further on.
QByteArray withEndMarker(const QByteArray& part, const QByteArray& bytes, qsizetype open, qsizetype from) {
    if (indexOfAnyCase(part, "</pre>", open) >= 0 || indexOfAnyCase(part, "/center", open) >= 0) return part;
    if (indexOfAnyCase(bytes, "</pre>", from) >= 0) return part + "</pre>";
    if (indexOfAnyCase(bytes, "/center", from) >= 0) return part + "</center>";
    return part;
}

// The first sixteen lines from the block's start, each cut to LineLimit.
QByteArray shortenedLines(const QByteArray& bytes, qsizetype open, qsizetype from) {
    QByteArray part = bytes.left(from);
    qsizetype at = from;
    for (int lines = 0; lines <= SpotRowCount && at < bytes.size(); ++lines) {
        const qsizetype lf = bytes.indexOf('\n', at);
        const qsizetype end = lf < 0 ? bytes.size() : lf;
        part.append(bytes.constData() + at, lineCut(bytes, at, end) - at);
        if (lf < 0) return part;
        part.append('\n');
        at = lf + 1;
    }
    return open < 0 ? part : withEndMarker(part, bytes, open, at);
}

// The bytes that the head and the fifteen rows can come from, in a page whose
// encoding never puts '<' or a line break inside a character (Shift-JIS,
// UTF-8, the single-byte charsets and the other EUC-like ones): everything up
// to sixteen line breaks (and 4 KiB at least) after the first "<pre>", or
// after the page's start when it has none, followed by the block's end marker
// when that lies further on. So the cut falls between characters.
QByteArray rowsPart(const QByteArray& bytes) {
    const qsizetype open = indexOfAnyCase(bytes, "<pre>", 0);
    const qsizetype from = qMax<qsizetype>(open, 0);
    qsizetype cut = from;
    for (int lines = 0; lines <= SpotRowCount; ++lines) {
        const qsizetype lf = bytes.indexOf('\n', cut + 1);
        if (lf - cut > LineLimit || (lf < 0 && bytes.size() - cut > LineLimit))
            return shortenedLines(bytes, open, from);
        if (lf < 0) return bytes;
        cut = lf;
    }
    cut = qMax(cut + 1, qMin(bytes.size(), from + 4096));
    if (cut >= bytes.size()) return bytes;
    const QByteArray part = bytes.left(cut);
    // Without "<pre>" the whole page is the block: no end marker counts.
    return open < 0 ? part : withEndMarker(part, bytes, open, cut);
}

// Encodings in which a byte of '<' or a line break can stand inside a
// character: the whole page is decoded.
bool cutsInsideCharacters(const QByteArray& name) {
    return name.startsWith("utf-16") || name.startsWith("utf-32") || name.startsWith("ucs-") ||
           name.startsWith("utf-7") || name.contains("2022") || name.startsWith("hz");
}

QString decodeBytes(const QByteArray& bytes, const QByteArray& charset) {
    if (isShiftJisName(charset)) return cp932::decode(rowsPart(bytes));
    if (isUtf8Name(charset)) return QString::fromUtf8(rowsPart(bytes));
    if (!charset.isEmpty()) {
        QStringDecoder named(charset.constData(), QStringDecoder::Flag::Default);
        if (named.isValid()) return named.decode(cutsInsideCharacters(charset) ? bytes : rowsPart(bytes));
    }
    if (QUtf8StringView(bytes).isValidUtf8()) return QString::fromUtf8(rowsPart(bytes));
    return cp932::decode(rowsPart(bytes));
}

// The character references and links that the pages carry, as the operator reads them.
void replaceReferences(QString& text) {
    text.replace(QLatin1StringView("&#43;"), QLatin1StringView("+"));
    text.replace(QLatin1StringView("&#45;"), QLatin1StringView("-"));
    text.replace(QLatin1StringView("&#043;"), QLatin1StringView("+"));
    text.replace(QLatin1StringView("&#045;"), QLatin1StringView("-"));
    text.replace(QLatin1StringView("&GT;"), QLatin1StringView(">"));
    text.replace(QLatin1StringView("&LT;"), QLatin1StringView("<"));
}

struct Block {
    qsizetype start = 0;     // 0-based index just after "<PRE>", or 0
    qsizetype end = 0;       // 0-based index of the end marker, or the page's size
    qsizetype firstLine = 0; // where the first spot line starts
};

// The preformatted block: after "<PRE>" up to "</PRE>", or "</CENTER>" when
// that is missing; without both markers the whole page. An end marker before
// "<PRE>" does not count. The first line starts one character (the line break)
// after "<PRE>", or at the sixth character of a page without it.
Block blockOf(const QString& page) {
    const qsizetype open = page.indexOf(PreOpen);
    const qsizetype firstLine = open < 0 ? 5 : open + PreOpen.size() + 1;
    if (open < 0) return {0, page.size(), firstLine};
    const qsizetype start = open + PreOpen.size();
    qsizetype end = page.indexOf(QLatin1StringView("</PRE>"), start);
    if (end < 0) {
        end = page.indexOf(QLatin1StringView("/CENTER"), start);
        if (end > start && page.at(end - 1) == QLatin1Char('<')) --end;
    }
    if (end < 0) return {0, page.size(), firstLine};
    return {start, end, firstLine};
}

QString shiftTime(const QString& time, int hours, QChar zone) {
    if (time.size() < 4) return {};
    bool okH = false, okM = false;
    const int h = time.left(2).toInt(&okH);
    const int m = time.mid(2, 2).toInt(&okM);
    for (int i = 0; i < 4; ++i)
        if (!time.at(i).isDigit() || time.at(i).unicode() > '9') return {};
    if (!okH || !okM || h >= 24 || m >= 60) return {};
    const int shifted = ((h + hours) % 24 + 24) % 24;
    return QStringLiteral("%1%2%3")
        .arg(shifted, 2, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(zone);
}

// A line that starts with a link to the call's page keeps the link's text
// (the call) and what follows it.
QString withoutLink(const QString& line) {
    const qsizetype blank = line.indexOf(QLatin1StringView("_BLANK"));
    if (blank < 0) return line;
    const qsizetype textStart = blank + 8;
    const qsizetype close = line.indexOf(QLatin1StringView("</A>"), blank);
    if (close < 0) return line.mid(qMin(textStart, line.size()));
    if (close < textStart) return line.mid(close + 4);
    return line.mid(textStart, close - textStart) + line.mid(close + 4);
}

SpotRow rowOf(const QString& line, SpotLayout layout) {
    if (layout == SpotLayout::Fallback)
        return {cut(line, 61, 4) + QLatin1Char('Z'), cut(line, 10, 8), cut(line, 19, 11), cut(line, 31, 30),
                cut(line, 1, 8)};
    return {cut(line, 14, 5), cut(line, 19, 9), cut(line, 1, 13), cut(line, 29, 32), cut(line, 60, 10)};
}

} // namespace

QString decodeSpotPage(const QByteArray& bytes, const QByteArray& contentType) {
    QString text = decodeBytes(bytes.left(SpotPageLimit), charsetOf(contentType));
    for (QChar& c : text)
        if (c.unicode() < 0x20 && c != QLatin1Char('\n'))
            c = QLatin1Char(' ');
        else if (c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return text.toUpper();
}

QString spotHead(const QString& page) {
    const Block b = blockOf(page);
    QString block = page.mid(b.start, b.end - b.start);
    block.remove(QLatin1StringView("<A HREF=\"WEBJUMP.CGI?CALL="));
    block.replace(QLatin1StringView("\" TARGET=\"_BLANK\">"), QLatin1StringView("  "));
    block.remove(QLatin1StringView("</A>"));
    QString head = cut(block, 2, 71);
    head.replace(QLatin1Char('\r'), QLatin1Char(' '));
    head.replace(QLatin1Char('\n'), QLatin1Char(' '));
    replaceReferences(head);
    head.replace(QLatin1StringView("      "), QLatin1StringView(" "));
    return head;
}

SpotRows parseSpotRows(const QString& source, SpotLayout layout, bool jst) {
    QString page = source;
    replaceReferences(page);
    const Block b = blockOf(page);
    SpotRows rows;
    qsizetype start = b.firstLine;
    for (SpotRow& row : rows) {
        if (start >= b.end) break;
        qsizetype end = page.indexOf(QLatin1Char('\n'), start);
        if (end < 0 || end > b.end) end = b.end;
        row = rowOf(withoutLink(page.mid(start, end - start)), layout);
        if (jst) {
            const QString shown = shiftTime(row.time, 9, QLatin1Char('J'));
            if (!shown.isEmpty()) row.time = shown;
        }
        start = end + 1;
    }
    return rows;
}

bool isSpotRow(const SpotRow& row) {
    const QString time = row.time;
    if (time.size() != 5 || (time.at(4) != QLatin1Char('Z') && time.at(4) != QLatin1Char('J'))) return false;
    if (shiftTime(time, 0, time.at(4)).isEmpty() || row.call.trimmed().isEmpty()) return false;
    // Kilohertz as the pages write them: digits, one decimal point, blanks around.
    bool digit = false, point = false;
    for (const QChar c : row.freq.trimmed()) {
        if (c == QLatin1Char('.') && !point)
            point = true;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = digit || c != QLatin1Char('0');
        else
            return false;
    }
    return digit;
}

bool holdsSpots(const SpotRows& rows) {
    return std::any_of(rows.begin(), rows.end(), isSpotRow);
}

QString toggleSpotTime(const QString& cell) {
    if (cell.size() != 5) return cell;
    QString shown;
    if (cell.at(4) == QLatin1Char('Z'))
        shown = shiftTime(cell, 9, QLatin1Char('J'));
    else if (cell.at(4) == QLatin1Char('J'))
        shown = shiftTime(cell, -9, QLatin1Char('Z'));
    return shown.isEmpty() ? cell : shown;
}

} // namespace spots
