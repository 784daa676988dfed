#pragma once
// The main window's handler of the RTTY/CW program's notices: received text,
// transmit and receive state (PTT by CAT, time stamps, the repeat cycle), mark,
// space and baud, the switch and view words with the indicators, the scope,
// spectrum and level, and FIG.
#include <cstdint>

namespace terminal::engines {

void MmttyWndProc(std::int32_t code, std::int32_t value);

// The RTTY program's transmission is over for the system: the rig keyed for
// it is released and the flag that says it sends clears.
void EndMmttyTx();

// The rig is being keyed for an over the program has begun: an end of the
// program meanwhile drops that over.
bool MmttyOverBeingKeyed();

} // namespace terminal::engines
