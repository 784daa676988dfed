#include "IdleCount.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <sys/resource.h>

namespace bench {

namespace {

IdleCounts now() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    // Waits the code chose: switches forced on it by other work are the machine's.
    return {double(u.ru_nvcsw), 0, seconds(u.ru_utime) + seconds(u.ru_stime)};
}

} // namespace

IdleCounter::IdleCounter() : start_(now()) {
    QCoreApplication::instance()->installEventFilter(this);
}

IdleCounter::~IdleCounter() {
    QCoreApplication::instance()->removeEventFilter(this);
}

IdleCounts IdleCounter::counts() const {
    const IdleCounts n = now();
    return {n.wakeUps - start_.wakeUps, double(timerEvents_), n.cpuSeconds - start_.cpuSeconds,
            double(quickTimerEvents_)};
}

bool IdleCounter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Timer) {
        ++timerEvents_;
        const auto* timer = qobject_cast<const QTimer*>(watched);
        if (timer && timer->interval() < 50) ++quickTimerEvents_;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace bench
