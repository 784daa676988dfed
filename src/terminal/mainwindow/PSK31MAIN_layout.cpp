// The main window's column: where it opens, what follows its width, the
// splitter between the receive pane and the transmit box, and the saved keys.
#include "core/Globals.h"
#include "core/ini/IniStore.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/text/Clipboard.h"
#include "platform/forms/windows/WindowFrame.h"
#include "rig/RigGlobals.h"
#include "rig/RigPort.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/engines/EngineResume.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/mainwindow/SplitterBar.h"

#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QResizeEvent>

namespace {

constexpr int kWidthOffset = 2340;
constexpr int kMarginOffset = 400;
constexpr int kBarHeight = 135;
constexpr int kFrame3Floor = 6480;
constexpr int kSmallestText1 = 600;
constexpr int kSmallestPane = 1560;
constexpr int kDefaultWidth = 11850;
constexpr int kMessageAboveBar = 240;

const QString kPos = QStringLiteral("CFGPOS");
const QString kCfg = QStringLiteral("PSKCFG");

struct Column {
    int meH, r1H, t1H, fr1, fr2, fr3, tx1, ls1, im1;
};
constexpr Column kDefaultColumn{8790, 3135, 1695, 4920, 6360, 6480, 3240, 3360, 3120};

// A stored column that would break the window: a window of no height or taller
// than the screen, a pane or box of no height or taller than the window, a
// control above the window's top or below its bottom.
bool fitsOnScreen(const Column& c, int screenHeightTw) {
    if (c.meH <= 0 || c.meH > screenHeightTw) return false;
    for (int h : {c.r1H, c.t1H})
        if (h <= 0 || h > c.meH) return false;
    for (int top : {c.fr1, c.fr2, c.fr3, c.tx1, c.ls1})
        if (top < 0 || top >= c.meH) return false;
    return c.im1 >= kMessageAboveBar && c.im1 < c.meH;
}

void setRightMargin(RichTextPane* p, int widthTw) {
    // The pane wraps its text 400 twips before its right edge.
    p->setWrapMargin(twips::toPx(kMarginOffset));
    p->setProperty("RightMargin", widthTw - kMarginOffset);
}

} // namespace

int PSK31MAIN::formHeightTw() const {
    return property("formHeightTw").isValid() ? property("formHeightTw").toInt() : twips::fromPx(height());
}

int PSK31MAIN::formWidthTw() const {
    return property("formWidthTw").isValid() ? property("formWidthTw").toInt() : twips::fromPx(width());
}

void PSK31MAIN::setFormHeightTw(int h) {
    setProperty("formHeightTw", h);
    resize(width(), twips::toPx(h));
}

void PSK31MAIN::placeWindowAtStart() {
    const QRect screen = winframe::screenPx();
    const std::optional<int> top = core::IniWhole(kPos, QStringLiteral("PMPOSTop"));
    const std::optional<int> left = core::IniWhole(kPos, QStringLiteral("PMPOSLeft"));
    const std::optional<int> width = core::IniWhole(kPos, QStringLiteral("PMPOSWidth"));
    int w = width.value_or(kDefaultWidth);
    if (w <= kWidthOffset || w > twips::fromPx(screen.width()) * 2) w = kDefaultWidth;
    setProperty("formWidthTw", w);
    resize(twips::toPx(w), height());
    winframe::placeOnScreen(this, top ? left.value_or(0) : 0, top.value_or(0));
}

void PSK31MAIN::savePlace() {
    // A minimised or maximised window keeps the place it had last in its normal state.
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) return;
    const QRect screen = winframe::screenPx();
    core::IniBatch together;
    auto put = [](const core::IniKey& key, int t) { core::PutIniText(kPos, key, QString::number(t)); };
    const QPoint frame = winframe::framePlace(this);
    put("PMPOSTop", twips::fromPx(frame.y() - screen.top()));
    put("PMPOSLeft", twips::fromPx(frame.x() - screen.left()));
    put("PMPOSWidth", formWidthTw());
}

void PSK31MAIN::applyColumnAtStart() {
    Column c = kDefaultColumn;
    if (core::IniWhole(kCfg, QStringLiteral("ZOR_PosR1H"))) {
        auto read = [](const char* key, int fallback) {
            return core::IniWholeOr(kCfg, QString::fromLatin1(key), fallback);
        };
        c = {read("ZOR_PosMeH", c.meH), read("ZOR_PosR1H", c.r1H), read("ZOR_PosT1H", c.t1H),
             read("ZOR_PosFR1", c.fr1), read("ZOR_PosFR2", c.fr2), read("ZOR_PosFR3", c.fr3),
             read("ZOR_PosTX1", c.tx1), read("ZOR_PosLS1", c.ls1), read("ZOR_PosIM1", c.im1)};
        // The keys go together: one that would break the window takes the whole default
        // column, which the next save then stores in its place.
        if (!fitsOnScreen(c, twips::fromPx(winframe::screenPx().height()))) c = kDefaultColumn;
    }
    setFormHeightTw(c.meH);
    tw.setHeight(RichTextBox1, c.r1H);
    tw.setHeight(Text1, c.t1H);
    tw.setTop(Frame1, c.fr1);
    tw.setTop(Frame2, c.fr2);
    tw.setTop(Frame3, c.fr3);
    tw.setTop(Text1, c.tx1);
    tw.setTop(List1, c.ls1);
    tw.setTop(Image1, c.im1);
    tw.setTop(Text3, c.im1 - kMessageAboveBar);
    followWidth(formWidthTw());
    core::g.LayoutReady = 1;
}

void PSK31MAIN::followWidth(int widthTw) {
    const int w = widthTw - kWidthOffset;
    for (RichTextPane* p : {RichTextBox1, RichTextBox2, RichTextBox4}) {
        tw.setWidth(p, w);
        setRightMargin(p, w);
    }
    tw.setWidth(Text1, w);
    tw.setWidth(Image1, w);
    tw.setWidth(Picture10, w);
    tw.setWidth(Text3, w);
}

void PSK31MAIN::saveColumn(bool heightFirst) {
    // The keys go together: one write of the file for all of them.
    core::IniBatch together;
    auto put = [](const core::IniKey& key, int v) { core::PutIniNumber(kCfg, key, v); };
    if (heightFirst) put("ZOR_PosMeH", formHeightTw());
    put("ZOR_PosR1H", tw.height(RichTextBox1));
    put("ZOR_PosT1H", tw.height(Text1));
    put("ZOR_PosFR1", tw.top(Frame1));
    put("ZOR_PosFR2", tw.top(Frame2));
    put("ZOR_PosFR3", tw.top(Frame3));
    put("ZOR_PosTX1", tw.top(Text1));
    put("ZOR_PosTX3", tw.top(Text3));
    put("ZOR_PosLS1", tw.top(List1));
    put("ZOR_PosIM1", tw.top(Image1));
    if (!heightFirst) put("ZOR_PosMeH", formHeightTw());
}

void PSK31MAIN::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    // Sizes set from code carry their twips; a size the operator drags is measured.
    if (twips::toPx(formHeightTw()) != height()) setProperty("formHeightTw", twips::fromPx(height()));
    if (twips::toPx(formWidthTw()) != width()) setProperty("formWidthTw", twips::fromPx(width()));
    Form_Resize();
}

void PSK31MAIN::Form_Resize() {
    clipboard::empty();
    if (core::g.LayoutReady == 0) return;
    const QRect screen = winframe::screenPx();
    if (frameGeometry().top() - screen.top() > screen.height()) return;
    if (isMinimized() || isMaximized() || isFullScreen()) return;
    followWidth(formWidthTw());
    saveColumn(false);
}

void PSK31MAIN::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange) return;
    // A suspended window resumes when the operator brings it back from the task bar.
    if (Suspended == 1 && !isMinimized()) resumeAfterSuspend();
}

void PSK31MAIN::resumeAfterSuspend() {
    const QString cfg = kCfg;
    if (const std::optional<int> rx = core::IniWhole(cfg, QStringLiteral("RX1Freq"))) {
        core::g.RxFreqHz = *rx;
        core::g.RxFreqBin = static_cast<int>(std::lround(*rx / 3.90625));
    } else {
        core::g.RxFreqHz = core::g.AudioCenterFreq;
    }
    core::g.Ch2RxFreq =
        terminal::displays::clampHz(core::IniWholeOr(cfg, QStringLiteral("RX2Freq"), core::g.Ch2RxFreq));
    core::g.Ch3RxFreq =
        terminal::displays::clampHz(core::IniWholeOr(cfg, QStringLiteral("RX3Freq"), core::g.Ch3RxFreq));
    core::g.TxFreqHz = core::IniWholeOr(cfg, QStringLiteral("TX1Freq"), core::g.AudioCenterFreq);
    // The resume lets events run: a second state change meanwhile does not resume again.
    Suspended = 0;
    terminal::engines::ResumeEngine();
    if (rig::g.RigPortName != QLatin1String("NONE")) rig::RigOpenPort();
}

void PSK31MAIN::Image1_MouseDown(int, int) {
    tw.setTop(Picture10, tw.top(Image1));
    tw.setLeft(Picture10, tw.left(Image1) + 120);
    Picture10->show();
    Picture10->raise();
}

void PSK31MAIN::Image1_MouseMove(int button, int y) {
    int step = 0;
    if (y > kBarHeight)
        step = y - kBarHeight;
    else if (y < 0)
        step = y;
    if (step == 0) return;
    if (button == 1) {
        if (step > 0 && (formHeightTw() + step) / twips::kPerPixel >= core::g.ScreenMetric) return;
        if (step < 0 && tw.top(Frame3) + step <= kFrame3Floor) return;
        for (QWidget* w :
             {static_cast<QWidget*>(Image1), static_cast<QWidget*>(Picture10), static_cast<QWidget*>(Text1),
              static_cast<QWidget*>(Text3), static_cast<QWidget*>(List1), static_cast<QWidget*>(Frame1),
              static_cast<QWidget*>(Frame2), static_cast<QWidget*>(Frame3)})
            tw.setTop(w, tw.top(w) + step);
        tw.setHeight(RichTextBox1, tw.height(RichTextBox1) + step);
        setFormHeightTw(formHeightTw() + step);
    } else if (button == 2) {
        if (step > 0 && tw.height(Text1) < kSmallestText1) return;
        if (step < 0 && tw.height(RichTextBox1) < kSmallestPane) return;
        tw.setTop(Image1, tw.top(Image1) + step);
        tw.setTop(Picture10, tw.top(Image1));
        tw.setHeight(RichTextBox1, tw.height(RichTextBox1) + step);
        tw.setTop(Text1, tw.top(Text1) + step);
        tw.setTop(Text3, tw.top(Text3) + step);
        tw.setHeight(Text1, tw.height(Text1) - step);
    }
}

void PSK31MAIN::Image1_MouseUp(int, int) {
    Picture10->hide();
    saveColumn(true);
}
