#include "sstv/window/SstvPlaces.h"

#include <algorithm>
#include <cmath>

namespace sstv {
namespace {

// Halves go to the even number, as the system rounds everywhere.
int roundEven(double v) {
    return int(std::nearbyint(v));
}

} // namespace

int ViewerWidthOnScreen(int storedWidth, int screenWidth, int screenHeight) {
    const int fitsHeight = ViewerFrameWidth + roundEven((screenHeight - ViewerFrameHeight) * 1.25);
    const int widest = std::max(ViewerMinimumWidth, std::min(screenWidth, fitsHeight));
    return std::clamp(storedWidth, ViewerMinimumWidth, widest);
}

int BorderOptionFor(unsigned colour, int borderOn) {
    switch (colour) {
    case 0x000000:
        return 1;
    case 0xFF0000:
        return 10;
    case 0x00FF00:
        return 11;
    case 0x0000FF:
        return 13;
    case 0x00FFFF:
        return 15;
    case 0xFFFFFF:
        return borderOn != 0 ? 16 : 0;
    default:
        return -1;
    }
}

ViewerSize ViewerFromWidth(int windowWidth) {
    const int w = std::max(windowWidth, ViewerMinimumWidth);
    const int pw = w - ViewerFrameWidth;
    const int ph = roundEven(pw / 1.25);
    return {w, ph + ViewerFrameHeight, pw, ph};
}

ViewerSize ViewerFromHeight(int windowHeight) {
    const int ph = windowHeight - ViewerFrameHeight;
    const int pw = roundEven(ph * 1.25);
    if (pw + ViewerFrameWidth < ViewerMinimumWidth) return ViewerFromWidth(ViewerMinimumWidth);
    return {pw + ViewerFrameWidth, windowHeight, pw, ph};
}

ViewerSize ViewerResized(int windowWidth, int windowHeight, int lastWidth) {
    return windowWidth != lastWidth ? ViewerFromWidth(windowWidth) : ViewerFromHeight(windowHeight);
}

} // namespace sstv
