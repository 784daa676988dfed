#pragma once
// Windows colour references (0x00BBGGRR, the system colours 0x800000nn) and
// twips, the units in which stored places and sizes are kept.
#include <QColor>
#include <cstdint>

namespace colour {

constexpr std::uint32_t kButtonFace = 0x8000000F;
constexpr std::uint32_t kWindowBackground = 0x80000005;

// A colour reference to a colour; the button-face and window system colours take
// the application palette's button and base colours.
QColor fromRef(std::uint32_t ref);
// The RGB value of a plain colour reference (no system colour), cheap enough
// for every pixel of a picture.
constexpr QRgb rgbFromRef(std::uint32_t ref) {
    return qRgb(int(ref & 0xFF), int((ref >> 8) & 0xFF), int((ref >> 16) & 0xFF));
}
std::uint32_t toRef(const QColor& c);
// A colour number as stored in the settings ("12632256", "&H8000000F&", "-2147483633").
bool parseRef(const QString& text, std::uint32_t* ref);

} // namespace colour

namespace twips {

constexpr int kPerPixel = 15;
constexpr int toPx(int t) {
    return t / kPerPixel;
}
constexpr int fromPx(int px) {
    return px * kPerPixel;
}

} // namespace twips
