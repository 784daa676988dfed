#pragma once
// The main window's handler of the PSK core library's five notices: display
// tick, received byte, status code, IMD and clock error. While EngineMsgHold is
// 1 the notices pass unhandled.
#include <array>
#include <cstdint>

namespace terminal::engines {

void PskCoreWndProc(std::int32_t Msg, std::int32_t wParam, std::int32_t lParam);

// The handlers of the single notices.
void PskDisplayTick();
void PskReceivedByte(int c, int channel);
void PskStatus(int code);
void PskImd(int value, int channel);
void PskClockError(int ppm, int channel);

// The spectrum as the library last gave it, one value per bin; large enough for
// every bin that the waterfall and the zoomed spectrum can show.
constexpr int FftBins = 1024;
extern std::array<std::int32_t, FftBins> FftData;

} // namespace terminal::engines
