#pragma once
// The rig link: the rig's CAT port and the poll timer for the whole run. It
// owns the port's lifetime: a rig still keyed by CAT when the link goes (the
// program ends without its shutdown sequence) is released before the port
// closes.
#include <QObject>

class SerialComm;
class QTimer;

namespace rig {

class RigLink : public QObject {
    Q_OBJECT
  public:
    RigLink();
    ~RigLink() override;

    SerialComm* const MSComm1; // the rig's CAT port
    QTimer* const Timer1;      // rig poll, 1000 ms until the settings say otherwise
    QTimer* const KeyWatch;    // 500 ms while this program holds the rig keyed by CAT
    QTimer* const PortRetry;   // 1000 ms from a failed opening of the port until it opens
    QTimer* const LinePump;    // once, when the next queued command may go out

  private:
    void releaseKeyedRig();
};

// The link installed for the run.
RigLink& link();
QTimer& keyWatch();
QTimer& portRetry();
QTimer& linePump();

} // namespace rig
