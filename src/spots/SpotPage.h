#pragma once
// Reading a DX-spot page: the bytes as text, the head that tells a new newest
// spot, and the fifteen spot rows cut at the columns of each spot source.
// Pure functions over plain values; the spot window calls them.
#include <QByteArray>
#include <QString>

#include <array>

namespace spots {

// More than this of a page is never read.
constexpr qsizetype SpotPageLimit = 1 << 20;
constexpr int SpotRowCount = 15;

enum class SpotLayout { Primary, Fallback };

struct SpotRow {
    QString time; // "2330Z", or "0830J" in JST
    QString freq; // kHz as the page writes it
    QString call;
    QString remarks;
    QString spotter; // as cut; the grid trims it
    bool operator==(const SpotRow&) const = default;
};
using SpotRows = std::array<SpotRow, SpotRowCount>;

// The page's bytes (at most SpotPageLimit of them) as upper-case text: decoded
// by the charset the server named, else as UTF-8 when valid, else as Shift-JIS,
// bad bytes replaced; control characters other than LF become blanks. Only
// what the head and the rows can come from is decoded, and a line longer than
// any spot line is read in its first 4 KiB.
QString decodeSpotPage(const QByteArray& bytes, const QByteArray& contentType);

// The head of an upper-case page: 71 characters from the start of its
// preformatted block, links and character references cleaned. Two fetches with
// the same newest spot give the same head.
QString spotHead(const QString& page);

// The first fifteen lines of the preformatted block, cut at the layout's
// columns; rows beyond the block's last line stay empty. With jst the times are
// shown in JST.
SpotRows parseSpotRows(const QString& page, SpotLayout layout, bool jst);

// A row cut from a spot line: a time of four digits with its zone letter, a
// frequency that is a number and a call. A page whose rows hold none (an
// error page, random bytes) has no spots to list.
bool isSpotRow(const SpotRow& row);
bool holdsSpots(const SpotRows& rows);

// "2330Z" shown in the other zone ("0830J"), "0830J" back to "2330Z"; anything
// that is not four digits of a valid time with its zone letter is returned as
// it is.
QString toggleSpotTime(const QString& cell);

} // namespace spots
