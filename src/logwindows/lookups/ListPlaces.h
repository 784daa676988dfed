#pragma once
// Where the two list windows open, from their stored places (twips) and the
// screen's size (twips). A place off the screen or negative falls back to the
// screen's edge.
#include <QString>
#include <optional>

namespace logwindows {

struct TwipsPlace {
    int top = 0;
    int left = 0;
    int width = 0;
};

// The earlier-QSO list (LOGVPOSTop, LOGVPOSLeft, LOGVPOSWidth).
TwipsPlace earlierQsoListPlace(std::optional<int> top, std::optional<int> left, std::optional<int> width,
                               int screenWidth, int screenHeight);
// The area-code list (CDLSTPOSTop, CDLSTPOSLeft, CDLSTPOSWidth).
TwipsPlace codeListPlace(std::optional<int> top, std::optional<int> left, std::optional<int> width,
                         int screenWidth, int screenHeight);

} // namespace logwindows
