#pragma once
// The rig's serial port: opening and closing it with the configured line
// settings, pacing commands, and handing every reply to its family's decoder.
#include "rig/CatFrames.h"
#include "rig/KeyState.h"

#include <QVariant>

class SerialComm;
class QTimer;

namespace rig {

// The port and the poll timer of the rig link.
SerialComm& port();
QTimer& pollTimer();

void RigOpenPort();
// Opens the port again after a failed opening, or for a release owed to its
// rig: not once the settings name no port or the end has taken the windows
// away; a failure already said is not said again.
void RigOpenPortAgain();
void RigClosePort();
// The port lent to another program (the suspend, an outside program): closed
// as RigClosePort closes it. Until a caller opens it again nothing polls, and
// a release owed meanwhile goes out on a port opened for it alone, closed
// again at once.
void RigLendPort();
// Waits RigInterval ms while pending events run.
void RigDelay();
// The pause a stored interval asks for, in ms: none for a text that is no
// positive number, at most `longest`.
int RigIntervalMsOf(const QString& stored, int longest);
// Once the rig has answered our last command (awaitQuietLine), empty the
// receive buffer and write RigOutBuffer (paced: RigDelay before and after);
// false when the write failed.
bool RigSend();
bool RigSendWait();
// The receive event of the port.
void OnRigComm(int eventCode);
// The port's line hung up: said once, and the last reading no longer shown
// as the rig's.
void RigLineLost();
// True when the port is usable: a line that hung up is opened again on the
// same device with the same settings; false while it cannot be. A release
// owed to it goes first; forTheOver: an over keyed on it before it went is
// keyed again (false where the caller keys or releases it itself).
bool RigLineBack(bool forTheOver = true);
// Says the lost line again while it is lost, or while a release is owed to
// it (a stop may have hidden the message line, another line may be open).
void RigSayLineLost();
// The loss of a line whose owed release the operator gave up, said until
// another message takes the line (no opening ends it).
void RigSayLossGivenUp(const KeyLine& keyed);
// A release just went out on a line that answers: what comes back from now
// on tells whether the rig heard it.
void watchRelease();
// Takes what the line shows of an owed release: heard (the keyed rig's own
// whole answer, not an echo, half a frame, another family's answer or noise),
// the rig silent (its answer's time passed),
// or the rig answering again while the release is owed (it goes out again).
// windowClosed: the caller has just waited for the line to go quiet.
void hearRelease(bool windowClosed = false);
// Before the port closes: a release still unheard is given its answer's time,
// and on a line that is read one reading, to be heard; otherwise it stays owed.
void settleRelease();
// The line answers whatever it is told: an ICOM rig acknowledges every
// command, a rig the program reads (polled, or at each change between receive
// and transmit) answers every reading.
bool lineAnswers();
// The line as the settings name it now.
KeyLine RigLineNamed();
// The one writer of the key's state: feeds the event to keyStep, keeps what
// it gives, and returns the action for the caller to perform.
KeyAction keyEvent(const KeyEvent& e);
// An engine transmits with PTT by CAT.
bool overByCat();

// Sends each command of a sequence, paced as it says, without waiting: what
// must wait for the line goes out from the line's own timer, in order, before
// anything awaitQuietLine lets out. False when the port is not open.
bool sendSequence(const CatSequence& commands);
// The line's timer: the queued commands whose turn has come go out.
void RigPumpLine();
// Nothing is queued, no answer or pause is due and no wait for the rig runs:
// a tick may write now. A tick that finds the line otherwise returns and tries at the
// next, so that no wait for the rig runs inside another.
bool lineFree();
// Waits, while pending events run, until the queued commands are out and the
// rig has sent back what it owes for our last command (decoders take it
// inside the wait) or that has had its time on the wire and a margin. Every
// write waits for this first: nothing is sent into an answer. For the
// operator's commands; a tick asks lineFree instead.
void awaitQuietLine();
// The same for a key command (PTT on or off): it waits for the answer due,
// not for the commands queued behind it, which go after it.
void awaitLineForKey();
// Writes at once, on a line that awaitQuietLine has just left quiet with no
// events run since: a key command checks what was taken meanwhile and goes
// out in the same breath. False when the write failed.
bool writeOnQuietLine(const QByteArray& command);
// What the port received, for a decoder; counted as the awaited answer.
QVariant takeInput();
// True while a paced send or a reply wait is running (pending events run inside it).
bool exchangeInProgress();
// Bumped every time a reply is handed to a decoder.
int repliesHandled();

} // namespace rig
