#pragma once
// Starting, opening and stamping the log entry of the current QSO.
#include <QStringList>

namespace logwindows {

// The band box's fixed list, MHz, index 0 to 14.
inline const QStringList kBands = {
    QStringLiteral("1.9"),  QStringLiteral("3.5"),  QStringLiteral("7"),    QStringLiteral("10"),
    QStringLiteral("14"),   QStringLiteral("18"),   QStringLiteral("21"),   QStringLiteral("24"),
    QStringLiteral("28"),   QStringLiteral("50"),   QStringLiteral("144"),  QStringLiteral("430"),
    QStringLiteral("1200"), QStringLiteral("2400"), QStringLiteral("5600"),
};
// The band of a stored index text; the first band for an index that is no band.
QString bandOfIndex(const QString& indexText);
// What the band box takes, by key or by paste: a digit or a point.
bool isBandChar(QChar c);
// The text with only what the band box takes.
QString bandBoxText(const QString& text);

// Prepares the log entry window for a fresh entry of the current QSO and
// leaves edit mode (LogEditMode = 0). Neither shows the window nor fills the call.
void StartLogEntry();
// The log button: opens the log entry window for a new record of the QSO in
// the main window's (or the SSTV window's) boxes. Library link only.
void OpenLogEntry();
// The entry's mode box follows a mode change on a new page only: a record
// read from the log (also one stored and shown again) keeps the mode it was
// stored with until the operator types another.
void FollowModeOnNewPage(const QString& mode);
// The QSL mark of new records, changed on the settings sheet. A new record on
// show that still holds the mark before takes it; a record read from the log
// keeps its own, and so does a mark the operator typed.
void ChangeQslMark(const QString& mark);
// Date and time of the entry in the zone the operator chose.
void SetQsoTime();
// The open log entry window holds typing that is not stored: a new entry with
// a call, or corrections to a stored record. Dropping it asks the operator first.
bool EntryUnsaved();
// Asks before typing that is not stored goes (a new QSO or corrections to a
// stored record); true when the operator agrees.
bool AgreesToDropUnsaved();
// Says that the stored record on show gave way to a new page; the word goes
// with the entry, once it is stored or closed.
void SayNewPage();
void EndNewPageNotice();
// Blanks every field of CurQso.
void ClearHamlogRecord();

// Keeps the log entry window's place (not while minimised or maximised).
void SaveLogWindowPos();
// Brings the main window and the multi-channel window back from their icons.
void BringWindowToFront();
// One reading of the rig's frequency and mode; the reply fills the band box.
void ReadRigOnce();

// Closes the log and opens it again; the open's result.
int ReopenLog();
void CloseLog();
// Counts the log (opened again for it): the count and the next record's
// number; false, with the numbers as they were, when the log does not open.
bool ReadRecordCount();
// The two library versions for the message when the log does not open.
QString LibraryVersionsText();

} // namespace logwindows
