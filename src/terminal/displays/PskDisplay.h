#pragma once
// Drawing of the PSK engine's display data into the main window's pictures:
// the waterfall row, the spectrum traces, the input and sync displays and the
// phase scope. Each draws in the picture's own scale, straight into its image.
#include "platform/forms/controls/PictureBox.h"

#include <array>
#include <cstdint>
#include <optional>

namespace terminal::displays {

using Levels = std::array<int, 8>;

// The waterfall colour (0x00BBGGRR) of a bin value by the thresholds T0..T7, or
// nothing for a value between two ranges.
std::optional<std::uint32_t> waterfallColour(int value, const Levels& levels);

// A new top row of the waterfall, the older rows moving down one pixel: bins
// first + 1 .. last in steps. A drawn bin i is centred at x = i - first, where
// a click reads bin i, and fills the step around it; a bin without a colour
// takes the colour of the next bin drawn.
void drawWaterfallRow(PictureBox& picture, const std::int32_t* bins, int first, int last, int step,
                      const Levels& levels);

// A spectrum trace from (0, 100) through (i - first, 98 - bins[i]).
void drawSpectrum(PictureBox& picture, const std::int32_t* bins, int first, int last, int step,
                  const QColor& colour);
// The same on a picture showing nothing else: what it showed goes first.
void redrawSpectrum(PictureBox& picture, const std::int32_t* bins, int first, int last, int step,
                    const QColor& colour);

// How many of the input samples the picture's width shows, of count.
int inputSamplesShown(const PictureBox& picture, int count);

// The input samples, sample i at (i, samples[i] / divisor + 500), from (0, 0);
// only what the picture's width shows is drawn.
void drawInput(PictureBox& picture, const std::int32_t* samples, int count, int divisor);

// 16 sync bars from (i + 0.5, 1000) up to (i + 0.5, 1000 - sync[i] / 2).
void drawSync(PictureBox& picture, const std::int32_t* sync);

// The phase scope: 8 spokes from (630, 630) to the x/y pairs scaled by a half.
void drawVector(PictureBox& picture, const std::int32_t* vector);

} // namespace terminal::displays
