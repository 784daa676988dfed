#pragma once
// Commands to the RTTY program, posted strictly in order through the link of
// the running program. A post the program does not take within the link's
// limit (or with no program running) is given up: the operator is told in the
// message line and the caller stops its sequence, so the system stays usable.
#include <cstdint>

namespace mmtty {
class MmttyLink;
}

namespace core {

// The link to the running RTTY program, null while none runs; the RTTY
// engine's start sets it and its stop clears it.
mmtty::MmttyLink* MmttyLinkInUse();
void SetMmttyLinkInUse(mmtty::MmttyLink* link);

// True when the program took the command.
bool PostMmttyCommand(std::int32_t code, std::int32_t value);

} // namespace core
