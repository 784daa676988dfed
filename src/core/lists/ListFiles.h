#pragma once
// The pick lists and stock texts kept as files in the program folder, one
// entry a line, Shift-JIS with CR LF: the reports offered beside the RST box
// (RSTmenu.DAT) and the SSTV window's RSV box (RSVmenu.DAT), the extra mode
// names of the log entry (otherMODE.DAT), the title editor's favourite fonts
// (Font.DAT) and stock texts (MACmenu.DAT).
//
// A list is written back only with what the operator changed: every line he
// left as it was shown keeps its bytes and its line end, whatever they are
// (a character written in another form, a byte no character stands for, an
// LF alone); a line he did not see (a blank one the list leaves out) stays
// where it was. Lines are split as the settings files' are, at CR LF, LF or
// a lone CR.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace core {

// The lines of a list file as they stand.
QStringList ListFileLines(const QByteArray& file);
// The reports of RSTmenu.DAT: of each line only its first three characters
// count, blanks trimmed after the cut; a line that leaves nothing is skipped.
QStringList RstMenuEntries(const QByteArray& file);
// The mode names of otherMODE.DAT: each line trimmed, empty ones skipped.
QStringList OtherModeEntries(const QByteArray& file);

// How a list or its editor shows a line of the file: the text shown, or
// nothing for a line it leaves out.
using ShownLine = std::optional<QString> (*)(const QString& line);
// Every line but an empty one, as it stands (the stock texts).
std::optional<QString> ShownUnlessEmpty(const QString& line);
// Every line but one of blanks only, as it stands (the favourite fonts).
std::optional<QString> ShownUnlessBlank(const QString& line);
// Every line trimmed, but one left empty (the stock texts as one text).
std::optional<QString> ShownTrimmed(const QString& line);
// A report line whole, without the blanks at its end (which the list never
// reaches), so that a line longer than the list takes is not cut by being
// edited; a line left empty is left out.
std::optional<QString> ShownReport(const QString& line);
// A mode name without the blanks around it; left out when nothing is left.
std::optional<QString> ShownMode(const QString& line);

// The lines of the file as the list or its editor shows them.
QStringList ShownListLines(const QByteArray& file, ShownLine shown);

// The file after the operator's edit of the lines shown. Edited lines that
// are lines of the file as shown keep the file's bytes, in order (the longest
// run of them that keeps its order); the others are written in the file's
// encoding and end as the file's lines end (CR LF for a new file). A line
// left out of the list takes an edited line left out the same way in its
// place, and stays otherwise.
struct KeptList {
    QByteArray bytes;
    // For each edited line: true when it is a line of the file, kept.
    QList<bool> kept;
};
KeptList KeptListBytes(const QByteArray& file, const QStringList& edited, ShownLine shown);

// A list file larger than a list shows within a moment is refused whole, as
// the viewer refuses a file: nothing of it is shown, and it is never written
// over with an edit of nothing.
constexpr qint64 kLargestListFile = 4LL * 1024 * 1024;
constexpr qsizetype kMostListLines = 50000;
enum class ListFileRead { Read, Missing, Unreadable, TooLarge };
// Reads the list file whole into bytes (empty unless Read); a file too large
// is said to the operator.
ListFileRead ReadListFileBytes(const QString& path, QByteArray& bytes);
// The operator is told that the list file is too large to read (a box of its
// own, apart from the reading, which needs no window).
void SayListFileTooLarge(const QString& path);

// Writes the edited list to the file with KeptListBytes. A file whose bytes
// would stay the same is not written at all (a missing one is); false when
// it could not be read or written.
bool StoreListFile(const QString& path, const QStringList& edited, ShownLine shown);

} // namespace core
