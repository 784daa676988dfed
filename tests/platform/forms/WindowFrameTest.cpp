// Where a window kept whole on the screen's free area goes, with the window
// manager's frame around it or with none.
#include "platform/forms/WindowFrame.h"

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

} // namespace
