#pragma once
// A transceiver on the far end of a pseudo-terminal: it answers the CAT
// commands of one rig family as such a rig would (its dial, mode, clarifier and
// PTT, replies of the right length; an ICOM rig echoes every frame on the bus),
// and it obeys frequency, mode and PTT commands. Tests can silence it, hold
// its answers until they release them, let them arrive in pieces, or have its
// bytes cross the line at the speed the system set on it.
#include "support/PtyPair.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>

namespace zvtest {

class RigSimulator : public QObject {
    Q_OBJECT
  public:
    // family: the RIG_TYPE text ("ICOM", "KENWOOD", "FT1000MP", ...).
    explicit RigSimulator(const QString& family, unsigned char icomAddress = 0x58);

    bool isOpen() const { return pty_.isOpen(); }
    QString devicePath() const { return pty_.devicePath(); }
    QString family() const { return family_; }

    // The rig's state. The mode is the value its status reply carries
    // (a byte for the binary families, the mode digit for KENWOOD and JST-245).
    qint64 dialHz = 14070000;
    int mode = 1;
    // Clarifier (RIT) offset in Hz and whether it is on.
    int clarifierHz = 0;
    bool clarifierOn = false;
    bool ptt = false;
    int pttOnCount = 0;
    int pttOffCount = 0;

    // Off: the rig hears but does not answer.
    bool answering = true;
    // On: answers (not the ICOM echo) are kept back until releaseAnswers().
    bool holdingAnswers = false;
    // Sends the answers kept back so far, in order; later ones are kept back
    // again while holdingAnswers stays on.
    void releaseAnswers();
    // Answers arrive in two pieces, the second after this many ms (0: whole).
    int splitDelayMs = 0;
    // On: everything the rig sends (echo and answers) leaves one character at a
    // time, each after the wire time of a character at the line's rate and
    // framing as the system set them, as on a real serial line. Off: at once.
    bool pacedAtLineRate = false;

    // Every byte written to the rig (markers too), and the commands as the rig
    // understood them (markers not).
    QByteArray received;
    QList<QByteArray> commands;
    // Mode values set by mode commands, in order (raw code as sent).
    QList<QByteArray> modeCommands;

    // A command of the rig's family that no rig knows: the simulator takes it
    // without echo or answer and only counts it. Written after other commands,
    // its arrival shows that the rig has handled all of them.
    QByteArray marker() const;
    int markersTaken = 0;

  signals:
    void commandHandled(const QByteArray& command);

  private:
    void onReadable();
    void takeYaesu();
    void takeIcom();
    void takeText(char terminator);
    void handleYaesu(const QByteArray& c);
    void handleIcom(const QByteArray& frame);
    void handleKenwood(const QString& c);
    void handleJst(const QString& c);
    bool takeMarker(const QByteArray& command);
    void answer(const QByteArray& bytes);
    void deliver(const QByteArray& bytes);
    void send(const QByteArray& bytes);
    void setPtt(bool on);
    void drainLine();

    QByteArray yaesuStatus() const;
    QByteArray icomFrame(const QByteArray& body) const;

    PtyPair pty_;
    QString family_;
    unsigned char address_;
    QByteArray pending_;
    QList<QByteArray> held_;
    std::unique_ptr<QSocketNotifier> notifier_;
    // Bytes waiting for their time on the line, and the run of bytes being sent.
    QByteArray onTheLine_;
    QTimer lineTimer_;
    QElapsedTimer burstClock_;
    qint64 burstSent_ = 0;
    qint64 characterNs_ = 0;
};

// Points the rig link's settings at the simulator (its family and device, 4800
// baud, two stop bits, 10 ms between commands, ICOM address 58); the caller
// opens the port.
void pointRigLinkAt(const RigSimulator& sim);

// Writes the simulator's marker through the rig link's open port and waits until
// the rig has taken it: the rig takes what it hears in the order written, so by
// then it has handled every command the system wrote before.
bool waitForRigToCatchUp(RigSimulator& sim);

} // namespace zvtest
