#include "platform/os/EndSignals.h"

#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace endsignals {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
int pipeEnds[2] = {-1, -1};

// Nothing but a write is safe here; the event loop does the rest.
extern "C" void onSignal(int number) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &byte, 1);
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
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        setBlocked(false);
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &Watch::drain);
    setAction(onSignal);
    setBlocked(false);
}

Watch::~Watch() {
    if (!notifier_) return;
    setAction(SIG_DFL);
    notifier_.reset();
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void Watch::drain() {
    unsigned char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1)
        emit ended(byte);
}

} // namespace endsignals
