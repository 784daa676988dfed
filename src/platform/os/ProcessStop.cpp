#include "platform/os/ProcessStop.h"

#include <QDeadlineTimer>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <sys/types.h>

namespace process {
namespace {

constexpr int kPollMs = 20;

bool endedWithin(qint64 pid, int waitMs) {
    QDeadlineTimer deadline(waitMs);
    while (running(pid)) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(kPollMs);
    }
    return true;
}

} // namespace

bool running(qint64 pid) {
    if (pid <= 0) return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

bool stop(qint64 pid, int waitMs) {
    if (!running(pid)) return true;
    ::kill(pid_t(pid), SIGTERM);
    if (endedWithin(pid, waitMs)) return true;
    ::kill(pid_t(pid), SIGKILL);
    return endedWithin(pid, waitMs);
}

} // namespace process
