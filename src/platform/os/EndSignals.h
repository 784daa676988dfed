#pragma once
// The signals that ask a process to end (SIGTERM from a log-out or kill,
// SIGINT from Ctrl+C in a terminal, SIGHUP from a closed terminal), taken into
// the event loop: the handler only writes a byte into a pipe, and the event
// loop turns it into the ended() signal, where the run can end in order.
#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace endsignals {

// Called first in main(): the signals wait (pending, not lost) until the
// watch takes them, so that one sent at any moment of the start reaches the
// run's own end instead of killing the process with its lock held.
void holdUntilWatched();

class Watch : public QObject {
    Q_OBJECT
  public:
    // One watch at a time. Once it has gone the signals are still caught, and
    // dropped: the run is ending already, and ends with its own status.
    Watch();
    ~Watch() override;
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

  signals:
    // The number of the signal received.
    void ended(int signalNumber);

  private:
    void drain();

    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace endsignals
