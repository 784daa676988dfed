#pragma once
// One direction of a serial line: bytes put on it come out one character at a
// time, each once its wire time has passed since the one before, as a UART
// sends them. With no character time set they come out at once.
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace zvtest {

class PacedLine : public QObject {
  public:
    // deliver gets the characters whose time has come, in order.
    explicit PacedLine(std::function<void(const QByteArray&)> deliver);

    // Wire time of one character in ns; 0: no pacing. Taken at the start of each run.
    void setCharacterNs(qint64 ns) { nextCharacterNs_ = ns; }
    void put(const QByteArray& bytes);
    // A character is on the wire (or waiting for its turn).
    bool busy() const { return !queue_.isEmpty(); }

  private:
    void drain();

    std::function<void(const QByteArray&)> deliver_;
    QByteArray queue_;
    QTimer timer_;
    QElapsedTimer runClock_;
    qint64 runSent_ = 0;
    qint64 characterNs_ = 0;
    qint64 nextCharacterNs_ = 0;
};

} // namespace zvtest
