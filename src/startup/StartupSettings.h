#pragma once
// The settings that start-up reads for the whole run: the logging link, the
// general settings, the QSL options of the log entry window and the DX-spot
// switches.

namespace startup {

// Sets HamlogLink, HamlogPath, HamlogDataPath and SearchFolder from [HamLog]
// HAMLOGtype; a window link whose path does not name HAMLOGW.EXE, and a
// library link whose path names no database, are refused with a message.
void ReadLoggingLink();
// The library link's version word is checked (an old one gives a message only).
void CheckLoggingLibraryVersion(unsigned version);
// A failed test open of the log turns the library link off, with a message.
void TakeLoggingTestOpenResult(int result);

void LoadGeneralSettings();
void SetupQslOptions();
void ReadSpotSettings();

} // namespace startup
