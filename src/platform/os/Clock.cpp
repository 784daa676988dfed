#include "platform/os/Clock.h"

#include <optional>

namespace sysclock {
namespace {
std::optional<QDateTime> fixedUtc;
constexpr qint64 kJstOffsetSecs = 9 * 3600;
} // namespace

QDateTime utcNow() {
    return fixedUtc ? *fixedUtc : QDateTime::currentDateTimeUtc();
}

QDateTime utcToJst(const QDateTime& utc) {
    const QDateTime shifted = utc.toUTC().addSecs(kJstOffsetSecs);
    return QDateTime(shifted.date(), shifted.time()); // local wall time, no zone
}

QDateTime jstToUtc(const QDateTime& jst) {
    QDateTime asUtc(jst.date(), jst.time(), Qt::UTC);
    return asUtc.addSecs(-kJstOffsetSecs);
}

QDateTime jstNow() {
    return utcToJst(utcNow());
}

void setUtcForTest(const QDateTime& utc) {
    fixedUtc = utc.toUTC();
}
void advanceForTest(qint64 msecs) {
    if (fixedUtc) *fixedUtc = fixedUtc->addMSecs(msecs);
}
void resetForTest() {
    fixedUtc.reset();
}

} // namespace sysclock
