#pragma once
// A one-pixel trace written straight into an image's rows. It sets exactly the
// pixels that QPainter::drawPolyline sets on a raster image with an aliased
// cosmetic pen (one pixel wide, square caps) under a scale, joins and clipping
// at the edges included, without the painter's span blending that costs the
// displays most of their tick.
#include <QPointF>
#include <QRgb>

#include <span>

namespace terminal::displays {

// An image's pixels: row y starts at pixels + y * stride.
struct TraceCanvas {
    QRgb* pixels;
    qsizetype stride;
    int width, height;
};

// Draws the open trace through the points, point (x, y) at pixel (x * sx, y * sy),
// in colour. A trace ending on its first point is closed and is not drawn here:
// the answer is then false and the canvas untouched.
bool plotTrace(std::span<const QPointF> points, double sx, double sy, const TraceCanvas& canvas, QRgb colour);

} // namespace terminal::displays
