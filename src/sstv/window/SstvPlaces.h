#pragma once
// The enlarged viewer's sizes and the inset border's option: pure arithmetic
// over stored values and the screen, in twips.

namespace sstv {

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
