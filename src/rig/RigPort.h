#pragma once
// The rig's serial port: opening and closing it with the configured line
// settings, pacing commands, and handing every reply to its family's decoder.
#include "rig/CatFrames.h"

#include <functional>

class SerialComm;
class QTimer;

namespace rig {

// The port and the poll timer of the rig link.
SerialComm& port();
QTimer& pollTimer();

void RigOpenPort();
void RigClosePort();
// Waits RigInterval ms while pending events run.
void RigDelay();
// Empty both buffers and write RigOutBuffer (paced: RigDelay before and after);
// false when the write failed.
bool RigSend();
bool RigSendWait();
// The receive event of the port.
void OnRigComm(int eventCode);

// Sends each command of a sequence, paced as it says; false at the first failed write.
bool sendSequence(const CatSequence& commands);
// After a command whose reply is decoded inside the wait: waits until done()
// holds or the reply (and the command) have had time to cross the wire at the
// port's speed, plus a margin; never less than RigInterval.
void awaitReply(int bytesOnWire, const std::function<bool()>& done);
// True while a paced send or a reply wait is running (pending events run inside it).
bool exchangeInProgress();
// Bumped every time a reply is handed to a decoder.
int repliesHandled();

} // namespace rig
