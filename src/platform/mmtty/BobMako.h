#pragma once
// Our scope library for the RTTY program: the XY scope and the spectrum that
// the main window draws while the RTTY/CW program runs, and the version texts
// shown at start-up. The data are synthetic: an FSK signal on the amateur
// preset tones (mark 2125 Hz, space 2295 Hz), where the RTTY program's
// simulated station calls; the library has no line to the program's own audio,
// so it does not follow a retuned mark or space.
//
// What callers rely on:
// - fnBOBMAKOInit answers 0 when it refuses, anything else when it accepts the
//   PTT port text ("NONE", "COM3", "EXTFSK"); until it has accepted once the
//   scope calls deliver nothing.
// - fnBOBMAKOGetXYEx fills x and y buffers of 4097 values (indexes 0..4096),
//   coordinates within +-25000, and answers non-zero when it delivered; scope
//   quality 4 means off and delivers nothing.
// - fnBOBMAKOGetFFT fills 2049 values (bins of 3.90625 Hz, values 0..270) and
//   answers non-zero when it delivered.
// - fnBOBMAKOGetVersion fills two texts of exactly 16 characters.
#include "platform/mmtty/MmttyProtocol.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QStringList>
#include <cstdint>

namespace bobmako {

constexpr int XyPoints = 4097;
constexpr int FftPoints = 2049;
constexpr int TextLength = 16;
constexpr double HzPerBin = 3.90625;
constexpr std::int32_t MarkHz = mmtty::HamMarkHz;
constexpr std::int32_t SpaceHz = mmtty::HamMarkHz + mmtty::HamShiftHz;
constexpr std::int32_t ScopeOff = 4;

class BobMako {
  public:
    std::int32_t fnBOBMAKOInit(std::int32_t& handle, const QByteArray& name, const QByteArray& pttPort,
                               const QByteArray& keying);
    std::int32_t fnBOBMAKOGetXYEx(std::int32_t& quality, std::int32_t* x, std::int32_t* y);
    std::int32_t fnBOBMAKOGetFFT(std::int32_t* values);
    void fnBOBMAKOGetVersion(QByteArray& first, QByteArray& second);

    // ---- For tests ----
    std::int32_t initResult = 1; // forced result of fnBOBMAKOInit
    // The PTT port text of the last accepted fnBOBMAKOInit.
    QByteArray pttPort() const { return pttPort_; }
    // "fnBOBMAKOInit(MMTTY/ZORVAT, COM3, NONE)", one per call.
    const QStringList& calls() const { return calls_; }

  private:
    bool ready_ = false;
    QByteArray pttPort_;
    QStringList calls_;
    std::uint32_t frame_ = 0;
    QRandomGenerator rng_{2125};
};

// The helper of the run.
BobMako& lib();

} // namespace bobmako
