#pragma once
// Windows profile (INI) files, with the behaviour the configuration store and
// the rest of the system rely on:
// - the file is Shift-JIS with CR LF; a file written by an editor (blank lines,
//   ";" comments, spaces around "=", LF only) reads the same;
// - section and key names compare without regard to case;
// - a value is the text after the first "=", with blanks around it removed and
//   one pair of enclosing double quotes dropped;
// - a missing file, section or key gives the default; a read never creates a file;
// - a write keeps every other line as it stands and replaces the file through a
//   temporary file and a rename, so an interrupted write leaves the old file whole.
#include <QString>

namespace profile {

QString getString(const QString& section, const QString& key, const QString& defaultValue,
                  const QString& filePath);

// True when the file now holds the value. On failure the file is unchanged.
bool writeString(const QString& section, const QString& key, const QString& value, const QString& filePath);

} // namespace profile
