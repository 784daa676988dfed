#include "terminal/displays/TracePlot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

// The block stages are built three times on x86-64, for AVX2, for SSE4.2 (whose
// 32-bit products, minima and maxima the plain instruction set lacks) and for
// the plain instruction set, and chosen at start; elsewhere (arm64 has its
// vector unit always) they are built once.
#if defined(__x86_64__)
#define ZV_VECTOR_CLONES [[gnu::target_clones("avx2", "arch=x86-64-v2", "default")]]
#else
#define ZV_VECTOR_CLONES
#endif

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

// What the next segment's join looks at: the last pixel drawn and how the
// segment drawing it stepped.
struct Joint {
    Pixel pixel{kNoPixel, kNoPixel};
    Heading heading = Heading::None;
    bool axisAligned = false;
};

// A spectrum's trace steps right a pixel or more at every point and keeps on
// the canvas. Its segments then need no clipping, none is sub-pixel and none
// turns back along x: each steps right, down or up, and only one along y that
// turns back from the last has a cap. Those leave the joins a few cases of
// arithmetic, worked out here for a block of segments at a time, each step as
// one loop over the block that the compiler turns into vector code with no
// jump for the data to mispredict. The pixels are the ones Plotter::step() sets.
namespace rightward {

constexpr int kBlock = 64;
// Pixels set for a segment without a loop; a shorter run sets its last again.
constexpr int kSlots = 6;
// Coordinates stay within 32 bits on a canvas up to this size.
constexpr int kMaxSide = 8192;

enum Kind { kRight, kDown, kUp, kNone };

// Segment s runs from point s - 1 to point s; at index 0 stands the segment
// drawn before the block, its end point and its join.
struct Block {
    template <typename T> using Row = std::array<T, kBlock + 1>;
    Row<int> x, y;                      // end point in 26.6
    Row<int> kind;                      // Kind
    Row<int> stop;                      // not drawn here, nor anything after it
    Row<int> a, aEnd;                   // first pixel and end along the main axis
    Row<int> b, inc;                    // the other coordinate at a and its step, 16.16
    Row<int> highAcross;                // the other pixel coordinate at aEnd - 1
    Row<int> capLow;                    // a cap at the low end
    Row<int> lastX, lastY, axisAligned; // the join with the next segment
    Row<int> count;                     // pixels drawn
    Row<int> inSlots;                   // all on the canvas and in the slots
    Row<int> bAt;                       // b at the slot being placed
    std::array<Row<int>, kSlots> slot;  // offsets of the first pixels into the canvas
};

// The points' pixel coordinates; a point off the canvas or less than a pixel
// right of the last stops the block.
ZV_VECTOR_CLONES void load(Block& k, const QPointF* points, int n, double sx, double sy, double width,
                           double height) {
    for (int s = 1; s <= n; ++s) {
        const double x = points[s].x() * sx, y = points[s].y() * sy;
        k.stop[s] = 1 - ((x >= 0) & (x <= width) & (y >= 0) & (y <= height));
        // Held to the canvas (not a number to 0) for the conversion; such a point stops anyway.
        k.x[s] = fixed6(std::min(width, std::max(0., x)));
        k.y[s] = fixed6(std::min(height, std::max(0., y)));
    }
    for (int s = 1; s <= n; ++s) {
        const int dx = k.x[s] - k.x[s - 1], dy = k.y[s] - k.y[s - 1];
        k.kind[s] = dx >= std::abs(dy) ? kRight : dy > 0 ? kDown : kUp;
        k.stop[s] |= dx < 64;
    }
}

// Each segment on its own, as step() walks it: a along the main axis from its
// low end (the top for one along y) with b following.
ZV_VECTOR_CLONES void walk(Block& k, int n) {
    for (int s = 1; s <= n; ++s) {
        const int x1 = k.x[s - 1], y1 = k.y[s - 1], x2 = k.x[s], y2 = k.y[s];
        const int kind = k.kind[s], previous = k.kind[s - 1];
        const int capLow = (kind == kDown) & (previous == kUp), capHigh = (kind == kUp) & (previous == kDown);
        const int a1 = kind == kRight ? x1 : std::min(y1, y2), a2 = kind == kRight ? x2 : std::max(y1, y2);
        const int b1 = kind == kRight ? y1 : kind == kDown ? x1 : x2;
        const int b2 = kind == kRight ? y2 : x1 + x2 - b1;
        const int a1Capped = a1 - (capLow << 5);
        const int a = (a1Capped + 32) >> 6, aEnd = (a2 + 32 + (capHigh << 5)) >> 6;
        // A segment less than a pixel long, or one back along x, stops the block; its slope is
        // only kept within what a drawn one can have (a step right: no more than one across
        // for one along), so that nothing worked out from it overflows.
        const int inc =
            int(std::clamp(double(b2 - b1) * 65536. / double(std::max(a2 - a1, 1)), -65536., 65536.));
        const int b =
            (b1 << 10) - ((inc >> 1) & -capLow) + ((((a << 6) + ((inc > 0) << 5) - a1Capped) * inc) >> 6);
        const int lowAcross = b >> 16, highAcross = (b + (aEnd - a - 1) * inc) >> 16;
        // The last pixel as drawn: a segment up is drawn from its bottom end.
        k.lastX[s] = kind == kRight ? aEnd - 1 : kind == kDown ? highAcross : lowAcross;
        k.lastY[s] = kind == kRight ? highAcross : kind == kDown ? aEnd - 1 : a;
        k.axisAligned[s] = (inc < (1 << 14)) & (inc > -(1 << 14));
        k.a[s] = a;
        k.aEnd[s] = aEnd;
        k.b[s] = b;
        k.inc[s] = inc;
        k.highAcross[s] = highAcross;
        k.capLow[s] = capLow;
    }
}

// The joins, as step() makes them: a capped start one past the last pixel moves
// on, a pixel drawn twice is dropped, a gap filled. The half step on a straight
// run and a segment left with no pixels stop the block, as the next segment's
// join would then need the last one's work.
ZV_VECTOR_CLONES void join(Block& k, int n) {
    for (int s = 1; s <= n; ++s) {
        const int kind = k.kind[s], up = kind == kUp, inc = k.inc[s];
        const int onward = k.capLow[s] & (k.lastY[s - 1] == k.a[s] + 1);
        int a = k.a[s] + onward, aEnd = k.aEnd[s], b = k.b[s] + (inc & -onward);
        const int firstAlong = up ? aEnd - 1 : a, firstAcross = up ? k.highAcross[s] : b >> 16;
        const int firstX = kind == kRight ? firstAlong : firstAcross,
                  firstY = kind == kRight ? firstAcross : firstAlong;
        const int gapX = std::abs(k.lastX[s - 1] - firstX), gapY = std::abs(k.lastY[s - 1] - firstY);
        const int twice = (gapX | gapY) == 0, turned = k.kind[s - 1] != kind;
        const int gap =
            (1 - twice) & turned &
            ((k.axisAligned[s] & k.axisAligned[s - 1] & (gapX != 0) & (gapY != 0)) | (gapX > 1) | (gapY > 1));
        const int half = (1 - twice) & (1 - turned) & (gapX <= 1) & (gapY > 1);
        k.stop[s] |= (a == aEnd) | half;
        // Pixels left out at the start as drawn: one for a pixel drawn twice, minus one for a gap.
        const int dropped = twice - gap;
        aEnd -= up ? dropped : 0;
        a += up ? 0 : dropped;
        b += up ? 0 : dropped * inc;
        k.a[s] = a;
        k.b[s] = b;
        k.count[s] = std::max(aEnd - a, 1);
    }
}

// Whether each segment's pixels are all on the canvas and no more than
// kSlots, and the offsets of its first kSlots pixels into the canvas.
ZV_VECTOR_CLONES void place(Block& k, int n, int stride, int width, int height) {
    for (int s = 1; s <= n; ++s) {
        const int vertical = k.kind[s] != kRight, count = k.count[s];
        const int highAlong = k.a[s] + count - 1;
        const int firstAcross = k.b[s] >> 16, lastAcross = (k.b[s] + (count - 1) * k.inc[s]) >> 16;
        const int highAcross = std::max(firstAcross, lastAcross);
        const int highX = vertical ? highAcross : highAlong, highY = vertical ? highAlong : highAcross;
        k.inSlots[s] = (std::min({k.a[s], firstAcross, lastAcross}) >= 0) & (highX < width) &
                       (highY < height) & (count <= kSlots);
    }
    // The first pixel's offset takes a multiplication; each next one moves on
    // from it, a step along and at most one across (a slope is never more than
    // one across for one along), or stays on the last pixel past the count.
    for (int s = 1; s <= n; ++s) {
        const int vertical = k.kind[s] != kRight, across = k.b[s] >> 16;
        k.slot[0][s] = vertical ? k.a[s] * stride + across : across * stride + k.a[s];
        k.bAt[s] = k.b[s];
    }
    for (int t = 1; t < kSlots; ++t)
        for (int s = 1; s <= n; ++s) {
            const int vertical = k.kind[s] != kRight, more = -(t < k.count[s]);
            const int b = k.bAt[s] + (k.inc[s] & more);
            const int across = (b >> 16) - (k.bAt[s] >> 16);
            const int acrossStep = (stride & -(across > 0)) - (stride & -(across < 0));
            k.slot[t][s] = k.slot[t - 1][s] + ((vertical ? stride + across : acrossStep + 1) & more);
            k.bAt[s] = b;
        }
}

// Draws segments from point i - 1 on, short of end, while they step right by
// a pixel or more and keep on the canvas; answers the first point not reached.
std::size_t plot(std::span<const QPointF> points, std::size_t i, std::size_t end, double sx, double sy,
                 const TraceCanvas& canvas, QRgb colour, Joint& joint) {
    const double width = canvas.width, height = canvas.height;
    const double x0 = points[i - 1].x() * sx, y0 = points[i - 1].y() * sy;
    if (joint.pixel.x == kNoPixel || joint.heading == Heading::Left || canvas.width > kMaxSide ||
        canvas.height > kMaxSide || canvas.stride > kMaxSide ||
        !(x0 >= 0 && x0 <= width && y0 >= 0 && y0 <= height))
        return i;
    Block k;
    k.x[0] = fixed6(x0);
    k.y[0] = fixed6(y0);
    k.kind[0] = joint.heading == Heading::Right  ? kRight
                : joint.heading == Heading::Down ? kDown
                : joint.heading == Heading::Up   ? kUp
                                                 : kNone;
    k.lastX[0] = joint.pixel.x;
    k.lastY[0] = joint.pixel.y;
    k.axisAligned[0] = joint.axisAligned;
    const int stride = int(canvas.stride);
    while (i < end) {
        const int n = int(std::min<std::size_t>(kBlock, end - i));
        load(k, points.data() + i - 1, n, sx, sy, width, height);
        walk(k, n);
        join(k, n);
        place(k, n, stride, canvas.width, canvas.height);
        // The segments before the first that stops are drawn; in most blocks none stops.
        int stops = 0;
        for (int s = 1; s <= n; ++s)
            stops |= k.stop[s];
        int drawn = stops ? 0 : n;
        while (drawn < n && !k.stop[drawn + 1])
            ++drawn;
        for (int s = 1; s <= drawn; ++s) {
            if (k.inSlots[s]) {
                for (int t = 0; t < kSlots; ++t)
                    canvas.pixels[k.slot[t][s]] = colour;
                continue;
            }
            const bool vertical = k.kind[s] != kRight;
            const qsizetype alongStep = vertical ? canvas.stride : 1,
                            acrossStep = vertical ? 1 : canvas.stride;
            const auto along = unsigned(vertical ? canvas.height : canvas.width);
            const auto across = unsigned(vertical ? canvas.width : canvas.height);
            for (int m = 0, b = k.b[s]; m < k.count[s]; ++m, b += k.inc[s])
                if (const auto a = unsigned(k.a[s] + m), c = unsigned(b >> 16); a < along && c < across)
                    canvas.pixels[a * alongStep + c * acrossStep] = colour;
        }
        i += std::size_t(drawn);
        for (auto* row : {&k.x, &k.y, &k.kind, &k.lastX, &k.lastY, &k.axisAligned})
            (*row)[0] = (*row)[std::size_t(drawn)];
        if (drawn < n) break;
    }
    if (k.kind[0] != kNone)
        joint = {{k.lastX[0], k.lastY[0]},
                 k.kind[0] == kRight  ? Heading::Right
                 : k.kind[0] == kDown ? Heading::Down
                                      : Heading::Up,
                 k.axisAligned[0] != 0};
    return i;
}

} // namespace rightward

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

    // The segments from point i on, short of the last, drawn by rightward::plot().
    std::size_t rightward(std::span<const QPointF> points, std::size_t i, double sx, double sy) {
        return rightward::plot(points, i, points.size() - 1, sx, sy, canvas_, colour_, last_);
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
                last_.pixel.x = kNoPixel;
                return false;
            }
            b1 += (b2 - b1) / (a2 - a1) * (edge - a1);
            a1 = edge;
        }
        if (a2 < low || a2 > high) {
            const double edge = a2 < low ? low : high;
            last_.pixel.x = kNoPixel;
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
        if (last_.heading == heading(Vertical, !back)) caps |= back ? kCapHigh : kCapLow;
        const int a1Capped = caps & kCapLow ? a1 - 32 : a1;
        int a = (a1Capped + 32) >> 6;
        int aEnd = ((caps & kCapHigh ? a2 + 32 : a2) + 32) >> 6;
        if ((caps & kCapLow) && (Vertical ? last_.pixel.y : last_.pixel.x) == a + 1) ++a;
        if (a == aEnd) return false;

        const std::int64_t inc = slope16(b2 - b1, a2 - a1);
        std::int64_t b = std::int64_t(b1) * (1 << 10);
        if (caps & kCapLow) b -= inc >> 1;
        b += ((a * (1 << 6)) + (inc > 0 ? 32 : 0) - a1Capped) * inc >> 6;
        Pixel first = pixel(a, int(b >> 16));
        Pixel last = pixel(aEnd - 1, int((b + (aEnd - a - 1) * inc) >> 16));
        if (back) std::swap(first, last);
        const bool axisAligned = std::abs(inc) < (1 << 14);
        if (last_.pixel.x != kNoPixel) {
            const int gapX = std::abs(last_.pixel.x - first.x), gapY = std::abs(last_.pixel.y - first.y);
            if (first == last_.pixel) {
                if (back) {
                    --aEnd;
                } else {
                    ++a;
                    b += inc;
                }
            } else if (last_.heading != way &&
                       ((axisAligned && last_.axisAligned && gapX != 0 && gapY != 0) || gapX > 1 ||
                        gapY > 1)) {
                if (back) {
                    ++aEnd;
                } else {
                    --a;
                    b -= inc;
                }
            } else if (last_.heading == way && gapX <= 1 && gapY > 1) {
                b += inc >> 1;
                const int moved = int((back ? b : b + (aEnd - a - 1) * inc) >> 16);
                (Vertical ? last.x : last.y) = moved;
            }
        }
        last_.heading = way;
        last_.axisAligned = axisAligned;
        run<Vertical>(a, std::max(aEnd - a, 1), b, inc);
        last_.pixel = last;
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
    Joint last_;
};

} // namespace

bool plotTrace(std::span<const QPointF> points, double sx, double sy, const TraceCanvas& canvas,
               QRgb colour) {
    if (points.size() < 2) return true;
    // Compared exactly: QPointF's own comparison is fuzzy.
    if (points.front().x() == points.back().x() && points.front().y() == points.back().y()) return false;
    Plotter plotter(canvas, colour);
    const auto scaled = [&](std::size_t i) { return QPointF(points[i].x() * sx, points[i].y() * sy); };
    QPointF from = scaled(0);
    bool fromLast = true; // from is the last point
    int caps = kCapLow;
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (fromLast && i > 1) {
            const std::size_t reached = plotter.rightward(points, i, sx, sy);
            if (reached != i) {
                i = reached;
                from = scaled(i - 1);
            }
        }
        const QPointF to = scaled(i);
        const bool lastOne = i + 1 == points.size();
        if (lastOne) caps |= kCapHigh;
        // A segment too short to draw leaves the next one starting where it started.
        fromLast = plotter.segment(from.x(), from.y(), to.x(), to.y(), caps) || i == 1 || lastOne;
        if (fromLast) from = to;
        caps = kNoCaps;
    }
    return true;
}

} // namespace terminal::displays
