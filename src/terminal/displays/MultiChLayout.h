#pragma once
// The places of the multi-channel window's controls, in twips, and how they
// follow the window: the second channel's header keeps to the middle of the
// window (half the change of width side by side, half the change of height
// stacked), the first channel's header never moves. Pure: the window applies
// what these give.
#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace terminal::displays {

// The controls, the first channel's and the second's.
enum MultiControl : int { R1, R2, L1, L2, L3, L4, L5, L6, C1, C2, V1, V2, MultiControlCount };

struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Place&) const = default;
};

using MultiPlaces = std::array<Place, MultiControlCount>;

// The baseline the window moves its controls from: its size and every place.
struct MultiChLayout {
    int W0 = 0;
    int H0 = 0;
    MultiPlaces places{};
};

constexpr int kMultiDefaultWidth = 6690;
constexpr int kMultiDefaultHeight = 3585;

// The places as the window is designed, stacked.
MultiPlaces designPlaces();
// The places after the window went from the baseline's size to W x H.
MultiPlaces resized(const MultiChLayout& base, int W, int H, bool horizontal);
// The default arrangement for a window of W x H (its width already 9165 side
// by side, its height 3930 stacked); the first channel's header keeps its place.
MultiPlaces arranged(const MultiPlaces& current, int W, int H, bool horizontal);
// True when the panes' places are of the arrangement asked for: side by side,
// the second pane starts right of the first; stacked, below it.
bool placesFit(const MultiPlaces& places, bool horizontal);
// The window's size the arrangement asks for: {width, height}, 0 where unchanged.
std::pair<int, int> arrangedSize(bool horizontal);

// The 28 keys of [multi_pos] in the order they are stored, with their values.
QList<std::pair<QString, int>> layoutKeys(const MultiPlaces& places);
// The places from stored keys: a key that is missing or no number keeps the given place's value.
MultiPlaces placesFromKeys(const MultiPlaces& fallback,
                           const std::function<std::optional<int>(const QString&)>& stored);

} // namespace terminal::displays
