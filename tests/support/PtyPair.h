#pragma once
// A pseudo-terminal pair: the system opens the device path as its serial port,
// the test (or a simulated rig) reads and writes the other end.
#include <QByteArray>
#include <QString>
#include <optional>

namespace zvtest {

class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isOpen() const { return master_ >= 0; }
    // The device the system opens ("/dev/pts/N").
    QString devicePath() const { return device_; }
    // The other end: what the system wrote, and a way to answer it.
    QByteArray readAvailable(int waitMsecs = 0);
    bool write(const QByteArray& bytes);
    int masterFd() const { return master_; }
    // The line as the system set it on its end: characters per second are
    // baud / bitsPerCharacter. Nothing when the speed is not a standard rate.
    struct Line {
        int baud;
        int bitsPerCharacter; // start bit, data bits, parity and stop bits
    };
    std::optional<Line> line() const;

  private:
    int master_ = -1;
    int slave_ = -1;
    QString device_;
};

} // namespace zvtest
