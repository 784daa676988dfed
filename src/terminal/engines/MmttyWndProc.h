#pragma once
// The main window's handler of the RTTY/CW program's notices: received text,
// transmit and receive state (PTT by CAT, time stamps, the repeat cycle), mark,
// space and baud, the switch and view words with the indicators, the scope,
// spectrum and level, and FIG.
#include <cstdint>

namespace terminal::engines {

void MmttyWndProc(std::int32_t code, std::int32_t value);

} // namespace terminal::engines
