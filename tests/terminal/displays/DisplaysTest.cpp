// The span, trace scale and tab controls, the squelch by slider and by a click
// on the level bar for each engine, and the satellite mode.
#include "terminal/transmit/TxFixture.h"

#include "core/ini/IniValues.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/mmvari/MmvariIds.h"
#include "rig/RigGlobals.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/displays/PskDisplay.h"
#include "terminal/displays/TracePlot.h"
#include "terminal/engines/PskCoreWndProc.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/receive/ContestNumber.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>

#include <random>

namespace {

using core::g;

class Displays : public zvtest::TxTest {
  protected:
    QString ini() const { return QString::fromLatin1(readFile(QStringLiteral("ZORVATEK.INI"))); }
    static QString squelchCalls(int level) {
        return QStringLiteral("fnSetSquelchThreshold(%1, 20, 0) fnSetSquelchThreshold(%1, 20, 1) "
                              "fnSetSquelchThreshold(%1, 20, 2)")
            .arg(level);
    }
};

TEST_F(Displays, TheSquelchGoesToTheEngineInUse) {
    enum By { Slider, Bar, Keys }; // the knob dragged, a press in the middle of the level bar, keys
    struct Case {
        const char* name;
        int mode;
        By by;
    } cases[] = {
        {"PSK by the slider", core::ModeBpsk, Slider},      {"PSK by the bar", core::ModeBpsk, Bar},
        {"PSK by the keys", core::ModeBpsk, Keys},          {"multi-mode", core::ModeMmvari, Slider},
        {"multi-mode by the keys", core::ModeMmvari, Keys}, {"RTTY by the bar", core::ModeRtty, Bar},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.mode == core::ModeRtty) runRttyProgram();
        if (c.mode == core::ModeMmvari) useMmvari();
        if (c.mode == core::ModeBpsk) g.OpMode = core::ModeBpsk;
        w->Slider1->setValue(3);
        if (c.mode == core::ModeMmvari) w->MMVARI->clearCalls();
        pskcore::lib().clearCalls();
        if (c.by == Bar) {
            QTest::mouseClick(w->ProgressBar1, Qt::LeftButton, {}, QPoint(w->ProgressBar1->width() / 2, 3));
        } else if (c.by == Keys) {
            QTest::keyClick(w->Slider1, Qt::Key_Home);
            for (int i = 0; i < 5; ++i)
                QTest::keyClick(w->Slider1, Qt::Key_Up);
            ASSERT_TRUE(zvtest::waitForPostedEvents());
        } else {
            w->Slider1->setValue(5);
            QTest::mouseRelease(w->Slider1, Qt::LeftButton);
        }
        EXPECT_EQ(w->Slider1->value(), 5);
        EXPECT_EQ(g.SquelchLevel, QStringLiteral(" 50"));
        EXPECT_TRUE(ini().contains("SQ_LEVEL= 50\r\n"));
        if (c.mode == core::ModeBpsk) {
            // Keys step through the values on their way; a drag or a press gives one change.
            if (c.by == Keys)
                EXPECT_TRUE(calls().join(' ').endsWith(squelchCalls(50))) << calls().join(' ').toStdString();
            else
                EXPECT_EQ(calls().join(' '), squelchCalls(50));
        }
        if (c.mode == core::ModeMmvari) {
            EXPECT_EQ(setsOf(mmvari::PSquelch).value(setsOf(mmvari::PSquelch).size() - 1), QVariant(1000));
        }
        if (c.mode == core::ModeRtty) {
            ASSERT_TRUE(zvtest::waitUntil([&] { return !posted().isEmpty(); }));
            EXPECT_EQ(posted(), (QList<mmtty::Pair>{{mmtty::CmdSetSquelch, 512}}));
        }
    }
}

TEST_F(Displays, TheSpanSetsTheDrawStepAndTheClippedRange) {
    struct Case {
        int span, step, low, high;
    } cases[] = {
        {3, 1, 1200, 1800}, {4, 2, 1100, 1900}, {7, 4, 800, 2200}, {10, 6, 500, 2500}, {25, 6, 150, 3500}};
    g.NetOn = 0;
    w->VScroll1->setValue(1500);
    g.EngineMsgHold = 1; // a hold set by someone else stays
    for (const Case& c : cases) {
        SCOPED_TRACE(c.span);
        w->VScroll3->setValue(c.span);
        EXPECT_EQ(g.SpectrumZoom, c.span);
        EXPECT_EQ(g.RewindStep, c.step);
        EXPECT_EQ(g.SpectrumLowHz, c.low);
        EXPECT_EQ(g.SpectrumHighHz, c.high);
        EXPECT_TRUE(ini().contains(QStringLiteral("F_Range= %1\r\n").arg(c.span)));
        EXPECT_EQ(g.EngineMsgHold, 1);
    }
    EXPECT_EQ(w->VScroll3->maximum(), 25);
    w->VScroll3->setFocus();
    QTest::keyClick(w->VScroll3, Qt::Key_Down);
    EXPECT_EQ(w->VScroll3->value(), 24);
}

TEST_F(Displays, TheTraceScaleAndTheTabs) {
    EXPECT_EQ(w->VScroll5->minimum(), 5);
    EXPECT_EQ(w->VScroll5->maximum(), 200);
    EXPECT_EQ(w->VScroll5->value(), 50);
    w->VScroll5->setValue(120);
    EXPECT_EQ(g.SpectrumScaleDiv1, 120);
    EXPECT_EQ(g.SpectrumScaleDiv2, 240);

    struct Case {
        int mode;
        int tab;
    } cases[] = {{core::ModeRtty, 0}, {core::ModeMmvari, 0}, {core::ModeCw, 0}, {core::ModeBpsk, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        g.OpMode = c.mode;
        w->SSTab1->setCurrentIndex(0);
        w->SSTab1->setCurrentIndex(1);
        EXPECT_EQ(w->SSTab1->currentIndex(), c.tab);
    }
    EXPECT_EQ(g.ScanLevelText, QStringLiteral("Line"));
}

TEST_F(Displays, TheChannelButtonsMoveTheSpectrumToTheirChannel) {
    struct Case {
        int index, mode;
        const char* label; // what Label8 shows afterwards
        int centre;        // the frequency the spectrum is centred on
    } cases[] = {
        {1, core::ModeBpsk, " Ch2", 1500},
        {2, core::ModeBpsk, " Ch3", 2210},
        {0, core::ModeBpsk, " Ch1", 1000},
        {2, core::ModeMmvari, " Ch1", 1000}, // the multi-mode engine keeps its spectrum
    };
    g.RxFreqHz = 1000;
    g.Ch2RxFreq = 1500;
    g.Ch3RxFreq = 2210;
    terminal::engines::SetSpectrumRange(1000);
    QPushButton* buttons[] = {w->Command15, w->Command16, w->Command17};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        g.OpMode = c.mode;
        for (QPushButton* b : buttons)
            b->setEnabled(true);
        QTest::mouseClick(buttons[c.index], Qt::LeftButton);
        EXPECT_EQ(g.ImdChannel, c.index);
        EXPECT_EQ(w->Label8->text(), QString::fromLatin1(c.label));
        EXPECT_EQ(g.SpectrumLowHz, std::max(150, c.centre - g.SpectrumZoom * 100));
        for (QPushButton* b : buttons)
            EXPECT_EQ(colour::backColor(b), b == buttons[c.index] ? 0x02DB17u : 0xC0FFC0u);
    }
}

TEST_F(Displays, TheSyncSwitchShowsDataOrLineSync) {
    w->HScroll1->setValue(512);
    struct Case {
        bool data;
        const char* stored;
        int width; // the data sync's 16 points, else the time base
    } cases[] = {{true, "YES", 16}, {false, "NO", 512}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        QTest::mouseClick(w->Check6, Qt::LeftButton);
        EXPECT_EQ(g.PpmShowBoth, QString::fromLatin1(c.stored));
        EXPECT_EQ(w->Label24->isHidden(), c.data); // the Line tab may be behind another
        EXPECT_EQ(w->Label37->isHidden(), !c.data);
        EXPECT_EQ(w->HScroll1->isHidden(), c.data);
        EXPECT_EQ(w->Picture1->scaleWidth(), c.width);
    }
}

TEST_F(Displays, TheColourItemShowsThePanelAndItsOkHidesIt) {
    w->show();
    ASSERT_TRUE(zvtest::waitExposed(w));
    ASSERT_FALSE(w->Frame7->isVisible());
    ASSERT_TRUE(zvtest::chooseInMenuBar(w->menuBar(), w->WFCOLOR));
    EXPECT_TRUE(w->Frame7->isVisible());
    QTest::mouseClick(w->Command26, Qt::LeftButton);
    EXPECT_FALSE(w->Frame7->isVisible());
}

TEST_F(Displays, SatelliteModeTogglesTheAfcLimitAndIsStored) {
    struct Case {
        const char* name;
        int recording, transmitting;
        bool wantOn;
        QString wantCalls;
        int asked;
    } cases[] = {
        {"on", 0, 0, true, "fnSetAFCLimit(3000, 0) fnSetAFCLimit(3000, 1) fnSetAFCLimit(3000, 2)", 0},
        {"refused while transmitting", 0, 1, true, "", 0},
        {"refused while recording", 1, 0, true, "", 1},
        {"off gives back the limit", 0, 0, false,
         "fnSetAFCLimit(100, 0) fnSetAFCLimit(100, 1) fnSetAFCLimit(100, 2)", 0},
    };
    g.AfcLimit = QStringLiteral("100");
    ASSERT_EQ(g.SatelliteMode, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g.RecPlayState = c.recording;
        g.Transmitting = c.transmitting;
        pskcore::lib().clearCalls();
        ui::script::clearAsked();
        ASSERT_TRUE(zvtest::chooseMenuItem(w->SATMOD));
        EXPECT_EQ(g.SatelliteMode, c.wantOn ? 1 : 0);
        EXPECT_EQ(w->SATMOD->isChecked(), c.wantOn);
        EXPECT_EQ(w->Label30->isVisibleTo(w), c.wantOn);
        // The PTT port's own timer may call the library while the menu is open.
        EXPECT_EQ(calls().filter(QStringLiteral("fnSetAFCLimit")).join(' '), c.wantCalls);
        EXPECT_EQ(ui::script::asked().size(), c.asked);
    }
    EXPECT_TRUE(ini().contains("SateliteMode=False\r\n"));
}

} // namespace

namespace {

TEST(ContestNumber, TheLeadingNumberHeldToTheSpinsRange) {
    struct Case {
        const char* text;
        int want;
    } cases[] = {{"5", 5},         {"042", 42},      {"12abc", 12}, {"abc", 0}, {"-7", 0},
                 {"40000", 32766}, {"32766", 32766}, {"2.5", 2},    {"3.5", 4}, {" 9", 9}};
    for (const Case& c : cases)
        EXPECT_EQ(contestNumberOf(QString::fromLatin1(c.text)), c.want) << c.text;
}

TEST_F(Displays, TheContestNumberShowsThreeDigitsAndIsStored) {
    struct Case {
        const char* name;
        int before;
        QString typed;
        int spin;
        QString shown;
    } cases[] = {
        {"a digit", 1, "5", 5, "005"},
        {"a letter into an empty box", 1, "x", 0, "000"},
        {"a letter with the value unchanged", 0, "y", 0, "y"},
        {"too large", 1, "99999", 32766, "32766"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w->VScroll4->setValue(c.before);
        w->Text11->clear();
        EXPECT_EQ(w->VScroll4->value(), c.before); // clearing changes nothing else
        QTest::keyClicks(w->Text11, c.typed);
        EXPECT_EQ(w->VScroll4->value(), c.spin);
        EXPECT_EQ(w->Text11->text(), c.shown);
    }
    w->VScroll4->setValue(99);
    w->VScroll4->setFocus();
    QTest::keyClick(w->VScroll4, Qt::Key_Up);
    EXPECT_EQ(w->Text11->text(), QStringLiteral("100"));
    EXPECT_TRUE(ini().contains("ContestNo=100\r\n"));
}

TEST_F(Displays, TheTransverterSwitchIsStored) {
    // The item shows with a transverter in the rig settings.
    rig::g.TransverterUse = QStringLiteral("YES");
    forms::unload<PSK31MAIN>();
    w = &forms::PSK31MAIN();
    w->Timer2->stop();
    ASSERT_EQ(rig::g.TransverterOn, QStringLiteral("0"));
    ASSERT_TRUE(zvtest::chooseMenuItem(w->TRVon));
    EXPECT_TRUE(w->TRVon->isChecked());
    EXPECT_EQ(rig::g.TransverterOn, QStringLiteral("1"));
    EXPECT_EQ(core::IniStored(QStringLiteral("RIG_CON_CFG"), QStringLiteral("TRVon")), QStringLiteral("1"));
    ASSERT_TRUE(zvtest::chooseMenuItem(w->TRVon));
    EXPECT_FALSE(w->TRVon->isChecked());
    EXPECT_EQ(core::IniStored(QStringLiteral("RIG_CON_CFG"), QStringLiteral("TRVon")), QStringLiteral("0"));
}

} // namespace

namespace {

TEST_F(Displays, TheWfSpButtonSwitchesAndItsRightButtonRewinds) {
    struct Case {
        const char* name;
        bool mmvari;
        QString comeback;
        QString wantRewind; // the library's call, or the control's argument
    } cases[] = {
        {"PSK", false, "50", "fnRewindInput(50)"},
        {"a stored step that is not a number", false, "abc", "fnRewindInput(50)"},
        {"a stored step", false, "20", "fnRewindInput(20)"},
        {"multi-mode", true, "50", "60"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.mmvari) useMmvari();
        g.FftComeback = c.comeback;
        g.SpectrumDisplayMode = 0;
        g.EngineMsgHold = 0;
        QTest::mouseClick(w->Command10, Qt::LeftButton);
        EXPECT_EQ(g.SpectrumDisplayMode, 1);
        EXPECT_TRUE(ini().contains("SPCDSP= 1\r\n"));
        QTest::mouseClick(w->Command10, Qt::LeftButton);
        EXPECT_EQ(g.SpectrumDisplayMode, 0);
        EXPECT_EQ(g.EngineMsgHold, 0);
        pskcore::lib().clearCalls();
        QTest::mouseClick(w->Command10, Qt::RightButton);
        if (c.mmvari) {
            const auto rewinds = w->MMVARI->callsOf(dispatch::Call::Invoke, mmvari::MethodRewind);
            ASSERT_EQ(rewinds.size(), 1);
            EXPECT_EQ(rewinds[0].args.value(0).toString(), c.wantRewind);
        } else {
            EXPECT_EQ(calls(), QStringList{c.wantRewind});
        }
    }
}

TEST_F(Displays, TheSpectrumStaysAfterARestart) {
    QTest::mouseClick(w->Command10, Qt::LeftButton);
    ASSERT_EQ(g.SpectrumDisplayMode, 1);
    forms::unload<PSK31MAIN>();
    g = {};
    PSK31MAIN& again = forms::PSK31MAIN();
    again.Timer2->stop();
    EXPECT_EQ(g.SpectrumDisplayMode, 1);
}

// Each tick of the spectrum view shows that tick's trace alone on the
// background, the last tick's gone, and has the picture repainted.
TEST_F(Displays, EachSpectrumTickShowsItsOwnTraceAloneAndIsRepainted) {
    struct Paints : QObject {
        int count = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            count += e->type() == QEvent::Paint;
            return false;
        }
    } paints;
    w->show();
    ASSERT_TRUE(zvtest::waitExposed(w));
    QTest::mouseClick(w->Command10, Qt::LeftButton);
    ASSERT_EQ(g.SpectrumDisplayMode, 1);
    PictureBox& picture = *w->Picture3;
    picture.installEventFilter(&paints);
    for (int tick = 0; tick < 3; ++tick) {
        SCOPED_TRACE(tick);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        paints.count = 0;
        terminal::engines::PskDisplayTick();
        PictureBox alone;
        alone.resize(picture.size());
        alone.ensureCanvas();
        alone.setScale(picture.scaleWidth(), picture.scaleHeight());
        alone.setBackColor(picture.backColor());
        terminal::displays::drawSpectrum(alone, terminal::engines::FftData.data(), g.FftFirstBin,
                                         std::min(g.FftLastBin, terminal::engines::FftBins - 1),
                                         g.DrawBinStep1, QColor(0xFF, 0xFF, 0x00));
        EXPECT_EQ(picture.canvas(), alone.canvas());
        EXPECT_TRUE(zvtest::waitUntil([&] { return paints.count > 0; }));
    }
}

// A trace on black as the painter draws it with a one-pixel cosmetic pen in a
// picture's scale, or as plotTrace does.
QImage traced(bool byPainter, QSize size, double sx, double sy, const QPolygonF& trace, QRgb colour) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::black);
    if (!byPainter) {
        EXPECT_TRUE(terminal::displays::plotTrace(
            trace, sx, sy,
            {reinterpret_cast<QRgb*>(img.bits()), img.bytesPerLine() / 4, size.width(), size.height()},
            colour));
        return img;
    }
    QPainter p(&img);
    p.scale(sx, sy);
    QPen pen{QColor(colour)};
    pen.setCosmetic(true);
    pen.setWidth(0);
    p.setPen(pen);
    p.drawPolyline(trace);
    return img;
}

TEST(TracePlot, TheSpectrumAndInputTracesAreThePaintersPixelForPixel) {
#if defined(__x86_64__)
    // Run again on an emulated older processor, the plotter's build for it draws.
    if (const QByteArray processor = qgetenv("ZV_EMULATED_PROCESSOR"); !processor.isEmpty()) {
        EXPECT_FALSE(__builtin_cpu_supports("avx2")) << processor.constData();
        EXPECT_EQ(__builtin_cpu_supports("sse4.2") != 0, processor == "Nehalem") << processor.constData();
    }
#endif
    // noise and a carrier; single-bin peaks; values far off the picture; the top and bottom rows in turn
    enum Shape { Noise, Spikes, Far, Edges };
    struct Case {
        QSize size;
        double scaleW;
        int first, last, step;
        Shape shape;
        bool input; // the input display, samples around 500 of 1000
    } cases[] = {
        {{352, 56}, 717, 51, 768, 4, Noise, false},   {{1056, 168}, 717, 51, 768, 1, Noise, false},
        {{352, 56}, 154, 215, 369, 1, Spikes, false}, {{148, 30}, 255, 154, 409, 2, Noise, false},
        {{148, 30}, 575, 10, 585, 5, Spikes, false},  {{148, 30}, 63, 220, 283, 1, Far, false},
        {{160, 22}, 16, 0, 16, 1, Noise, true},       {{160, 22}, 400, 0, 400, 1, Far, true},
        {{352, 56}, 717, 51, 768, 4, Edges, false},   {{352, 56}, 717, 51, 768, 24, Spikes, false},
    };
    std::mt19937 random(63);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scaleW);
        std::vector<std::int32_t> values(1024);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const int shapes[] = {int(random() % 15) + (i % 97 < 3 ? 60 : 0), i % 2 ? 95 : -3,
                                  i % 3 ? 2'000'000'000 : -5000, i % 3 ? 98 * int(i % 2) : 49};
            // The input's samples twenty times a step of the trace; the far ones stay far.
            values[i] = shapes[c.shape] * (c.input && c.shape != Far ? 20 : 1);
        }
        PictureBox box;
        box.resize(c.size);
        box.ensureCanvas();
        box.setScale(c.scaleW, c.input ? 1000 : 100);
        box.clear();
        QPolygonF trace{c.input ? QPointF(0, 0) : QPointF(0, 100)};
        for (int i = c.first; i <= c.last; i += c.step)
            trace << (c.input ? QPointF(i, values[std::size_t(i)] / 20 + 500)
                              : QPointF(i - c.first, 98 - values[std::size_t(i)]));
        if (c.input)
            terminal::displays::drawInput(box, values.data(), c.last + 1, 20);
        else
            terminal::displays::drawSpectrum(box, values.data(), c.first, c.last, c.step, Qt::yellow);
        const QImage want =
            traced(true, c.size, c.size.width() / c.scaleW, c.size.height() / box.scaleHeight(), trace,
                   c.input ? qRgb(0, 255, 0) : qRgb(255, 255, 0));
        EXPECT_TRUE(box.canvas() == want);
        EXPECT_TRUE(want != traced(true, c.size, 1, 1, {}, 0)) << "something is drawn";
    }
}

TEST(TracePlot, EveryJoinCapAndClipIsThePaintersOwn) {
    struct Case {
        QSize size;
        double sx, sy;
        QPolygonF trace;
    } cases[] = {
        {{60, 40}, 1, 1, {{{10, 10}, {30, 10}, {12, 10.4}, {12, 30}, {12.2, 5}, {40, 5.3}}}},   // turn-backs
        {{40, 40}, 1, 1, {{{2, 2}, {2.3, 2.2}, {2.7, 2.9}, {3.1, 3}, {3.2, 4.6}, {5.9, 4.7}}}}, // sub-pixel
        {{50, 30}, 0.5, 0.3, {{{0, 100}, {1, 0}, {2, 99}, {3, 1}, {4, 98.5}, {5.5, 0.5}}}},     // steep peaks
        {{50, 30}, 1, 1, {{{-1e9, 5}, {20, 1e9}, {1e7, -1e7}, {25, 15}, {-3, -3}, {60, 40}}}},  // far outside
        {{30, 20}, 1, 1, {{{0, 0}, {29, 0}, {29.9, 19.9}, {-0.6, 19.5}, {-0.4, 0.4}}}},         // the edges
        {{10, 10}, 1, 1, {{{4.1, 4.1}, {4.4, 4.3}}}}, // in one pixel
        // stepping right: turn-backs at half pixels and past them, flat and steep joins, the edges
        {{40, 30}, 1, 1, {{{0, 29}, {0, 10.6}, {2, 25.5}, {4, 3.4}, {6, 28.2}, {8, 10.55}, {11, 11.9}}}},
        {{40, 30}, 1, 1, {{{0, 0}, {1.5, 0}, {3, 2.9}, {6, 3}, {7.2, 30}, {9, 0}, {12, 29.99}, {39.9, 29}}}},
        {{30, 20}, 0.5, 0.2, {{{0, 100}, {2, 0}, {4.5, 99.9}, {7, 50}, {60, 50.5}, {59.8, 0}}}},
        // from stepping right to the rest and back: off the top, sub-pixel, back along x, off the bottom
        {{40, 30}, 1, 1, {{{0, 5}, {2, 20}, {4, -3}, {6, 25}, {6.5, 9}, {9, 28}, {8, 2}, {12, 31}, {14, 9}}}},
        // a step right, then back left by 512 pixels and more, flat and down
        {{1200, 40}, 1, 1, {{{0, 10}, {5, 20}, {700, 20}, {10, 20}, {20, 30}, {900, 31}, {2, 33}, {9, 3}}}},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(traced(false, c.size, c.sx, c.sy, c.trace, ~0u) ==
                    traced(true, c.size, c.sx, c.sy, c.trace, ~0u))
            << c.trace.front().x();
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::black);
    EXPECT_FALSE(terminal::displays::plotTrace(QPolygonF{{{1, 1}, {6, 1}, {6, 6}, {1, 1}}}, 1, 1,
                                               {reinterpret_cast<QRgb*>(img.bits()), 8, 8, 8}, ~0u))
        << "a closed trace is left to the painter";
    EXPECT_EQ(img.pixel(3, 1), qRgb(0, 0, 0));

    // Random traces over pictures of any size and scale, beyond their edges, a third in sub-pixel steps.
    std::mt19937 random(6363);
    std::uniform_real_distribution<double> unit(0, 1);
    int failed = 0;
    for (int n = 0; n < 3000; ++n) {
        const QSize size(1 + int(random() % 120), 1 + int(random() % 80));
        const double sx = 0.05 + unit(random) * 6, sy = (random() % 2 ? 1 : -1) * (0.05 + unit(random) * 6);
        const double step = unit(random) < 0.3 ? 0.2 : 3;
        QPointF p((unit(random) - 0.1) * size.width() / sx, (unit(random) - 0.5) * 2 * size.height() / sy);
        QPolygonF trace;
        for (int i = 2 + int(random() % 30); i > 0; --i) {
            trace << p;
            p += QPointF((unit(random) - 0.3) * step * 2, (unit(random) - 0.5) * step * 4);
            if (random() % 50 == 0) p.setY(p.y() * 1e6);
        }
        if (trace.front() != trace.back())
            failed += traced(false, size, sx, sy, trace, ~0u) != traced(true, size, sx, sy, trace, ~0u);
    }
    EXPECT_EQ(failed, 0);

    // Traces of a spectrum's shape: a lead-in from the bottom, then a step right of a pixel or
    // more at every point, mostly on the picture; steep and flat, near its edges and past them.
    int spectraFailed = 0;
    for (int n = 0; n < 2000; ++n) {
        const QSize size(2 + int(random() % 300), 2 + int(random() % 100));
        const double scaleW = 10 + random() % 800, sy = size.height() / 100.0;
        const double step = std::ceil(scaleW / size.width()) + random() % 4;
        const double spread = unit(random) * 100, floor = unit(random) < 0.2 ? 101 : 98;
        QPolygonF trace{{0, 100}};
        for (double x = 0; x <= scaleW; x += step) {
            trace << QPointF(
                x, std::min(floor, unit(random) < 0.02 ? unit(random) * 5 : floor - unit(random) * spread));
            if (random() % 100 == 0) x -= step * unit(random) * 2; // a step short of a pixel, or back
        }
        spectraFailed += traced(false, size, size.width() / scaleW, sy, trace, ~0u) !=
                         traced(true, size, size.width() / scaleW, sy, trace, ~0u);
    }
    EXPECT_EQ(spectraFailed, 0);
}

} // namespace
