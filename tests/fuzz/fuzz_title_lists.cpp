// The title editor's two list files as found in the program folder: the
// favourite fonts and the stock texts, read and each entry taken apart.
#include "core/lists/ListFiles.h"
#include "platform/os/Cp932.h"
#include "sstv/overlay/SstvFonts.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A file over the bounds is refused with a box to the operator, tested apart.
    const auto breaks = std::count(data, data + size, '\n') + std::count(data, data + size, '\r');
    if (static_cast<qint64>(size) > core::kLargestListFile || breaks >= core::kMostListLines) return 0;
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Font.DAT"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    file.close();
    for (bool skipBlank : {false, true}) {
        const auto entries = sstv::ReadListFile(path, skipBlank);
        if (!entries) std::abort();
        for (const QString& entry : *entries) {
            if (entry.isEmpty() || entry.contains(QLatin1Char('\n'))) std::abort();
            const auto font = sstv::ParseFavourite(entry);
            if (!font) continue;
            if (font->bold != QLatin1String("True") && font->bold != QLatin1String("False")) std::abort();
            if (font->italic != QLatin1String("True") && font->italic != QLatin1String("False")) std::abort();
            (void)sstv::FontSizeValue(font->size);
        }
    }
    return 0;
}
