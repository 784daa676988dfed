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

// What a Shift-JIS file gives back for the text: a character it holds under
// another code point comes back as that one, one it lacks as '?'.
QString readBack(const QString& text);

// The characters of the text (each once, in order) that would come back from a
// Shift-JIS file as another character: one it lacks ('?'), or one it holds as
// a different character (the yen sign as '\', the overline as '~'). A
// character that comes back under another code point but reads the same to the
// operator (the wave dash as the full-width tilde, the minus as the full-width
// hyphen-minus, and so on) is carried: it is stored in that form, and the text
// read back counts as the text typed.
QString uncarried(const QString& text);

// The same for the name of a file or folder: a name counts only when it comes
// back as the same code points, or the settings would name another file.
QString uncarriedInName(const QString& text);

// The byte sequences of Shift-JIS bytes that stand for no character (each
// once, in order, as hex "FD" or "81FF", separated by blanks): a text read
// from them holds U+FFFD there and cannot give those bytes back.
QString undecodable(const QByteArray& bytes);

} // namespace cp932
