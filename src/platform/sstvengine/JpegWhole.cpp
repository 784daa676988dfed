#include "platform/sstvengine/JpegWhole.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After the library header: which messages exist depends on its version.
#include <jerror.h>

namespace sstveng {

namespace {

struct Failure {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void failed(j_common_ptr info) {
    std::longjmp(reinterpret_cast<Failure*>(info->err)->jump, 1);
}

// The warnings by which the library says it made up picture data (a cut-off
// scan, a bad code); the decode is abandoned at once. Others (stray bytes
// between markers, odd metadata) leave the picture whole.
bool madeUpData(int code) {
    switch (code) {
    case JWRN_ARITH_BAD_CODE:
    case JWRN_BOGUS_PROGRESSION:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_JPEG_EOF:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
        return true;
    default:
        return false;
    }
}

void warned(j_common_ptr info, int level) {
    if (level < 0 && madeUpData(info->err->msg_code)) failed(info);
}

void silent(j_common_ptr) {}

// The decoder's largest step down (to 1/2, 1/4 or 1/8) that still leaves the
// longer side at least maxSide, so that the last fitting loses nothing.
unsigned int scaleFor(const jpeg_decompress_struct& info, int maxSide) {
    const unsigned int longer = std::max(info.image_width, info.image_height);
    unsigned int denominator = 1;
    while (denominator < 8 && longer / (denominator * 2) >= unsigned(maxSide))
        denominator *= 2;
    return denominator;
}

// Adobe's CMYK as JPEG files carry it: stored inverted.
void cmykRowToRgb(const JSAMPLE* cmyk, uchar* rgb, JDIMENSION width) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int k = cmyk[3];
        rgb[0] = uchar(cmyk[0] * k / 255);
        rgb[1] = uchar(cmyk[1] * k / 255);
        rgb[2] = uchar(cmyk[2] * k / 255);
    }
}

// Runs under the failure jump: only the caller's objects live past a failure.
bool decode(jpeg_decompress_struct& info, Failure& failure, const QByteArray& data, int maxSide,
            long memoryLimit, QImage& picture, QByteArray& row) {
    if (setjmp(failure.jump) != 0) return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = memoryLimit;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    info.scale_num = 1;
    info.scale_denom = scaleFor(info, maxSide);
    jpeg_calc_output_dimensions(&info);
    const qint64 bytes = qint64(info.output_width) * info.output_height * 3;
    if (bytes > memoryLimit) return false;
    jpeg_start_decompress(&info);
    picture = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (picture.isNull()) return false;
    row.resize(qsizetype(info.output_width) * info.output_components);
    while (info.output_scanline < info.output_height) {
        const int y = int(info.output_scanline);
        JSAMPROW target = cmyk ? reinterpret_cast<JSAMPROW>(row.data()) : picture.scanLine(y);
        if (jpeg_read_scanlines(&info, &target, 1) != 1) return false;
        if (cmyk) cmykRowToRgb(target, picture.scanLine(y), info.output_width);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpegWhole(const QByteArray& data, int maxSide, long memoryLimit) {
    jpeg_decompress_struct info{};
    Failure failure{};
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = failed;
    failure.manager.emit_message = warned;
    failure.manager.output_message = silent;
    QImage picture;
    QByteArray row;
    const bool whole = decode(info, failure, data, maxSide, memoryLimit, picture, row);
    jpeg_destroy_decompress(&info);
    return whole ? picture : QImage();
}

} // namespace sstveng
