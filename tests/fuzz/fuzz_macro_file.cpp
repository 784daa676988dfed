// A macro file (*.MAC) as the operator may hand it over: any bytes at all.
#include "terminal/macros/MacroFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const terminal::macros::ReadResult read = terminal::macros::parseMacroFile(bytes);
    for (const terminal::macros::ReadMacro& m : read.macros) {
        const QString name = m.name.value_or(QString());
        if (const auto letter = terminal::macros::shortcutLetter(name)) {
            if (*letter < QLatin1Char('A') || *letter > QLatin1Char('Z')) std::abort();
            if (terminal::macros::withoutShortcutMarker(name).size() != name.size() - 4) std::abort();
        }
    }
    return 0;
}
