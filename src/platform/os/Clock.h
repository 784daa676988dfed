#pragma once
// The one clock of the system. The station's PC clock is taken to run on
// Japanese standard time, which is UTC + 9 h all year round. Tests set the time.
#include <QDateTime>

namespace sysclock {

QDateTime utcNow();
// The PC's local time: JST, as a time without zone (what the operator sees).
QDateTime jstNow();
QDateTime utcToJst(const QDateTime& utc);
QDateTime jstToUtc(const QDateTime& jst);

// Fixes the clock at the given UTC time until reset; advance moves it on.
void setUtcForTest(const QDateTime& utc);
void advanceForTest(qint64 msecs);
void resetForTest();

} // namespace sysclock
