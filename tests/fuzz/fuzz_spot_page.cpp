// A spot page as the server sends it: the bytes up to the first zero are the
// content type, the rest is the page. Decoded, its head taken and its rows
// read in both layouts, in UTC and JST, and every time cell toggled twice.
#include "spots/SpotPage.h"

#include <cstdint>
#include <cstdlib>

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
            }
    return 0;
}
