#pragma once
// Small routines several subsystems call: the receive-pane time stamp and the
// "RX-"/"TX-" marks, the search for a file in one folder, and the guard that
// starts a fresh log entry while the log entry window shows a record of the log.
#include <QDateTime>
#include <QString>

namespace core {

// Sets TimeStampText ("<< date time/UTC >>" or ".../JST >>") and TimeZoneOffsetH.
void MakeTimeStamp();
// The date and time as the station's PC shows them: "2004/12/31 20:00:00", and
// the date alone when the time is midnight.
QString GeneralDateTime(const QDateTime& t);

void MarkRxStart();
void MarkTxStart();

// The full path of FileName in SearchFolder ("MMTTY.EXE" in "C:\MMTTY"), or the
// empty text. The folder text may list several folders separated by ";". Names
// compare without regard to case, as on the station's file system.
QString FindFileOnPath(const QString& fileName);

void CheckLogScrolling();

} // namespace core
