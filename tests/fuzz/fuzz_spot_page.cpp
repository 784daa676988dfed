// A spot page as the server sends it: the bytes up to the first zero are the
// content type, the rest is the page. Decoded, its head taken and its rows
// read in both layouts, in UTC and JST, every time cell toggled twice, and
// every row read as a double click reads it and as the grid tells a spot row.
#include "spots/SpotPage.h"
#include "spots/SpotPick.h"

#include <cstdint>
#include <cstdlib>

namespace {

// What a double click takes of a row stays within its bounds.
void readAsPicked(const spots::SpotRow& row) {
    const int offset = spots::spotAudioOffset(row.remarks);
    if (offset != 0 && (offset < 200 || offset > 2900)) std::abort();
    const qint64 hz = spots::spotDialHz(row.freq);
    if (hz < 0) std::abort();
    for (const char* rig : {"KENWOOD", "ICOM", "FT817", "JST-245"}) {
        const QString digits = spots::spotDialDigits(QString::fromLatin1(rig), hz);
        if (!digits.isEmpty() && digits.size() < 8) std::abort();
    }
    if (spots::spotFreqText(hz).contains(QLatin1Char('-'))) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype zero = bytes.indexOf('\0');
    const QByteArray contentType = zero < 0 ? QByteArray() : bytes.left(zero);
    const QString page = spots::decodeSpotPage(zero < 0 ? bytes : bytes.mid(zero + 1), contentType);
    if (page.size() > spots::SpotPageLimit) std::abort();
    if (spots::spotHead(page).size() > 71) std::abort();
    for (spots::SpotLayout layout : {spots::SpotLayout::Primary, spots::SpotLayout::Fallback})
        for (bool jst : {false, true})
            for (const spots::SpotRow& row : spots::parseSpotRows(page, layout, jst)) {
                if (row.call.size() > 13 || row.time.size() > 5 || row.remarks.size() > 32) std::abort();
                const QString back = spots::toggleSpotTime(spots::toggleSpotTime(row.time));
                if (back != row.time) std::abort();
                readAsPicked(row);
                // A spot row has a call and a time the grid can toggle.
                if (spots::isSpotRow(row) &&
                    (row.call.trimmed().isEmpty() || spots::toggleSpotTime(row.time) == row.time))
                    std::abort();
            }
    return 0;
}
