// The main window's column: start place, width rule, splitter drags and the saved keys.
#include "core/Globals.h"
#include "core/IniValues.h"
#include "platform/Colour.h"
#include "platform/RichTextPane.h"
#include "support/ProgramFolder.h"
#include "terminal/PSK31MAIN.h"
#include "terminal/SplitterBar.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QListWidget>
#include <QScreen>

namespace {

using core::g;

struct Column {
    int meH, r1H, t1H, fr1, fr2, fr3, tx1, tx3, ls1, im1;
    bool operator==(const Column&) const = default;
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

class MainWindowLayout : public zvtest::ProgramFolderTest {
  protected:
    PSK31MAIN& load(const QString& extra = {}) {
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n") + extra);
        g.ScreenMetric = 5000;
        return forms::PSK31MAIN();
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->geometry(); }
    static void drag(PSK31MAIN& w, int button, int y) {
        w.Image1_MouseDown(button, 60);
        w.Image1_MouseMove(button, y);
        w.Image1_MouseUp(button, y);
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
                        "PMPOSWidth= 12000\n");
    EXPECT_EQ(shown(w), (Column{9000, 3300, 1500, 5000, 6500, 6600, 3400, 3010, 3500, 3250}))
        << "the message line sits 240 above the splitter, whatever was stored";
    EXPECT_EQ(w.pos(), screen().topLeft() + QPoint(20, 10));
    EXPECT_EQ(w.formWidthTw(), 12000);
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
        forms::unload<PSK31MAIN>();
    }
}

TEST_F(MainWindowLayout, LeftDragMovesEverythingBelowAndGrowsTheWindow) {
    PSK31MAIN& w = load();
    drag(w, 1, 135 + 300);
    const Column expected{9090, 3435, 1695, 5220, 6660, 6780, 3540, 3180, 3660, 3420};
    EXPECT_EQ(shown(w), expected);
    EXPECT_EQ(saved(), expected);
    EXPECT_TRUE(w.Picture10->isHidden());
}

TEST_F(MainWindowLayout, LeftDragLimits) {
    PSK31MAIN& w = load();
    drag(w, 1, -300);
    EXPECT_EQ(shown(w), kDefault) << "upwards is refused while Frame3 would reach 6480";
    g.ScreenMetric = (8790 + 300) / 15;
    drag(w, 1, 135 + 300);
    EXPECT_EQ(shown(w).meH, 8790) << "the window may not reach the screen's height";
    drag(w, 1, 135 + 285);
    EXPECT_EQ(shown(w).meH, 8790 + 285);
}

TEST_F(MainWindowLayout, RightDragMovesTheBorderInsideTheWindow) {
    PSK31MAIN& w = load();
    drag(w, 2, 135 + 300);
    const Column expected{8790, 3435, 1395, 4920, 6360, 6480, 3540, 3180, 3360, 3420};
    EXPECT_EQ(shown(w), expected);
    EXPECT_EQ(saved(), expected);
}

TEST_F(MainWindowLayout, RightDragStopsOnceTheTransmitBoxIsSmall) {
    PSK31MAIN& w = load();
    w.Image1_MouseDown(2, 0);
    for (int i = 0; i < 10; ++i)
        w.Image1_MouseMove(2, 135 + 500);
    EXPECT_EQ(w.tw.height(w.Text1), 1695 - 3 * 500) << "the step that takes it below 600 is still taken";
    w.Image1_MouseMove(2, -2000);
    w.Image1_MouseMove(2, -2000);
    EXPECT_EQ(w.tw.height(w.RichTextBox1), 3135 + 1500 - 4000);
    w.Image1_MouseMove(2, -2000);
    EXPECT_EQ(w.tw.height(w.RichTextBox1), 3135 + 1500 - 4000) << "a pane below 1560 refuses upward steps";
    w.Image1_MouseMove(4, 135 + 500);
    EXPECT_EQ(w.tw.height(w.RichTextBox1), 3135 + 1500 - 4000) << "other buttons move nothing";
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
    w.Form_Resize();
    EXPECT_EQ(saved(), kDefault) << "a resize in the normal state saves the column";
    for (Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowMinimized}) {
        writeIni(QStringLiteral("[PSKCFG]\nAudio_Center_Freq=1500\n"));
        w.setWindowState(state);
        ASSERT_EQ(w.windowState(), state);
        w.Form_Resize();
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

} // namespace
