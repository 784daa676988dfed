#include "platform/mmtty/BobMako.h"

#include "platform/engines/Engines.h"

#include <QtMath>
#include <cmath>

namespace bobmako {
namespace {

constexpr int BitSamples = 64;     // XY samples per FSK bit
constexpr int SamplesPerTurn = 16; // XY samples per turn of the tone
constexpr double Amplitude = 20000.0;

QByteArray padded(const char* text) {
    return QByteArray(text).leftJustified(TextLength, ' ', true);
}

// The bit pattern the station keys, mark (true) or space, changing every frame.
bool markAt(std::uint32_t frame, int sample) {
    const std::uint32_t bit = frame * 7 + std::uint32_t(sample / BitSamples);
    return ((bit * 2654435761u) >> 28) & 1u;
}

} // namespace

BobMako& lib() {
    return engines::current().scope;
}

std::int32_t BobMako::fnBOBMAKOInit(std::int32_t& handle, const QByteArray& name, const QByteArray& pttPort,
                                    const QByteArray& keying) {
    calls_ << QStringLiteral("fnBOBMAKOInit(%1, %2, %3)")
                  .arg(QString::fromLatin1(name), QString::fromLatin1(pttPort), QString::fromLatin1(keying));
    if (initResult == 0) return 0;
    handle = 1;
    ready_ = true;
    pttPort_ = pttPort;
    return initResult;
}

std::int32_t BobMako::fnBOBMAKOGetXYEx(std::int32_t& quality, std::int32_t* x, std::int32_t* y) {
    if (!ready_ || quality == ScopeOff || !x || !y) return 0;
    ++frame_;
    // The mark filter's output swings along x, the space filter's along y: a cross.
    for (int i = 0; i < XyPoints; ++i) {
        const double phase = 2 * M_PI * i / SamplesPerTurn;
        const double a = Amplitude * (0.9 + 0.1 * rng_.generateDouble());
        const bool mark = markAt(frame_, i);
        x[i] = std::int32_t((mark ? a : 0.05 * a) * std::cos(phase));
        y[i] = std::int32_t((mark ? 0.05 * a : a) * std::sin(phase));
    }
    return 1;
}

std::int32_t BobMako::fnBOBMAKOGetFFT(std::int32_t* values) {
    if (!ready_ || !values) return 0;
    ++frame_;
    const bool mark = markAt(frame_, 0);
    for (int i = 0; i < FftPoints; ++i) {
        const double hz = i * HzPerBin;
        const double dm = (hz - MarkHz) / 12.0;
        const double ds = (hz - SpaceHz) / 12.0;
        const double tone = (mark ? 240 : 150) * std::exp(-dm * dm) + (mark ? 150 : 240) * std::exp(-ds * ds);
        values[i] = std::int32_t(std::min(270.0, 20 + rng_.bounded(15) + tone));
    }
    return 1;
}

void BobMako::fnBOBMAKOGetVersion(QByteArray& first, QByteArray& second) {
    calls_ << QStringLiteral("fnBOBMAKOGetVersion()");
    first = padded("Ver 1.06");
    second = padded("Ver 1.68 scope");
}

} // namespace bobmako
