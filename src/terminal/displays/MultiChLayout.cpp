#include "terminal/displays/MultiChLayout.h"

namespace terminal::displays {
namespace {

constexpr int kSideBySideWidth = 9165;
constexpr int kStackedHeight = 3930;
constexpr int kPaneTop = 480;
// What the panes leave of the window: the headers and the status bar.
constexpr int kHorizontalChrome = 1275;
constexpr int kStackedMargin = 165;

// The second channel's header.
constexpr MultiControl kSecondHeader[] = {L2, L4, C2, V2, L6};

struct KeyOf {
    const char* key;
    MultiControl control;
    int Place::*field;
};

// The stored keys in their order: Top, Height, Left, Width of the panes, then
// Left and Top of each other control.
constexpr KeyOf kKeys[] = {
    {"R1T", R1, &Place::top},   {"R1H", R1, &Place::height}, {"R1L", R1, &Place::left},
    {"R1W", R1, &Place::width}, {"R2T", R2, &Place::top},    {"R2H", R2, &Place::height},
    {"R2L", R2, &Place::left},  {"R2W", R2, &Place::width},  {"L1L", L1, &Place::left},
    {"L1T", L1, &Place::top},   {"L2L", L2, &Place::left},   {"L2T", L2, &Place::top},
    {"L3L", L3, &Place::left},  {"L3T", L3, &Place::top},    {"L4L", L4, &Place::left},
    {"L4T", L4, &Place::top},   {"V1L", V1, &Place::left},   {"V1T", V1, &Place::top},
    {"V2L", V2, &Place::left},  {"V2T", V2, &Place::top},    {"T1L", L5, &Place::left},
    {"T1T", L5, &Place::top},   {"T2L", L6, &Place::left},   {"T2T", L6, &Place::top},
    {"C1L", C1, &Place::left},  {"C1T", C1, &Place::top},    {"C2L", C2, &Place::left},
    {"C2T", C2, &Place::top},
};

} // namespace

MultiPlaces designPlaces() {
    MultiPlaces p{};
    p[L1] = {120, 240, 420, 255};
    p[V1] = {600, 120, 180, 375};
    p[L5] = {840, 120, 555, 375};
    p[L3] = {1440, 240, 375, 255};
    p[C1] = {1920, 240, 1095, 255};
    p[R1] = {0, kPaneTop, kMultiDefaultWidth - kStackedMargin, 1095};
    p[L2] = {120, 1800, 420, 255};
    p[V2] = {600, 1680, 180, 375};
    p[L6] = {840, 1680, 555, 375};
    p[L4] = {1440, 1800, 375, 255};
    p[C2] = {1920, 1800, 1095, 255};
    p[R2] = {0, 2040, kMultiDefaultWidth - kStackedMargin, 1095};
    return p;
}

MultiPlaces resized(const MultiChLayout& base, int W, int H, bool horizontal) {
    MultiPlaces p = base.places;
    if (horizontal) {
        p[R1].width = W / 2 - 52;
        p[R2].left = p[R1].width + 104;
        p[R2].width = W / 2 - 156;
        const int d = (W - base.W0) / 2;
        for (MultiControl c : kSecondHeader)
            p[c].left = base.places[c].left + d;
        p[R1].height = p[R2].height = H - kHorizontalChrome;
        return p;
    }
    p[R1].width = p[R2].width = W - kStackedMargin;
    const int e = (H - base.H0) / 2;
    p[R1].height = base.places[R1].height + e;
    for (MultiControl c : kSecondHeader)
        p[c].top = base.places[c].top + e;
    p[R2].top = base.places[R2].top + e;
    p[R2].height = base.places[R2].height + e;
    return p;
}

std::pair<int, int> arrangedSize(bool horizontal) {
    return horizontal ? std::pair{kSideBySideWidth, 0} : std::pair{0, kStackedHeight};
}

MultiPlaces arranged(const MultiPlaces& current, int W, int H, bool horizontal) {
    MultiPlaces p = current;
    if (horizontal) {
        p[R1] = {0, kPaneTop, W / 2 - 52, H - kHorizontalChrome};
        p[R2] = {p[R1].width + 104, kPaneTop, W / 2 - 156, H - kHorizontalChrome};
        // The window's width is the baseline's already: d is 0.
        const std::pair<MultiControl, int> lefts[] = {
            {L2, 4750}, {V2, 5260}, {L6, 5450}, {L4, 6070}, {C2, 6550}};
        for (auto [c, left] : lefts) {
            p[c].left = left;
            p[c].top = c == V2 || c == L6 ? 120 : 240;
        }
        return p;
    }
    p[R1] = {0, kPaneTop, W - kStackedMargin, 1095};
    p[R2] = {0, 2040, W - kStackedMargin, 1095};
    const Place design[] = {{120, 1800}, {600, 1680}, {840, 1680}, {1440, 1800}, {1920, 1800}};
    const MultiControl second[] = {L2, V2, L6, L4, C2};
    for (int i = 0; i < 5; ++i) {
        p[second[i]].left = design[i].left;
        p[second[i]].top = design[i].top;
    }
    return p;
}

bool placesFit(const MultiPlaces& p, bool horizontal) {
    const Place& a = p[R1];
    const Place& b = p[R2];
    return horizontal ? b.left > a.left : b.top > a.top;
}

QList<std::pair<QString, int>> layoutKeys(const MultiPlaces& places) {
    QList<std::pair<QString, int>> keys;
    for (const KeyOf& k : kKeys)
        keys.append({QString::fromLatin1(k.key), places[k.control].*k.field});
    return keys;
}

MultiPlaces placesFromKeys(const MultiPlaces& fallback,
                           const std::function<std::optional<int>(const QString&)>& stored) {
    MultiPlaces p = fallback;
    for (const KeyOf& k : kKeys)
        if (const std::optional<int> v = stored(QString::fromLatin1(k.key))) p[k.control].*k.field = *v;
    return p;
}

} // namespace terminal::displays
