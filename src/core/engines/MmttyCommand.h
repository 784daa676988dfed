#pragma once
// The RTTY/CW program of the run, and the one way commands are posted to it.
#include "platform/mmtty/MmttyLink.h"

#include <QString>

namespace core {

// The link to the program; the RTTY engine's start and stop drive it.
mmtty::MmttyLink& MmttyProgram();

// Posts one command, repeating a refused post with pending events run in
// between until the program takes it; false when the program is gone or did
// not take it within the link's limit. The operator is then told in the
// message line, and the caller stops its sequence, so the system stays usable.
bool PostMmttyCommand(std::int32_t code, std::int32_t value);

// Asked as the program reports that it transmits: false for a transmission
// a stop dropped (Esc, or a program that did not take it within a few
// seconds, which is said); its late report is not taken.
bool MmttyStartWanted();
// A start posted to the program that it has not reported yet, and no stop
// since: the operator's second F12 ends it (posting the stop) as it ends one
// held on the rig's line. True when there was one.
bool MmttyStartPending();
bool EndPendingMmttyStart();
// The program ended or started anew: it owes no report.
void ForgetMmttyStarts();

// The message-line text when the program does not take a command: what was
// not done, in the operator's words.
QString MmttyGiveUpText(std::int32_t code, std::int32_t value);

} // namespace core
