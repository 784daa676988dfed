#include "platform/sstvengine/SstvPictureFile.h"

#include "platform/sstvengine/JpegWhole.h"

#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <QtEndian>

#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sstveng {

namespace {

constexpr quint32 Rle8 = 1;
constexpr quint32 Rle4 = 2;

// A run-length BMP's runs reach their end-of-picture code within the file;
// one cut short would decode with its lower rows left blank.
bool rleComplete(const QByteArray& data, qint64 offset, bool fourBit) {
    qint64 at = offset;
    const auto byte = [&data](qint64 i) { return quint8(data[qsizetype(i)]); };
    while (at + 1 < data.size()) {
        const int count = byte(at);
        const int code = byte(at + 1);
        at += 2;
        if (count > 0) continue;
        if (code == 1) return true;
        if (code == 0) continue;
        if (code == 2) {
            at += 2;
            continue;
        }
        const qint64 bytes = fourBit ? (code + 1) / 2 : code;
        at += (bytes + 1) / 2 * 2;
    }
    return false;
}

// An uncompressed BMP holds its rows in full after the header; a file cut
// short (or a header claiming more) would decode with rows that are not there.
bool bmpComplete(QIODevice& device) {
    const qint64 here = device.pos();
    if (!device.seek(0)) return false;
    const QByteArray head = device.read(34);
    device.seek(here);
    if (head.size() < 34) return false;
    const auto word = [&head](int at) { return qFromLittleEndian<quint16>(head.constData() + at); };
    const auto dword = [&head](int at) { return qFromLittleEndian<qint32>(head.constData() + at); };
    const qint64 offset = quint32(dword(10));
    const qint64 width = std::abs(qint64(dword(18)));
    const qint64 height = std::abs(qint64(dword(22)));
    const int bits = word(28);
    const quint32 compression = quint32(dword(30));
    if (compression == Rle8 || compression == Rle4) {
        device.seek(0);
        const bool complete = rleComplete(device.readAll(), offset, compression == Rle4);
        device.seek(here);
        return complete;
    }
    // Other kinds the decoder refuses by itself.
    if (compression != 0 && compression != 3) return true;
    const qint64 row = (width * bits + 31) / 32 * 4;
    return offset + row * height <= device.size();
}

QSize fitted(QSize size) {
    if (size.width() <= MaxPictureSide && size.height() <= MaxPictureSide) return size;
    return size.scaled(MaxPictureSide, MaxPictureSide, Qt::KeepAspectRatio).expandedTo({1, 1});
}

QImage readJpeg(QIODevice& device) {
    if (!device.seek(0)) return {};
    return decodeJpegWhole(device.readAll(), MaxPictureSide, long(PictureAllocationLimitMb) << 20);
}

QImage readBmp(QImageReader& reader, QIODevice& device, QSize size) {
    if (!bmpComplete(device)) return {};
    reader.setAllocationLimit(PictureAllocationLimitMb);
    const QSize target = fitted(size);
    if (target != size) reader.setScaledSize(target);
    return reader.read();
}

} // namespace

QImage readPicture(QIODevice& device) {
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg") return {};
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) return {};
    if (device.size() > MaxPictureFileBytes) return {};
    QImage picture = format == "jpeg" ? readJpeg(device) : readBmp(reader, device, size);
    if (picture.isNull()) return {};
    if (picture.width() > MaxPictureSide || picture.height() > MaxPictureSide)
        picture = picture.scaled(fitted(picture.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return picture.convertToFormat(QImage::Format_RGB32);
}

QImage readPicture(const QString& path) {
    // Opened without waiting, then looked at: a pipe named like a picture never blocks us.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    struct stat st {};
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    return readPicture(file);
}

bool writeBmp(const QImage& picture, const QString& path) {
    if (picture.isNull()) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!picture.convertToFormat(QImage::Format_RGB888).save(&file, "BMP")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace sstveng
