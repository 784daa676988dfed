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

} // namespace core
