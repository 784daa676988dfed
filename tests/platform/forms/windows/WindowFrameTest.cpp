// Where a window kept whole on the screen's free area goes, with the window
// manager's frame around it or with none.
#include "platform/forms/windows/WindowFrame.h"
#include "platform/forms/colour/Colour.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(WindowFrame, AWindowKeptWholeHasItsWholeFrameOnTheFreeArea) {
    const QRect screen(0, 0, 1600, 1000);
    const QRect belowAPanel(0, 30, 1600, 970);
    const QMargins none, titled(1, 40, 1, 1), thick(4, 30, 4, 4);
    struct Case {
        QRect window; // the frame's place, the inside's size
        QRect area;
        QMargins frame;
        QRect kept;
    } cases[] = {
        {{100, 100, 400, 300}, screen, none, {100, 100, 400, 300}},         // whole already: stays
        {{100, 100, 400, 300}, screen, titled, {100, 100, 400, 300}},       // with its frame too
        {{1580, 980, 400, 300}, screen, none, {1200, 700, 400, 300}},       // the bottom right corner
        {{1580, 980, 400, 300}, screen, titled, {1198, 659, 400, 300}},     // its frame comes in as well
        {{1198, 659, 400, 300}, screen, titled, {1198, 659, 400, 300}},     // just whole: no drift
        {{1199, 660, 400, 300}, screen, titled, {1198, 659, 400, 300}},     // one pixel out
        {{-50, -20, 400, 300}, screen, titled, {0, 0, 400, 300}},           // before the screen
        {{0, 0, 400, 300}, belowAPanel, titled, {0, 30, 400, 300}},         // clear of a panel
        {{0, 900, 400, 300}, belowAPanel, titled, {0, 659, 400, 300}},      // above the bottom
        {{50, 50, 2000, 1200}, screen, none, {0, 0, 1600, 1000}},           // larger than the screen
        {{50, 50, 2000, 1200}, screen, thick, {0, 0, 1592, 966}},           // the frame takes its share
        {{900, 500, 1000, 600}, belowAPanel, thick, {592, 366, 1000, 600}}, // both axes at once
    };
    for (const Case& c : cases) {
        EXPECT_EQ(winframe::wholeOnScreen(c.window, c.area, c.frame), c.kept)
            << c.window.x() << "," << c.window.y() << " frame top " << c.frame.top();
    }
}

// Every window opens by one rule from its stored place: whole on the screen's
// free area where it fits (made smaller where its minimum lets it), else at
// the area's top left with its title bar, menus and close box on it. The size
// it is shown with counts, also one given after the place.
TEST(WindowFrame, AStoredPlaceOpensEveryWindowWholeOnTheScreen) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint screen = winframe::screenPx().topLeft();
    const int w = area.width(), h = area.height();
    constexpr int Far = -1; // the frame against the area's right or bottom edge
    struct Case {
        const char* name;
        QPoint stored; // pixels from the free area's corner
        QSize size, minimum, later;
        QPoint frameAt;   // from the free area's corner
        QSize opened;     // inside
        QSize grown = {}; // a part shown once it is open asks for this much
    } cases[] = {
        {"inside", {10, 20}, {300, 200}, {}, {}, {10, 20}, {300, 200}},
        {"near the right edge", {w - 69, 20}, {300, 200}, {}, {}, {Far, 20}, {300, 200}},
        {"near the bottom", {20, h - 69}, {300, 200}, {}, {}, {20, Far}, {300, 200}},
        {"beyond the screen", {w + 500, h + 300}, {300, 200}, {}, {}, {0, 0}, {300, 200}},
        {"larger than the screen", {40, 40}, {w + 200, h + 100}, {100, 100}, {}, {0, 0}, {}},
        {"larger than it can be",
         {40, 40},
         {w + 200, h + 100},
         {w + 200, h + 100},
         {},
         {0, 0},
         {w + 200, h + 100}},
        {"sized after its place", {w - 50, h - 50}, {100, 100}, {}, {300, 200}, {Far, Far}, {300, 200}},
        {"grown once open", {w - 350, h - 250}, {300, 200}, {}, {}, {Far, Far}, {460, 330}, {460, 330}},
        {"grown beyond the screen", {40, 40}, {300, 200}, {}, {}, {0, 40}, {w + 10, 330}, {w + 10, 330}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        if (c.minimum.isValid()) window.setMinimumSize(c.minimum);
        window.resize(c.size);
        const QPoint at = area.topLeft() + c.stored - screen;
        winframe::placeOnScreen(&window, twips::fromPx(at.x()), twips::fromPx(at.y()));
        if (c.later.isValid()) window.resize(c.later);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins({});
        auto* part = new QWidget;
        part->setMinimumSize(c.grown.isValid() ? c.grown : QSize(1, 1));
        layout->addWidget(part);
        part->hide();
        window.show();
        if (c.grown.isValid()) {
            part->show();
            winframe::keepOnScreen(&window);
        }
        const QRect frame = window.frameGeometry();
        const QSize around = frame.size() - window.size();
        const QSize inside = c.opened.isValid() ? c.opened : QSize(w, h) - around;
        EXPECT_EQ(window.size(), inside);
        const QPoint far(w - inside.width() - around.width(), h - inside.height() - around.height());
        EXPECT_EQ(frame.topLeft() - area.topLeft(), QPoint(c.frameAt.x() == Far ? far.x() : c.frameAt.x(),
                                                           c.frameAt.y() == Far ? far.y() : c.frameAt.y()));
    }
}

} // namespace
