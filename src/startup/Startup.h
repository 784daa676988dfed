#pragma once
// The start-up sequence: splash window, version gate, shortcut files, the
// logging link, the settings of the whole run, the version window, the windows
// of the mode used last, the DX-spot switches, the logging program's window
// link and a message left for the message line. Afterwards either the main
// window (or the SSTV window, or on a first run the settings sheet) is shown,
// or core::g.ProgramEndRequested is set and the program is to end.

namespace startup {

void StartUp();

// The PSK core library must be version 114 or newer; an older one is reported
// and the program ends.
bool PskCoreVersionAccepted(int version);

} // namespace startup
