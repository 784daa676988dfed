#include "terminal/displays/TuningMath.h"

#include <algorithm>
#include <cmath>

namespace terminal::displays {
namespace {

constexpr double HzPerBin = 3.90625;
constexpr int RttyLeftHz = 200;
constexpr int RttyLowestMark = 300;
constexpr int RttyHighestSpace = 2700;
constexpr int RttyDefaultShift = 170;
constexpr int SpectrumLowestHz = 150;
constexpr int SpectrumHighestHz = 3500;

} // namespace

int nearest(double x) {
    return static_cast<int>(std::nearbyint(x));
}

int binToHz(double bin) {
    return nearest(bin * HzPerBin);
}

int hzToBin(double hz) {
    return nearest(hz / HzPerBin);
}

int clickHz(double x, int firstBin) {
    return binToHz(x + firstBin);
}

int clampHz(int hz) {
    return std::clamp(hz, LowestHz, HighestHz);
}

int boxHz(int hz) {
    return std::clamp(hz, BoxLowestHz, BoxHighestHz);
}

BinSpan zoomBins(int txHz, int m) {
    if (m < 1) m = 1;
    return {hzToBin(txHz - (txHz - 200.0) / m), hzToBin((3200.0 - txHz) / m + txHz)};
}

HzSpan spectrumSpan(int centreHz, int zoom) {
    return {std::max(SpectrumLowestHz, centreHz - 100 * zoom),
            std::min(SpectrumHighestHz, centreHz + 100 * zoom)};
}

MarkSpace rttyMarkSpace(double x, int markHz, int spaceHz) {
    int shift = spaceHz - markHz;
    int mark = rttyClickHz(x);
    if (mark + shift > RttyHighestSpace) {
        mark = RttyHighestSpace - RttyDefaultShift;
        shift = RttyDefaultShift;
    }
    if (mark < RttyLowestMark) {
        mark = RttyLowestMark;
        shift = RttyDefaultShift;
    }
    return {mark, mark + shift};
}

int rttyClickHz(double x) {
    return nearest(x + RttyLeftHz);
}

int drawStep(int zoom) {
    if (zoom >= 10) return 6;
    if (zoom >= 7) return 4;
    if (zoom >= 4) return 2;
    return 1;
}

int squelchPosition(double x, double width, int maximum) {
    if (width <= 0) return 0;
    return std::clamp(nearest(maximum * x / width), 0, maximum);
}

int rttySquelch(int level) {
    return nearest(level / 100.0 * 1024);
}

int scanThreshold(double y) {
    return 97 - nearest(y);
}

} // namespace terminal::displays
