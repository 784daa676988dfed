#pragma once
// The platform's sound mixer, opened on its output- or input-devices page for
// the transmit or the receive level. It is started and left to run; when it
// cannot be started the caller goes on silently.
namespace mixer {

enum class Side { Transmit, Receive };

// The program started for the mixer (looked up on PATH) and its arguments.
inline constexpr const char* kProgram = "pavucontrol";

// True when the mixer was started.
bool open(Side side);

} // namespace mixer
