#pragma once
// The operating mode changed at run time: one engine stopped, the next one
// started, the windows swapped for SSTV and back, the rig's mode and the
// mode recorded for the next start.

#include <functional>

class PSK31MAIN;

namespace terminal::engines {

// True while any engine transmits; no mode change is made then.
bool AnyEngineTransmits();

// While anything sends (an engine, the SSTV window's picture or tune tone) no
// mode changes and no spot retunes the rig: says "送信中は変更できません" and gives true.
bool RefusedWhileSending();

// While recording or playing back no mode changes: says so and gives true.
bool RefusedWhileRecording();

// The refusals and questions of a change to Index, before anything is
// stopped: false (after its word, if it has one) while an engine transmits,
// while recording or playing back, when a box of the settings sheet holds what
// the file cannot, or when the operator keeps a QSO handed over to the logging
// program. A change that swaps the operating window first closes the settings
// sheet it owns, storing what it holds; on false the program is otherwise
// exactly as it was.
bool MayChangeMode(int Index);

// Index is a mode menu index: 0 BPSK, 1 QPSK(USB), 2 QPSK(LSB), 3 RTTY, 4 CW,
// 5 SSTV, 10..18 the multi-mode sub-modes (from the SSTV window only); any
// other index changes nothing. MayChangeMode first, then MakeModeChange; false
// when refused. When the new engine does not start, the mode that then runs
// is the one recorded.
bool ChangeMode(int Index);
// The change itself, for a caller that has asked MayChangeMode already.
void MakeModeChange(int Index);

// The steps of the way into SSTV at which a test can make a run-time failure
// happen: the hook runs there and may throw.
enum class SstvStep { ClipboardEmptied, EngineStopped, MainWindowUnloaded };
void setSstvFailureHookForTest(std::function<void(SstvStep)> hook);

// The mode menus of the main window tick the mode in use and nothing else.
void ShowModeMenus(PSK31MAIN& w);

} // namespace terminal::engines
