#include "rig/CatDecoders.h"

#include <array>
#include <cmath>

namespace rig {
namespace {

unsigned char at(const QByteArray& b, int i) {
    return static_cast<unsigned char>(b[i]);
}

// Bytes 1 to 4 and 5 to 6 of the FT920 and FT1000MP status: the dial counts
// 0.625 Hz steps; the clarifier is a signed count of the same steps.
struct YaesuDial {
    qint64 dialHz;
    int clarifierSteps;
};
YaesuDial yaesuDial(const QByteArray& r) {
    const quint32 count =
        quint32(at(r, 1)) << 24 | quint32(at(r, 2)) << 16 | quint32(at(r, 3)) << 8 | at(r, 4);
    const auto clar = static_cast<qint16>(quint16(at(r, 5)) << 8 | at(r, 6));
    const int steps = static_cast<int>(std::nearbyint(clar / 16.0)); // halves to even
    return {qint64(count / 16) * 10, steps};
}

// A clarifier that takes the dial below 0 Hz is a garbled reply, not a reading.
bool belowZero(const CatReading& r) {
    return r.dialHz && *r.dialHz < 0;
}

std::optional<QString> tableMode(int value, std::initializer_list<std::pair<int, const char*>> table) {
    for (const auto& [v, text] : table)
        if (v == value) return QString::fromLatin1(text);
    return std::nullopt;
}

// The FT847 and FT817 frequency: four BCD bytes, most significant first, in 10 Hz.
std::optional<qint64> ft8xxDial(const QByteArray& r) {
    const std::optional<qint64> v = bcdValue(r.left(4));
    return v ? std::optional<qint64>(*v * 10) : std::nullopt;
}

std::optional<qint64> digitsValue(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    return text.toLongLong();
}

std::optional<int> signedValue(const QString& text) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// Characters from position first to last, counted from 1.
QString chars(const QString& s, int first, int last) {
    return s.mid(first - 1, last - first + 1);
}

bool icomAnswer(const QByteArray& r, int length, unsigned char address, unsigned char command) {
    return r.size() >= length && at(r, 6) == 0xFE && at(r, 7) == 0xFE && at(r, 8) == 0xE0 &&
           at(r, 9) == address && at(r, 10) == command && at(r, length - 1) == 0xFD;
}

} // namespace

std::optional<qint64> bcdValue(const QByteArray& bytes) {
    if (bytes.size() > kMaxBcdBytes) return std::nullopt;
    qint64 v = 0;
    for (char c : bytes) {
        const int hi = (static_cast<unsigned char>(c) >> 4) & 0x0F, lo = c & 0x0F;
        if (hi > 9 || lo > 9) return std::nullopt;
        v = v * 100 + hi * 10 + lo;
    }
    return v;
}

std::optional<CatReading> decodeFt1000mp(const QByteArray& r, const QString& dataModeText) {
    if (r.size() < 10) return std::nullopt;
    const YaesuDial d = yaesuDial(r);
    CatReading out;
    out.clarifierSteps = d.clarifierSteps;
    out.modeText =
        at(r, 7) == 0x80
            ? std::optional<QString>(dataModeText)
            : tableMode(at(r, 7),
                        {{0, "LSB"}, {1, "USB"}, {2, "CW"}, {3, "AM"}, {4, "FM"}, {5, "RTTY"}, {6, "PKT"}});
    out.dialHz = d.dialHz + ((at(r, 9) & 0x80) ? qint64(d.clarifierSteps) * 10 : 0);
    return belowZero(out) ? std::nullopt : std::optional<CatReading>(out);
}

std::optional<CatReading> decodeFt920(const QByteArray& r) {
    if (r.size() < 9) return std::nullopt;
    const YaesuDial d = yaesuDial(r);
    CatReading out;
    out.clarifierSteps = d.clarifierSteps;
    out.modeText = tableMode(at(r, 7), {{0, "LSB"},
                                        {128, "LSB"},
                                        {64, "USB"},
                                        {192, "USB"},
                                        {1, "CW"},
                                        {2, "AM"},
                                        {3, "FM"},
                                        {4, "LSB"},
                                        {5, "USB"},
                                        {6, "DATA-FM"},
                                        {134, "DATA-FM"}});
    out.dialHz = d.dialHz + ((at(r, 8) & 0x80) ? qint64(d.clarifierSteps) * 10 : 0);
    return belowZero(out) ? std::nullopt : std::optional<CatReading>(out);
}

std::optional<CatReading> decodeFt847(const QByteArray& r) {
    if (r.size() < 5) return std::nullopt;
    const std::optional<qint64> dial = ft8xxDial(r);
    if (!dial) return std::nullopt;
    return CatReading{dial, std::nullopt,
                      QString::fromLatin1(at(r, 4) == 0   ? "LSB"
                                          : at(r, 4) == 1 ? "USB"
                                                          : "OTR")};
}

std::optional<CatReading> decodeFt817(const QByteArray& r) {
    if (r.size() < 5) return std::nullopt;
    const std::optional<qint64> dial = ft8xxDial(r);
    if (!dial) return std::nullopt;
    return CatReading{dial, std::nullopt,
                      tableMode(at(r, 4), {{0, "LSB"},
                                           {1, "USB"},
                                           {2, "CW"},
                                           {3, "CW-R"},
                                           {4, "AM"},
                                           {6, "WFM"},
                                           {8, "FM"},
                                           {10, "DIG"},
                                           {12, "PKT"}})};
}

std::optional<CatReading> decodeFt767(const QByteArray& r) {
    if (r.size() != 86) return std::nullopt;
    const char freq[4] = {r[84], r[83], r[82], r[81]};
    const std::optional<qint64> v = bcdValue(QByteArray(freq, 4));
    if (!v) return std::nullopt;
    return CatReading{
        *v * 10, std::nullopt,
        tableMode(at(r, 79) & 0x07, {{0, "LSB"}, {1, "USB"}, {2, "CW"}, {3, "AM"}, {4, "FM"}, {5, "FSK"}})};
}

std::optional<CatReading> decodeJst245(const QString& r) {
    const std::optional<qint64> dial = digitsValue(chars(r, 5, 12));
    if (r.size() < 12 || !dial) return std::nullopt;
    static const std::array<const char*, 6> modes{"RTTY", "CW", "USB", "LSB", "AM", "FM"};
    const int m = chars(r, 3, 3).toInt();
    const bool known = chars(r, 3, 3).size() == 1 && r[2].isDigit() && m < int(modes.size());
    return CatReading{dial, std::nullopt,
                      known ? std::optional<QString>(QLatin1String(modes[m])) : std::nullopt};
}

std::optional<CatReading> decodeKenwood(const QString& r) {
    if (r.size() < 30 || !r.startsWith(QLatin1String("IF"))) return std::nullopt;
    const std::optional<qint64> dial = digitsValue(chars(r, 3, 13));
    const std::optional<int> ritOn = signedValue(chars(r, 25, 25));
    const std::optional<int> rit = signedValue(chars(r, 19, 23));
    if (!dial || !ritOn || (*ritOn == 1 && !rit)) return std::nullopt;
    const QString mode = chars(r, 30, 30);
    return CatReading{dial, *ritOn == 1 ? *rit : 0,
                      QString::fromLatin1(mode == QLatin1String("1")   ? "LSB"
                                          : mode == QLatin1String("2") ? "USB"
                                                                       : "OTR")};
}

std::optional<CatReading> decodeIcomMode(const QByteArray& r, unsigned char icomAddress) {
    if (!icomAnswer(r, 14, icomAddress, 0x04)) return std::nullopt;
    return CatReading{
        std::nullopt, std::nullopt,
        tableMode(at(r, 11),
                  {{0, "LSB"}, {1, "USB"}, {2, "AM"}, {3, "CW"}, {4, "RTTY"}, {5, "FM"}, {6, "FM WIDE"}})};
}

std::optional<CatReading> decodeIcomFreq(const QByteArray& r, unsigned char icomAddress) {
    if (!icomAnswer(r, 17, icomAddress, 0x03)) return std::nullopt;
    const char freq[5] = {r[15], r[14], r[13], r[12], r[11]};
    const std::optional<qint64> v = bcdValue(QByteArray(freq, 5));
    if (!v) return std::nullopt;
    return CatReading{v, std::nullopt, std::nullopt};
}

} // namespace rig
