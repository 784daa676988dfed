#pragma once
// The arithmetic of the two sound-card clock tools, apart from their windows:
// the SSTV engine's clock figures turned into ppm for the PSK library, and the
// calibration window's measuring line turned into a clock offset.
#include <QString>
#include <cstdint>
#include <optional>

namespace settings {

// Hertz with two decimals ("#0.00"), followed by "Hz".
QString hzText(double hz);

// ---- The SSTV engine's clock figures (hundredths of a hertz) ----
struct SstvClockReadings {
    std::int32_t base = 0;     // nominal sampling frequency
    std::int32_t rx = 0;       // measured receive sampling frequency
    std::int32_t txOffset = 0; // transmit offset, added to the receive offset
};
struct SstvClockShown {
    QString base, rx, txOffset, rxOffset; // "8000.20Hz"
    QString txPpm, rxPpm;                 // "-12ppm"; empty for an unknown base
    bool canApply = false;                // only at the PSK library's own rate
};
SstvClockShown sstvClockShown(const SstvClockReadings& r);
// SC_CLKADJRX and SC_CLKADJTX, as decimal text.
struct PskClockKeys {
    QString rx, tx;
};
PskClockKeys pskClockKeys(const SstvClockReadings& r);

// ---- The calibration window's measuring line ----
// Units across the picture (one per spectrum point).
constexpr int kClockPoints = 800;
// The clock offset shown by a line from startX at the top to endX at the
// bottom of a picture lineHeight rows high, at the sample frequency given.
double clockOffsetHz(int startX, int endX, int lineHeight, double sampleFreq);
// ppm of an offset: × 125 for the PSK library (8000 Hz), × 90.7 for MMVARI.
int clockPpm(double offsetHz, bool psk);
// The level a point must reach to count as the carrier.
int carrierThreshold(int levelMax, int levelMin, double factor);
// The x of the line at the mouse's height y; nothing at y = 0.
std::optional<int> lineXAt(int y, int lineHeight, int startX, int endX);
// The end x of the line pivoted about its top end through the mouse.
std::optional<int> pivotEndX(int mouseX, int mouseY, int lineHeight, int startX);
// The sample frequency of the PSK library with its receive correction.
double pskSampleFreq(int ppm);
// The PSK receive correction after a measured offset, kept within ±10000.
int pskPpmAfter(int storedPpm, double offsetHz);
// MMVARI's receive offset after a measured offset: two decimals, ±99.99.
double mmvariOffsetAfter(double offsetHz, double measuredHz);

} // namespace settings
