#pragma once
// Small routines of the SSTV module: engine texts, the engine's option and
// size words as texts of binary digits, and the names of picture files.
#include <QDateTime>
#include <QString>
#include <cstdint>

namespace sstv {

// The engine's text at the address it handed out (at most 255 characters).
QString SstvEngineString(std::int32_t address);

// Releases an engine bitmap once: the handle becomes 0 and 0 is left alone.
void ReleaseBitmap(std::int32_t& handle);
// A picture file that cannot be decoded, told on the message line by its name.
void ShowUnreadablePicture(const QString& path);
// The clipboard gave the canvas no picture: why, in the message line.
void ShowUnpastablePicture();
// The operator's name for a BMP picture to write, ".bmp" added when it has no
// extension; the overwrite question covers the name that will be written.
// Empty when the operator cancels or keeps the existing file.
QString ChooseBmpToSave(const QString& title, const QString& suggested, const QString& filter);

// The binary digits of value, most significant first, padded with "0" on the
// left to width characters (more when the value needs more). A negative value
// gives its 32-bit pattern.
QString IntToBitString(std::int64_t value, int width);
// The inverse: position p (1-based) counts 2^(width - p) when it is "1"; any
// other character, or a position beyond the text, counts 0.
std::int64_t BitStringToInt(int width, const QString& bits);
// The text with position p (1-based) and the following digits replaced.
QString SetDigits(const QString& bits, int position, const QString& digits);

// Height and width of the engine's size word (height in the upper 16 bits).
struct PictureSize {
    int width = 0;
    int height = 0;
};
PictureSize SizeFromWord(std::int32_t word);

// The next history number after n: 1..320 round the ring.
int NextHistoryIndex(int n);
// A scroll-bar value brought into the ring: 321 becomes 1, 0 becomes 320.
int WrapHistoryIndex(int value);
// "Hist_007.bmp"
QString HistoryFileName(int n);

// A call sign as a file name part: letters, digits and "-" stay; every other
// character becomes "-".
QString CallFileText(const QString& call);
// call & "_" & YYMMDD & "_" & hhnnss
QString ReceivedPictureName(const QString& call, const QDateTime& local);
// The notch frequency of a press on the spectrum: base + span x X / width,
// rounded, for the left button (1); 0 (no notch) for any other.
int NotchHz(int baseHz, int spanHz, double x, double scaleWidth, int button);

// The title of this program's active window; empty when none of its windows is active.
QString GetForegroundTitle();

// An FSK ID as decoded: control characters removed, trimmed, at most 20 characters.
QString CleanFskId(const QString& decoded);

} // namespace sstv
