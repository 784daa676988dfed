#include "sstv/workshop/SstvCompose.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace sstv {

namespace {
constexpr int GradientStripCount = 256;
constexpr double StripWidth = 1.25;
constexpr int GradientBottom = 257;
constexpr int HandleReach = 10;
constexpr int BorderWidth = 3;
constexpr int MinTone = 500, MaxTone = 2300;
} // namespace

int RoundHalfEven(double x) {
    return int(std::nearbyint(x));
}

std::vector<GradientStrip> GradientStrips(int red, int green, int blue, int channel) {
    std::vector<GradientStrip> strips;
    if (channel < 0 || channel > 2) return strips;
    strips.reserve(GradientStripCount);
    for (int i = 0; i < GradientStripCount; ++i) {
        int c[3] = {red, green, blue};
        c[channel] = std::max(0, c[channel] - i);
        strips.push_back(
            {RoundHalfEven(i * StripWidth), RoundHalfEven((i + 1) * StripWidth),
             QColor(std::clamp(c[0], 0, 255), std::clamp(c[1], 0, 255), std::clamp(c[2], 0, 255))});
    }
    return strips;
}

void PaintGradient(QImage& picture, int red, int green, int blue, int channel) {
    if (picture.isNull()) return;
    QPainter p(&picture);
    for (const GradientStrip& s : GradientStrips(red, green, blue, channel))
        p.fillRect(QRect(QPoint(s.left, 0), QPoint(s.right - 1, GradientBottom - 1)), s.colour);
}

TxGeometry GeometryFor(int txLines, int squeeze240) {
    if (txLines != ShortLines) return {CanvasHeight, CanvasHeight, CanvasHeight, txLines, false};
    if (squeeze240 == 1) return {CanvasHeight, CanvasHeight, ShortLines, ShortLines, false};
    return {ShortLines, ShortLines, ShortLines, CanvasHeight, true};
}

QSize DropTarget(int txWidth, int txHeight) {
    return {std::clamp(txWidth, 1, CanvasWidth), std::clamp(txHeight, 1, CanvasHeight)};
}

InsetHandle HandleAt(const QRect& inset, QPointF at) {
    const int right = inset.x() + inset.width();
    const int bottom = inset.y() + inset.height();
    const bool nearRight = right - HandleReach < at.x() && at.x() < right + HandleReach;
    if (nearRight && bottom - HandleReach < at.y() && at.y() < bottom + HandleReach) return LowerRight;
    if (nearRight && inset.y() - HandleReach < at.y() && at.y() < inset.y()) return UpperRight;
    return NoHandle;
}

QRect ResizedInset(const QRect& inset, const ResizeStart& start, InsetHandle handle, double pointerX) {
    if (handle == NoHandle || start.width <= 0) return inset;
    const int widest = std::max(MinInsetWidth, CanvasWidth - inset.x());
    const int width =
        std::clamp(RoundHalfEven(pointerX - start.pointerX + start.width), MinInsetWidth, widest);
    const int height = std::max(1, RoundHalfEven(double(width) / start.width * start.height));
    const int top = handle == UpperRight ? start.top - (height - start.height) : inset.y();
    return {inset.x(), top, width, height};
}

QRect BorderAround(const QRect& inset) {
    return inset.adjusted(-BorderWidth, -BorderWidth, BorderWidth, BorderWidth);
}

std::optional<BorderChoice> BorderFor(int option) {
    switch (option) {
    case 0:
        return BorderChoice{0xFFFFFF, 0};
    case 1:
        return BorderChoice{0x000000, 1};
    case 10:
        return BorderChoice{0xFF0000, 1};
    case 11:
        return BorderChoice{0x00FF00, 1};
    case 13:
        return BorderChoice{0x0000FF, 1};
    case 15:
        return BorderChoice{0x00FFFF, 1};
    case 16:
        return BorderChoice{0xFFFFFF, 1};
    default:
        return std::nullopt;
    }
}

QColor PaletteColour(int entry) {
    static const QRgb palette[16] = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),   qRgb(0, 255, 0),   qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255), qRgb(255, 255, 0), qRgb(255, 255, 255),
    };
    return entry >= 0 && entry < 16 ? QColor(palette[entry]) : QColor(Qt::black);
}

std::vector<TextPrint> TitlePrints(const TitleLine& line, double stepX, double stepY) {
    std::vector<TextPrint> prints;
    if (line.outline > 0) {
        const QColor c = PaletteColour(line.outline - 1);
        const QPointF p = line.pos;
        for (const QPointF at : {QPointF(p.x() - stepX, p.y()), QPointF(p.x() + stepX, p.y()),
                                 QPointF(p.x(), p.y() - stepY), QPointF(p.x(), p.y() + stepY)})
            prints.push_back({at, line.font, c, line.caption});
    }
    QString text = line.caption;
    text.remove(QLatin1Char('\n'));
    prints.push_back({line.pos, line.font, line.colour, text});
    return prints;
}

std::optional<QString> DroppedFile(const QStringList& files) {
    if (files.isEmpty()) return std::nullopt;
    return files.last();
}

bool IsPictureName(const QString& file) {
    const QString upper = file.toUpper();
    return upper.right(3) == QLatin1String("BMP") || upper.right(3) == QLatin1String("JPG") ||
           upper.right(4) == QLatin1String("JPEG");
}

QString WithBmpExtension(const QString& file) {
    if (file.isEmpty() || !QFileInfo(file).suffix().isEmpty()) return file;
    return file + QStringLiteral(".bmp");
}

std::optional<int> ToneHz(const QString& text) {
    bool ok = false;
    const int hz = text.trimmed().toInt(&ok);
    if (!ok || hz < MinTone || hz > MaxTone) return std::nullopt;
    return hz;
}

} // namespace sstv
