#pragma once
// Received text and memo files as the operator keeps them: Shift-JIS with CR
// LF. Paths as the dialogs and the settings give them, with "\" or "/".
#include <QByteArray>
#include <QString>
#include <optional>

namespace terminal::rxtext {

// The folder of a path: everything before its last "\" or "/"; empty when it has neither.
QString folderOf(const QString& path);
// The path with the extension added when its file name has none ("a" -> "a.TXT").
QString withExtension(const QString& path, const QString& extension);
// The text of a file for the viewer: Shift-JIS decoded (UTF-8 or UTF-16 when
// the file starts with that byte-order mark), every line (CR LF, LF or CR
// ended, the last one also without an end) followed by one line break.
// Nothing for bytes that are no text: a NUL byte outside UTF-16 (a sound file,
// a picture).
std::optional<QString> viewerText(const QByteArray& bytes);
// A text as a file holds it: Shift-JIS, CR LF line ends, one CR LF at the end.
QByteArray fileBytes(const QString& text);

} // namespace terminal::rxtext
