#pragma once
// The run of the program after its QApplication is made: the program folder is
// checked, a second start on the same folder ends at once, then the start-up
// sequence and the event loop. main() returns what run() returns.
#include <optional>

namespace app {

// Exit code of a run refused because its program folder cannot be used.
constexpr int kUnusableProgramFolderExit = 2;

// When the program folder cannot be used, says so (naming the folder and why)
// and gives the exit code; nothing when it can be used.
std::optional<int> refuseUnusableProgramFolder();

// Settings of the process itself, made first in main(): a write past the
// file-size limit fails like any other write (the export says so and the old
// file stays) instead of ending the program with no word.
void prepareProcess();

// A signal to end (log-out, kill, Ctrl+C), as run() takes it from the event
// loop: the run ends in order, as the window of the mode ends it, asking nothing.
void endBySignal();

int run();

} // namespace app
