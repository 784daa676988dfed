#pragma once
// A JPEG picture decoded whole or not at all. The JPEG library fills what a
// damaged or cut-off file lacks with grey and goes on; here any such repair
// (the library's warning) refuses the picture, so that no half picture is
// ever shown or sent as if it were the file.
#include <QByteArray>
#include <QImage>

namespace sstveng {

// The picture at full size, or halved by the decoder's own steps (down to an
// eighth) while its longer side stays at least maxSide; a null
// image when the data is not a JPEG, is damaged anywhere or would take more
// than memoryLimit bytes of the library's working memory.
QImage decodeJpegWhole(const QByteArray& data, int maxSide, long memoryLimit);

} // namespace sstveng
