// A received-data or memo file as the viewer reads it, and written back.
#include "terminal/rxtext/RxTextFormat.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<QString> read = terminal::rxtext::viewerText(bytes);
    if (!read) {
        if (!bytes.contains('\0')) std::abort(); // only bytes that are no text are refused
        return 0;
    }
    const QString text = *read;
    if (text.contains(QLatin1Char('\r'))) std::abort();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n'))) std::abort();
    // Written back, every line ends in CR LF and the file in one.
    const QByteArray written = terminal::rxtext::fileBytes(text);
    if (!written.endsWith("\r\n")) std::abort();
    for (qsizetype i = 0; i < written.size(); ++i)
        if (written[i] == '\n' && (i == 0 || written[i - 1] != '\r')) std::abort();
    const QString name = QString::fromLatin1(bytes.left(64));
    const QString folder = terminal::rxtext::folderOf(name);
    if (!name.startsWith(folder)) std::abort();
    return 0;
}
