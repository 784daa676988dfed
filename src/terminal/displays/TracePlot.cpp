#include "terminal/displays/TracePlot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

namespace terminal::displays {
namespace {

// No pixel yet, or the last segment's end was clipped away.
constexpr int kNoPixel = std::numeric_limits<int>::min();

// Caps at a segment's start and end; once it is turned to step forwards, at
// its low and high end along its main axis.
enum Caps { kNoCaps = 0, kCapLow = 1, kCapHigh = 2 };

int swapCaps(int caps) {
    return ((caps & kCapLow) << 1) | ((caps & kCapHigh) >> 1);
}

// Pixel coordinates in 26.6 fixed point, truncated towards zero.
int fixed6(double v) {
    return static_cast<int>(v * 64.);
}

// A slope in 16.16 fixed point, truncated towards zero. Divided in double, which
// is quicker than a 64-bit integer division and gives the same: the dividend
// stays below 2^48, so the rounded quotient never reaches the next whole number.
std::int64_t slope16(int rise, int run) {
    return std::int64_t(double(std::int64_t(rise) * (1 << 16)) / double(run));
}

struct Pixel {
    int x, y;
    bool operator==(const Pixel&) const = default;
};

// The way a segment steps: down or up the picture, right or left along it.
enum class Heading { None, Down, Up, Right, Left };

Heading heading(bool vertical, bool back) {
    return vertical ? (back ? Heading::Up : Heading::Down) : (back ? Heading::Left : Heading::Right);
}

class Plotter {
  public:
    Plotter(const TraceCanvas& canvas, QRgb colour)
        : canvas_(canvas), colour_(colour), xMax_(canvas.width + 1), yMax_(canvas.height + 1) {}

    // Draws one segment; false when it drew nothing and spans less than a pixel,
    // so that the next one starts where this one did.
    bool segment(double x1, double y1, double x2, double y2, int caps) {
        const bool long_ = std::abs(x2 - x1) + std::abs(y2 - y1) >= 1.0;
        if (!inside(x1, y1) || !inside(x2, y2))
            if (!clip(x1, y1, x2, y2)) return true;
        const int fx1 = fixed6(x1), fy1 = fixed6(y1), fx2 = fixed6(x2), fy2 = fixed6(y2);
        const int dx = std::abs(fx2 - fx1), dy = std::abs(fy2 - fy1);
        if (dx < dy) return step<true>(fy1, fx1, fy2, fx2, caps) || long_;
        if (dx == 0) return true;
        return step<false>(fx1, fy1, fx2, fy2, caps) || long_;
    }

  private:
    // Within the clipping bounds, so that the segment is not cut (and finite).
    bool inside(double x, double y) const { return x >= -1 && x <= xMax_ && y >= -1 && y <= yMax_; }

    // Cuts the segment to a pixel beyond the canvas on every side; false when
    // nothing of it is left. A cut end forgets the last pixel, so that the
    // next segment's join is not checked against it.
    bool clip(double& x1, double& y1, double& x2, double& y2) {
        if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
            return false;
        return clipAxis(x1, y1, x2, y2, xMax_) && clipAxis(y1, x1, y2, x2, yMax_);
    }

    // Along one axis a, the other b moving with it, to -1 .. high.
    bool clipAxis(double& a1, double& b1, double& a2, double& b2, double high) {
        const double low = -1;
        if (a1 < low || a1 > high) {
            const double edge = a1 < low ? low : high;
            if (a1 < low ? a2 <= low : a2 >= high) {
                lastPixel_.x = kNoPixel;
                return false;
            }
            b1 += (b2 - b1) / (a2 - a1) * (edge - a1);
            a1 = edge;
        }
        if (a2 < low || a2 > high) {
            const double edge = a2 < low ? low : high;
            lastPixel_.x = kNoPixel;
            b2 += (b2 - b1) / (a2 - a1) * (edge - a2);
            a2 = edge;
        }
        return true;
    }

    // Steps the main axis a pixel at a time from a1 to a2 (26.6), the other
    // coordinate b following in 16.16; the join with the last segment drops a
    // pixel drawn twice, fills a gap, or moves half a step along a straight run.
    template <bool Vertical> bool step(int a1, int b1, int a2, int b2, int caps) {
        const auto pixel = [](int a, int b) { return Vertical ? Pixel{b, a} : Pixel{a, b}; };
        const bool back = a1 > a2;
        const Heading way = heading(Vertical, back);
        if (back) {
            std::swap(a1, a2);
            std::swap(b1, b2);
            caps = swapCaps(caps);
        }
        // A turn back along the same axis gets a cap at the join.
        if (lastHeading_ == heading(Vertical, !back)) caps |= back ? kCapHigh : kCapLow;
        const int a1Capped = caps & kCapLow ? a1 - 32 : a1;
        int a = (a1Capped + 32) >> 6;
        int aEnd = ((caps & kCapHigh ? a2 + 32 : a2) + 32) >> 6;
        if ((caps & kCapLow) && (Vertical ? lastPixel_.y : lastPixel_.x) == a + 1) ++a;
        if (a == aEnd) return false;

        const std::int64_t inc = slope16(b2 - b1, a2 - a1);
        std::int64_t b = std::int64_t(b1) * (1 << 10);
        if (caps & kCapLow) b -= inc >> 1;
        b += ((a * (1 << 6)) + (inc > 0 ? 32 : 0) - a1Capped) * inc >> 6;
        Pixel first = pixel(a, int(b >> 16));
        Pixel last = pixel(aEnd - 1, int((b + (aEnd - a - 1) * inc) >> 16));
        if (back) std::swap(first, last);
        const bool axisAligned = std::abs(inc) < (1 << 14);
        if (lastPixel_.x != kNoPixel) {
            const int gapX = std::abs(lastPixel_.x - first.x), gapY = std::abs(lastPixel_.y - first.y);
            if (first == lastPixel_) {
                if (back) {
                    --aEnd;
                } else {
                    ++a;
                    b += inc;
                }
            } else if (lastHeading_ != way && ((axisAligned && lastAxisAligned_ && gapX != 0 && gapY != 0) ||
                                               gapX > 1 || gapY > 1)) {
                if (back) {
                    ++aEnd;
                } else {
                    --a;
                    b -= inc;
                }
            } else if (lastHeading_ == way && gapX <= 1 && gapY > 1) {
                b += inc >> 1;
                const int moved = int((back ? b : b + (aEnd - a - 1) * inc) >> 16);
                (Vertical ? last.x : last.y) = moved;
            }
        }
        lastHeading_ = way;
        lastAxisAligned_ = axisAligned;
        run<Vertical>(a, std::max(aEnd - a, 1), b, inc);
        lastPixel_ = last;
        return true;
    }

    // Sets count pixels from a on along the main axis, b following by inc;
    // those off the canvas are left out.
    template <bool Vertical> void run(int a, int count, std::int64_t b, std::int64_t inc) {
        const int along = Vertical ? canvas_.height : canvas_.width;
        const auto across = unsigned(Vertical ? canvas_.width : canvas_.height);
        const int from = std::max(a, 0), to = std::min(a + count, along);
        if (from >= to) return;
        b += (from - a) * inc;
        const qsizetype stepAlong = Vertical ? canvas_.stride : 1, stepAcross = Vertical ? 1 : canvas_.stride;
        QRgb* p = canvas_.pixels + from * stepAlong;
        for (int n = to - from; n > 0; --n, p += stepAlong, b += inc) {
            const int c = int(b >> 16);
            if (unsigned(c) < across) p[c * stepAcross] = colour_;
        }
    }

    TraceCanvas canvas_;
    QRgb colour_;
    double xMax_, yMax_;
    Pixel lastPixel_{kNoPixel, kNoPixel};
    Heading lastHeading_ = Heading::None;
    bool lastAxisAligned_ = false;
};

} // namespace

bool plotTrace(std::span<const QPointF> points, double sx, double sy, const TraceCanvas& canvas,
               QRgb colour) {
    if (points.size() < 2) return true;
    // Compared exactly: QPointF's own comparison is fuzzy.
    if (points.front().x() == points.back().x() && points.front().y() == points.back().y()) return false;
    Plotter plotter(canvas, colour);
    QPointF from(points[0].x() * sx, points[0].y() * sy);
    int caps = kCapLow;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const QPointF to(points[i].x() * sx, points[i].y() * sy);
        const bool lastOne = i + 1 == points.size();
        if (lastOne) caps |= kCapHigh;
        // A segment too short to draw leaves the next one starting where it started.
        if (plotter.segment(from.x(), from.y(), to.x(), to.y(), caps) || i == 1 || lastOne) from = to;
        caps = kNoCaps;
    }
    return true;
}

} // namespace terminal::displays
