#include "platform/os/EndSignals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace endsignals {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int readEnd = -1;
// -1 once the watch has gone: a signal then is taken and dropped.
volatile sig_atomic_t writeEnd = -1;

// Nothing but a write is safe here; the event loop does the rest.
extern "C" void onSignal(int number) {
    const int fd = writeEnd;
    if (fd < 0) return;
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    errno = saved;
}

void setAction(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : kSignals)
        ::sigaction(s, &action, nullptr);
}

void setBlocked(bool blocked) {
    sigset_t set;
    sigemptyset(&set);
    for (const int s : kSignals)
        sigaddset(&set, s);
    ::pthread_sigmask(blocked ? SIG_BLOCK : SIG_UNBLOCK, &set, nullptr);
}

} // namespace

void holdUntilWatched() {
    setBlocked(true);
}

Watch::Watch() {
    int ends[2] = {-1, -1};
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        setBlocked(false);
        return;
    }
    readEnd = ends[0];
    writeEnd = ends[1];
    notifier_ = std::make_unique<QSocketNotifier>(readEnd, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &Watch::drain);
    setAction(onSignal);
    setBlocked(false);
}

// The handler stays: a signal during the rest of the teardown, the run
// already ending, must not kill it with the default action.
Watch::~Watch() {
    if (!notifier_) return;
    notifier_.reset();
    const int fd = writeEnd;
    writeEnd = -1;
    ::close(fd);
    ::close(readEnd);
    readEnd = -1;
}

void Watch::drain() {
    unsigned char byte = 0;
    while (::read(readEnd, &byte, 1) == 1)
        emit ended(byte);
}

} // namespace endsignals
