// The RST and mode list files (RSTmenu.DAT, otherMODE.DAT) as the operator or
// an older installation left them.
#include "core/ListFiles.h"
#include "platform/os/Cp932.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool clean(const QString& entry) {
    return !entry.isEmpty() && !entry.startsWith(QLatin1Char(' ')) && !entry.endsWith(QLatin1Char(' ')) &&
           !entry.contains(QLatin1Char('\r')) && !entry.contains(QLatin1Char('\n'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& report : core::RstMenuEntries(bytes))
        if (!clean(report) || report.size() > 3) std::abort();
    const QStringList modes = core::OtherModeEntries(bytes);
    for (const QString& mode : modes)
        if (!clean(mode)) std::abort();
    // What an editor writes back of the list reads back as the same list
    // (when Shift-JIS carries every character of it).
    const QString joined = modes.join(QLatin1Char('\n'));
    if (cp932::decode(cp932::encode(joined)) == joined &&
        core::OtherModeEntries(core::ListFileBytes(joined)) != modes)
        std::abort();
    return 0;
}
