#pragma once
// Windows profile (INI) files, with the behaviour the configuration store and
// the rest of the system rely on:
// - the file is Shift-JIS with CR LF, or UTF-8 or UTF-16 (either byte order) when it starts with
//   that byte-order mark; a file written by an editor (blank lines, ";"
//   comments, blanks around "=", LF only) reads the same (see ProfileParse.h);
// - section and key names compare without regard to case; where a section
//   appears twice, its first block is the section;
// - a value is the text after the first "=", with blanks and tabs around it
//   removed and one pair of enclosing double or single quotes dropped;
// - a missing file, section or key gives the default; a read never creates a file;
// - a write changes only the line it writes (or adds) and keeps every other
//   byte, in whatever encoding; writing the value a key already reads back as
//   leaves its line as it is, even where the line holds bytes that the text
//   cannot carry back (a broken Shift-JIS character); otherwise the file is
//   replaced through a temporary file and a rename (see AtomicFile.h), so an
//   interrupted write leaves the old file whole.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace profile {

struct Edit {
    QString section;
    QString key;
    QString value;
};

// The file's bytes; empty when there is no file; nothing when a file is there
// but cannot be read (a write must not replace what it could not read).
std::optional<QByteArray> readFile(const QString& filePath);

// The value of the key in the bytes of a file, or the default.
QString stringIn(const QByteArray& bytes, const QString& section, const QString& key,
                 const QString& defaultValue);
// The bytes with the edit made; the same bytes when the key already reads back as the value.
QByteArray edited(const QByteArray& bytes, const Edit& edit);
// The characters of the text (each once, in order) that a file of these bytes
// would give back as other characters: in Shift-JIS those cp932::uncarried
// names; none in UTF-8 or UTF-16. A name of a file counts only as the same
// code points (cp932::uncarriedInName).
enum class Reading { AsText, AsName };
QString uncarried(const QByteArray& bytes, const QString& text, Reading reading = Reading::AsText);

QString getString(const QString& section, const QString& key, const QString& defaultValue,
                  const QString& filePath);

// True when the file now holds the value. On failure (among them a file that
// is there but cannot be read, or is read-only) the file is unchanged.
bool writeString(const QString& section, const QString& key, const QString& value, const QString& filePath);
// Every edit in order, in one write of the file (none when nothing changes).
bool writeStrings(const QList<Edit>& edits, const QString& filePath);

} // namespace profile
