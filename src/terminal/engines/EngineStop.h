#pragma once
// Stopping an engine that may be keyed, and the emergency exit (Ctrl+Alt+Z).

namespace terminal::engines {

// A transmitting engine is stopped from sending and the rig is unkeyed before
// the engine goes, so that no transmitter is left on behind it.
void UnkeyForStop();

// Ends the program at once: the engine of OpMode is released (the rig
// unkeyed first), the rig port closed and the process ended. Nothing is saved
// and no window's close handling runs.
void EmergencyExit();

} // namespace terminal::engines
