// A wave file offered for playback: its header and chunk layout.
#include "platform/os/WavFile.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QBuffer file;
    file.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    file.open(QIODevice::ReadOnly);
    wavfile::Info info;
    const wavfile::Result r = wavfile::check(file, &info);
    if (r == wavfile::Playable &&
        (info.dataBytes <= 0 || info.dataOffset + info.dataBytes > static_cast<qint64>(size) ||
         info.samples() < 0))
        std::abort();
    return 0;
}
