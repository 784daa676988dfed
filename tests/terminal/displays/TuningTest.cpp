// Tuning by the waterfall, the narrow spectrum and the frequency boxes: the
// bin arithmetic, the clicks and keys on the real window, and a station's text
// brought in by a click on its trace in the PSK library's stand-in.
#include "support/Mouse.h"
#include "support/Popups.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/engines/PskFixture.h"
#include "terminal/transmit/TxFixture.h"

#include "core/engines/MmttyState.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "support/ProgramFolder.h"
#include "terminal/engines/PskCoreWndProc.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSet>

namespace {

using core::g;

TEST(TuningMath, BinsAndFrequencies) {
    struct Case {
        const char* name;
        int got, want;
    } cases[] = {
        {"left edge of the first bin", terminal::displays::clickHz(0, 51), 199},
        {"x 13 is bin 64", terminal::displays::clickHz(13, 51), 250},
        {"x2 left edge around 1000 Hz", terminal::displays::zoomBins(1000, 2).first, 154},
        {"a click there", terminal::displays::clickHz(0, terminal::displays::zoomBins(1000, 2).first), 602},
        {"half to even, down", terminal::displays::binToHz(80), 312},
        {"half to even, up", terminal::displays::binToHz(112), 438},
        {"x3 left edge", terminal::displays::zoomBins(1000, 3).first, 188},
        {"x3 right edge", terminal::displays::zoomBins(1000, 3).last, 444},
        {"a fractional x gives the frequency under it", terminal::displays::clickHz(12.6, 51), 248},
        {"a bin of a frequency", terminal::displays::hzToBin(2210), 566},
        {"span 2 near the bottom is clipped", terminal::displays::spectrumSpan(200, 2).low, 150},
        {"span 2 high edge", terminal::displays::spectrumSpan(200, 2).high, 400},
        {"span 5 near the top is clipped", terminal::displays::spectrumSpan(3400, 5).high, 3500},
        {"span 5 low edge", terminal::displays::spectrumSpan(3400, 5).low, 2900},
        {"a frequency below the band", terminal::displays::clampHz(20), 100},
        {"a frequency above the band", terminal::displays::clampHz(9000), 3500},
        {"a box value below 200", terminal::displays::boxHz(150), 200},
        {"a box value above 3000", terminal::displays::boxHz(3500), 3000},
        {"200 passes", terminal::displays::boxHz(200), 200},
        {"3000 passes", terminal::displays::boxHz(3000), 3000},
        {"threshold at y 60", terminal::displays::scanThreshold(60), 37},
        {"threshold at the bottom", terminal::displays::scanThreshold(100), -3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want) << c.name;
}

TEST(TuningMath, RttyMarkAndSpaceStayInTheBand) {
    struct Case {
        double x;
        int mark, space, wantMark, wantSpace;
    } cases[] = {
        {2450, 2125, 2295, 2530, 2700}, // 2650 + 170 passes 2700
        {50, 2125, 2295, 300, 470},     // 250 is below 300
        {50, 0, 2450, 300, 470},        // the largest shift that meets only the lower rule
        {50, 0, 2451, 2530, 2700},      // a larger one meets the upper rule first
        {1000, 2125, 2295, 1200, 1370}, // inside the band the shift is kept
        {1000.5, 2125, 2325, 1200, 1400},
    };
    for (const Case& c : cases) {
        const terminal::displays::MarkSpace ms = terminal::displays::rttyMarkSpace(c.x, c.mark, c.space);
        EXPECT_EQ(ms.mark, c.wantMark) << c.x;
        EXPECT_EQ(ms.space, c.wantSpace) << c.x;
    }
}

class Tuning : public psktest::PskWindowTest {
  protected:
    static QString rx(int hz, int ch = 0) {
        return QStringLiteral("fnSetRXFrequency(%1, 50, %2)").arg(hz).arg(ch);
    }
    static QString tx(int hz) { return QStringLiteral("fnSetTXFrequency(%1)").arg(hz); }
    // Clicks a mouse button on the picture at x, y of its scale.
    static void press(PictureBox* p, Qt::MouseButton b, double x, double y = 50) {
        zvtest::clickAt(p, b, p->toPixels(x, y));
    }
    static void type(QLineEdit* box, const QString& keys) {
        box->setFocus();
        QTest::keyClicks(box, keys);
    }
    // Answers the pop-up menu that the next click opens with the given keys.
    static void answerMenu(QList<Qt::Key> keys) {
        QTimer::singleShot(0, [keys] {
            QWidget* menu = QApplication::activePopupWidget();
            ASSERT_NE(menu, nullptr);
            for (Qt::Key k : keys)
                QTest::keyClick(menu, k);
        });
    }
};

TEST_F(Tuning, ALeftClickOnEitherPictureTunesChannelOne) {
    struct Case {
        const char* name;
        int picture; // 3 or 4
        double x;
        int net, transmitting, mmvariTx, mmttyTx, satellite;
        int wantRx; // 0: not tuned
        bool wantTx;
    } cases[] = {
        {"a bin on the waterfall", 3, 13, 0, 0, 0, 0, 0, 250, false},
        {"the first bin", 3, 0, 0, 0, 0, 0, 0, 199, false},
        {"NET moves TX along", 3, 80 - 51, 1, 0, 0, 0, 0, 312, true},
        {"the narrow spectrum", 4, 10, 0, 0, 0, 0, 0, -1, false},
        {"the narrow spectrum with NET", 4, 20, 1, 0, 0, 0, 0, -1, true},
        {"refused while transmitting", 3, 300, 0, 1, 0, 0, 0, 0, false},
        {"refused while the multi-mode control transmits", 4, 30, 0, 0, 1, 0, 0, 0, false},
        {"satellite mode lets it tune", 3, 300, 0, 1, 0, 0, 1, 1371, false},
        {"never while the RTTY program transmits", 3, 300, 0, 0, 0, 1, 1, 0, false},
    };
    PSK31MAIN& w = loadIdle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w.VScroll1->setValue(3000);
        w.VScroll2->setValue(3000);
        pskcore::lib().clearCalls();
        g.NetOn = c.net;
        g.Transmitting = c.transmitting;
        g.MmvariTxOn = c.mmvariTx;
        g.MmttyTxOn = c.mmttyTx;
        g.SatelliteMode = c.satellite;
        g.ImdChannel = 2;
        const int lowBin = g.SpectrumLowBin;
        const int want = c.wantRx < 0 ? terminal::displays::clickHz(c.x, lowBin) : c.wantRx;
        press(c.picture == 3 ? w.Picture3 : w.Picture4, Qt::LeftButton, c.x);
        if (want == 0) {
            EXPECT_EQ(g.RxFreqHz, 3000);
            EXPECT_TRUE(calls().isEmpty()) << calls().join(' ').toStdString();
            continue;
        }
        EXPECT_EQ(g.RxFreqHz, want);
        EXPECT_EQ(w.VScroll1->value(), want);
        EXPECT_EQ(w.Text4->text(), QString::number(want));
        EXPECT_EQ(g.ImdChannel, 0);
        EXPECT_EQ(w.Label8->text(), QStringLiteral(" Ch1"));
        EXPECT_TRUE(calls().contains(rx(want)));
        EXPECT_EQ(calls().contains(tx(want)), c.wantTx);
        EXPECT_EQ(g.TxFreqHz, c.wantTx ? want : 3000);
        EXPECT_EQ(g.SpectrumLowHz, terminal::displays::spectrumSpan(want, g.SpectrumZoom).low);
    }
}

TEST_F(Tuning, AWaterfallClickEndsTheScanAndTheThresholdModeSetsTheLevel) {
    PSK31MAIN& w = loadIdle();
    w.Timer5->start(1000);
    press(w.Picture3, Qt::LeftButton, 100, 20);
    EXPECT_FALSE(w.Timer5->isActive());
    EXPECT_EQ(w.ScanStopRequest, 1);
    EXPECT_FALSE(w.Line15->isVisible());

    const int before = g.RxFreqHz;
    w.ScanLevelSetMode = 1;
    press(w.Picture3, Qt::LeftButton, 200, 60);
    EXPECT_EQ(w.ScanThreshold, 37);
    EXPECT_TRUE(readFile(QStringLiteral("ZORVATEK.INI")).contains("ScanLevel= 37\r\n"));
    EXPECT_EQ(w.Line15->y1(), 60);
    EXPECT_TRUE(w.Line15->isVisible());
    EXPECT_EQ(g.RxFreqHz, before);
}

TEST_F(Tuning, MovingOverTheWaterfallShowsTheFrequencyUnderTheMouse) {
    struct Case {
        const char* name;
        int mode, display;
        double x;
        const char* want;
    } cases[] = {
        {"PSK waterfall", core::ModeBpsk, 0, 13, "250Hz"},
        {"RTTY scale is Hz less 200", core::ModeRtty, 0, 300, "500Hz"},
        {"nothing over the spectrum", core::ModeBpsk, 1, 13, ""},
    };
    PSK31MAIN& w = loadIdle();
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g.OpMode = c.mode;
        g.SpectrumDisplayMode = c.display;
        w.Picture3->setToolTip(QStringLiteral("old"));
        zvtest::moveMouseTo(w.Picture3, w.Picture3->toPixels(c.x, 50));
        EXPECT_EQ(w.Picture3->toolTip(), QString::fromLatin1(c.want));
    }
}

TEST_F(Tuning, TheFrequencyBarsRunFrom100To3500WithTheTopHighest) {
    PSK31MAIN& w = loadIdle();
    for (QScrollBar* s : {w.VScroll1, w.VScroll2}) {
        EXPECT_EQ(s->minimum(), 100);
        EXPECT_EQ(s->maximum(), 3500);
        s->setValue(1000);
        s->setFocus();
        QTest::keyClick(s, Qt::Key_Up);
        EXPECT_EQ(s->value(), 1001);
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, 2)); // the up arrow
        EXPECT_EQ(s->value(), 1002);
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() / 2, s->height() - 2));
        EXPECT_EQ(s->value(), 1001);
    }
}

TEST_F(Tuning, TheFrequencyBoxesTakeDigitsAndTuneOnEnter) {
    struct Case {
        const char* name;
        bool txBox;
        int net, afc;
        QString keys;
        QString wantText;
        int wantRx, wantTx, wantNet, wantAfc;
    } cases[] = {
        {"below 200", false, 0, 0, "150\r", "200", 200, 1200, 0, 0},
        {"above 3000", false, 0, 0, "3500\r", "3000", 3000, 1200, 0, 0},
        {"a letter is swallowed", false, 0, 0, "x", "1000", 1000, 1200, 0, 0},
        {"RX with NET moves TX", false, 1, 0, "1800\r", "1800", 1800, 1800, 1, 0},
        {"an empty box tunes nothing, AFC stays off", false, 0, 1, "\r", "", 1000, 1200, 0, 0},
        {"AFC back on after Enter", false, 0, 1, "700\r", "700", 700, 1200, 0, 1},
        {"TX alone", true, 0, 0, "900\r", "900", 1000, 900, 0, 0},
        {"TX with NET brings RX and NET back", true, 1, 0, "2500\r", "2500", 2500, 2500, 1, 0},
        {"a TX key suspends NET until Enter", true, 1, 0, "25", "25", 1000, 1200, 0, 0},
        {"a letter in the TX box", true, 0, 0, "q", "1200", 1000, 1200, 0, 0},
    };
    PSK31MAIN& w = loadIdle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g.NetOn = 0;
        w.VScroll1->setValue(1000);
        w.VScroll2->setValue(1200);
        w.AfcWasOn = w.NetWasOn = 0;
        g.NetOn = c.net;
        g.AfcOn = c.afc;
        QLineEdit* box = c.txBox ? w.Text8 : w.Text4;
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        for (QChar ch : c.keys) {
            if (ch == '\r')
                QTest::keyClick(box, Qt::Key_Return);
            else
                QTest::keyClicks(box, QString(ch));
        }
        EXPECT_EQ(box->text(), c.wantText);
        EXPECT_EQ(g.RxFreqHz, c.wantRx);
        EXPECT_EQ(g.TxFreqHz, c.wantTx);
        EXPECT_EQ(g.NetOn, c.wantNet);
        EXPECT_EQ(g.AfcOn, c.wantAfc);
    }
}

TEST_F(Tuning, APastedLetterDoesNotReachTheBox) {
    PSK31MAIN& w = loadIdle();
    w.Text4->setText(QStringLiteral("12"));
    w.Text4->insert(QStringLiteral("3a4"));
    EXPECT_EQ(w.Text4->text(), QStringLiteral("12"));
}

TEST_F(Tuning, ARightClickSwitchesToThreeChannelsAndPlacesTheChosenOne) {
    PSK31MAIN& w = loadIdle();
    ASSERT_EQ(g.ChannelDisplay, 1);
    answerMenu({Qt::Key_Escape});
    press(w.Picture3, Qt::RightButton, 300);
    EXPECT_EQ(g.ChannelDisplay, 3);
    EXPECT_EQ(g.Ch2RxFreq, 1400);
    EXPECT_EQ(g.Ch3RxFreq, 1600);
    EXPECT_TRUE(w.Label43->isVisibleTo(&w));
    EXPECT_FALSE(w.Line8->isVisible());
    // The switch (and the window's activation) retunes channel 2 to where it
    // was; the cancelled menu moves it nowhere.
    const QStringList channel2 = calls().filter(QStringLiteral(", 50, 1)"));
    ASSERT_FALSE(channel2.isEmpty());
    for (const QString& call : channel2)
        EXPECT_EQ(call, rx(1400, 1));

    answerMenu({Qt::Key_Down, Qt::Key_Return}); // the first item: channel 2
    press(w.Picture3, Qt::RightButton, 300);
    const int hz = terminal::displays::clickHz(300, g.FftFirstBin);
    EXPECT_EQ(g.Ch2RxFreq, hz);
    EXPECT_EQ(forms::multi_ch().VScroll1->value(), hz);
    EXPECT_TRUE(calls().contains(rx(hz, 1)));
    EXPECT_EQ(forms::multi_ch().Label5->text(), QString::number(hz));
    EXPECT_EQ(w.Line11->x1(), terminal::engines::NearestBin(hz) - g.FftFirstBin);
    EXPECT_EQ(w.Line13->x1(), terminal::engines::NearestBin(hz) - g.SpectrumLowBin);
    forms::multi_ch().VScroll2->setValue(2000); // the bar itself retunes channel 3
    EXPECT_TRUE(calls().contains(rx(2000, 2)));
    EXPECT_EQ(w.Line12->x1(), terminal::engines::NearestBin(2000) - g.FftFirstBin);
    EXPECT_EQ(mmvstate::g.SubChannelSel, 0);
    EXPECT_EQ(g.ImdChannel, 0);
}

TEST_F(Tuning, ARightClickIsRefusedWhileRecording) {
    PSK31MAIN& w = loadIdle();
    ASSERT_TRUE(zvtest::chooseMenuItem(w.RecPsk)); // its dialog opens, the recording is set up
    ASSERT_EQ(g.RecPlayState, 1);
    ui::script::clearAsked();
    press(w.Picture3, Qt::RightButton, 300);
    ASSERT_EQ(ui::script::asked().size(), 1);
    EXPECT_EQ(ui::script::asked()[0].prompt, QStringLiteral("録音モード中は変更できません"));
    EXPECT_EQ(g.ChannelDisplay, 1);
}

// A click on a station's trace brings its text; one beside it loses it.
TEST_F(Tuning, AClickOnAStationsTraceReceivesItsText) {
    pskcore::lib().hooks().charIntervalMs = 2;
    PSK31MAIN& w = loadAndStart("RX_SearchRange=50\n");
    g.NetOn = 1;
    auto clickAt = [&](int hz) {
        press(w.Picture3, Qt::LeftButton, terminal::displays::hzToBin(hz) - g.FftFirstBin);
    };
    clickAt(2210);
    EXPECT_NEAR(g.RxFreqHz, 2210, 4);
    EXPECT_TRUE(calls().contains(tx(g.RxFreqHz)));
    ASSERT_TRUE(zvtest::waitUntil([&] { return w.RichTextBox1->text().contains("NAME IS TOM"); }));

    clickAt(1800);
    QCoreApplication::processEvents(); // notices posted before the click
    w.RichTextBox1->setText(QString());
    clickAt(1500);
    ASSERT_TRUE(zvtest::waitUntil([&] { return w.RichTextBox1->text().contains("移動運用中"); }));
    EXPECT_FALSE(w.RichTextBox1->text().contains("QQ7GHI"));

    ASSERT_TRUE(zvtest::transmitByF12(w));
    pskcore::lib().clearCalls();
    clickAt(2210);
    EXPECT_NEAR(g.RxFreqHz, 1500, 4);
    EXPECT_FALSE(calls().join(' ').contains("fnSetRXFrequency"));
    EXPECT_TRUE(zvtest::endByEscape(w));
}

class RttyTuning : public zvtest::TxTest {};

TEST_F(RttyTuning, ClicksPostMarkAndSpaceOrTheRightClickFrequency) {
    runRttyProgram();
    core::mm.SpaceFreq = 2295;
    g.MarkFreq = 2125;
    zvtest::clickAt(w->Picture3, Qt::LeftButton, w->Picture3->toPixels(2450, 50));
    ASSERT_TRUE(zvtest::waitUntil([&] { return posted().size() >= 2; }));
    EXPECT_EQ(posted().mid(0, 2),
              (QList<mmtty::Pair>{{mmtty::CmdSetMark, 2530}, {mmtty::CmdSetSpace, 2700}}));
    link->clearPosted();
    zvtest::clickAt(w->Picture3, Qt::RightButton, w->Picture3->toPixels(50, 50));
    ASSERT_TRUE(zvtest::waitUntil([&] { return !posted().isEmpty(); }));
    EXPECT_EQ(posted(), (QList<mmtty::Pair>{{mmtty::CmdRightClickFreq, 250}}));
}

} // namespace

namespace {

TEST_F(Tuning, TheScanStopsOnEachStationInTurnAndWraps) {
    PSK31MAIN& w = loadAndStart();
    g.SpectrumDisplayMode = 0;
    w.ScanThreshold = 24; // above the noise, below the weakest station
    // The weakest station's trace is wide enough to stop the scan twice.
    const int stops[] = {1000, 1500, 2200, 2220, 1000};
    for (int want : stops) {
        SCOPED_TRACE(want);
        QTest::mouseClick(w.Command11, Qt::LeftButton);
        EXPECT_EQ(w.VScroll1->value(), want);
        EXPECT_EQ(g.RxFreqHz, want);
        EXPECT_EQ(g.WfDrawState, 0);
        EXPECT_EQ(g.SpectrumDisplayMode, 0);
        EXPECT_FALSE(w.Line15->isVisible());
        EXPECT_FALSE(w.Timer5->isActive());
    }
    w.VScroll1->setValue(3060);
    w.Timer5_Timer();
    EXPECT_EQ(w.VScroll1->value(), 220);
}

// At the default threshold the scan stops on the stations' traces only, never
// on the noise between them, and comes to each station in turn.
TEST_F(Tuning, ADefaultScanStopsOnTheStationsOnly) {
    PSK31MAIN& w = loadAndStart();
    ASSERT_EQ(w.ScanThreshold, 15);
    const auto& stations = pskcore::PskCore::StationsHz;
    QSet<int> found;
    for (int scan = 0; scan < 12 && found.size() < int(stations.size()); ++scan) {
        QTest::mouseClick(w.Command11, Qt::LeftButton); // returns once the scan has stopped
        const int hz = w.VScroll1->value();
        const auto on = std::find_if(stations.begin(), stations.end(),
                                     [&](int station) { return std::abs(hz - station) < 30; });
        ASSERT_NE(on, stations.end()) << "stopped at " << hz << " Hz";
        found.insert(*on);
    }
    EXPECT_EQ(found.size(), int(stations.size()));
}

// The scan steps 20 Hz on each tick of its 20 ms timer, about 50 steps a
// second: every tick steps once, and nothing moves it but the ticks.
TEST_F(Tuning, TheScanStepsFiftyTimesASecond) {
    PSK31MAIN& w = loadAndStart("ScanLevel=99\n"); // above every signal: it never stops by itself
    constexpr int kSteps = 50;
    constexpr int kBottomHz = 200;
    int ticks = 0, steps = 0, wraps = 0, moves = 0, lastHz = 0;
    const QMetaObject::Connection moving =
        QObject::connect(w.VScroll1, &QScrollBar::valueChanged, [&](int) { ++moves; });
    // Runs after the scan's own handler of the tick.
    const QMetaObject::Connection ticking = QObject::connect(w.Timer5, &QTimer::timeout, [&] {
        ++ticks;
        const int hz = w.VScroll1->value();
        const bool wrapped = hz == kBottomHz + 20 && lastHz != kBottomHz;
        if (hz == lastHz + 20 || wrapped) ++steps;
        if (wrapped) ++wraps; // back to the bottom, then up a step
        lastHz = hz;
    });
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(w.Timer5->interval(), 20);
        EXPECT_TRUE(w.Timer5->isActive());
        lastHz = w.VScroll1->value();
        ticks = steps = wraps = moves = 0;
        zvtest::waitUntil([&] { return ticks >= kSteps; });
        QTest::mouseClick(w.Command11, Qt::LeftButton); // stops it
        EXPECT_GE(ticks, kSteps);
        EXPECT_EQ(steps, ticks) << "one 20 Hz step on each tick";
        EXPECT_EQ(moves, ticks + wraps) << "nothing but the ticks moves the receiver";
    });
    QTest::mouseClick(w.Command11, Qt::LeftButton);
    QObject::disconnect(moving);
    QObject::disconnect(ticking);
    EXPECT_EQ(g.WfDrawState, 0);
    EXPECT_FALSE(w.Timer5->isActive());
}

TEST_F(Tuning, TheScansRightButtonShowsAndHidesTheThresholdLine) {
    PSK31MAIN& w = loadIdle();
    g.SpectrumDisplayMode = 0;
    w.ScanThreshold = 37;
    QTest::mouseClick(w.Command11, Qt::RightButton);
    EXPECT_EQ(w.ScanLevelSetMode, 1);
    EXPECT_TRUE(w.Line15->isVisible());
    EXPECT_EQ(w.Line15->y1(), 59);
    EXPECT_EQ(g.SpectrumDisplayMode, 1);
    QTest::mouseClick(w.Command11, Qt::RightButton);
    EXPECT_EQ(w.ScanLevelSetMode, 0);
    EXPECT_FALSE(w.Line15->isVisible());
    EXPECT_EQ(g.SpectrumDisplayMode, 0);
}

} // namespace

namespace {

// At every zoom step a click on a station's trace still lands on it.
TEST_F(Tuning, TheZoomCyclesAndAClickStillLandsOnTheTrace) {
    struct Case {
        const char* caption;
        int step;
    } cases[] = {{"x2", 2}, {"x3", 1}, {"x4", 1}, {"x5", 1}, {"x1", 4}};
    PSK31MAIN& w = loadIdle();
    g.NetOn = 0;
    g.ChannelDisplay = 3; // the extra channels' markers follow the zoom
    forms::multi_ch().VScroll1->setValue(1400);
    forms::multi_ch().VScroll2->setValue(2210);
    w.VScroll2->setValue(1000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        QTest::mouseClick(w.Label39, Qt::LeftButton);
        EXPECT_EQ(w.Label39->text(), QString::fromLatin1(c.caption));
        EXPECT_EQ(g.DrawBinStep1, c.step);
        const terminal::displays::BinSpan span = terminal::displays::zoomBins(1000, g.WfMagnify);
        EXPECT_EQ(g.FftFirstBin, span.first);
        EXPECT_EQ(w.Picture3->scaleWidth(), span.last - span.first);
        EXPECT_EQ(w.Line11->x1(), terminal::engines::NearestBin(1400) - g.FftFirstBin);
        EXPECT_EQ(w.Line12->x1(), terminal::engines::NearestBin(2210) - g.FftFirstBin);
        for (int station : {1000, 1500}) {
            press(w.Picture3, Qt::LeftButton, terminal::displays::hzToBin(station) - g.FftFirstBin);
            EXPECT_NEAR(g.RxFreqHz, station, 6);
        }
    }
    EXPECT_EQ(g.FftFirstBin, 51); // x1: 200 Hz
}

} // namespace

namespace {

// The waterfall's colours from the lowest level up; -1 for anything else (a marker line).
int colourRank(QRgb pixel) {
    static const std::uint32_t refs[] = {0x800000, 0xFF3300, 0xFFB900, 0xBFFF00, 0x00FF93, 0x00F2FF};
    for (int r = 0; r < 6; ++r)
        if (colour::fromRef(refs[r]).rgb() == pixel) return r;
    return -1;
}

// The middle of the trace nearest a column in the newest row: the run of
// pixels above the noise floor's colour.
int traceCentre(const QImage& shown, int around) {
    const auto onTrace = [&](int x) { return colourRank(shown.pixel(x, 0)) > 0; };
    int at = -1;
    for (int d = 0; d <= 12 && at < 0; ++d) {
        if (around - d >= 0 && onTrace(around - d)) at = around - d;
        if (around + d < shown.width() && onTrace(around + d)) at = around + d;
    }
    if (at < 0) return -1;
    int from = at, to = at;
    while (from > 0 && onTrace(from - 1))
        --from;
    while (to + 1 < shown.width() && onTrace(to + 1))
        ++to;
    // The point in the middle of the pixels from .. to, which cover [from, to + 1).
    return (from + to + 1) / 2;
}

// A click in the middle of a station's trace tunes within a bin of it at
// every zoom: the waterfall draws each bin where a click reads it. (At x1 a
// pixel is about two bins wide: the frequency may be a little more than a bin off.)
TEST_F(Tuning, AClickOnATracesMiddleTunesTheStationAtEveryZoom) {
    PSK31MAIN& w = loadAndStart("RX1Freq=1300\nTX1Freq=1300\n");
    w.resize(1200, 800);
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    g.NetOn = 0;
    for (int zoom = 1; zoom <= 5; ++zoom) {
        SCOPED_TRACE(zoom);
        while (g.WfMagnify != zoom)
            QTest::mouseClick(w.Label39, Qt::LeftButton);
        for (int station : pskcore::PskCore::StationsHz) {
            const double x = terminal::displays::hzToBin(station) - g.FftFirstBin;
            if (x < 10 || x > g.FftLastBin - g.FftFirstBin - 10) continue; // not in the zoomed band
            SCOPED_TRACE(station);
            w.VScroll1->setValue(1300);
            terminal::engines::PskDisplayTick();
            const QImage shown = w.Picture3->grab().toImage();
            const int centre = traceCentre(shown, int(w.Picture3->toPixels(x, 0).x()));
            ASSERT_GE(centre, 0) << "no trace";
            QTest::mouseClick(w.Picture3, Qt::LeftButton, {}, QPoint(centre, 30));
            EXPECT_LE(std::abs(g.RxFreqBin - terminal::displays::hzToBin(station)), 1) << "x " << centre;
            EXPECT_LT(std::abs(g.RxFreqHz - station), 1.5 * pskcore::HzPerBin) << "x " << centre;
        }
    }
}

} // namespace
