#pragma once
// The RTTY/CW program (MMTTY.EXE) as the main window's engine: its start with
// the RTTY layout, the handshake and the settings words, its stop, and the way
// back to BPSK when it cannot be started.
namespace terminal::engines {

// Stops the PSK library when it ran, lays the main window out for RTTY, starts
// the program and sends it its settings. On return either the program runs and
// OpMode is 3, or the PSK layout is back, OpMode is 0 and the PSK library
// restarts one start-up tick later.
void StartMmtty();
// Closes the program, waiting for its exit with a limit (a program that stays
// is ended), and puts the PSK layout back; below SSTV the PSK library restarts
// one start-up tick later. OpMode is left to the caller.
void StopMmtty();
// True from the program's own end while it was the engine until BPSK has
// replaced it (held while anything waits): nothing starts it again meanwhile.
bool MmttyReplacementDue();

// Connects the program's notices to MmttyWndProc; false (and nothing changed)
// while they are connected already.
bool InstallMmttyWndProc();
// Disconnects them again.
void RestoreMmttyWndProc();

// How long the program is given to announce its window after its start, and
// to leave after the close command.
constexpr int MmttyWindowWaitMsecs = 5000;
constexpr int MmttyCloseWaitMsecs = 5000;

} // namespace terminal::engines
