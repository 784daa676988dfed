#pragma once
// The two pick lists kept as files in the program folder, one entry a line,
// Shift-JIS with CR LF: the reports offered beside the RST box (RSTmenu.DAT)
// and the extra mode names of the log entry (otherMODE.DAT).
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace core {

// The lines of a list file as they stand.
QStringList ListFileLines(const QByteArray& file);
// The reports of RSTmenu.DAT: of each line only its first three characters
// count, blanks trimmed after the cut; a line that leaves nothing is skipped.
QStringList RstMenuEntries(const QByteArray& file);
// The mode names of otherMODE.DAT: each line trimmed, empty ones skipped.
QStringList OtherModeEntries(const QByteArray& file);

// What a list editor writes for the text of its box: the text without the
// blanks at its start and end, each line ended by CR LF, and one more CR LF
// closing it.
QByteArray ListFileBytes(const QString& boxText);

} // namespace core
