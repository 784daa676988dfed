#pragma once
// Pure routines of the SSTV window's QSO boxes: the contest number's text,
// the RSV list file and a call dropped as text.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace sstv {

// The contest number as the box shows it: at least three digits.
QString ContestNoText(int value);

// What the RSV list takes of a line: the line trimmed, then its first three
// characters trimmed.
QString RsvTaken(const QString& line);
// The RSV reports of the list file: each line as RsvTaken takes it; blank
// results are skipped.
QStringList RsvEntries(const QByteArray& file);

// Text dropped on the call box: control characters removed, trimmed, at most
// 20 characters.
QString DroppedCall(const QString& text);

} // namespace sstv
