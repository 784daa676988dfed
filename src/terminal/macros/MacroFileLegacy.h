#pragma once
// The per-macro files of older installations: "MACRO<i>.DAT" holds a macro's
// text line by line, "MACNAME<i>.DAT" its name as the first item of its first
// line. Shift-JIS; lines end in CR LF or LF.
#include <QByteArray>
#include <QString>
#include <optional>

namespace terminal::macros {

// The text of a MACRO<i>.DAT file: its lines joined by CR LF, with no line
// break after the last line.
QString legacyMacroText(const QByteArray& bytes);
// The first item of a MACNAME<i>.DAT file's first line: a quoted text (commas
// included), or up to the first comma without blanks at either end. None for
// a file without a line.
std::optional<QString> legacyMacroName(const QByteArray& bytes);

} // namespace terminal::macros
