#pragma once
// A transceiver on the far end of a pseudo-terminal: it answers the CAT
// commands of one rig family as such a rig would (its dial, mode, clarifier and
// PTT, replies of the right length; an ICOM rig echoes every frame on the bus),
// and it obeys frequency, mode and PTT commands. Its line runs at the speed
// the system set on it, in both directions, as a real one does: a command is
// heard only once its last character has crossed, an answer takes its time to
// come back, and a command heard while the rig is answering is counted (on an
// ICOM CI-V bus the two collide). Tests can silence it, hold its answers until
// they release them, or let them arrive in pieces.
#include "support/PacedLine.h"
#include "support/PtyPair.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

namespace zvtest {

class RigSimulator : public QObject {
    Q_OBJECT
  public:
    // family: the RIG_TYPE text ("ICOM", "KENWOOD", "FT1000MP", ...).
    explicit RigSimulator(const QString& family, unsigned char icomAddress = 0x58);
    ~RigSimulator() override;

    bool isOpen() const { return pty_.isOpen(); }
    // The device the system opens: a name of this rig's own, linked to its
    // pseudo-terminal. The serial layer locks a port by its name, and a
    // pseudo-terminal's number is soon handed out again, to a test run
    // beside this one too: a name no other run has leaves no lock to meet.
    QString devicePath() const { return link_.isEmpty() ? pty_.devicePath() : link_; }
    // The pseudo-terminal itself ("/dev/pts/N").
    QString ptyPath() const { return pty_.devicePath(); }
    // The line as the system last set it on its end of the port.
    std::optional<PtyPair::Line> line() const { return pty_.line(); }
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
    // On: characters cross the line one at a time in both directions, each in
    // the wire time of a character at the rate and framing the system set.
    // Off: at once.
    bool pacedAtLineRate = true;
    // Characters still crossing the line, either way, and from the rig alone.
    bool lineBusy() const { return toRig_.busy() || fromRig_.busy(); }
    bool sending() const { return fromRig_.busy(); }

    // A place in what the system writes to the rig: the bytes written so far,
    // those still waiting on the line read in first. A command heard once
    // heardSoFar() is past the place by its length was written after it.
    qint64 markLine();
    // Everything the program wrote so far is heard now, as a pulled cable would
    // have carried it (the walk reads the key the rig keeps).
    void hearAllWritten();
    qint64 heardSoFar() const { return heard_; }

    // The cable pulled at the rig's end while the program's serial device
    // stays open, as a CI-V jack or CAT plug pulled at the rig: what the
    // program writes from then on goes nowhere, the rig sends nothing, and
    // what was still crossing from the rig is lost. The rig keeps its dial,
    // mode and key. What the program wrote before the pull has been heard.
    void pullCable();
    // This rig back on the line (another rig put there in its place gone).
    void plugCableBack();
    bool cableIn() const { return cableIn_; }
    // The line clock no longer kept running from the simulator's own timer,
    // for a test that counts the program's own wake-ups.
    void stopClockKeeper() { clockKeeper_.stop(); }
    // Another rig on this rig's line in its place, as the cable at the rig's
    // end put on it: it hears what the program writes and answers on this
    // line as its family does (an ICOM rig on its CI-V bus echoes every byte);
    // this rig hears nothing meanwhile, as with its cable pulled.
    RigSimulator& putOtherRigOnLine(const QString& family);
    // Each answer as the line brings it back instead (half of it, noise,
    // another family's answer); none: whole.
    std::function<QByteArray(const QByteArray&)> spoilAnswers;

    // Every byte written to the rig (markers too), and the commands as the rig
    // understood them (markers not).
    QByteArray received;
    QList<QByteArray> commands;
    // Mode values set by mode commands, in order (raw code as sent).
    QList<QByteArray> modeCommands;
    // Answers that carry a reading (frequency or mode), as the rig sent them.
    int readingsAnswered = 0;
    // Commands of which a character arrived while the rig was sending.
    int overlaps = 0;

    // A command of the rig's family that no rig knows: the simulator takes it
    // without echo or answer and only counts it. Written after other commands,
    // its arrival shows that the rig has handled all of them.
    QByteArray marker() const;
    int markersTaken = 0;

  signals:
    void commandHandled(const QByteArray& command);
    // A command came in while the rig was still sending.
    void overlapHeard(const QByteArray& command);
    // A PTT command was heard: keyed or released by it.
    void pttHeard(bool on);

  private:
    void onReadable();
    void takeFromLine(const QByteArray& bytes);
    // Onto the line this rig is on.
    void lineOut(const QByteArray& bytes);
    void hear(const QByteArray& bytes);
    // Takes the first n characters heard; true when one of them came in while the rig was sending.
    bool consume(qsizetype n);
    void taken(const QByteArray& command, bool overlapped);
    qint64 characterNs() const;
    void takeYaesu();
    void takeIcom();
    void takeText(char terminator);
    void handleYaesu(const QByteArray& c);
    void handleIcom(const QByteArray& frame);
    void handleKenwood(const QString& c);
    void handleJst(const QString& c);
    bool takeMarker(const QByteArray& command);
    enum Carries { Reading, Acknowledgement };
    void answer(const QByteArray& bytes, Carries carries = Reading);
    void deliver(const QByteArray& bytes);
    void send(const QByteArray& bytes);
    void setPtt(bool on);

    QByteArray yaesuStatus() const;
    QByteArray icomFrame(const QByteArray& body) const;

    PtyPair pty_;
    bool cableIn_ = true;
    std::unique_ptr<RigSimulator> other_;
    // The rig whose line this one is on, in its place; null: its own.
    RigSimulator* host_ = nullptr;
    QTemporaryDir linkFolder_;
    QString link_;
    QString family_;
    unsigned char address_;
    QByteArray pending_;
    QList<QByteArray> held_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer clockKeeper_;
    PacedLine toRig_;
    PacedLine fromRig_;
    // Characters heard so far, the first of pending_ by that count, and those
    // that came in while the rig was sending.
    qint64 heard_ = 0;
    qint64 consumed_ = 0;
    QList<qint64> heardWhileSending_;
    // While a command is being heard: when its characters came in, on the line clock.
    qint64 hearingAtNs_ = -1;
};

// The rig link's shared values as the program starts with them, for a test's
// fresh start: the program itself cannot reset the key's state.
void freshRigGlobals();

// Points the rig link's settings at the simulator (its family and device, 4800
// baud, two stop bits, 10 ms between commands, ICOM address 58); the caller
// opens the port.
void pointRigLinkAt(const RigSimulator& sim);
// Points the rig link at the simulator and opens its port without polling, so
// that only what the system itself sends reaches the rig; true when it opened.
bool openUnpolledRigLink(const RigSimulator& sim);

// Writes the simulator's marker through the rig link's open port and waits until
// the rig has taken it: the rig takes what it hears in the order written, so by
// then it has handled every command the system wrote before.
bool waitForRigToCatchUp(RigSimulator& sim);

} // namespace zvtest
