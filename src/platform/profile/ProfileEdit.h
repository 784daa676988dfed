#pragma once
// Writing one key into a profile file's bytes, in memory. The key's line is
// replaced, or a new line goes after the last line of the section's first
// block, or a new section at the end of the file; what is written is in the
// file's own encoding and ends as the file's lines end (CR LF, LF or CR; a
// rewritten line keeps its own end). Every other line keeps its bytes.
#include <QByteArray>
#include <QString>

namespace profile {

QByteArray withValue(const QByteArray& bytes, const QString& section, const QString& key,
                     const QString& value);

} // namespace profile
