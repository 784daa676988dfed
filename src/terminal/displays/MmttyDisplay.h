#pragma once
// Drawing of the RTTY program's scope data into the main window's pictures:
// the XY scope, and the spectrum or a waterfall row across the spectrum
// pictures, whose horizontal scale counts hertz from the first bin shown.
#include "platform/forms/controls/PictureBox.h"

#include <array>
#include <cstdint>

namespace terminal::displays {

// The x position in hertz of bin i, counted from the first bin shown.
double binX(int i, int first);

// Points (x[i] + offset, y[i] + offset) for i = 0, 2, 4, ... up to mask,
// after clearing the picture.
void drawXyScope(PictureBox& picture, const std::int32_t* x, const std::int32_t* y, int mask, int offset);

// A trace from (0, 100) to (binX(i), 90 - value(i) / 3), every fifth bin.
void drawSpectrum(PictureBox& picture, const std::int32_t* values, int first, int last);

// A new top row, the older rows moving down: every second bin in the colour of
// value / 5 by the waterfall's thresholds.
void drawWaterfallRow(PictureBox& picture, const std::int32_t* values, int first, int last,
                      const std::array<int, 8>& levels);

} // namespace terminal::displays
