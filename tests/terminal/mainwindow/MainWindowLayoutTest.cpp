// The main window's column: start place, width rule, splitter drags and the saved keys.
#include "core/Globals.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "support/Mouse.h"
#include "support/Popups.h"
#include "support/ProgramFolder.h"
#include "terminal/engines/PskCoreWndProc.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/Shutdown.h"
#include "terminal/mainwindow/SplitterBar.h"

#include <QApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QScopeGuard>
#include <QScreen>
#include <QStringList>

namespace {

using core::g;

struct Column {
    int meH, r1H, t1H, fr1, fr2, fr3, tx1, tx3, ls1, im1;
    bool operator==(const Column&) const = default;
    friend void PrintTo(const Column& c, std::ostream* os) {
        *os << "{MeH " << c.meH << ", R1H " << c.r1H << ", T1H " << c.t1H << ", FR1 " << c.fr1 << ", FR2 "
            << c.fr2 << ", FR3 " << c.fr3 << ", TX1 " << c.tx1 << ", TX3 " << c.tx3 << ", LS1 " << c.ls1
            << ", IM1 " << c.im1 << "}";
    }
};

Column shown(const PSK31MAIN& w) {
    const TwipsLayout& t = w.tw;
    return {w.formHeightTw(), t.height(w.RichTextBox1), t.height(w.Text1), t.top(w.Frame1), t.top(w.Frame2),
            t.top(w.Frame3),  t.top(w.Text1),           t.top(w.Text3),    t.top(w.List1),  t.top(w.Image1)};
}

Column saved() {
    auto k = [](const char* key) { return core::IniWholeOr("PSKCFG", QString::fromLatin1(key), -1); };
    return {k("ZOR_PosMeH"), k("ZOR_PosR1H"), k("ZOR_PosT1H"), k("ZOR_PosFR1"), k("ZOR_PosFR2"),
            k("ZOR_PosFR3"), k("ZOR_PosTX1"), k("ZOR_PosTX3"), k("ZOR_PosLS1"), k("ZOR_PosIM1")};
}

constexpr Column kDefault{8790, 3135, 1695, 4920, 6360, 6480, 3240, 2880, 3360, 3120};

// Counts the resize events a window gets.
class ResizeCount : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        count += e->type() == QEvent::Resize;
        return false;
    }
};

class MainWindowLayout : public zvtest::ProgramFolderTest {
  protected:
    PSK31MAIN& load(const QString& extra = {}) {
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n") + extra);
        g.ScreenMetric = 5000;
        return forms::PSK31MAIN();
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->geometry(); }
    // The point of the splitter bar y twips below its top.
    static QPointF onBar(PSK31MAIN& w, int y) {
        return {w.Image1->width() / 2.0, y / double(twips::kPerPixel)};
    }
    // Drags the splitter bar with the button from near its top to y twips below its top.
    static void drag(PSK31MAIN& w, Qt::MouseButton button, int y) {
        zvtest::pressAt(w.Image1, button, onBar(w, 60));
        zvtest::moveMouseTo(w.Image1, onBar(w, y), button);
        zvtest::releaseAt(w.Image1, button, onBar(w, y));
    }
};

TEST_F(MainWindowLayout, FirstStartOpensWithTheDefaultColumn) {
    PSK31MAIN& w = load();
    EXPECT_EQ(shown(w), kDefault);
    EXPECT_EQ(w.formWidthTw(), 11850);
    EXPECT_EQ(w.pos(), screen().topLeft());
    EXPECT_EQ(g.LayoutReady, 1);
    EXPECT_EQ(w.tw.width(w.RichTextBox1), 11850 - 2340);
    EXPECT_EQ(w.RichTextBox1->property("RightMargin").toInt(), 11850 - 2740);
    EXPECT_TRUE(w.Picture10->isHidden());
}

TEST_F(MainWindowLayout, StoredColumnAndPlaceAreRestored) {
    PSK31MAIN& w = load("ZOR_PosMeH= 9000\nZOR_PosR1H= 3300\nZOR_PosT1H= 1500\nZOR_PosFR1= 5000\n"
                        "ZOR_PosFR2= 6500\nZOR_PosFR3= 6600\nZOR_PosTX1= 3400\nZOR_PosTX3= 100\n"
                        "ZOR_PosLS1= 3500\nZOR_PosIM1= 3250\n[CFGPOS]\nPMPOSTop= 150\nPMPOSLeft= 300\n"
                        "PMPOSWidth= 11000\n");
    EXPECT_EQ(shown(w), (Column{9000, 3300, 1500, 5000, 6500, 6600, 3400, 3010, 3500, 3250}))
        << "the message line sits 240 above the splitter, whatever was stored";
    EXPECT_EQ(w.pos(), screen().topLeft() + QPoint(20, 10));
    EXPECT_EQ(w.formWidthTw(), 11000);
}

TEST_F(MainWindowLayout, PlacesOffTheScreenOrNotNumbersStartAtTheCorner) {
    const int h = twips::fromPx(screen().height());
    const int wd = twips::fromPx(screen().width());
    const QString cases[] = {
        QStringLiteral("PMPOSTop=%1\nPMPOSLeft=0\n").arg(h),
        QStringLiteral("PMPOSTop=0\nPMPOSLeft=%1\n").arg(wd),
        QStringLiteral("PMPOSTop=abc\nPMPOSLeft=xyz\nPMPOSWidth=wide\n"),
    };
    for (const QString& c : cases) {
        SCOPED_TRACE(c.toStdString());
        g = {};
        PSK31MAIN& w = load(QStringLiteral("[CFGPOS]\n") + c);
        EXPECT_EQ(w.pos(), screen().topLeft());
        EXPECT_EQ(w.formWidthTw(), 11850);
        EXPECT_EQ(g.LayoutReady, 1);
        for (const QLabel* l : {w.Label15, w.Label30}) {
            EXPECT_LE(l->sizeHint().width(), l->width()) << l->text().toStdString();
            EXPECT_LE(l->sizeHint().height(), l->height()) << l->text().toStdString();
        }
        forms::unload<PSK31MAIN>();
    }
}

// A full stored column (the values of StoredColumnAndPlaceAreRestored) with
// some keys replaced by the given lines.
QString columnWith(const QStringList& replaced) {
    QStringList lines{"ZOR_PosMeH= 9000", "ZOR_PosR1H= 3300", "ZOR_PosT1H= 1500", "ZOR_PosFR1= 5000",
                      "ZOR_PosFR2= 6500", "ZOR_PosFR3= 6600", "ZOR_PosTX1= 3400", "ZOR_PosTX3= 3010",
                      "ZOR_PosLS1= 3500", "ZOR_PosIM1= 3250"};
    for (const QString& r : replaced) {
        const QString key = r.section(QLatin1Char('='), 0, 0);
        for (QString& l : lines)
            if (l.startsWith(key + QLatin1Char('='))) l = r;
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

TEST_F(MainWindowLayout, StoredValuesThatWouldBreakTheWindowTakeTheDefaults) {
    const Column good{9000, 3300, 1500, 5000, 6500, 6600, 3400, 3010, 3500, 3250};
    const int screenW = twips::fromPx(screen().width());
    struct Case {
        QString pskcfg, cfgpos;
        Column column; // shown after the load and stored after the end of the run
        QString top, left, width;
    };
    const Case cases[] = {
        {columnWith({}), "PMPOSTop= 150\nPMPOSLeft= 300\nPMPOSWidth= 11000\n", good, "150", "300", "11000"},
        {columnWith({"ZOR_PosR1H=-100"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosR1H= 0"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosMeH= 99999999"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosMeH=-1"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosTX1=1e9"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosT1H= 0"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosT1H= 20000"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosFR1=-4920"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosFR2= 2147483647"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosFR3= 9000"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosLS1=-1"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosIM1= 100"}), {}, kDefault, "0", "0", "11850"},
        // Beyond what a whole number holds: that key alone takes its default.
        {columnWith({"ZOR_PosIM1=1e12"}),
         {},
         Column{9000, 3300, 1500, 5000, 6500, 6600, 3400, 2880, 3500, 3120},
         "0",
         "0",
         "11850"},
        {columnWith({"ZOR_PosR1H=tall"}), {}, kDefault, "0", "0", "11850"},
        {columnWith({"ZOR_PosT1H=abc"}),
         {},
         Column{9000, 3300, 1695, 5000, 6500, 6600, 3400, 3010, 3500, 3250},
         "0",
         "0",
         "11850"},
        {{}, "PMPOSTop=-300\nPMPOSLeft= 99999999\nPMPOSWidth=-5000\n", kDefault, "0", "0", "11850"},
        {{}, "PMPOSTop= 150\nPMPOSLeft=-20\nPMPOSWidth= 99999999\n", kDefault, "150", "0", "11850"},
        {{},
         QStringLiteral("PMPOSTop= 0\nPMPOSLeft= 0\nPMPOSWidth= %1\n").arg(screenW * 3),
         kDefault,
         "0",
         "0",
         "11850"},
        {{}, "PMPOSTop= 0\nPMPOSLeft= 0\nPMPOSWidth= 2000\n", kDefault, "0", "0", "11850"},
    };
    terminal::mainwindow::setProcessEndForTest([] {});
    for (const Case& c : cases) {
        SCOPED_TRACE((c.pskcfg + c.cfgpos).toStdString());
        g = {};
        PSK31MAIN& w = load(c.pskcfg + QStringLiteral("[CFGPOS]\n") + c.cfgpos);
        w.show();
        ASSERT_TRUE(zvtest::waitExposed(&w));
        EXPECT_EQ(shown(w), c.column);
        EXPECT_GT(w.RichTextBox1->height(), 0) << "the receive pane is there";
        ASSERT_TRUE(zvtest::chooseMenuItem(w.pEnd));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(forms::isLoaded<PSK31MAIN>());
        EXPECT_EQ(saved(), c.column);
        auto place = [](const char* key) {
            return core::IniStored(QStringLiteral("CFGPOS"), QString::fromLatin1(key)).value_or("-");
        };
        EXPECT_EQ(place("PMPOSTop"), c.top);
        EXPECT_EQ(place("PMPOSLeft"), c.left);
        EXPECT_EQ(place("PMPOSWidth"), c.width);
    }
    terminal::mainwindow::setProcessEndForTest({});
}

TEST_F(MainWindowLayout, LeftDragMovesEverythingBelowAndGrowsTheWindow) {
    PSK31MAIN& w = load();
    drag(w, Qt::LeftButton, 135 + 300);
    const Column expected{9090, 3435, 1695, 5220, 6660, 6780, 3540, 3180, 3660, 3420};
    EXPECT_EQ(shown(w), expected);
    EXPECT_EQ(saved(), expected);
    EXPECT_TRUE(w.Picture10->isHidden());
}

TEST_F(MainWindowLayout, LeftDragLimits) {
    PSK31MAIN& w = load();
    drag(w, Qt::LeftButton, -300);
    EXPECT_EQ(shown(w), kDefault) << "upwards is refused while Frame3 would reach 6480";
    g.ScreenMetric = (8790 + 300) / 15;
    drag(w, Qt::LeftButton, 135 + 300);
    EXPECT_EQ(shown(w).meH, 8790) << "the window may not reach the screen's height";
    drag(w, Qt::LeftButton, 135 + 285);
    EXPECT_EQ(shown(w).meH, 8790 + 285);
}

TEST_F(MainWindowLayout, RightDragMovesTheBorderInsideTheWindow) {
    PSK31MAIN& w = load();
    drag(w, Qt::RightButton, 135 + 300);
    const Column expected{8790, 3435, 1395, 4920, 6360, 6480, 3540, 3180, 3360, 3420};
    EXPECT_EQ(shown(w), expected);
    EXPECT_EQ(saved(), expected);
}

TEST_F(MainWindowLayout, RightDragStopsOnceTheTransmitBoxIsSmall) {
    PSK31MAIN& w = load();
    // Steps of whole pixels: 495 twips down, 1995 up.
    zvtest::pressAt(w.Image1, Qt::RightButton, onBar(w, 0));
    for (int i = 0; i < 10; ++i)
        zvtest::moveMouseTo(w.Image1, onBar(w, 135 + 495), Qt::RightButton);
    EXPECT_EQ(w.tw.height(w.Text1), 1695 - 3 * 495) << "the step that takes it below 600 is still taken";
    zvtest::moveMouseTo(w.Image1, onBar(w, -1995), Qt::RightButton);
    zvtest::moveMouseTo(w.Image1, onBar(w, -1995), Qt::RightButton);
    EXPECT_EQ(w.tw.height(w.RichTextBox1), 3135 + 3 * 495 - 2 * 1995);
    zvtest::moveMouseTo(w.Image1, onBar(w, -1995), Qt::RightButton);
    EXPECT_EQ(w.tw.height(w.RichTextBox1), 3135 + 3 * 495 - 2 * 1995)
        << "a pane below 1560 refuses upward steps";
    zvtest::releaseAt(w.Image1, Qt::RightButton, onBar(w, -1995));
    const int before = w.tw.height(w.RichTextBox1);
    zvtest::pressAt(w.Image1, Qt::MiddleButton, onBar(w, 0));
    zvtest::moveMouseTo(w.Image1, onBar(w, 135 + 495), Qt::MiddleButton);
    EXPECT_EQ(w.tw.height(w.RichTextBox1), before) << "other buttons move nothing";
    zvtest::releaseAt(w.Image1, Qt::MiddleButton, onBar(w, 135 + 495));
}

TEST_F(MainWindowLayout, ResizeFollowsTheWidthAndSavesTheColumn) {
    PSK31MAIN& w = load();
    w.show();
    w.resize(twips::toPx(13500), w.height());
    ASSERT_TRUE(zvtest::waitUntil([&] { return w.formWidthTw() == 13500; }));
    for (RichTextPane* p : {w.RichTextBox1, w.RichTextBox2, w.RichTextBox4}) {
        EXPECT_EQ(w.tw.width(p), 13500 - 2340);
        EXPECT_EQ(p->property("RightMargin").toInt(), 13500 - 2740);
    }
    EXPECT_EQ(w.tw.width(w.Text1), 13500 - 2340);
    EXPECT_EQ(w.tw.width(w.Image1), 13500 - 2340);
    EXPECT_EQ(saved(), kDefault);
}

TEST_F(MainWindowLayout, ResizeWhileMaximisedOrMinimisedWritesNothing) {
    PSK31MAIN& w = load();
    w.show();
    ASSERT_TRUE(zvtest::waitExposed(&w));
    ResizeCount resizes;
    w.installEventFilter(&resizes);
    w.resize(w.width() + 1, w.height());
    EXPECT_TRUE(zvtest::waitUntil([&] { return saved() == kDefault; }))
        << "a resize in the normal state saves the column";
    for (Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowMinimized}) {
        w.setWindowState(Qt::WindowNoState);
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n"));
        resizes.count = 0;
        // Maximising resizes the window; a minimised one is resized by the system.
        w.setWindowState(state);
        ASSERT_EQ(w.windowState(), state);
        if (state == Qt::WindowMinimized) w.resize(w.width() + 1, w.height());
        ASSERT_TRUE(zvtest::waitUntil([&] { return resizes.count > 0; }));
        ASSERT_TRUE(zvtest::waitForPostedEvents());
        EXPECT_EQ(saved().r1H, -1);
    }
}

TEST_F(MainWindowLayout, RestoreAfterSuspendTakesTheStoredFrequencies) {
    PSK31MAIN& w = load("RX1Freq=1234\nRX2Freq=800\nRX3Freq=2000\nTX1Freq=1111\n");
    g.RxFreqHz = g.TxFreqHz = 0;
    w.setWindowState(Qt::WindowMinimized);
    w.Suspended = 1;
    w.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(w.Suspended, 0);
    EXPECT_EQ(g.RxFreqHz, 1234);
    EXPECT_EQ(g.RxFreqBin, 316);
    EXPECT_EQ(g.Ch2RxFreq, 800);
    EXPECT_EQ(g.Ch3RxFreq, 2000);
    EXPECT_EQ(g.TxFreqHz, 1111);
}

// The clock-error read-out shows its whole text, in the default font and in the
// Japanese font: nothing cut at its edges, nothing under the S-meter frame and
// nothing over the satellite indicator; its neighbours fit their texts too.
TEST_F(MainWindowLayout, ClockErrorReadOutShowsItsWholeText) {
    const QFont before = QApplication::font();
    const QScopeGuard restore([&] { QApplication::setFont(before); });
    for (const QString& family : {before.family(), QStringLiteral("Noto Sans CJK JP")}) {
        SCOPED_TRACE(family.toStdString());
        QApplication::setFont(QFont(family, before.pointSize()));
        PSK31MAIN& w = load();
        for (const int ppm : {12, -5, -999}) {
            terminal::engines::PskClockError(ppm, g.ImdChannel);
            const QLabel* l = w.Label12;
            ASSERT_EQ(l->text(), QString::number(ppm) + QStringLiteral("ppm"));
            EXPECT_LE(l->sizeHint().width(), l->width()) << ppm;
            EXPECT_LE(l->sizeHint().height(), l->height()) << ppm;
            EXPECT_FALSE(l->geometry().intersects(w.Frame5->geometry())) << "under the S-meter frame";
            EXPECT_TRUE(w.Frame1->rect().contains(l->geometry()));
            // Right-aligned, its text starts clear of the satellite indicator's.
            const QLabel* satellite = w.Label30;
            EXPECT_LT(satellite->x() + satellite->sizeHint().width(),
                      l->geometry().right() - l->sizeHint().width())
                << ppm;
        }
        for (const QLabel* l : {w.Label15, w.Label30}) {
            EXPECT_LE(l->sizeHint().width(), l->width()) << l->text().toStdString();
            EXPECT_LE(l->sizeHint().height(), l->height()) << l->text().toStdString();
        }
        forms::unload<PSK31MAIN>();
    }
}

} // namespace
