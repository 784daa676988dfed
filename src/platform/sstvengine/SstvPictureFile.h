#pragma once
// Picture files as the SSTV engine reads and writes them: BMP and JPEG are
// read (nothing else), BMP is the one format written, 24 bits a pixel.
#include <QImage>
#include <QString>

class QIODevice;

namespace sstveng {

// No picture read is wider or taller than this: a larger one (a camera photo)
// is decoded scaled down to fit, keeping its shape.
constexpr int MaxPictureSide = 2048;
// What one decode may allocate, in megabytes; a picture that would need more is refused.
constexpr int PictureAllocationLimitMb = 256;
// A picture file larger than this is refused unread.
constexpr qint64 MaxPictureFileBytes = qint64(128) << 20;

// The picture, or a null image when the data is not a BMP or JPEG picture that
// decodes whole (a cut-off JPEG is refused rather than shown half grey).
QImage readPicture(QIODevice& device);
// The same from a file; anything but a regular file (a pipe, a device, a
// folder) is refused unopened, so that a read cannot block.
QImage readPicture(const QString& path);
// Writes the picture as a 24-bit BMP file; false when nothing was written.
bool writeBmp(const QImage& picture, const QString& path);

} // namespace sstveng
