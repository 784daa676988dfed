#include "platform/sstvengine/SstvDrawing.h"

#include <QPainter>

namespace sstveng {

Stretch clipStretch(const Rect& src, const Rect& dst, QSize bitmap) {
    const QRectF s(QPointF(src.left, src.top), QPointF(src.right, src.bottom));
    const QRectF d(QPointF(dst.left, dst.top), QPointF(dst.right, dst.bottom));
    if (s.width() <= 0 || s.height() <= 0 || d.width() <= 0 || d.height() <= 0) return {};
    const QRectF clipped = s.intersected(QRectF(QPointF(0, 0), QSizeF(bitmap)));
    if (clipped.isEmpty()) return {};
    const double sx = d.width() / s.width();
    const double sy = d.height() / s.height();
    const QRectF target(d.left() + (clipped.left() - s.left()) * sx, d.top() + (clipped.top() - s.top()) * sy,
                        clipped.width() * sx, clipped.height() * sy);
    return {clipped, target};
}

void stretchInto(QImage& target, const QRectF& dstPixels, const QImage& source, const Rect& src,
                 const Rect& dst) {
    if (target.isNull() || source.isNull()) return;
    const Stretch st = clipStretch(src, dst, source.size());
    if (st.source.isEmpty()) return;
    // The destination rectangle in the caller's units maps onto dstPixels.
    const double kx = dstPixels.width() / double(dst.right - dst.left);
    const double ky = dstPixels.height() / double(dst.bottom - dst.top);
    const QRectF pixels(dstPixels.left() + (st.target.left() - dst.left) * kx,
                        dstPixels.top() + (st.target.top() - dst.top) * ky, st.target.width() * kx,
                        st.target.height() * ky);
    QPainter p(&target);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(pixels, source, st.source);
}

} // namespace sstveng
