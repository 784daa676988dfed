#pragma once
// Replacing a file whole: the bytes go into a temporary file beside it, which
// is flushed to disk and renamed over the old one. A crash or a full disk at
// any point leaves either the old file or the new one, never a mixture.
#include <QByteArray>
#include <QString>

namespace files {

// True when the file now holds exactly these bytes; on false it is unchanged.
bool replaceWhole(const QString& path, const QByteArray& bytes);

} // namespace files
