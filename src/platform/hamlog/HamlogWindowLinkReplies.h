#pragma once
// What the logging program's window sends back while it handles a request,
// read as the system reads it.
#include "platform/hamlog/HamlogWindowLink.h"

#include <QString>
#include <optional>

namespace hamlog::window {

// The text of a reply: its cbData bytes, without zero characters and blanks at
// either end (line ends stay: the record count ends at one). None for a reply
// without data.
std::optional<QString> replyText(const CopyData& data);
// The record count of a reply "count=" + one more character + the number + CR LF.
std::optional<int> recordCountOf(const QString& text);

} // namespace hamlog::window
