// Starting the PSK library, applying a PSK mode, the zoomed spectrum's span.
#include "terminal/engines/PskFixture.h"

#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "terminal/engines/PskEngine.h"

#include <QScrollBar>
#include <QSlider>

namespace {

using core::g;

class PskEngine : public psktest::PskWindowTest {};

const QStringList kMainChannelSetUp = {
    "fnSetComPort(2, 0)",           "fnSetRXFrequency(1000, 50, 0)",
    "fnSetRXPSKMode(0, 0)",         "fnSetSquelchThreshold(30, 20, 0)",
    "fnSetFFTMode(2, 100, 40)",     "fnSetTXFrequency(1200)",
    "fnSetClockErrorAdjustment(5)", "fnSetAFCLimit(100, 0)",
};
const QStringList kFromTheScrollBars = {"fnSetRXFrequency(1000, 50, 0)", "fnSetTXFrequency(1200)"};
const QString kOpenSoundCard = "fnStartSoundCard(65552, 0, 3)";

TEST_F(PskEngine, StartsWithTheLibraryCallsInOrder) {
    PSK31MAIN& w = loadAndStart();
    EXPECT_EQ(calls(), kMainChannelSetUp + kFromTheScrollBars + QStringList{kOpenSoundCard});
    EXPECT_TRUE(pskcore::lib().isRunning());
    EXPECT_TRUE(pskcore::lib().isSubclassed());
    EXPECT_EQ(g.EngineMsgHold, 0);
    EXPECT_EQ(g.MainHwnd, terminal::engines::MainWindowHandle);
    EXPECT_EQ(w.Label39->text(), "x1");
    EXPECT_EQ(w.Picture3->scaleWidth(), 717);
    EXPECT_EQ(w.Picture7->scaleWidth(), 717);
    EXPECT_TRUE(ui::script::asked().isEmpty());
}

TEST_F(PskEngine, ThreeChannelsAndSatelliteModeSetEveryChannel) {
    load("SateliteMode=True\n");
    g.ChannelDisplay = 3;
    forms::PSK31MAIN().Timer2_Timer();
    const QStringList extra = {
        "fnSetRXFrequency(1400, 50, 1)",
        "fnSetRXFrequency(1600, 50, 2)",
        "fnSetSquelchThreshold(30, 20, 1)",
        "fnSetSquelchThreshold(30, 20, 2)",
        "fnSetRXPSKMode(0, 1)",
        "fnSetRXPSKMode(0, 2)",
        "fnSetAFCLimit(3000, 1)",
        "fnSetAFCLimit(3000, 2)",
    };
    QStringList main = kMainChannelSetUp;
    main.last() = "fnSetAFCLimit(3000, 0)";
    EXPECT_EQ(calls(), main + extra + kFromTheScrollBars + QStringList{kOpenSoundCard});
}

TEST_F(PskEngine, TheNoticesConnectOnceAndStopWhenRestored) {
    load();
    g.MainHwnd = terminal::engines::MainWindowHandle;
    EXPECT_TRUE(terminal::engines::InstallPskCoreWndProc());
    EXPECT_FALSE(terminal::engines::InstallPskCoreWndProc());
    terminal::engines::RestoreMainWndProc();
    EXPECT_FALSE(pskcore::lib().isSubclassed());
    EXPECT_TRUE(terminal::engines::InstallPskCoreWndProc());
}

TEST_F(PskEngine, StartFailuresAreReportedToTheOperator) {
    struct Case {
        const char* name;
        QString extra;
        int startResult;
        int comPortResult;
        QString message;
    } cases[] = {
        {"memory", {}, 10, 1, "Memory Allocation Error"},
        {"no sound card", {}, 21, 1, "Bad Device ID,SoundCard Not Present"},
        {"card that does not exist", "SOUNDCARDnum=5\n", 0, 1, "Bad Device ID,SoundCard Not Present"},
        {"PTT port", "COMCONT=1\n", 0, 0, "COMport Can Not Open Port=2が使えません。pcTM6"},
        {"PTT by CAT needs no port", {}, 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        renewContext();
        ui::script::clearAsked();
        pskcore::lib().hooks().startResult = c.startResult;
        pskcore::lib().hooks().comPortResult = c.comPortResult;
        loadAndStart(c.extra);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(ui::script::asked().isEmpty());
        } else {
            ASSERT_EQ(ui::script::asked().size(), 1);
            EXPECT_EQ(ui::script::asked().first().prompt, c.message);
            EXPECT_EQ(ui::script::asked().first().title, "ZORVATEK");
        }
        forms::unload<PSK31MAIN>();
    }
}

TEST_F(PskEngine, ASettingThatIsNotANumberEndsTheStartWithItsStep) {
    PSK31MAIN& w = loadAndStart("SQ_LEVEL=abc\n");
    EXPECT_EQ(g.StatusMessage, "Set_PSKCore Error");
    EXPECT_EQ(w.Text3->text(), "Set_PSKCore Error");
    EXPECT_FALSE(calls().contains(kOpenSoundCard));
    EXPECT_FALSE(pskcore::lib().isRunning());
}

TEST_F(PskEngine, SpectrumRangeClampsEachEdgeAndPlacesTheMarkers) {
    struct Case {
        int centre, zoom;
        int lowHz, highHz, lowBin, highBin;
        bool sideMarkers;
    } cases[] = {
        {200, 3, 150, 500, 38, 128, true},     {3300, 5, 2800, 3500, 717, 896, false},
        {1500, 3, 1200, 1800, 307, 461, true}, {1500, 4, 1100, 1900, 282, 486, false},
        {1500, 1, 1400, 1600, 358, 410, true}, {100, 1, 150, 200, 38, 51, true},
    };
    PSK31MAIN& w = load();
    g.TxFreqBin = 384;
    g.RxFreqBin = 256;
    w.Line13->setPoints(7, 0, 7, 1400);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.centre * 10 + c.zoom);
        g.SpectrumZoom = c.zoom;
        terminal::engines::SetSpectrumRange(c.centre);
        EXPECT_EQ(g.SpectrumLowHz, c.lowHz);
        EXPECT_EQ(g.SpectrumHighHz, c.highHz);
        EXPECT_EQ(w.Label13->text(), QStringLiteral("%1 to %2Hz").arg(c.lowHz).arg(c.highHz));
        EXPECT_EQ(g.SpectrumLowBin, c.lowBin);
        EXPECT_EQ(g.SpectrumHighBin, c.highBin);
        EXPECT_EQ(w.Line3->isVisible(), c.sideMarkers);
        EXPECT_EQ(w.Line4->isVisible(), c.sideMarkers);
        EXPECT_EQ(g.TxBinFromLow, 384 - c.lowBin);
        EXPECT_EQ(g.TxBinToHigh, c.highBin - 384);
        EXPECT_EQ(w.Picture4->scaleWidth(), std::max(1, c.highBin - c.lowBin - 1));
        EXPECT_EQ(w.Line1->x1(), 256 - c.lowBin);
        EXPECT_EQ(w.Line2->x1(), 384 - c.lowBin);
        EXPECT_EQ(w.Line3->x1(), 384 - c.lowBin - 4);
        EXPECT_EQ(w.Line4->x1(), 384 - c.lowBin + 4);
        EXPECT_EQ(w.Line1->y2(), 1400);
        // One channel shown: the extra channels' markers stay where they were.
        EXPECT_EQ(w.Line13->x1(), 7);
    }
    g.ChannelDisplay = 3;
    g.SpectrumZoom = 1;
    terminal::engines::SetSpectrumRange(1500);
    EXPECT_EQ(w.Line13->x1(), terminal::engines::NearestBin(1400) - 358);
    EXPECT_EQ(w.Line14->x1(), terminal::engines::NearestBin(1600) - 358);
}

TEST_F(PskEngine, ApplyingAModeSetsTheReceiverAndTheWaterfallLevel) {
    struct Case {
        int mode, transmitting, satellite;
        QStringList calls;
        int slider;
    } cases[] = {
        {core::ModeRtty, 1, 0, {}, 120},
        {core::ModeCw, 0, 0, {}, 120},
        {core::ModeQpskUsb, 0, 0, {"fnSetRXPSKMode(1, 0)"}, 60},
        {core::ModeQpskLsb, 1, 0, {"fnSetRXPSKMode(2, 0)", "fnStartTX(2)"}, 60},
        {core::ModeQpskUsb, 1, 1, {"fnSetRXPSKMode(1, 0)", "fnStartTX(129)"}, 60},
    };
    PSK31MAIN& w = load("WF_LEVEL=60\nWFRT_LEVEL=120\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        pskcore::lib().clearCalls();
        w.Slider2->setValue(0);
        g.OpMode = c.mode;
        g.Transmitting = c.transmitting;
        g.SatelliteMode = c.satellite;
        terminal::engines::ApplyPskMode();
        EXPECT_EQ(calls(), c.calls);
        EXPECT_EQ(w.Slider2->value(), c.slider);
    }
}

TEST_F(PskEngine, ScrollBarsRetuneAndFollowEachOtherWithNet) {
    PSK31MAIN& w = load();
    w.VScroll1->setValue(1100);
    EXPECT_EQ(g.RxFreqHz, 1100);
    EXPECT_EQ(w.Text4->text(), "1100");
    EXPECT_EQ(g.RxFreqBin, 282);
    EXPECT_EQ(w.Line5->x1(), 282 - 51);
    EXPECT_EQ(w.Label13->text(), "1000 to 1200Hz");
    EXPECT_EQ(calls(), QStringList{"fnSetRXFrequency(1100, 50, 0)"});

    pskcore::lib().clearCalls();
    g.NetOn = 1;
    w.VScroll2->setValue(1300);
    EXPECT_EQ(g.TxFreqHz, 1300);
    EXPECT_EQ(g.RxFreqHz, 1300);
    EXPECT_EQ(w.VScroll1->value(), 1300);
    EXPECT_EQ(w.Text4->text(), "1300");
    EXPECT_EQ(g.TxFreqBin, 333);
    EXPECT_EQ(w.Line21->x1(), 333 - 51);
    EXPECT_EQ(g.AudioCenterFreq, 1300);
    EXPECT_TRUE(calls().startsWith("fnSetTXFrequency(1300)"));
    EXPECT_EQ(calls().last(), "fnSetRXFrequency(1300, 50, 0)");
}

} // namespace
