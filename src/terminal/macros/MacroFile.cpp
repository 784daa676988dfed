#include "terminal/macros/MacroFile.h"

#include "platform/forms/colour/Colour.h"
#include "platform/os/Cp932.h"

#include <QRegularExpression>

namespace terminal::macros {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString tag(const char* name, int i) {
    return QStringLiteral("<%1%2>").arg(QLatin1String(name)).arg(i);
}

// The text between the line of tag `open` and the line of tag `close` (each
// tag's first occurrence wins). Without the closing tag, runToEnd takes the rest
// of the file, so that a cut-off last macro keeps what it has.
std::optional<QString> cut(const QString& t, const QString& open, const QString& close, bool runToEnd) {
    const qsizetype a = t.indexOf(open);
    if (a < 0) return std::nullopt;
    // Blanks a hand-written tag line carries after its tag belong to that line.
    qsizetype after = a + open.size();
    while (after < t.size() && (t[after] == QLatin1Char(' ') || t[after] == QLatin1Char('\t')))
        ++after;
    const qsizetype start = (t.mid(after, kCrLf.size()) == kCrLf ? after : a + open.size()) + kCrLf.size();
    qsizetype end = 0;
    if (const qsizetype b = t.indexOf(close); b >= 0)
        end = b - kCrLf.size();
    else if (runToEnd)
        end = std::max(start, t.size() - kCrLf.size());
    else
        return std::nullopt;
    if (end < start) return std::nullopt;
    return t.mid(start, end - start);
}

QString normalisedLines(const QString& raw) {
    QString t = raw;
    t.replace(kCrLf, QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!t.isEmpty() && !t.endsWith(QLatin1Char('\n'))) t += QLatin1Char('\n');
    t.replace(QLatin1Char('\n'), kCrLf);
    return t;
}

// A tag of macro 0 to 35, as the reading rule finds it anywhere in the text.
const QRegularExpression& fileTag() {
    static const QRegularExpression tags(
        QStringLiteral("<(MACNAME|BUTCOL|MACText|MacroEND)([0-9]|[12][0-9]|3[0-5])>"));
    return tags;
}

} // namespace

std::optional<NotStorable> notStorable(const std::array<Macro, kCount>& macros) {
    for (int i = 0; i < kCount; ++i) {
        const Macro& m = macros[static_cast<std::size_t>(i)];
        if (const QString lost = cp932::uncarried(m.name); !lost.isEmpty())
            return NotStorable{i, true, lost, {}};
        if (const QString lost = cp932::uncarried(m.text); !lost.isEmpty())
            return NotStorable{i, false, lost, {}};
    }
    // A tag that lands after the one the reading rule takes harms nothing (a
    // file loaded with one saves as it was): only what would not read back is held.
    // A text comes back as typed when it comes back in its stored form.
    const ReadResult back = parseMacroFile(formatMacroFile(macros));
    std::optional<int> first;
    bool firstInName = false;
    for (int i = 0; i < kCount && !first; ++i) {
        const ReadMacro& r = back.macros[static_cast<std::size_t>(i)];
        const Macro& m = macros[static_cast<std::size_t>(i)];
        firstInName = r.name != cp932::readBack(m.name);
        if (firstInName || r.text != cp932::readBack(m.text) || r.colour != m.colour) first = i;
    }
    if (!first) return std::nullopt;
    // Only a tag of a later macro, or of its own that the file writes after
    // this part, comes before the tag the reading rule should take.
    const auto blamed = [](const QString& part, int i, bool name) -> QString {
        for (auto it = fileTag().globalMatch(part); it.hasNext();) {
            const auto found = it.next();
            const int of = found.captured(2).toInt();
            const QString kind = found.captured(1);
            const bool ownLater = name ? kind != QLatin1String("MACNAME") : kind == QLatin1String("MacroEND");
            if (of > i || (of == i && ownLater)) return found.captured();
        }
        return {};
    };
    for (int i = 0; i < kCount; ++i) {
        const Macro& m = macros[static_cast<std::size_t>(i)];
        if (const QString tag = blamed(m.name, i, true); !tag.isEmpty()) return NotStorable{i, true, {}, tag};
        if (const QString tag = blamed(m.text, i, false); !tag.isEmpty())
            return NotStorable{i, false, {}, tag};
    }
    return NotStorable{*first, firstInName, {}, {}};
}

bool ReadResult::complete() const {
    for (const ReadMacro& m : macros)
        if (!m.complete()) return false;
    return true;
}

QByteArray formatMacroFile(const std::array<Macro, kCount>& macros) {
    QString out;
    for (int i = 0; i < kCount; ++i) {
        const Macro& m = macros[static_cast<std::size_t>(i)];
        out += tag("MACNAME", i) + kCrLf + m.name + kCrLf;
        out += tag("BUTCOL", i) + kCrLf + QStringLiteral(" %1 ").arg(m.colour) + kCrLf;
        out += tag("MACText", i) + kCrLf + m.text + kCrLf;
        out += tag("MacroEND", i) + kCrLf;
    }
    return cp932::encode(out);
}

ReadResult parseMacroFile(const QByteArray& bytes) {
    const QString t = normalisedLines(cp932::decode(bytes));
    ReadResult r;
    for (int i = 0; i < kCount; ++i) {
        ReadMacro& m = r.macros[static_cast<std::size_t>(i)];
        m.name = cut(t, tag("MACNAME", i), tag("BUTCOL", i), false);
        if (const auto c = cut(t, tag("BUTCOL", i), tag("MACText", i), false)) {
            std::uint32_t ref = 0;
            if (colour::parseRef(*c, &ref)) m.colour = ref;
        }
        m.text = cut(t, tag("MACText", i), tag("MacroEND", i), true);
    }
    return r;
}

std::optional<QChar> shortcutLetter(const QString& name) {
    const qsizetype n = name.size();
    if (n < 4 || name.at(n - 1) != QLatin1Char(')') || name.mid(n - 4, 2) != QLatin1String("(s"))
        return std::nullopt;
    const QChar letter = name.at(n - 2);
    if (letter < QLatin1Char('A') || letter > QLatin1Char('Z')) return std::nullopt;
    return letter;
}

QString withoutShortcutMarker(const QString& name) {
    return shortcutLetter(name) ? name.left(name.size() - 4) : name;
}

QString toCrLf(const QString& boxText) {
    QString t = boxText;
    t.replace(kCrLf, QStringLiteral("\n"));
    t.replace(QLatin1Char('\n'), kCrLf);
    return t;
}

QString fromCrLf(const QString& text) {
    QString t = text;
    t.replace(kCrLf, QStringLiteral("\n"));
    return t;
}

} // namespace terminal::macros
