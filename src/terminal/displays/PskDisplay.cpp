#include "terminal/displays/PskDisplay.h"

#include "platform/forms/colour/Colour.h"
#include "terminal/displays/TracePlot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

namespace terminal::displays {
namespace {

const QColor kScopeColour(0x00, 0xFF, 0x00);

// A painter that draws in the picture's scale with a one-pixel pen.
class ScalePainter {
  public:
    ScalePainter(PictureBox& picture, const QColor& colour) : p_(&picture.canvas()) {
        const QImage& img = picture.canvas();
        p_.scale(img.width() / picture.scaleWidth(), img.height() / picture.scaleHeight());
        QPen pen(colour);
        pen.setCosmetic(true);
        pen.setWidth(0);
        p_.setPen(pen);
    }
    QPainter& operator*() { return p_; }
    QPainter* operator->() { return &p_; }

  private:
    QPainter p_;
};

bool drawable(PictureBox& picture) {
    return !picture.canvas().isNull() && picture.scaleWidth() != 0 && picture.scaleHeight() != 0;
}

// A trace in the picture's scale, as a one-pixel pen draws it; written straight
// into the canvas's rows, the painter drawing only what the plotter leaves to it.
void drawTrace(PictureBox& picture, std::span<const QPointF> trace, const QColor& colour) {
    QImage& img = picture.canvas();
    const bool plain = img.format() == QImage::Format_RGB32 && colour.alpha() == 255;
    if (plain &&
        plotTrace(trace, img.width() / picture.scaleWidth(), img.height() / picture.scaleHeight(),
                  {reinterpret_cast<QRgb*>(img.bits()), img.bytesPerLine() / 4, img.width(), img.height()},
                  colour.rgb()))
        return;
    ScalePainter p(picture, colour);
    p->drawPolyline(trace.data(), int(trace.size()));
}

// A trace's points, kept from tick to tick so that none allocates.
std::vector<QPointF>& traceFrom(QPointF start) {
    static std::vector<QPointF> trace;
    trace.assign(1, start);
    return trace;
}

} // namespace

std::optional<std::uint32_t> waterfallColour(int v, const Levels& t) {
    if (v < t[0]) return 0x800000;
    if (v >= t[0] && v <= t[1]) return 0xFF3300;
    if (v >= t[2] && v <= t[3]) return 0xFFB900;
    if (v >= t[4] && v <= t[5]) return 0xBFFF00;
    if (v >= t[6] && v <= t[7]) return 0x00FF93;
    if (v > t[7]) return 0x00F2FF;
    return std::nullopt;
}

void drawWaterfallRow(PictureBox& picture, const std::int32_t* bins, int first, int last, int step,
                      const Levels& levels) {
    if (!drawable(picture) || step <= 0 || last <= first) return;
    const int drawn = (last - (first + 1)) / step + 1;
    // Each drawn bin's colour; a bin between two ranges takes the colour of the
    // next bin drawn, and the pixels past the last coloured bin keep the first
    // one's, as the row's first segment spans it.
    static std::vector<QRgb> colours;
    colours.assign(std::size_t(drawn), 0);
    std::optional<QRgb> next;
    int uncoloured = drawn; // the drawn bins from here on have no colour after them
    for (int k = drawn - 1; k >= 0; --k) {
        if (const std::optional<std::uint32_t> ref = waterfallColour(bins[first + 1 + k * step], levels))
            next = colour::rgbFromRef(*ref);
        if (next)
            colours[std::size_t(k)] = *next;
        else
            uncoloured = k;
    }
    if (!next) return;
    for (int k = uncoloured; k < drawn; ++k)
        colours[std::size_t(k)] = *next;
    QRgb* row = picture.scrollDownOneRow();
    const int width = picture.canvas().width();
    for (int px = 0; px < width; ++px) {
        const double x = picture.toScaleX(px);
        const int k = int(std::floor((x - 1) / step + 0.5));
        row[px] = colours[std::size_t(std::clamp(k, 0, drawn - 1))];
    }
}

namespace {

void traceSpectrum(PictureBox& picture, const std::int32_t* bins, int first, int last, int step,
                   const QColor& colour) {
    if (!drawable(picture) || step <= 0) return;
    std::vector<QPointF>& trace = traceFrom({0, 100});
    for (int i = first; i <= last; i += step)
        trace.emplace_back(i - first, 98 - bins[i]);
    drawTrace(picture, trace, colour);
}

} // namespace

void drawSpectrum(PictureBox& picture, const std::int32_t* bins, int first, int last, int step,
                  const QColor& colour) {
    traceSpectrum(picture, bins, first, last, step, colour);
    picture.update();
}

void redrawSpectrum(PictureBox& picture, const std::int32_t* bins, int first, int last, int step,
                    const QColor& colour) {
    picture.erase();
    traceSpectrum(picture, bins, first, last, step, colour);
    picture.update();
}

int inputSamplesShown(const PictureBox& picture, int count) {
    return std::min(count, int(std::abs(picture.scaleWidth())) + 2);
}

void drawInput(PictureBox& picture, const std::int32_t* samples, int count, int divisor) {
    if (!drawable(picture)) return;
    if (divisor == 0) divisor = 1;
    const int shown = inputSamplesShown(picture, count);
    std::vector<QPointF>& trace = traceFrom({0, 0});
    for (int i = 0; i < shown; ++i)
        trace.emplace_back(i, samples[i] / divisor + 500);
    drawTrace(picture, trace, kScopeColour);
    picture.update();
}

void drawSync(PictureBox& picture, const std::int32_t* sync) {
    if (!drawable(picture)) return;
    ScalePainter p(picture, kScopeColour);
    for (int i = 0; i < 16; ++i)
        p->drawLine(QPointF(i + 0.5, 1000), QPointF(i + 0.5, 1000 - sync[i] / 2));
    picture.update();
}

void drawVector(PictureBox& picture, const std::int32_t* vector) {
    if (!drawable(picture)) return;
    ScalePainter p(picture, kScopeColour);
    for (int k = 0; k < 16; k += 2)
        p->drawLine(QPointF(630, 630),
                    QPointF(630 - (vector[k] * 500) / 1000, 630 - (vector[k + 1] * 500) / 1000));
    picture.update();
}

} // namespace terminal::displays
