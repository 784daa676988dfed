#pragma once
// Replacing a file whole: the bytes go into a temporary file beside it, which
// is flushed to disk and renamed over the old one. A crash or a full disk at
// any point leaves either the old file or the new one, never a mixture.
//
// A symbolic link is written through: its target is replaced and the link
// stays. A file that the operator has made read-only is never replaced, even
// where the rename alone would succeed (the superuser, a writable folder).
#include <QByteArray>
#include <QString>

namespace files {

// True when the file now holds exactly these bytes; on false it is unchanged.
bool replaceWhole(const QString& path, const QByteArray& bytes);

// The file a write of `path` replaces: the end of its chain of symbolic links,
// or the path itself. A dangling link gives the path it points to.
QString writeTarget(const QString& path);

// False when a file is there that may not be written: no write bit at all in
// its mode (which the superuser would otherwise ignore), or no write access
// for this user. A file that is not there yet may be written.
bool mayReplace(const QString& path);

} // namespace files
