#include "platform/hamlog/HamlogWindowLinkReplies.h"

#include "platform/os/Cp932.h"

namespace hamlog::window {

std::optional<QString> replyText(const CopyData& data) {
    if (data.cbData == 0 || !data.lpData) return std::nullopt;
    QString t = cp932::decode(data.lpData->left(static_cast<qsizetype>(data.cbData)));
    t.remove(QChar(0));
    const auto blank = [](QChar c) { return c == QLatin1Char(' '); };
    while (!t.isEmpty() && blank(t.front()))
        t.remove(0, 1);
    while (!t.isEmpty() && blank(t.back()))
        t.chop(1);
    return t;
}

std::optional<int> recordCountOf(const QString& t) {
    const qsizetype p = t.indexOf(QStringLiteral("count="));
    const qsizetype q = t.indexOf(QStringLiteral("\r\n"));
    if (p < 0 || q < p + 7) return std::nullopt;
    bool ok = false;
    const int n = t.mid(p + 7, q - (p + 7)).toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

} // namespace hamlog::window
