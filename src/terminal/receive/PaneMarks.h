#pragma once
// The receive pane's time stamp and its "RX-"/"TX-" marks, and the guard that
// starts a fresh log entry while the log entry window shows a record of the log.

class QLineEdit;
class TEMP_LOG;

namespace terminal::receive {

// Sets TimeStampText ("<< date time/UTC >>" or ".../JST >>") and TimeZoneOffsetH.
void MakeTimeStamp();
void MarkRxStart();
void MarkTxStart();

// Called as a QSO box changes, with every link; with the library link, while
// the log entry shows a stored record, a new page is turned for the QSO being typed. Corrections to that
// record not yet stored go only with the operator's word; a No puts back what the box that changed held
// before (the record's text, `recordBox` of the entry, when that is not known) and gives false, and the
// change is not carried into the entry.
bool CheckLogScrolling(QLineEdit* changed, QLineEdit* TEMP_LOG::*recordBox);

} // namespace terminal::receive
