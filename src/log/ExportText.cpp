#include "log/ExportText.h"

#include "platform/os/Cp932.h"

#include <QList>

#include <iconv.h>
#include <optional>

namespace logbook {

namespace {

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

// Characters XML 1.0 cannot hold at all, not even as a reference.
bool isXmlChar(char32_t c) {
    return (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Whether Shift_JIS proper (JIS X 0208, as a strict XML reader decodes it)
// reads the bytes code page 932 gives a character back as that character.
// The Windows additions (NEC and IBM rows: ①, ㈱, 髙) are not Shift_JIS at
// all; a few characters (～, －, ￢, and the backslash and "~", read back as ¥
// and ‾) come back as others.
class ShiftJisProper {
  public:
    ShiftJisProper() : cd_(iconv_open("UTF-32LE", "SHIFT_JIS")) {}
    ~ShiftJisProper() {
        if (cd_ != kNone) iconv_close(cd_);
    }
    ShiftJisProper(const ShiftJisProper&) = delete;
    ShiftJisProper& operator=(const ShiftJisProper&) = delete;

    std::optional<QByteArray> bytesOf(char32_t c) {
        if (c < 0x80 && c != '\\' && c != '~') return QByteArray(1, static_cast<char>(c));
        if (cd_ == kNone || c < 0x80) return std::nullopt;
        QByteArray windows = cp932::encode(QString::fromUcs4(&c, 1));
        if (windows == "?") return std::nullopt;
        char out[8];
        char* inPtr = windows.data();
        char* outPtr = out;
        size_t inLeft = static_cast<size_t>(windows.size()), outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0 ||
            outPtr - out != 4)
            return std::nullopt;
        const auto byte = [&out](int i) { return static_cast<char32_t>(static_cast<unsigned char>(out[i])); };
        const char32_t back = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
        if (back != c) return std::nullopt;
        return windows;
    }

  private:
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);
    iconv_t cd_;
};

} // namespace

QString withoutControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!isControl(c.unicode())) out += c;
    return out;
}

QByteArray xmlText(const QString& text) {
    ShiftJisProper sjis;
    QByteArray out;
    out.reserve(text.size() * 2);
    for (const uint u : text.toUcs4()) {
        const char32_t c = u;
        if (isControl(c) || !isXmlChar(c)) continue;
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (const std::optional<QByteArray> bytes = sjis.bytesOf(c))
            out += *bytes;
        else
            out += "&#" + QByteArray::number(static_cast<quint32>(c)) + ';';
    }
    return out;
}

} // namespace logbook
