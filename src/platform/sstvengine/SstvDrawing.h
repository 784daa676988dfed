#pragma once
// The engine's drawing calls stretch a source rectangle of a bitmap into a
// destination rectangle. Rectangles are (left, top, right, bottom) as the
// callers keep them. The part of the source outside the bitmap is clipped
// away, and the destination shrinks with it, so nothing is read outside the
// bitmap and what is drawn keeps its place.
#include <QImage>
#include <QRectF>
#include <cstdint>

namespace sstveng {

struct Rect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct Stretch {
    QRectF source; // inside the bitmap
    QRectF target; // where that part lands
};

// What part of the bitmap (of this size) lands where; empty rectangles when
// the source lies outside it or either rectangle is empty.
Stretch clipStretch(const Rect& src, const Rect& dst, QSize bitmap);
// Draws src of source into dst of target, smoothly (the engine's mode 4).
void stretchInto(QImage& target, const QRectF& dstPixels, const QImage& source, const Rect& src,
                 const Rect& dst);

} // namespace sstveng
