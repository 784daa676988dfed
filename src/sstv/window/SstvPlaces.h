#pragma once
// Where the SSTV window and the enlarged viewer go, and the viewer's sizes:
// pure arithmetic over stored values and the screen, in twips.
#include <QRect>
#include <optional>

namespace sstv {

struct Place {
    int top = 0;
    int left = 0;
};

// The SSTV window's place from the main window's stored top and left: 0 where a
// value is missing, negative or not on the screen; both 0 when the top is missing.
Place WindowPlace(std::optional<int> top, std::optional<int> left, int screenHeight, int screenWidth);

// A window of that place and size kept on the screen: no larger than the
// screen, moved in just far enough to be whole on it (pixels).
QRect KeepOnScreen(const QRect& window, const QRect& screen);

// The border option chosen by the inset border's colour: 1, 10, 11, 13, 15, or
// 16 for white with the border on (0 with it off); -1 for any other colour.
int BorderOptionFor(unsigned colour, int borderOn);

// The enlarged viewer keeps its picture at 320:256 (5:4).
struct ViewerSize {
    int windowWidth = 0;
    int windowHeight = 0;
    int pictureWidth = 0;
    int pictureHeight = 0;
};
constexpr int ViewerDefaultWidth = 9795;
constexpr int ViewerFrameWidth = 130;
constexpr int ViewerFrameHeight = 700;
// Below this width the viewer is not laid out smaller.
constexpr int ViewerMinimumWidth = 2000;
ViewerSize ViewerFromWidth(int windowWidth);
// The viewer's stored width as far as its window, at 5:4, fits the screen.
int ViewerWidthOnScreen(int storedWidth, int screenWidth, int screenHeight);
ViewerSize ViewerFromHeight(int windowHeight);
// A resize: the width leads when it changed since the last layout, else the height.
ViewerSize ViewerResized(int windowWidth, int windowHeight, int lastWidth);

} // namespace sstv
