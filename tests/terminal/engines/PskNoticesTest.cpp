// The PSK library's status codes, IMD and clock error, and the display tick.
#include "terminal/engines/PskFixture.h"

#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "support/Mouse.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "support/RigSimulator.h"
#include "support/Transmit.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskCoreWndProc.h"
#include "terminal/engines/PskEngine.h"

#include <QMap>
#include <QProgressBar>

#include <algorithm>

namespace {

using core::g;

class PskNotices : public psktest::PskWindowTest {
  protected:
    static void status(int code) { terminal::engines::PskCoreWndProc(pskcore::PskMsgStatus, code, 0); }
    static void tick() { terminal::engines::PskCoreWndProc(pskcore::PskMsgDisplay, 0, 0); }
};

TEST_F(PskNotices, TransmitStartAndEndMarkThePaneAndResetTheControls) {
    PSK31MAIN& w = loadIdle();
    terminal::engines::PskCoreWndProc(pskcore::PskMsgRxChar, 'C', 0);
    terminal::engines::PskCoreWndProc(pskcore::PskMsgRxChar, 'Q', 0);
    w.Text1->setText("typed");
    w.RichTextBox4->show();
    status(pskcore::StatusTxStarted);
    EXPECT_EQ(g.Transmitting, 1);
    EXPECT_EQ(colour::backColor(w.Command1), 0x0000FFu);
    EXPECT_TRUE(w.RichTextBox1->text().startsWith("CQ\nTX-<< "));
    EXPECT_TRUE(w.RichTextBox1->text().endsWith("/JST >>"));
    EXPECT_EQ(calls(), (QStringList{"fnGetTXCharsRemaining()", "fnSendTXString(\"\r\n\")"}));

    pskcore::lib().clearCalls();
    status(pskcore::StatusTxEnded);
    EXPECT_EQ(g.Transmitting, 0);
    EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
    EXPECT_TRUE(w.Text1->text().isEmpty());
    EXPECT_TRUE(w.RichTextBox4->isHidden());
    EXPECT_TRUE(w.RichTextBox1->text().contains(">>\nRX-<< "));
    EXPECT_TRUE(w.RichTextBox1->text().endsWith("/JST >>\n"));
    EXPECT_EQ(g.RxMarkPos, w.RichTextBox1->length());
    EXPECT_EQ(calls(),
              (QStringList{"fnSetClockErrorAdjustment(5)", "fnSendTXString(\"\r\n\")", "fnClearTXBuffer()"}));
}

TEST_F(PskNotices, RepeatTransmissionIsArmedAtTheEndOfEachTransmission) {
    PSK31MAIN& w = loadIdle("TRX_TimeStmp=NO\n");
    zvtest::sendMacro(w, 0, QStringLiteral("CQ 'RPT 30'"));
    ASSERT_EQ(g.RepeatTxOn, 1);
    status(pskcore::StatusTxStarted);
    EXPECT_FALSE(w.Text3->isHidden());
    EXPECT_FALSE(w.Timer1->isActive());
    status(pskcore::StatusTxEnded);
    EXPECT_EQ(colour::backColor(w.Command1), 0x80C0FFu);
    EXPECT_TRUE(w.Timer1->isActive());
    EXPECT_TRUE(w.Timer4->isActive());
    EXPECT_EQ(w.RichTextBox1->text(), QString());

    // The next transmission, during which "Timer送信無効" is ticked: no pause after it.
    status(pskcore::StatusTxStarted);
    zvtest::tick(w.Check3);
    EXPECT_EQ(g.RepeatTxOn, 0);
    status(pskcore::StatusTxEnded);
    EXPECT_FALSE(w.Timer1->isActive());
    EXPECT_FALSE(w.Timer4->isActive());
    EXPECT_TRUE(w.Text3->isHidden());
    EXPECT_EQ(colour::backColor(w.Command1), colour::kButtonFace);
}

TEST_F(PskNotices, ErrorCodesShowTheirTextsInTheMessageLine) {
    struct Case {
        int code;
        QString text;
    } cases[] = {
        {2, "CPU too Slow or Busy"},
        {8, "8"},
        {10, "Memory Allocation error"},
        {17, "Card doesn't support 16bit,8000Hz,Mono format"},
        {21, "Bad Device ID,Soundcard Not Present"},
        {32, "Registry Error"},
        {33, "33"},
        {3, {}},
        {6, {}},
        {7, {}},
        {-1, {}},
    };
    PSK31MAIN& w = loadIdle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        g.StatusMessage.clear();
        w.Text3->hide();
        colour::setBackColor(w.Command1, 0x0000FF);
        status(c.code);
        EXPECT_EQ(g.StatusMessage, c.text);
        EXPECT_EQ(w.Text3->isHidden(), c.text.isEmpty());
        if (!c.text.isEmpty()) {
            EXPECT_EQ(w.Text3->text(), c.text);
        }
        EXPECT_EQ(colour::backColor(w.Command1), c.text.isEmpty() ? 0x0000FFu : colour::kButtonFace);
    }
}

TEST_F(PskNotices, PlaybackAndRecordingEndsRestartReception) {
    PSK31MAIN& w = loadIdle();
    g.MainHwnd = terminal::engines::MainWindowHandle;
    const QString stop = "fnStopSoundCard()", start = "fnStartSoundCard(65552, 0, 3)";
    w.PlayPsk->setEnabled(false);
    g.RecPlayState = 1;
    status(pskcore::StatusPlaybackEnded);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked().last().prompt, "再生が終了しました");
    EXPECT_EQ(ui::script::asked().last().title, "ZORVATEK Rec & Play");
    EXPECT_EQ(calls(), (QStringList{stop, start}));
    EXPECT_TRUE(zvtest::enabledOnceBuilt(w.PlayPsk));
    EXPECT_EQ(g.RecPlayState, 0);

    pskcore::lib().clearCalls();
    g.RecTimeLen = 3;
    ui::script::push(ui::No);
    status(pskcore::StatusRecordingEnded);
    EXPECT_EQ(ui::script::asked().last().prompt,
              "指定時間( 3分)の録音を終了しました\r\nこのファイルを直ぐ再生してみますか？");
    EXPECT_EQ(calls(), (QStringList{stop, start}));

    // The recording cannot be played: the message, and reception goes on.
    pskcore::lib().clearCalls();
    g.WaveFilePath = path("missing.wav");
    ui::script::push(ui::Yes);
    status(pskcore::StatusRecordingEnded);
    EXPECT_EQ(g.StatusMessage, "can't open wave file");
    EXPECT_EQ(calls().first(), stop);
    EXPECT_EQ(calls().last(), start);
    EXPECT_TRUE(pskcore::lib().isRunning());
}

TEST_F(PskNotices, ImdAndClockErrorShowForTheChannelOnShow) {
    struct Case {
        int imdChannel, channel;
        QString imd, clock;
    } cases[] = {
        {0, 0, "25db", "12ppm"}, {0, 128, "25db", "-"}, {0, 1, "No Data", "-"},
        {1, 1, "25db", "12ppm"}, {1, 129, "25db", "-"},
    };
    PSK31MAIN& w = loadIdle();
    g.PpmShowBoth = "YES";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.channel);
        g.ImdChannel = c.imdChannel;
        w.Label12->setText("-");
        w.Label38->setText("-");
        terminal::engines::PskCoreWndProc(pskcore::PskMsgImd, 25, c.channel);
        terminal::engines::PskCoreWndProc(pskcore::PskMsgClockError, 12, c.channel);
        EXPECT_EQ(w.Label15->text(), c.imd);
        EXPECT_EQ(w.Label12->text(), c.clock);
        EXPECT_EQ(w.Label38->text(), c.clock);
    }
}

TEST_F(PskNotices, TheDisplayTickDrawsTheWaterfallAndTheLevel) {
    PSK31MAIN& w = loadAndStart();
    w.resize(1200, 800);
    w.show();
    ASSERT_FALSE(w.Picture3->canvas().isNull());
    const QRgb back = w.Picture3->backColor().rgb();
    pskcore::lib().clearCalls();
    tick();
    const QImage& img = w.Picture3->canvas();
    // The newest row is on top, whatever the ring's offset.
    const QImage shown = w.Picture3->grab().toImage();
    int coloured = 0;
    for (int x = 0; x < shown.width(); ++x)
        coloured += shown.pixel(x, 0) != back;
    EXPECT_GT(coloured, img.width() / 2);
    EXPECT_EQ(w.ProgressBar1->value(), 85); // tuned to the station
    EXPECT_TRUE(calls().contains("fnGetFFTData(51, 768)"));
    EXPECT_FALSE(forms::isLoaded<::multi_ch>());

    g.SpectrumDisplayMode = 1;
    tick();
    EXPECT_FALSE(w.Picture3->canvas().isNull());
}

// The waterfall's colours from the lowest level up.
int colourRank(QRgb pixel) {
    static const std::uint32_t refs[] = {0x800000, 0xFF3300, 0xFFB900, 0xBFFF00, 0x00FF93, 0x00F2FF};
    for (int r = 0; r < 6; ++r)
        if (colour::fromRef(refs[r]).rgb() == pixel) return r;
    return -1;
}

// The noise stays below the lowest colour at the default level (and below the
// scan's default threshold); a raised level shows it as speckle. The carriers
// stand out at both.
TEST_F(PskNotices, TheWaterfallShowsTheCarriersOverTheNoiseAndSpeckleAtARaisedLevel) {
    struct Case {
        const char* level;
        bool speckled;
    } cases[] = {{"90", false}, {"50", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        forms::unload<PSK31MAIN>();
        PSK31MAIN& w = loadAndStart(QStringLiteral("WF_LEVEL=%1\n").arg(c.level));
        w.resize(1200, 800);
        w.show();
        constexpr int kRows = 40;
        for (int i = 0; i < kRows; ++i)
            tick();
        const QImage shown = w.Picture3->grab().toImage();
        const auto column = [&](double hz) {
            return int(w.Picture3->toPixels(hz / pskcore::HzPerBin - g.FftFirstBin, 0).x());
        };
        QMap<int, int> noise; // rank -> pixels, over the band above the carriers
        for (int y = 0; y < kRows; ++y) {
            for (int x = column(2400); x < column(2950); ++x)
                ++noise[colourRank(shown.pixel(x, y))];
        }
        ASSERT_FALSE(noise.contains(-1));
        EXPECT_EQ(noise.firstKey(), 0);
        EXPECT_EQ(noise.size() >= 2, c.speckled);
        EXPECT_GT(noise.value(0), noise.value(1));
        for (double hz : {1000.0, 1500.0, 2210.0}) {
            SCOPED_TRACE(hz);
            for (int y = 0; y < kRows; ++y) {
                int brightest = -1;
                for (int x = column(hz - 8); x <= column(hz + 8); ++x)
                    brightest = std::max(brightest, colourRank(shown.pixel(x, y)));
                ASSERT_GE(brightest, 2) << "row " << y;
            }
        }
    }
}

TEST_F(PskNotices, TheTickFetchesEveryBinItDraws) {
    loadAndStart();
    g.FftLastBin = 819; // zoom x1 after a round of the zoom label
    g.SpectrumLowBin = 38;
    pskcore::lib().clearCalls();
    tick();
    EXPECT_TRUE(calls().contains("fnGetFFTData(38, 819)"));
}

TEST_F(PskNotices, AfcAndExtraChannelsFollowTheLibrary) {
    PSK31MAIN& w = loadAndStart("RX1Freq=1010\nAFC_SW=1\n");
    tick();
    EXPECT_EQ(g.RxFreqHz, pskcore::lib().fnGetRXFrequency(0));
    EXPECT_EQ(w.VScroll1->value(), g.RxFreqHz);
    EXPECT_EQ(w.Text4->text(), QString::number(g.RxFreqHz));

    g.ChannelDisplay = 3;
    pskcore::lib().fnSetRXFrequency(100, 50, 1); // below the pane's range
    pskcore::lib().fnSetRXFrequency(1600, 50, 2);
    tick();
    ::multi_ch& m = forms::multi_ch();
    EXPECT_EQ(m.VScroll1->value(), m.VScroll1->minimum());
    EXPECT_EQ(m.VScroll2->value(), pskcore::lib().fnGetRXFrequency(2));
}

} // namespace

namespace {

class PskRigPtt : public psktest::PskWindowTest {
  protected:
    void TearDown() override {
        if (rig::g.RigPortOpen == 1) rig::RigClosePort();
        sim.reset();
        PskWindowTest::TearDown();
    }
    std::unique_ptr<zvtest::RigSimulator> sim;
};

TEST_F(PskRigPtt, TheRigIsKeyedByCatOnlyWithoutAPttPort) {
    struct Case {
        QString pttControl;
        int keyed;
    } cases[] = {{"0", 1}, {"1", 0}, {"2", 0}};
    loadIdle();
    sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
    ASSERT_TRUE(zvtest::openUnpolledRigLink(*sim));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pttControl.toStdString());
        sim->pttOnCount = sim->pttOffCount = 0;
        g.PttPortControl = c.pttControl;
        terminal::engines::PskCoreWndProc(pskcore::PskMsgStatus, pskcore::StatusTxStarted, 0);
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        EXPECT_EQ(sim->ptt, c.keyed == 1);
        terminal::engines::PskCoreWndProc(pskcore::PskMsgStatus, pskcore::StatusTxEnded, 0);
        ASSERT_TRUE(zvtest::waitForRigToCatchUp(*sim));
        EXPECT_EQ(sim->pttOnCount, c.keyed);
        EXPECT_EQ(sim->pttOffCount, c.keyed);
        EXPECT_FALSE(sim->ptt);
    }
}

// Esc from any box of the main window ends a transmission on the air, and a
// running scan; the rig is released and the transmit box emptied.
TEST_F(PskRigPtt, EscFromAnyBoxEndsTheTransmissionAndTheScan) {
    PSK31MAIN& w = loadAndStart();
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    sim = std::make_unique<zvtest::RigSimulator>("KENWOOD");
    ASSERT_TRUE(zvtest::openUnpolledRigLink(*sim));
    auto rigKeyed = [&](bool keyed) {
        return zvtest::waitUntil([&] { return zvtest::waitForRigToCatchUp(*sim) && sim->ptt == keyed; });
    };
    const std::pair<const char*, QWidget*> boxes[] = {{"transmit box", w.Text1},
                                                      {"call", w.Text5},
                                                      {"name", w.Text6},
                                                      {"QTH", w.Text14},
                                                      {"receive pane", w.RichTextBox1}};
    for (const auto& [name, box] : boxes) {
        SCOPED_TRACE(name);
        w.Text1->setText(QStringLiteral("PSKTEST"));
        w.RichTextBox2->show();
        QTest::keyClick(w.Text1, Qt::Key_F12);
        ASSERT_TRUE(rigKeyed(true));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Escape);
        ASSERT_TRUE(rigKeyed(false));
        EXPECT_EQ(g.Transmitting, 0);
        EXPECT_TRUE(w.Text1->text().isEmpty());
        EXPECT_FALSE(w.RichTextBox2->isVisibleTo(&w)) << "the scroll-back view closes";
    }
    // The scan's button leaves the focus in the call-sign box; Esc there ends the scan.
    QTimer::singleShot(0, &w, [&w] { QTest::keyClick(w.Text5, Qt::Key_Escape); });
    QTest::mouseClick(w.Command11, Qt::LeftButton);
    EXPECT_FALSE(w.Timer5->isActive());
    EXPECT_EQ(w.ScanStopRequest, 1);
    EXPECT_EQ(g.WfDrawState, 0);
}

} // namespace
