#pragma once
// The arithmetic of the transmit picture: the title bar's gradient, the
// vertical geometry of a rendering, the inset's handles and resizing, the
// border choices, the printing of title lines, and the small checks of files
// and numbers the workshop takes from the operator. Pure functions over plain
// values; the window applies them to its boxes and the engine's bitmaps.
#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

class QImage;

namespace sstv {

constexpr int CanvasWidth = 320;
constexpr int CanvasHeight = 256;
constexpr int ShortLines = 240;

// ---- Title bar gradient ----

// A whole number from x, halves going to the even neighbour.
int RoundHalfEven(double x);

struct GradientStrip {
    int left = 0;
    int right = 0; // exclusive
    QColor colour;
};
// The 256 strips from left (start colour) to right; the fading component runs
// down from its start value by one a strip and stays at 0 below 0. No strips
// for a channel other than 0 (red), 1 (green) or 2 (blue).
std::vector<GradientStrip> GradientStrips(int red, int green, int blue, int channel);
// Paints the strips over the rows 0..256 of the picture (clipped to it).
void PaintGradient(QImage& picture, int red, int green, int blue, int channel);

// ---- Rendering geometry ----

// One rendering for a mode of txLines lines, by the squeeze switch.
struct TxGeometry {
    int renderHeight = CanvasHeight;  // height of the intermediate bitmap
    int sourceBottom = CanvasHeight;  // canvas lines taken
    int drawnBottom = CanvasHeight;   // lines drawn into the transmit picture
    int progressScale = CanvasHeight; // scale height of the line display
    bool markerShown = false;         // the canvas marker at line 240
};
TxGeometry GeometryFor(int txLines, int squeeze240);

// Where a dropped picture is stretched on the canvas: the mode's size, no larger than the canvas.
QSize DropTarget(int txWidth, int txHeight);

// ---- Inset ----

enum InsetHandle { NoHandle = 0, LowerRight = 1, UpperRight = 2 };
// The handle under the point, for an inset at rect.
InsetHandle HandleAt(const QRect& inset, QPointF at);

struct ResizeStart {
    double pointerX = 0;
    int width = 0;
    int height = 0;
    int top = 0;
};
// The inset's new rectangle while a handle is dragged to pointerX: the width
// follows the pointer (at least MinInsetWidth, never past the canvas's right
// edge), the height keeps the start ratio; the upper-right handle keeps the
// bottom edge where it was. The left edge never moves.
constexpr int MinInsetWidth = 8;
QRect ResizedInset(const QRect& inset, const ResizeStart& start, InsetHandle handle, double pointerX);
// The border box around an inset: 3 pixels on each side.
QRect BorderAround(const QRect& inset);

struct BorderChoice {
    unsigned colour = 0xFFFFFF; // 0x00BBGGRR
    int on = 0;
};
// The border of option i (0, 1, 10, 11, 13, 15, 16); nothing for another index.
std::optional<BorderChoice> BorderFor(int option);

// ---- Title lines ----

struct TitleLine {
    QPointF pos;
    QFont font;
    QColor colour;
    QString caption;
    int outline = 0; // 0 none, else palette entry outline - 1
};
struct TextPrint {
    QPointF pos;
    QFont font;
    QColor colour;
    QString text;
};
// The colour of a palette entry of the classic 16 colours (0..15); black outside.
QColor PaletteColour(int entry);
// What printing the line on the transmit picture prints, in order: with an
// outline, the caption four times in the outline colour one step (20 twips)
// left, right, up and down; then the caption without line feeds in its own
// colour at its place.
std::vector<TextPrint> TitlePrints(const TitleLine& line, double stepX, double stepY);

// ---- Operator input ----

// The file of a drop that counts (the last), or nothing when there is none.
std::optional<QString> DroppedFile(const QStringList& files);
// A picture file by its name: ".BMP", ".JPG" or ".JPEG" in any case.
bool IsPictureName(const QString& file);
// A save name with an extension; one without gets ".bmp".
QString WithBmpExtension(const QString& file);
// A tune frequency as typed: a whole number 500..2300, or nothing.
std::optional<int> ToneHz(const QString& text);

} // namespace sstv
