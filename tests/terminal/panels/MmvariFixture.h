#pragma once
// The main window loaded with the multi-mode control as its engine, as the
// start-up does when the last mode was a multi-mode sub-mode: the load starts
// the control from the fixture's [MMVCFG] section. The control is the real
// stand-in; a test steps its simulation instead of waiting for its timer.
#include "core/Globals.h"
#include "core/engines/MmvariState.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "startup/AboutZORVATEK.h"
#include "support/ProgramFolder.h"
#include "terminal/macros/RepeatTx.h"
#include "terminal/mainwindow/PSK31MAIN.h"

namespace mmvtest {

inline const QString kPskKeys = QStringLiteral("Audio_Center_Freq=1500\n"
                                               "RX1Freq=1000\n"
                                               "TX1Freq=1000\n"
                                               "COMPORT=0\n"
                                               "COMCONT=1\n"
                                               "SOUNDCARDnum=0\n"
                                               "SQ_LEVEL=25\n"
                                               "TRX_TimeStmp=NO\n"
                                               "LastMode=MMVARI\n");

class MmvariWindowTest : public zvtest::ProgramFolderTest {
  protected:
    void SetUp() override {
        ProgramFolderTest::SetUp();
        mmvstate::g = {};
        terminal::macros::g = {};
    }
    // Loads the main window in the multi-mode engine. pskExtra keys take the
    // place of the fixture's [PSKCFG] keys; mmvcfg is the whole [MMVCFG] text.
    PSK31MAIN& load(const QString& pskExtra = {}, const QString& mmvcfg = {}) {
        writeIni(QStringLiteral("[PSKCFG]\n") + pskExtra + kPskKeys + mmvcfg);
        core::g.OpMode = core::ModeMmvari;
        forms::AboutZORVATEK();
        PSK31MAIN& w = forms::PSK31MAIN();
        control = w.MMVARI;
        return w;
    }
    // One period of the control's simulation.
    void step(int periods = 1) {
        for (int i = 0; i < periods; ++i)
            control->stepForTest();
    }
    // Steps until the condition holds; false after the limit.
    bool stepUntil(const std::function<bool()>& done, int limit = 2000) {
        for (int i = 0; i < limit && !done(); ++i)
            control->stepForTest();
        return done();
    }
    QVariant read(int id) {
        QVariant v;
        control->get(id, v);
        return v;
    }
    QVariant read(int id, int channel) {
        QVariant v;
        control->get(id, channel, v);
        return v;
    }

    mmvari::MmvariControl* control = nullptr;
};

} // namespace mmvtest
