// A picture file offered to the SSTV engine's loader: BMP or JPEG, any bytes.
#include "platform/sstvengine/SstvPictureFile.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QBuffer file;
    file.setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    file.open(QIODevice::ReadOnly);
    const QImage picture = sstveng::readPicture(file);
    if (!picture.isNull() &&
        (picture.width() > sstveng::MaxPictureSide || picture.height() > sstveng::MaxPictureSide))
        std::abort();
    return 0;
}
