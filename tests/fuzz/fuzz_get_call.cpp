// The received text GET looks through, with the station's own call: the bytes
// up to the first zero are the call, the rest is the text.
#include "terminal/receive/CallFinder.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype zero = bytes.indexOf('\0');
    const QString own = QString::fromUtf8(zero < 0 ? QByteArray() : bytes.left(zero));
    const QString text = QString::fromUtf8(zero < 0 ? bytes : bytes.mid(zero + 1));
    const terminal::receive::Found f = terminal::receive::FindCall(text, own);
    if (!f.call.isEmpty() && !f.candidates.isEmpty()) std::abort();
    if (f.candidates.size() > 3) std::abort();
    if (!f.searched && (!f.call.isEmpty() || !f.candidates.isEmpty())) std::abort();
    for (const QString& word : f.candidates + QStringList{f.call})
        if (word.contains(QLatin1Char(' '))) std::abort();
    return 0;
}
