#include "log/CallParts.h"

#include <QStringList>

namespace logbook {

CallSplit splitCall(const QString& call) {
    CallSplit s;
    const qsizetype slash = call.lastIndexOf(QLatin1Char('/'));
    s.SlashPos = static_cast<int>(slash + 1);
    if (slash < 0) {
        s.WkdCall = s.PrefixCall = call;
        return s;
    }
    const QString before = call.left(slash);
    const QString after = call.mid(slash + 1);
    if (before.size() < after.size()) {
        s.WkdCall = after;
        s.PrefixCall = before.size() >= 2 ? before : after;
    } else if (after.size() <= 1 || after == QLatin1String("QRP")) {
        s.WkdCall = s.PrefixCall = before;
    } else {
        s.WkdCall = before;
        s.PrefixCall = after;
    }
    return s;
}

CallArea callAreaOf(const QString& slashPart, const QString& call) {
    const QString text = slashPart.trimmed().isEmpty() ? call.trimmed() : slashPart.trimmed();
    CallArea a;
    for (char digit = '0'; digit <= '9' && a.pos == 0; ++digit)
        a.pos = static_cast<int>(text.lastIndexOf(QLatin1Char(digit)) + 1);
    if (a.pos == 0) {
        a.area = QStringLiteral("全");
        return a;
    }
    static const QStringList kFirstArea = {QStringLiteral("7K"), QStringLiteral("7L"), QStringLiteral("7M"),
                                           QStringLiteral("7N")};
    a.area = kFirstArea.contains(text.left(2)) ? QStringLiteral("1") : text.mid(a.pos - 1, 1);
    return a;
}

QString jcaSuffix(const QString& call) {
    for (qsizetype i = call.size() - 1; i >= 0; --i)
        if (call[i] >= QLatin1Char('0') && call[i] <= QLatin1Char('9')) return call.mid(i + 1);
    return {};
}

LogCall logCallFor(const QString& hisCall, bool prefixFirst, const QString& rem2Now) {
    const QString marker = QStringLiteral("$DX");
    const qsizetype slash = hisCall.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        const bool staleMarker = rem2Now.trimmed() == marker;
        return {hisCall, {}, hisCall, {}, staleMarker ? std::optional<QString>(QString()) : std::nullopt};
    }
    const QString base = hisCall.left(slash);
    const QString suffix = hisCall.mid(slash + 1);
    if (prefixFirst) return {base, suffix, suffix, base, marker};
    return {base, suffix, base, suffix, QString()};
}

} // namespace logbook
