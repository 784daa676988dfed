#pragma once
// Shift-JIS (Windows code page 932) at the file and library boundaries.
// Inside the program all text is QString; bytes are converted only where they
// leave for or arrive from a file, a modem engine or the logging program.
#include <QByteArray>
#include <QString>

namespace cp932 {

// Characters that CP932 cannot carry become '?', as the Windows conversion does.
QByteArray encode(const QString& text);
// Invalid or cut-off byte sequences become U+FFFD; nothing is dropped silently.
QString decode(const QByteArray& bytes);

// Lead bytes of a double-byte character: 0x81..0x9F and 0xE0..0xFC.
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length of the text in CP932 bytes (a double-byte character counts two).
int byteLength(const QString& text);

// The longest beginning of the text that fits in maxBytes CP932 bytes without
// cutting a double-byte character in half.
QString leftBytes(const QString& text, int maxBytes);

// The characters of the text that CP932 cannot carry (each once, in order).
QString uncarried(const QString& text);

} // namespace cp932
