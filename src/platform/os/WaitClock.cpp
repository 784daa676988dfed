#include "platform/os/WaitClock.h"

#include <QElapsedTimer>

namespace waitclock {
namespace {
qint64 (*testClock)() = nullptr;
} // namespace

qint64 nowMs() {
    if (testClock) return testClock();
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return clock.elapsed();
}

bool monotonic() {
    return testClock == nullptr;
}

void setForTest(qint64 (*clock)()) {
    testClock = clock;
}

} // namespace waitclock
