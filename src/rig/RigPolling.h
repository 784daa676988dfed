#pragma once
// Reading the rig: by the poll timer or once, with the operator's QSY.

namespace rig {

void RigStartPolling();
void RigStopPolling();
// One tick of the poll timer.
void RigPollTick();
void RigReadStatus();

} // namespace rig
