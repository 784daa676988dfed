#include "terminal/macros/MacroFile.h"

#include "platform/forms/Colour.h"
#include "platform/os/Cp932.h"

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
    const qsizetype start = a + open.size() + kCrLf.size();
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

} // namespace

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
