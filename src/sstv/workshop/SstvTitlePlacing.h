#pragma once
// Where the title-line marker goes: its top left lies 16 pixels up and left
// of the pointer, and it follows the pointer only inside the canvas margins.
#include <QPoint>
#include <cmath>

namespace sstv {

inline constexpr int MarkerOffset = 16;

// Strictly inside 5 < X < 315 and 5 < Y < 251.
constexpr bool InsideMarkerMargins(double X, double Y) {
    return X > 5 && X < 315 && Y > 5 && Y < 251;
}

inline QPoint MarkerPlace(double X, double Y) {
    return {int(std::nearbyint(X)) - MarkerOffset, int(std::nearbyint(Y)) - MarkerOffset};
}

} // namespace sstv
