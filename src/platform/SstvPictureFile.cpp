#include "platform/SstvPictureFile.h"

#include <QFile>
#include <QImageReader>
#include <QSaveFile>

namespace sstveng {

QImage readPicture(QIODevice& device) {
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "bmp" && format != "jpeg") return {};
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxPictureSide || size.height() > MaxPictureSide) return {};
    QImage picture = reader.read();
    if (picture.isNull() || picture.width() > MaxPictureSide || picture.height() > MaxPictureSide) return {};
    return picture.convertToFormat(QImage::Format_RGB32);
}

QImage readPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
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
