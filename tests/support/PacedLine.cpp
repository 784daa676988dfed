#include "support/PacedLine.h"

#include <QElapsedTimer>
#include <algorithm>
#include <utility>

namespace zvtest {

namespace {
// The line's tick: 1 ms.
constexpr int kTickMs = 1;
// The longest step of the line clock between two readings: more than a few
// turns of the events, less than what the rig link allows an answer beyond
// its wire time.
constexpr qint64 kLongestStepNs = 10'000'000;
} // namespace

qint64 lineClockNs() {
    static QElapsedTimer real;
    static qint64 lastReal = 0;
    static qint64 running = 0;
    if (!real.isValid()) real.start();
    const qint64 now = real.nsecsElapsed();
    running += std::min(now - lastReal, kLongestStepNs);
    lastReal = now;
    return running;
}

qint64 lineClockMs() {
    return lineClockNs() / 1'000'000;
}

PacedLine::PacedLine(std::function<void(const QByteArray&)> deliver) : deliver_(std::move(deliver)) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &PacedLine::drain);
}

void PacedLine::put(const QByteArray& bytes, qint64 atNs) {
    if (bytes.isEmpty()) return;
    const qint64 at = atNs < 0 ? lineClockNs() : atNs;
    if (nextCharacterNs_ <= 0 && queue_.isEmpty()) {
        deliveredAtNs_ = at;
        return deliver_(bytes);
    }
    if (queue_.isEmpty()) {
        // A new run of characters once the line is idle: the first one starts then.
        characterNs_ = std::max<qint64>(nextCharacterNs_, 1);
        runStartNs_ = std::max(at, quietAtNs_);
        runSent_ = 0;
    }
    queue_ += bytes;
    quietAtNs_ = runStartNs_ + (runSent_ + queue_.size()) * characterNs_;
    if (!timer_.isActive()) timer_.start();
}

void PacedLine::flush() {
    while (!queue_.isEmpty()) {
        const QByteArray out = queue_.left(1);
        queue_.remove(0, 1);
        ++runSent_;
        deliveredAtNs_ = runStartNs_ + runSent_ * characterNs_;
        deliver_(out);
    }
    timer_.stop();
}

void PacedLine::drop() {
    queue_.clear();
    timer_.stop();
}

void PacedLine::drain() {
    // What came due since the last tick comes out now, each character at the
    // time it crossed: the line clock takes a late tick as a short step, so
    // this is never more than a few characters.
    const qint64 due = (lineClockNs() - runStartNs_) / characterNs_ - runSent_;
    for (qint64 i = 0; i < due && !queue_.isEmpty(); ++i) {
        // Taken off before delivery: what deliver does may put more on the line.
        const QByteArray out = queue_.left(1);
        queue_.remove(0, 1);
        ++runSent_;
        deliveredAtNs_ = runStartNs_ + runSent_ * characterNs_;
        deliver_(out);
    }
    if (queue_.isEmpty()) timer_.stop();
}

} // namespace zvtest
