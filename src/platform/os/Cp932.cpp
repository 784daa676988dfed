#include "platform/os/Cp932.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cerrno>
#include <iconv.h>
#include <utility>

namespace cp932 {
namespace {

// A converter kept for the life of the thread: opening one costs more than
// converting a field, and the log look-ups convert every field they list.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // Ready for a new text: no shift state left from the last one.
    iconv_t fresh() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

  private:
    iconv_t cd_;
};

// One iconv conversion of a whole buffer; on an unconvertible input unit the
// replacement is written and the conversion goes on after that unit.
QByteArray convert(Converter& converter, const QByteArray& in, const QByteArray& replacement,
                   int unitOnError) {
    if (!converter.ok()) return {};
    iconv_t cd = converter.fresh();
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
    return out;
}

} // namespace

QByteArray encode(const QString& text) {
    const QList<uint> ucs4 = text.toUcs4();
    const QByteArray utf32(reinterpret_cast<const char*>(ucs4.constData()), ucs4.size() * 4);
    thread_local Converter toSjis("CP932", "UTF-32LE");
    return convert(toSjis, utf32, "?", 4);
}

QString decode(const QByteArray& bytes) {
    thread_local Converter fromSjis("UTF-8", "CP932");
    const QByteArray utf8 = convert(fromSjis, bytes, "\xEF\xBF\xBD", 1);
    return QString::fromUtf8(utf8);
}

int byteLength(const QString& text) {
    // Each character's length is asked of the converter once and kept: the log
    // measures every field it reads or writes. Characters outside the BMP have
    // no CP932 form and become one '?'.
    thread_local std::array<unsigned char, 0x10000> known{};
    int length = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            ++length;
        } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
            ++length;
        } else {
            if (!known[c]) known[c] = static_cast<unsigned char>(encode(QString(QChar(c))).size());
            length += known[c];
        }
    }
    return length;
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

QString readBack(const QString& text) {
    return decode(encode(text));
}

namespace {

QString lostIn(const QString& text, bool sameLookCarries) {
    // Characters that Shift-JIS holds under another code point of the same
    // look: the form the file gives back is the one the operator typed.
    static constexpr std::array<std::pair<char32_t, char32_t>, 7> kSameLook{{
        {0x00A2, 0xFFE0}, // ¢ ￠
        {0x00A3, 0xFFE1}, // £ ￡
        {0x00AC, 0xFFE2}, // ¬ ￢
        {0x2014, 0x2015}, // — ―
        {0x2016, 0x2225}, // ‖ ∥
        {0x2212, 0xFF0D}, // − －
        {0x301C, 0xFF5E}, // 〜 ～
    }};
    QString lost;
    for (const char32_t c : text.toUcs4()) {
        if (c < 0x80) continue;
        const QString one = QString::fromUcs4(&c, 1);
        const QList<uint> back = readBack(one).toUcs4();
        const bool same =
            back.size() == 1 &&
            (back[0] == c ||
             (sameLookCarries && std::find(kSameLook.begin(), kSameLook.end(),
                                           std::pair<char32_t, char32_t>(c, back[0])) != kSameLook.end()));
        if (!same && !lost.contains(one)) lost += one;
    }
    return lost;
}

} // namespace

QString uncarried(const QString& text) {
    return lostIn(text, true);
}

QString uncarriedInName(const QString& text) {
    return lostIn(text, false);
}

QString undecodable(const QByteArray& bytes) {
    QStringList shown;
    for (qsizetype i = 0; i < bytes.size();) {
        int width = isLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < bytes.size() ? 2 : 1;
        // A lead byte without its trail is one unit, as decode reads it.
        if (width == 2 && decode(bytes.mid(i, 2)).contains(QChar::ReplacementCharacter)) width = 1;
        const QByteArray one = bytes.mid(i, width);
        if (decode(one).contains(QChar::ReplacementCharacter)) {
            QString hex;
            for (const char b : one)
                hex += QStringLiteral("%1")
                           .arg(static_cast<unsigned char>(b), 2, 16, QLatin1Char('0'))
                           .toUpper();
            if (!shown.contains(hex)) shown.append(hex);
        }
        i += width;
    }
    return shown.join(QLatin1Char(' '));
}

} // namespace cp932
