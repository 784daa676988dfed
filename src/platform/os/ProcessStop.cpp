#include "platform/os/ProcessStop.h"

#include "platform/forms/waits/Waits.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QFile>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <sys/types.h>

namespace process {
namespace {

constexpr int kPollMs = 20;

// Waited for through the owner of waits: the windows are drawn and answer
// meanwhile. The end asked for meanwhile is held until the program has ended
// or the limit has passed, so that it is not killed before its time.
bool endedWithin(qint64 pid, int waitMs) {
    QDeadlineTimer deadline(waitMs);
    // Nothing tells the windows' thread that the process has ended: it looks now and then.
    QTimer look;
    look.start(kPollMs);
    while (running(pid) && !deadline.hasExpired())
        forms::waitUntil([pid] { return !running(pid); }, int(deadline.remainingTime()));
    return !running(pid);
}

} // namespace

bool running(qint64 pid) {
    if (pid <= 0) return false;
    if (::kill(pid_t(pid), 0) != 0 && errno != EPERM) return false;
    // A program that has ended stays until its parent (here the first process,
    // for a program started detached) takes its exit, which may be seconds later.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(')') + 2;
    return state <= 1 || state >= line.size() || (line[state] != 'Z' && line[state] != 'X');
}

bool stop(qint64 pid, int waitMs) {
    if (!running(pid)) return true;
    ::kill(pid_t(pid), SIGTERM);
    if (endedWithin(pid, waitMs)) return true;
    ::kill(pid_t(pid), SIGKILL);
    return endedWithin(pid, waitMs);
}

void askToEnd(qint64 pid) {
    if (running(pid)) ::kill(pid_t(pid), SIGTERM);
}

} // namespace process
