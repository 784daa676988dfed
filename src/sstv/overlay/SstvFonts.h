#pragma once
// The text editor's plain rules: favourite-font entries, the outline choices,
// the font size as stored, the gradient bars' choice of the running colour,
// and the two list files (favourites and stock texts).
#include "sstv/workshop/SstvTitles.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>

namespace sstv {

// The one reading of a stored "True"/"False" (FntBOLD, FntITAL, favourites):
// "True" exactly, as the editor writes it; anything else is false.
bool IsTrueText(const QString& text);

// ---- Favourite fonts ----
// Name, size, colour, bold and italic, joined by two blanks.
QString FavouriteEntry(const TitleFont& font);
// The entry's five fields; nothing for an entry with fewer. A bold or italic
// that is not "True" (read as IsTrueText does) counts as "False".
std::optional<TitleFont> ParseFavourite(const QString& entry);
// True when some entry holds the text as a part of it (letter case counts).
bool HoldsFavourite(const QStringList& entries, const QString& entry);

// ---- Sizes ----
// "12" for a whole size, "10.5" for a fractional one.
QString FontSizeText(double points);
// The leading number of a stored size; 12 when there is none.
double FontSizeValue(const QString& text);
// Whole points, halves to the even neighbour.
int RoundedSize(double points);

// ---- Outline choices ----
struct OutlineRow {
    std::uint32_t colour = 0xFFFFFF;
    int on = 0;
};
// The option's colour and switch; nothing for an index that is no option.
std::optional<OutlineRow> OutlineFor(int index);
inline constexpr std::array<int, 7> OutlineIndices{0, 1, 10, 11, 13, 15, 16};
// The option of a stored colour and switch (MBCcode, MBCmode): 0 when off or
// for a colour that no option has.
int OutlineIndexFor(std::uint32_t colour, int on);

// ---- Gradient bars ----
// Red, green and blue bars, the values each had before it ran, the running
// component, and which bars may be moved.
struct GradientBars {
    std::array<int, 3> value{155, 255, 255};
    std::array<int, 3> kept{155, 255, 255};
    int running = 2;
    std::array<bool, 3> enabled{true, true, false};
};
// The bars after the operator chooses another running component: the bars
// not running so far keep their values, the chosen one goes to 255 and is
// fixed, the other two take their kept values.
GradientBars ChooseRunning(GradientBars bars, int index);
// The value label of each bar: "変" for the running one.
std::array<QString, 3> GradientLabels(const GradientBars& bars);

// ---- List files ----
// The lines of a Shift-JIS list file; empty lines dropped (with skipBlank,
// lines of blanks too). A missing file gives nothing.
std::optional<QStringList> ReadListFile(const QString& path, bool skipBlank);
// The entries back into the file read so: a line that is still an entry, and
// one that was dropped, keeps its bytes; the others are written in Shift-JIS
// with CR LF. A file that would not change is not written; false when it
// cannot be.
bool WriteListFile(const QString& path, const QStringList& entries, bool skipBlank = false);

} // namespace sstv
