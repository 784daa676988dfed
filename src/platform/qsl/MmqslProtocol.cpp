#include "platform/qsl/MmqslProtocol.h"

namespace mmqsl {

namespace {

QByteArray flat(const QString& text) {
    QString t = text;
    for (QChar& c : t)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
    return t.toUtf8();
}

// The two parts of a line at its first tab; the line must be valid UTF-8.
std::optional<std::pair<QString, QString>> split(const QByteArray& line) {
    QByteArray l = line;
    if (l.endsWith('\r')) l.chop(1);
    const qsizetype tab = l.indexOf('\t');
    if (tab <= 0) return std::nullopt;
    const QString head = QString::fromUtf8(l.left(tab));
    const QString rest = QString::fromUtf8(l.mid(tab + 1));
    if (head.toUtf8() != l.left(tab) || rest.toUtf8() != l.mid(tab + 1)) return std::nullopt;
    for (const char c : {'\t', '\r', '\n'})
        if (rest.contains(QLatin1Char(c)) || head.contains(QLatin1Char(c))) return std::nullopt;
    return std::make_pair(head, rest);
}

} // namespace

QByteArray requestLine(const QString& member, const QString& argument) {
    return flat(member) + '\t' + flat(argument) + '\n';
}

QByteArray replyLine(bool ok, const QString& value) {
    return QByteArray(ok ? "OK" : "ERR") + '\t' + flat(value) + '\n';
}

std::optional<Request> parseRequest(const QByteArray& line) {
    const auto parts = split(line);
    if (!parts) return std::nullopt;
    for (const QChar c : parts->first)
        if (!c.isLetterOrNumber() && c != QLatin1Char('=')) return std::nullopt;
    return Request{parts->first, parts->second};
}

std::optional<Reply> parseReply(const QByteArray& line) {
    const auto parts = split(line);
    if (!parts) return std::nullopt;
    if (parts->first == QLatin1String("OK")) return Reply{true, parts->second};
    if (parts->first == QLatin1String("ERR")) return Reply{false, parts->second};
    return std::nullopt;
}

} // namespace mmqsl
