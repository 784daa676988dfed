#pragma once
// What the program decides to do while the operator does nothing, counted
// rather than timed, so that a busy machine changes no verdict: how often its
// threads wake from a wait (the system's count of the times they gave the
// processor up themselves; being put aside for other work does not count),
// and the timer events its event loop is given. Its processor time is kept
// beside them for the record: that one depends on the machine.
#include <QObject>

namespace bench {

struct IdleCounts {
    double wakeUps = 0;
    double timerEvents = 0;
    double cpuSeconds = 0;
    // Of the timer events, those of timers quicker than the display's ticks
    // (under 50 ms): a wait's looks in between, which an idle program needs none of.
    double quickTimerEvents = 0;
};

class IdleCounter : public QObject {
  public:
    // Counts from now on.
    IdleCounter();
    ~IdleCounter() override;
    // What was counted since it was made.
    IdleCounts counts() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    IdleCounts start_;
    qint64 timerEvents_ = 0;
    qint64 quickTimerEvents_ = 0;
};

} // namespace bench
