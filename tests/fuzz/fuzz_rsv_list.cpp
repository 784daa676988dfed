// The RSV list file as found in the program folder, and text dropped on the
// SSTV window's call box.
#include "sstv/qso/SstvQsoRoutines.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& entry : sstv::RsvEntries(bytes))
        if (entry.isEmpty() || entry.size() > 3 || entry != entry.trimmed()) std::abort();
    const QString call = sstv::DroppedCall(QString::fromUtf8(bytes));
    if (call.size() > 20 || call != call.trimmed()) std::abort();
    for (const QChar c : call)
        if (c.category() == QChar::Other_Control) std::abort();
    return 0;
}
