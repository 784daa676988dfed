#pragma once
// The main window loaded from a fixture INI in BPSK, with the PSK library's
// stand-in behind it. The start-up tick is held back so that each test starts
// the engine (or not) itself.
#include "core/Globals.h"
#include "platform/os/WavFile.h"
#include "platform/pskcore/PskCore.h"
#include "support/ProgramFolder.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <cstdint>
#include <vector>

namespace psktest {

inline const QString kFixtureKeys = QStringLiteral("Audio_Center_Freq=1500\n"
                                                   "RX1Freq=1000\n"
                                                   "TX1Freq=1200\n"
                                                   "RX2Freq=1400\n"
                                                   "RX3Freq=1600\n"
                                                   "COMPORT=2\n"
                                                   "COMCONT=0\n"
                                                   "SOUNDCARDnum=0\n"
                                                   "SQ_LEVEL=30\n"
                                                   "SQ_SPEED=20\n"
                                                   "RX_SearchRange=50\n"
                                                   "AFC_LIMIT=100\n"
                                                   "FFT_SMOOTHING=2\n"
                                                   "FFT_Mode=40\n"
                                                   "FFTRoot=0\n"
                                                   "SC_CLKADJRX=5\n"
                                                   "SC_CLKADJTX=-3\n"
                                                   "TRX_TimeStmp=YES\n"
                                                   "TXARCLR=255\n"
                                                   "RCVFRCLR=0\n"
                                                   "MLTRCVFRCLR=16711680\n");

// A second of quiet sound as a wave file the library can play back.
inline bool writeShortWave(const QString& file) {
    wavfile::Writer writer;
    if (!writer.open(file, false)) return false;
    const std::vector<std::int16_t> samples(8000, 100);
    writer.write(samples.data(), int(samples.size()));
    writer.close();
    return true;
}

class PskWindowTest : public zvtest::ProgramFolderTest {
  protected:
    // Loads the main window; extra keys of [PSKCFG] take the place of the fixture's.
    PSK31MAIN& load(const QString& extra = {}) {
        writeIni(QStringLiteral("[PSKCFG]\n") + extra + kFixtureKeys);
        PSK31MAIN& w = forms::PSK31MAIN();
        w.Timer2->stop();
        pskcore::lib().clearCalls();
        return w;
    }
    // Loaded, with the notices no longer held, as after the start-up tick but
    // with no engine running.
    PSK31MAIN& loadIdle(const QString& extra = {}) {
        PSK31MAIN& w = load(extra);
        core::g.EngineMsgHold = 0;
        return w;
    }
    // The start-up tick, as the timer would run it.
    PSK31MAIN& loadAndStart(const QString& extra = {}) {
        PSK31MAIN& w = load(extra);
        w.Timer2_Timer();
        return w;
    }
    QStringList calls() const { return pskcore::lib().callTexts(); }
};

} // namespace psktest
