#pragma once
// The receive pane's time stamp and its "RX-"/"TX-" marks, and the guard that
// starts a fresh log entry while the log entry window shows a record of the log.

namespace terminal::receive {

// Sets TimeStampText ("<< date time/UTC >>" or ".../JST >>") and TimeZoneOffsetH.
void MakeTimeStamp();
void MarkRxStart();
void MarkTxStart();

void CheckLogScrolling();

} // namespace terminal::receive
