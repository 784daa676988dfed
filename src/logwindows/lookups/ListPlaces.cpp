#include "logwindows/lookups/ListPlaces.h"

#include <algorithm>

namespace logwindows {

namespace {

int onScreen(int stored, int screen) {
    return std::max(0, stored < screen ? stored : 0);
}

} // namespace

TwipsPlace earlierQsoListPlace(std::optional<int> top, std::optional<int> left, std::optional<int> width,
                               int screenWidth, int screenHeight) {
    if (!top) return {0, 0, 9135};
    return {onScreen(*top, screenHeight), onScreen(left.value_or(0), screenWidth), width.value_or(9135)};
}

TwipsPlace codeListPlace(std::optional<int> top, std::optional<int> left, std::optional<int> width,
                         int screenWidth, int screenHeight) {
    constexpr int kWidth = 7875;
    if (!top) return {0, 0, kWidth};
    const int storedLeft = left.value_or(0);
    if (storedLeft >= screenWidth) return {onScreen(*top, screenHeight), 0, kWidth};
    return {onScreen(*top, screenHeight), std::max(0, storedLeft), width.value_or(7755)};
}

} // namespace logwindows
