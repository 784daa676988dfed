#pragma once
// The status replies of each rig family turned into dial frequency, clarifier
// and mode. Pure functions over the bytes or text that were read: a reply that
// is too short, garbled or from another station on the bus gives nothing, so
// the last good reading stays shown.
#include <QByteArray>
#include <QString>
#include <optional>

namespace rig {

struct CatReading {
    // The rig's own dial in Hz (the clarifier already added where the rig says it is on).
    std::optional<qint64> dialHz;
    // FT920 and FT1000MP: 10 Hz steps; KENWOOD: Hz (0 while its RIT is off).
    std::optional<int> clarifierSteps;
    // None: a mode the family's table does not list, which leaves the previous text.
    std::optional<QString> modeText;
};

std::optional<CatReading> decodeFt1000mp(const QByteArray& reply, const QString& dataModeText);
std::optional<CatReading> decodeFt920(const QByteArray& reply);
std::optional<CatReading> decodeFt847(const QByteArray& reply);
std::optional<CatReading> decodeFt817(const QByteArray& reply);
// Only an 86-byte reply is read.
std::optional<CatReading> decodeFt767(const QByteArray& reply);
std::optional<CatReading> decodeJst245(const QString& reply);
std::optional<CatReading> decodeKenwood(const QString& reply);
// ICOM replies begin with the rig's echo of our 6-byte request; the answer
// must come from the configured address to the controller.
std::optional<CatReading> decodeIcomMode(const QByteArray& reply, unsigned char icomAddress);
std::optional<CatReading> decodeIcomFreq(const QByteArray& reply, unsigned char icomAddress);

// Decimal value of BCD bytes, most significant first; none when a nibble is not
// a digit or there are more digits than a 64-bit count holds.
inline constexpr int kMaxBcdBytes = 9;
std::optional<qint64> bcdValue(const QByteArray& bytes);

} // namespace rig
