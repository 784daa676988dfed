#pragma once
// Values as the export files may carry them.
#include <QByteArray>
#include <QString>

namespace logbook {

// The text without control characters (below U+0020, U+007F to U+009F): a
// line of an export file holds no line break, tab or NUL of its values.
QString withoutControls(const QString& text);

// The value as XML character data in Shift-JIS: "&", "<" and ">" escaped,
// control characters and what XML cannot hold left out. A character that
// Shift_JIS proper lacks (the Windows variant's additions among them) is
// written as a character reference, so that a strict XML reader takes the file.
QByteArray xmlText(const QString& text);

} // namespace logbook
