#include "support/PacedLine.h"

#include <algorithm>
#include <utility>

namespace zvtest {

namespace {
// The line's tick: 1 ms.
constexpr int kTickMs = 1;
constexpr qint64 kTickNs = kTickMs * 1'000'000LL;
} // namespace

PacedLine::PacedLine(std::function<void(const QByteArray&)> deliver) : deliver_(std::move(deliver)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &PacedLine::drain);
}

void PacedLine::put(const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    if (nextCharacterNs_ <= 0 && queue_.isEmpty()) return deliver_(bytes);
    queue_ += bytes;
    if (timer_.isActive()) return;
    // A new run of characters after the line was idle: the first one starts now.
    characterNs_ = std::max<qint64>(nextCharacterNs_, 1);
    runClock_.start();
    runSent_ = 0;
    timer_.start();
}

void PacedLine::drain() {
    // A tick that comes late (a busy machine) does not pour out what was due
    // meanwhile in one piece: a line never carries more in a tick than its
    // rate allows, so whoever watches it still sees the characters cross.
    const qint64 perTick = std::max<qint64>(1, kTickNs / characterNs_);
    const qint64 due = std::min(runClock_.nsecsElapsed() / characterNs_ - runSent_, perTick);
    const qsizetype n = std::min<qsizetype>(due, queue_.size());
    if (n > 0) {
        // Taken off before delivery: what deliver does may put more on the line.
        const QByteArray out = queue_.left(n);
        queue_.remove(0, n);
        runSent_ += n;
        deliver_(out);
    }
    if (queue_.isEmpty()) timer_.stop();
}

} // namespace zvtest
