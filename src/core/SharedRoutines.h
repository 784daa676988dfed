#pragma once
// Small routines several subsystems call: the date and time as the station's
// PC shows them, and the search for a file in one folder.
#include <QDateTime>
#include <QString>

namespace core {

// The date and time as the station's PC shows them: "2004/12/31 20:00:00", and
// the date alone when the time is midnight.
QString GeneralDateTime(const QDateTime& t);

// The full path of FileName in SearchFolder ("MMTTY.EXE" in "C:\MMTTY"), or the
// empty text. The folder text may list several folders separated by ";". Names
// compare without regard to case, as on the station's file system.
QString FindFileOnPath(const QString& fileName);

// The engines' name of the PTT port: "COMn", or "NONE" while the setting is
// missing, not a number or 0 (PTT by CAT then, or none).
QByteArray PttPortName();

// An own call: "No Call" (the sheet's stand-in, any case) and an empty box are none.
bool IsOwnCall(const QString& call);
// The station's identification in Morse: "DE " and the own call; empty while
// no own call is stored (none, or the sheet's "No Call" in any case).
QString OwnCwId(const QString& userCall);
// What the CW ID list shows in its place; never sent.
QString CallPrompt();
// A CW ID text that may go on the air: it says something, and neither the
// prompt nor "No Call" stands in it.
bool CwIdSendable(const QString& text);
// Said when a CW ID is not sent: an empty entry of the CW ID list, when the
// text was that entry's (1 to 5), is named; otherwise the own call is missing.
QString CwIdRefusedText(const QString& cwId = QString(), int entry = 0);

} // namespace core
