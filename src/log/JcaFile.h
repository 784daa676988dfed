#pragma once
// The award program's achievement file "実績.txt": Shift-JIS text, one entry of
// four comma-separated fields a line, text fields possibly quoted. Field 1 is a
// call-sign suffix, field 2 empty while never worked, field 4 "未" while the
// worked suffix is not confirmed.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace logbook {

// The fields of one line: quotes taken off, unquoted fields trimmed.
QStringList jcaFields(const QByteArray& line);

// The JCA state of a suffix: 1 first JCA, 2 worked not confirmed, 3 confirmed,
// 0 when no entry has it. Lines of fewer than four fields are passed over; bytes
// that are no Shift-JIS spoil only their own field.
int jcaStateOf(const QByteArray& file, const QString& suffix);

} // namespace logbook
