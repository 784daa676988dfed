// The engine's bitmaps: a table of pictures by handle, drawing between
// bitmaps and picture boxes, files and the clipboard.
#include "platform/forms/colour/Colour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/sstvengine/SstvEngine.h"
#include "platform/sstvengine/SstvModes.h"
#include "platform/sstvengine/SstvPictureFile.h"
#include "platform/sstvengine/SstvSimulation.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>

namespace sstveng {
namespace {

constexpr std::int32_t StretchSmooth = 4;
// Larger bitmaps are refused: no picture of the system comes near this.

// The destination rectangle of a picture box, in pixels of its canvas.
QRectF boxPixels(const PictureBox& box, const Rect& dst) {
    const QPointF a = box.toPixels(dst.left, dst.top);
    const QPointF b = box.toPixels(dst.right, dst.bottom);
    return QRectF(a, b);
}

} // namespace

std::int32_t SstvEngine::keep(QImage picture) {
    if (picture.isNull()) return 0;
    const std::int32_t handle = nextHandle_++;
    bitmaps_.insert(handle, std::move(picture));
    return handle;
}

QImage* SstvEngine::image(std::int32_t handle) {
    auto it = bitmaps_.find(handle);
    return it == bitmaps_.end() ? nullptr : &it.value();
}

const QImage* SstvEngine::bitmap(std::int32_t handle) const {
    auto it = bitmaps_.constFind(handle);
    return it == bitmaps_.cend() ? nullptr : &it.value();
}

std::int32_t SstvEngine::mmsCreateDIB(std::int32_t width, std::int32_t height) {
    record("mmsCreateDIB", {width, height});
    if (width <= 0 || height <= 0 || width > MaxDibSide || height > MaxDibSide) return 0;
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(colour::fromRef(std::uint32_t(clearColour_)));
    return keep(std::move(picture));
}

std::int32_t SstvEngine::LoadPicture(const QString& path) {
    record("LoadPicture", {path});
    return keep(readPicture(path));
}

std::int32_t SstvEngine::DeleteObject(std::int32_t bitmap) {
    record("DeleteObject", {bitmap});
    return bitmaps_.remove(bitmap) ? 1 : 0;
}

std::int32_t SstvEngine::mmsGetClearColor() {
    record("mmsGetClearColor", {});
    return clearColour_;
}

void SstvEngine::mmsSetClearColor(std::int32_t colour) {
    record("mmsSetClearColor", {colour});
    clearColour_ = colour & 0xFFFFFF;
}

std::int32_t SstvEngine::mmsFillDIB(std::int32_t bitmap, std::int32_t colour) {
    record("mmsFillDIB", {bitmap, colour});
    QImage* picture = image(bitmap);
    if (!picture) return 0;
    picture->fill(colour::fromRef(std::uint32_t(colour) & 0xFFFFFF));
    return 1;
}

std::int32_t SstvEngine::mmsGetDIBSize(Rect* rect, std::int32_t bitmap) {
    record("mmsGetDIBSize", {bitmap});
    const QImage* picture = image(bitmap);
    if (!picture || !rect) return 0;
    rect->right = picture->width();
    rect->bottom = picture->height();
    return 1;
}

std::int32_t SstvEngine::mmsDrawDIBdc(PictureBox* dc, const Rect& dst, std::int32_t bitmap, const Rect& src,
                                      std::int32_t mode) {
    record("mmsDrawDIBdc", {bitmap, dst.right, dst.bottom, src.right, src.bottom, mode});
    const QImage* picture = image(bitmap);
    if (!dc || !picture || mode != StretchSmooth || dst.right == dst.left || dst.bottom == dst.top) return 0;
    dc->ensureCanvas();
    stretchInto(dc->canvas(), boxPixels(*dc, dst), *picture, src, dst);
    dc->update();
    return 1;
}

std::int32_t SstvEngine::mmsDrawDIBbmp(std::int32_t target, const Rect& dst, std::int32_t bitmap,
                                       const Rect& src, std::int32_t mode) {
    record("mmsDrawDIBbmp", {target, dst.right, dst.bottom, bitmap, src.right, src.bottom, mode});
    QImage* to = image(target);
    const QImage* from = image(bitmap);
    if (!to || !from || mode != StretchSmooth || dst.right == dst.left || dst.bottom == dst.top) return 0;
    // A bitmap drawn into itself is drawn from a copy.
    const QImage source = to == from ? from->copy() : *from;
    stretchInto(*to, QRectF(QPointF(dst.left, dst.top), QPointF(dst.right, dst.bottom)), source, src, dst);
    return 1;
}

std::int32_t SstvEngine::mmsDrawDCbmp(std::int32_t target, const Rect& dst, PictureBox* dc, const Rect& src,
                                      std::int32_t mode) {
    record("mmsDrawDCbmp", {target, dst.right, dst.bottom, src.right, src.bottom, mode});
    QImage* to = image(target);
    if (!to || !dc || mode != StretchSmooth || dst.right == dst.left || dst.bottom == dst.top) return 0;
    dc->ensureCanvas();
    // The box's scale rectangle in the canvas' pixels is the source.
    const QRectF px = boxPixels(*dc, src);
    const QImage grabbed = dc->canvas().copy(px.toRect());
    const Rect whole{0, 0, grabbed.width(), grabbed.height()};
    stretchInto(*to, QRectF(QPointF(dst.left, dst.top), QPointF(dst.right, dst.bottom)), grabbed, whole, dst);
    return 1;
}

std::int32_t SstvEngine::mmsSaveDIB(const QString& path, std::int32_t bitmap) {
    record("mmsSaveDIB", {path, bitmap});
    const QImage* picture = image(bitmap);
    return picture && writeBmp(*picture, path) ? 1 : 0;
}

std::int32_t SstvEngine::mmsCopyDIB(std::int32_t bitmap) {
    record("mmsCopyDIB", {bitmap});
    const QImage* picture = image(bitmap);
    if (!picture) return 0;
    QGuiApplication::clipboard()->setImage(*picture);
    return 1;
}

std::int32_t SstvEngine::mmsPasteDIB() {
    record("mmsPasteDIB", {});
    const QImage picture = QGuiApplication::clipboard()->image();
    if (picture.isNull() || picture.width() > MaxDibSide || picture.height() > MaxDibSide) return 0;
    return keep(picture.convertToFormat(QImage::Format_RGB32));
}

void SstvEngine::mmsSetBitmap(std::int32_t rx, std::int32_t preview, std::int32_t tx) {
    record("mmsSetBitmap", {rx, preview, tx});
    sim_->rx = rx;
    sim_->preview = preview;
    sim_->txBitmap = tx;
}

void SstvEngine::mmsSetTuneBitmap(std::int32_t spectrum, std::int32_t waterfall, std::int32_t level) {
    record("mmsSetTuneBitmap", {spectrum, waterfall, level});
    sim_->spectrum = spectrum;
    sim_->waterfall = waterfall;
    sim_->level = level;
}

} // namespace sstveng
