#pragma once
// The SSTV modes the engine knows, in its own numbering 0..36, with the
// picture size of each as the published mode definitions give it, and the
// size word the engine reports for a mode.
#include <QString>
#include <array>
#include <cstdint>

namespace sstveng {

struct ModeInfo {
    const char* name;
    int width;
    int height;
};

constexpr int ModeCount = 37;
constexpr int Robot36 = 3;
constexpr int Scottie1 = 6;
// No mode is larger than this; the engine's receive and transmit bitmaps have this size.
constexpr int MaxWidth = 800;
constexpr int MaxHeight = 616;

extern const std::array<ModeInfo, ModeCount> Modes;

// The mode's name, or an empty text for a number outside 0..36.
QString modeName(int mode);
// Height in the upper and width in the lower 16 bits; 0 for an unknown mode.
std::int32_t imageSizeWord(int mode);

} // namespace sstveng
