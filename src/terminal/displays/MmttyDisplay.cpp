#include "terminal/displays/MmttyDisplay.h"

#include "platform/forms/colour/Colour.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/PskDisplay.h"

#include <QPainter>
#include <algorithm>

namespace terminal::displays {
namespace {

const QColor kScopeColour(0x00, 0xFF, 0x00);
const QColor kTraceColour(0xFF, 0xFF, 0x00);
constexpr int kSpectrumStep = 5;
constexpr int kWaterfallStep = 2;

bool drawable(PictureBox& picture) {
    return !picture.canvas().isNull() && picture.scaleWidth() != 0 && picture.scaleHeight() != 0;
}

} // namespace

double binX(int i, int first) {
    return (i - first) * pskcore::HzPerBin;
}

void drawXyScope(PictureBox& picture, const std::int32_t* x, const std::int32_t* y, int mask, int offset) {
    picture.clear();
    if (!drawable(picture)) return;
    QImage& img = picture.canvas();
    const double sx = img.width() / picture.scaleWidth();
    const double sy = img.height() / picture.scaleHeight();
    const QRgb c = kScopeColour.rgb();
    for (int i = 0; i <= std::min(mask, 4096); i += 2) {
        const int px = int((x[i] + offset) * sx);
        const int py = int((y[i] + offset) * sy);
        if (px >= 0 && py >= 0 && px < img.width() && py < img.height()) img.setPixel(px, py, c);
    }
    picture.update();
}

void drawSpectrum(PictureBox& picture, const std::int32_t* values, int first, int last) {
    if (!drawable(picture)) return;
    QPolygonF trace;
    trace << QPointF(0, 100);
    for (int i = first; i <= last; i += kSpectrumStep)
        trace << QPointF(binX(i, first), 90 - values[i] / 3);
    QPainter p(&picture.canvas());
    p.scale(picture.canvas().width() / picture.scaleWidth(),
            picture.canvas().height() / picture.scaleHeight());
    QPen pen(kTraceColour);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.drawPolyline(trace);
    picture.update();
}

void drawWaterfallRow(PictureBox& picture, const std::int32_t* values, int first, int last,
                      const std::array<int, 8>& levels) {
    if (!drawable(picture)) return;
    QRgb* row = picture.scrollDownOneRow();
    const int width = picture.canvas().width();
    const double pxPerHz = width / picture.scaleWidth();
    // A bin without a colour leaves its pixels as the bin before drew them.
    int penPx = 0;
    QRgb pen = colour::fromRef(0x800000).rgb();
    for (int i = first; i <= last; i += kWaterfallStep) {
        const int px = std::clamp(int(binX(i, first) * pxPerHz), 0, width - 1);
        if (const std::optional<std::uint32_t> ref = waterfallColour(values[i] / 5, levels))
            pen = colour::fromRef(*ref).rgb();
        std::fill(row + std::min(penPx, px), row + px + 1, pen);
        penPx = px + 1;
    }
    if (penPx < width) std::fill(row + penPx, row + width, pen);
}

} // namespace terminal::displays
