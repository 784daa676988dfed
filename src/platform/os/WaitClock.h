#pragma once
// The clock that limits a wait on a peer (the rig's answer): milliseconds on
// a monotonic clock. A test puts the clock of its simulated peer in its place,
// so that a peer living in the test's own process is never late by the
// program's measure only because the machine held both of them back.
#include <QtGlobal>

namespace waitclock {

qint64 nowMs();
// No test clock is in place: the time read here runs as a wait's own timer
// does, so a wait whose end hangs on it needs no looking in between.
bool monotonic();
// nullptr: the monotonic clock again.
void setForTest(qint64 (*clock)());

} // namespace waitclock
