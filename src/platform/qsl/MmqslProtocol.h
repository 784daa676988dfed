#pragma once
// The lines between the automation object "MMQSL.Application" and the QSL
// printing program MMQSL over their local socket. A request is one line, the
// member's name, a tab and its argument; a property is set as "Name=" with the
// value, read as "Name" alone. The answer is one line: "OK", a tab and the
// result, or "ERR", a tab and what went wrong. Text is UTF-8; a tab, CR or LF
// inside a value travels as a blank.
#include <QByteArray>
#include <QString>
#include <optional>

namespace mmqsl {

struct Request {
    QString member;
    QString argument;
};
struct Reply {
    bool ok = false;
    QString value;
};

QByteArray requestLine(const QString& member, const QString& argument = {});
QByteArray replyLine(bool ok, const QString& value = {});
// A line without its LF; nothing for a line that is no request or answer.
std::optional<Request> parseRequest(const QByteArray& line);
std::optional<Reply> parseReply(const QByteArray& line);

} // namespace mmqsl
