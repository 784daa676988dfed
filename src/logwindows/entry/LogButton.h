#pragma once
// The log button of the operating window and its log key.
#include "logwindows/entry/QsoDoor.h"

#include <QString>

#include <functional>

namespace logwindows {

// Library link: opens the log entry window. Window link: the first press hands
// the QSO to the logging program, the second stores it there (or drops it) and
// takes a record count larger by exactly one as stored; `nextContestNo` moves
// the contest number on after a stored QSO when serial numbers are in use.
// While a QSO is handed over, the operating window's log button is red.
void LogButtonPress(const std::function<void()>& nextContestNo);
// The log key (Ctrl+L): opens the log entry window, or hands the QSO over as
// the button does.
void LogKeyPress(const std::function<void()>& nextContestNo);
// A QSO with this call has just been stored (by either link): pressing the
// log button again for it within the minute, or while the log entry still
// shows it, asks before it is stored a second time.
void NoteStored(const QString& call);
// Every key or button that would store a QSO with this call asks so, before
// it is stored or handed over; true when it may. A yes holds until the QSO
// is stored, so that the entry opened on it does not ask again.
bool MayStoreAgain(const QString& call);
// Nothing is pending any more (stored, dropped, or the logging program's entry
// cleared): the log buttons say "LOG作成" again.
void EndHandOver();

} // namespace logwindows
