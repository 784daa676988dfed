#pragma once
// Picture files as the SSTV engine reads and writes them: BMP and JPEG are
// read (nothing else), BMP is the one format written, 24 bits a pixel.
#include <QImage>
#include <QString>

class QIODevice;

namespace sstveng {

// Pictures wider or taller than this are refused unread.
constexpr int MaxPictureSide = 4096;

// The picture, or a null image when the data is not a readable BMP or JPEG
// picture or is larger than MaxPictureSide either way.
QImage readPicture(QIODevice& device);
QImage readPicture(const QString& path);
// Writes the picture as a 24-bit BMP file; false when nothing was written.
bool writeBmp(const QImage& picture, const QString& path);

} // namespace sstveng
