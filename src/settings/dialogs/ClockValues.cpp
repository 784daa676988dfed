#include "settings/dialogs/ClockValues.h"

#include "settings/dialogs/MmvariDialogValues.h"
#include "terminal/displays/TuningMath.h"

#include <algorithm>
#include <cmath>

namespace settings {

namespace {

using terminal::displays::nearest;

constexpr std::int32_t kPskBase = 800000;
constexpr std::int32_t kMmvariBase = 1102500;
constexpr double kPskPpmPerHz = 125.0;
constexpr double kMmvariPpmPerHz = 90.7;
constexpr double kPskNominal = 8000.0;
constexpr int kPpmLimit = 10000;
constexpr double kOffsetLimit = 99.99;

QString centiHzText(std::int32_t centiHz) {
    return hzText(centiHz / 100.0);
}

// Hundredths of a hertz to ppm, by the nominal rate; none for another rate.
std::optional<double> ppmFactor(std::int32_t base) {
    if (base == kPskBase) return 1.25;
    if (base == kMmvariBase) return 0.907;
    return std::nullopt;
}

} // namespace

QString hzText(double hz) {
    return offsetText(hz) + QStringLiteral("Hz");
}

SstvClockShown sstvClockShown(const SstvClockReadings& r) {
    SstvClockShown s{
        centiHzText(r.base), centiHzText(r.rx), centiHzText(r.txOffset), centiHzText(r.rx - r.base), {}, {},
        r.base == kPskBase};
    if (const auto k = ppmFactor(r.base)) {
        s.txPpm = QString::number(nearest(r.txOffset * *k)) + QStringLiteral("ppm");
        s.rxPpm = QString::number(nearest((r.rx - r.base) * *k)) + QStringLiteral("ppm");
    }
    return s;
}

PskClockKeys pskClockKeys(const SstvClockReadings& r) {
    const std::int64_t rxOffset = std::int64_t{r.rx} - r.base;
    return {QString::number(nearest(double(rxOffset) * 1.25)),
            QString::number(nearest(double(r.txOffset + rxOffset) * 1.25))};
}

double clockOffsetHz(int startX, int endX, int lineHeight, double sampleFreq) {
    if (lineHeight <= 0) return 0.0;
    return double(endX - startX) / lineHeight * (sampleFreq / double(kClockPoints));
}

int clockPpm(double offsetHz, bool psk) {
    return nearest(offsetHz * (psk ? kPskPpmPerHz : kMmvariPpmPerHz));
}

int carrierThreshold(int levelMax, int levelMin, double factor) {
    return nearest(double((levelMax - levelMin) / 2) * factor);
}

std::optional<int> lineXAt(int y, int lineHeight, int startX, int endX) {
    if (y == 0 || lineHeight == 0) return std::nullopt;
    return nearest(double(y) / lineHeight * (endX - startX) + startX);
}

std::optional<int> pivotEndX(int mouseX, int mouseY, int lineHeight, int startX) {
    if (mouseY == 0) return std::nullopt;
    return startX + nearest(double(mouseX - startX) * lineHeight / mouseY);
}

double pskSampleFreq(int ppm) {
    return kPskNominal + ppm / kPskPpmPerHz;
}

int pskPpmAfter(int storedPpm, double offsetHz) {
    return std::clamp(storedPpm + nearest(offsetHz * kPskPpmPerHz), -kPpmLimit, kPpmLimit);
}

double mmvariOffsetAfter(double offsetHz, double measuredHz) {
    const double sum = nearest((offsetHz + measuredHz) * 100.0) / 100.0;
    return std::clamp(sum, -kOffsetLimit, kOffsetLimit);
}

} // namespace settings
