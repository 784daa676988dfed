#pragma once
// The PSK core library for the main window: starting and configuring it, a
// change of PSK mode, the zoomed spectrum's span, and the connection of the
// library's notices to the main window's handler.
#include <cstdint>

namespace terminal::engines {

// The handle the main window gives the library; its notices are posted there.
constexpr std::int32_t MainWindowHandle = 0x00010010;

// Sets the library up for OpMode, the frequencies and the channels shown, resets
// the display and opens the sound card. The handler must be connected first.
void StartPskCore();
// Applies OpMode to the running library and sets the waterfall level slider.
void ApplyPskMode();
// The zoomed spectrum's span around CenterHz and the markers of Picture4.
void SetSpectrumRange(int CenterHz);

// Connects the library's notices to PskCoreWndProc; false (and nothing
// changed) while they are connected already.
bool InstallPskCoreWndProc();
// Disconnects them again: the main window handles no further notice.
void RestoreMainWndProc();

// Tells the operator why the sound card did not start (results 10 and 21);
// other results need no word.
void ReportSoundCardStart(int result);

// The FFT bin of a frequency (3.90625 Hz a bin), to the nearest, halves to even.
int NearestBin(double hz);

} // namespace terminal::engines
