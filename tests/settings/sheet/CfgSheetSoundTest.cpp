// The settings sheet's sound tab on the running engines, read back from the
// stand-ins' call records: squelch, AFC, FFT display, audio centre, clock
// boxes, sound card and PTT port in BPSK, and the sheet opened from the SSTV
// window, whose load hands the PTT port to the SSTV engine.
#include "settings/SheetFixture.h"

#include "platform/sstvengine/SstvEngine.h"
#include "sstv/window/SSTVForm.h"

namespace {

class CfgSheetSound : public sheettest::SheetTest {
  protected:
    // The main window running BPSK, the sheet opened from its menu on the sound tab.
    CFGSHEET& openRunning(const QString& extra = {}) {
        writeIni(QStringLiteral("[PSKCFG]\n") + extra + psktest::kFixtureKeys);
        main = &forms::PSK31MAIN();
        main->Timer2->stop();
        main->Timer2_Timer();
        EXPECT_TRUE(pskcore::lib().isRunning());
        EXPECT_TRUE(zvtest::chooseMenuItem(main->PSKCFG));
        CFGSHEET& s = forms::CFGSHEET();
        showTab(s, 1);
        pskcore::lib().clearCalls();
        return s;
    }
    // What the operator's action gave the PSK core library.
    QStringList callsOf(const std::function<void()>& action) {
        pskcore::lib().clearCalls();
        action();
        return calls();
    }
};

TEST_F(CfgSheetSound, EachControlRetunesTheRunningPskEngine) {
    CFGSHEET& s = openRunning();
    const struct {
        const char* what;
        std::function<void()> action;
        QStringList calls;
    } rows[] = {
        {"squelch slower",
         [&] { QTest::keyClick(s.Slider1, Qt::Key_PageUp); },
         {"fnSetSquelchThreshold(30, 30, 0)", "fnSetSquelchThreshold(30, 30, 1)",
          "fnSetSquelchThreshold(30, 30, 2)"}},
        {"AFC wider",
         [&] { QTest::keyClick(s.Slider2, Qt::Key_PageUp); },
         {"fnSetAFCLimit(200, 0)", "fnSetAFCLimit(200, 1)", "fnSetAFCLimit(200, 2)"}},
        {"FFT smoothing", [&] { QTest::keyClick(s.VScroll4, Qt::Key_Down); }, {"fnSetFFTMode(3, 100, 40)"}},
        {"FFT clipping", [&] { QTest::keyClick(s.VScroll5, Qt::Key_Down); }, {"fnSetFFTMode(3, 100, 50)"}},
        {"root mode on", [&] { tick(s.Check1); }, {"fnSetFFTMode(3, 100, 0)"}},
        // Root mode off starts from no clipping, not from the level shown before.
        {"root mode off", [&] { tick(s.Check1); }, {"fnSetFFTMode(3, 100, 1)", "fnSetFFTMode(3, 100, 1)"}},
        {"search range",
         [&] { QTest::keyClick(s.VScroll6, Qt::Key_Up); },
         {QStringLiteral("fnSetRXFrequency(%1, 40, 0)").arg(core::g.AudioCenterFreq)}},
        {"RX clock typed past its limit",
         [&] {
             s.Text13->selectAll();
             QTest::keyClicks(s.Text13, QStringLiteral("20000"));
         },
         {"fnSetClockErrorAdjustment(2)", "fnSetClockErrorAdjustment(20)", "fnSetClockErrorAdjustment(200)",
          "fnSetClockErrorAdjustment(2000)", "fnSetClockErrorAdjustment(10000)"}},
        {"RX clock not a number",
         [&] {
             s.Text13->selectAll();
             QTest::keyClicks(s.Text13, QStringLiteral("x"));
         },
         {"fnSetClockErrorAdjustment(0)"}},
        {"second sound card",
         [&] { tick(s.Option3[2]); },
         {"fnStopSoundCard()", QStringLiteral("fnStartSoundCard(%1, 1, 3)").arg(core::g.MainHwnd)}},
        {"PTT port #3", [&] { tick(s.Option1[3]); }, {"fnSetComPort(3, 3)"}},
        {"no PTT port", [&] { tick(s.Option1[0]); }, {"fnSetComPort(0, 0)"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(callsOf(r.action), r.calls);
    }
    EXPECT_EQ(s.Label1->text(), QStringLiteral("30"));
    EXPECT_EQ(s.Label5->text(), QStringLiteral("200"));
    EXPECT_EQ(s.Label10->text(), QStringLiteral("NoClip"));
    EXPECT_EQ(s.VScroll5->value(), 0);
    EXPECT_EQ(ini("PSKCFG", "FFT_Mode"), QStringLiteral("1"));
    EXPECT_EQ(ini("PSKCFG", "FFTRoot"), QStringLiteral("0"));
    EXPECT_EQ(s.Text13->text(), QStringLiteral("0"));
    EXPECT_EQ(core::g.ClockAdjRxPpm, QStringLiteral("0"));
    EXPECT_EQ(ini("PSKCFG", "SOUNDCARDnum"), QStringLiteral("1"));
    EXPECT_EQ(ini("PSKCFG", "COMPORT"), QStringLiteral("0"));
    EXPECT_EQ(ini("PSKCFG", "COMCONT"), QStringLiteral("0"));
    EXPECT_TRUE(pskcore::lib().isRunning());
}

TEST_F(CfgSheetSound, AudioCentreRetunesAtOnceWithinTheSpectrumEdges) {
    CFGSHEET& s = openRunning(QStringLiteral("F_Range=20\n"));
    ASSERT_EQ(core::g.SpectrumZoom, 20);
    ASSERT_EQ(core::g.AudioCenterFreq % 100, 0);
    while (s.Slider4->value() < 2000)
        QTest::keyClick(s.Slider4, Qt::Key_PageUp);
    while (s.Slider4->value() > 2000)
        QTest::keyClick(s.Slider4, Qt::Key_PageDown);
    EXPECT_EQ(s.Label2->text(), QStringLiteral("2000"));
    EXPECT_EQ(main->Label13->text(), QStringLiteral("150 to 3500Hz"));
    EXPECT_EQ(main->Text4->text(), QStringLiteral("2000"));
    EXPECT_EQ(main->Text8->text(), QStringLiteral("2000"));
    EXPECT_EQ(core::g.TxFreqBin, 512);
    EXPECT_TRUE(calls().contains(QStringLiteral("fnSetRXFrequency(2000, 50, 0)")));
    EXPECT_EQ(ini("PSKCFG", "Audio_Center_Freq"), QStringLiteral("2000"));
}

TEST_F(CfgSheetSound, RefusedPttPortIsSaidAndStaysStored) {
    CFGSHEET& s = openRunning();
    pskcore::lib().hooks().comPortResult = 0;
    tick(s.Option1[4]);
    EXPECT_TRUE(asked(QStringLiteral("COMport Can Not Open Port=4が使えません。CFGOP1P")));
    EXPECT_EQ(ini("PSKCFG", "COMPORT"), QStringLiteral("4"));
    EXPECT_FALSE(s.Option2[4]->isEnabled());
}

TEST_F(CfgSheetSound, FromTheSstvWindowTheLoadRunsItsHandlersOnTheSstvEngine) {
    writeIni(QStringLiteral("[PSKCFG]\n") + psktest::kFixtureKeys);
    core::g.OpMode = core::ModeSstv;
    SSTVForm& sstv = forms::SSTVForm();
    sstv.show();
    sstveng::lib().clearCalls();

    ASSERT_TRUE(zvtest::chooseMenuItem(sstv.PSKCFG));
    ASSERT_TRUE(forms::isLoaded<CFGSHEET>());
    CFGSHEET& s = forms::CFGSHEET();
    EXPECT_EQ(s.parentWidget(), &sstv) << "owned by the SSTV window";
    EXPECT_EQ(core::g.CfgSheetLoading, 0);
    EXPECT_EQ(s.SSTab1->currentIndex(), 2) << "the log tab comes first in SSTV";
    EXPECT_TRUE(sstveng::lib().callTexts().contains(QStringLiteral("mmsSetPTTPort(\"COM2\")")))
        << "the load's PTT port goes to the SSTV engine";
    EXPECT_FALSE(s.Frame19->isEnabled());
    EXPECT_FALSE(s.Frame13->isEnabled());

    showTab(s, 0);
    EXPECT_TRUE(s.Label32->isVisible());
    EXPECT_EQ(s.Label32->text(), QStringLiteral("このページはPSK31/RTTYモード時についてのみ有効です"));
    showTab(s, 1);
    EXPECT_EQ(s.Label32->text(), QStringLiteral("このページの無効部分はPSK31モード時についてのみ有効です"));
    sstveng::lib().clearCalls();
    tick(s.Option1[0]);
    EXPECT_EQ(sstveng::lib().callTexts(), QStringList{QStringLiteral("mmsSetPTTPort(\"NONE\")")});
    showTab(s, 2);
    EXPECT_FALSE(s.Label32->isVisible());

    // The SSTV window keeps its own report list.
    press(s.Command15);
    EXPECT_TRUE(asked(QStringLiteral("SSTVのRSV List はSSTV Main画面の「設定」から行って下さい。")));
    EXPECT_FALSE(s.Text10->isVisible());

    ASSERT_TRUE(zvtest::chooseMenuItem(s.CFGEND));
    EXPECT_EQ(sstv.Text16->text(), core::g.UserCall);
}

} // namespace
