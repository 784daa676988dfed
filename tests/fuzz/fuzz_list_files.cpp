// The list files (RSTmenu.DAT, otherMODE.DAT, RSVmenu.DAT, Font.DAT,
// MACmenu.DAT) as the operator or an older installation left them, and what
// an editor writes back of them.
#include "core/lists/ListFiles.h"
#include "platform/os/Cp932.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool clean(const QString& entry) {
    return !entry.isEmpty() && !entry.startsWith(QLatin1Char(' ')) && !entry.endsWith(QLatin1Char(' ')) &&
           !entry.contains(QLatin1Char('\r')) && !entry.contains(QLatin1Char('\n'));
}

constexpr core::ShownLine kRules[] = {core::ShownUnlessEmpty, core::ShownUnlessBlank, core::ShownTrimmed,
                                      core::ShownReport, core::ShownMode};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const QString& report : core::RstMenuEntries(bytes))
        if (!clean(report) || report.size() > 3) std::abort();
    const QStringList modes = core::OtherModeEntries(bytes);
    for (const QString& mode : modes)
        if (!clean(mode)) std::abort();
    for (const core::ShownLine shown : kRules) {
        // Left as it was shown, the file comes back byte for byte.
        QStringList lines = core::ShownListLines(bytes, shown);
        const core::KeptList same = core::KeptListBytes(bytes, lines, shown);
        if (same.bytes != bytes || same.kept.contains(false)) std::abort();
        // Edited (the first line gone, a line moved to the end, one typed),
        // it reads back as edited, when Shift-JIS carries the typed line.
        if (!lines.isEmpty()) lines.removeFirst();
        if (!lines.isEmpty()) lines.append(lines.takeFirst());
        const QString typed = QStringLiteral("5NN ≒ %1").arg(size);
        lines.insert(lines.size() / 2, typed);
        bool carried = true;
        for (const QString& line : lines)
            carried = carried && cp932::decode(cp932::encode(line)) == line;
        const QByteArray edited = core::KeptListBytes(bytes, lines, shown).bytes;
        if (carried && core::ShownListLines(edited, shown) != lines) std::abort();
    }
    return 0;
}
