#include "terminal/macros/MacroFileLegacy.h"

#include "platform/os/Cp932.h"

#include <QStringList>

namespace terminal::macros {
namespace {

QStringList lines(const QByteArray& bytes) {
    QString t = cp932::decode(bytes);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    return t.isEmpty() ? QStringList() : t.split(QLatin1Char('\n'));
}

QString firstItem(const QString& line) {
    if (line.startsWith(QLatin1Char('"'))) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), 1);
        return line.mid(1, close < 0 ? -1 : close - 1);
    }
    return line.section(QLatin1Char(','), 0, 0).trimmed();
}

} // namespace

QString legacyMacroText(const QByteArray& bytes) {
    return lines(bytes).join(QStringLiteral("\r\n"));
}

std::optional<QString> legacyMacroName(const QByteArray& bytes) {
    const QStringList all = lines(bytes);
    if (all.isEmpty()) return std::nullopt;
    return firstItem(all.first());
}

} // namespace terminal::macros
