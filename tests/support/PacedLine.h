#pragma once
// One direction of a serial line: bytes put on it come out one character at a
// time, each once its wire time has passed since the one before, as a UART
// sends them. With no character time set they come out at once.
#include <QByteArray>
#include <QObject>
#include <QTimer>
#include <functional>

namespace zvtest {

// The simulated lines' clock in ns, and the rig link's clock while a simulated
// rig lives (RigSimulator puts it in place). Time passes on it only while this
// process runs: a stretch in which the machine held the process back counts
// as one short step, so the rig and the program, held back together, see the
// same time pass, and an answer is never late by the program's measure only
// because the machine was busy.
qint64 lineClockNs();
qint64 lineClockMs();

class PacedLine : public QObject {
  public:
    // deliver gets the characters whose time has come, in order.
    explicit PacedLine(std::function<void(const QByteArray&)> deliver);

    // Wire time of one character in ns; 0: no pacing. Taken at the start of each run.
    void setCharacterNs(qint64 ns) { nextCharacterNs_ = ns; }
    // The characters go on the wire at atNs on the line clock (now when
    // negative), or once the line's last character is out.
    void put(const QByteArray& bytes, qint64 atNs = -1);
    // A character is on the wire (or waiting for its turn).
    bool busy() const { return !queue_.isEmpty(); }
    // A character was on the wire at that time of the line clock.
    bool busyAt(qint64 ns) const { return runStartNs_ <= ns && ns < quietAtNs_; }
    // When the character being delivered came in, on the line clock.
    qint64 deliveredAtNs() const { return deliveredAtNs_; }

    // Every character on the line comes out now, at the time it would have crossed.
    void flush();
    // The characters on the line are lost, as on a cable pulled out.
    void drop();

  private:
    void drain();

    std::function<void(const QByteArray&)> deliver_;
    QByteArray queue_;
    QTimer timer_;
    qint64 runStartNs_ = 0;
    qint64 quietAtNs_ = 0;
    qint64 deliveredAtNs_ = 0;
    qint64 runSent_ = 0;
    qint64 characterNs_ = 0;
    qint64 nextCharacterNs_ = 0;
};

} // namespace zvtest
