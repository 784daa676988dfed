// The per-macro files of older installations (MACRO<i>.DAT, MACNAME<i>.DAT).
#include "terminal/macros/MacroFileLegacy.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = terminal::macros::legacyMacroText(bytes);
    // Every line break of the text is CR LF.
    if (text.count(QLatin1Char('\n')) != text.count(QLatin1String("\r\n"))) std::abort();
    if (const auto name = terminal::macros::legacyMacroName(bytes))
        if (name->contains(QLatin1Char('\n'))) std::abort();
    return 0;
}
