#include "platform/Cp932.h"

#include <QList>
#include <cerrno>
#include <iconv.h>

namespace cp932 {
namespace {

// One iconv conversion of a whole buffer; on an unconvertible input unit the
// replacement is written and the conversion goes on after that unit.
QByteArray convert(const char* to, const char* from, const QByteArray& in, const QByteArray& replacement,
                   int unitOnError) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    QByteArray out;
    out.reserve(in.size() * 2 + 8);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = static_cast<size_t>(in.size());
    char buf[4096];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<qsizetype>(dst - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (cut-off sequence at the end): replace one unit.
            out.append(replacement);
            size_t skip = std::min<size_t>(static_cast<size_t>(unitOnError), srcLeft);
            src += skip;
            srcLeft -= skip;
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

QByteArray encode(const QString& text) {
    const QList<uint> ucs4 = text.toUcs4();
    const QByteArray utf32(reinterpret_cast<const char*>(ucs4.constData()), ucs4.size() * 4);
    return convert("CP932", "UTF-32LE", utf32, "?", 4);
}

QString decode(const QByteArray& bytes) {
    const QByteArray utf8 = convert("UTF-8", "CP932", bytes, "\xEF\xBF\xBD", 1);
    return QString::fromUtf8(utf8);
}

int byteLength(const QString& text) {
    return static_cast<int>(encode(text).size());
}

QString leftBytes(const QString& text, int maxBytes) {
    if (maxBytes <= 0) return {};
    const QByteArray bytes = encode(text);
    if (bytes.size() <= maxBytes) return text;
    int end = 0;
    while (end < maxBytes) {
        int step = isLeadByte(static_cast<unsigned char>(bytes[end])) ? 2 : 1;
        if (end + step > maxBytes) break;
        end += step;
    }
    return decode(bytes.left(end));
}

} // namespace cp932
