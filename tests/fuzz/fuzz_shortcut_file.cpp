// Internet-shortcut files in the program folder, as the operator may have edited them.
#include "platform/os/Shortcut.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto url = shortcut::address(file)) {
        const QString scheme = url->scheme().toLower();
        if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) std::abort();
    }
    return 0;
}
