#include "rig/CatAnswers.h"

#include "rig/CatDecoders.h"

#include <algorithm>
#include <string_view>

namespace rig {
namespace {

// A command is known by the bytes at a fixed place in it: the Yaesu command
// byte (with its last parameter for the status read), the ICOM command byte
// after FE FE addr E0, the text of a KENWOOD or JST-245 command.
struct AnswerRow {
    Family family;
    int at;
    std::string_view key;
    int length;
};

using namespace std::string_view_literals;

// clang-format off
constexpr AnswerRow kAnswers[] = {
    {Family::Ft1000mp, 3, "\x02\x10"sv, 16},
    {Family::Ft920,    3, "\x02\x10"sv, 28},
    {Family::Ft900,    3, "\x02\x10"sv, 10},
    {Family::Ft847,    4, "\x03"sv,      5},
    {Family::Ft817,    4, "\x03"sv,      5},
    {Family::Ft767,    4, "\x0B"sv,     86},
    {Family::Kenwood,  0, "IF;"sv,      38},
    {Family::Jst245,   0, "I1\r"sv,     13},
    // After the echo: FE FE E0 addr, the command with its data, FD; FB (or FA) for a setting.
    {Family::Icom,     4, "\x04"sv,      8},
    {Family::Icom,     4, "\x03"sv,     11},
    {Family::Icom,     4, "\x05"sv,      6},
    {Family::Icom,     4, "\x06"sv,      6},
    {Family::Icom,     4, "\x1C"sv,      6},
};
// clang-format on

bool holds(const QByteArray& command, const AnswerRow& row) {
    const auto key = qsizetype(row.key.size());
    return command.size() >= row.at + key &&
           std::string_view(command.constData() + row.at, row.key.size()) == row.key;
}

// The first command of what is written at once: five bytes for the Yaesu
// families, up to the carriage return of a text command, up to FD of an ICOM frame.
qsizetype firstCommandLength(Family f, const QByteArray& bytes) {
    if (f == Family::Kenwood || f == Family::Jst245) return bytes.indexOf('\r') + 1;
    if (f == Family::Icom) return bytes.indexOf(char(0xFD)) + 1;
    return std::min<qsizetype>(5, bytes.size());
}

int oneAnswer(Family f, const QByteArray& command) {
    const int echo = f == Family::Icom ? int(command.size()) : 0;
    for (const AnswerRow& row : kAnswers)
        if (row.family == f && holds(command, row)) return echo + row.length;
    return echo;
}

} // namespace

int answerLength(Family f, const QByteArray& command) {
    // Commands written at once (a release with the reading that shows it
    // heard) are answered one after the other.
    int total = 0;
    for (QByteArray rest = command; !rest.isEmpty();) {
        const qsizetype n = firstCommandLength(f, rest);
        if (n <= 0 || n >= rest.size()) return total + oneAnswer(f, rest);
        total += oneAnswer(f, rest.left(n));
        rest = rest.mid(n);
    }
    return total;
}

namespace {

// A frame on the bus from the rig at `address` to us, answering the command:
// the same command byte for a reading, FB (done) or FA (refused: heard all
// the same) for a setting.
bool icomAnswered(const QByteArray& command, const QByteArray& back, unsigned char address) {
    const QByteArray head = QByteArray("\xFE\xFE\xE0", 3) + char(address);
    const char asked = command.size() > 4 ? command[4] : 0;
    const bool reading = asked == 0x03 || asked == 0x04;
    for (qsizetype at = back.indexOf(head); at >= 0; at = back.indexOf(head, at + 1)) {
        const qsizetype end = back.indexOf(char(0xFD), at + head.size());
        if (end < 0) return false;
        const QByteArray body = back.mid(at + head.size(), end - at - head.size());
        if (reading ? body.startsWith(asked) : body == "\xFB" || body == "\xFA") return true;
    }
    return false;
}

bool decodes(Family f, const QByteArray& answer) {
    switch (f) {
    case Family::Ft1000mp:
        return decodeFt1000mp(answer, QString()).has_value();
    case Family::Ft920:
        return decodeFt920(answer).has_value();
    case Family::Ft847:
        return decodeFt847(answer).has_value();
    case Family::Ft817:
        return decodeFt817(answer).has_value();
    case Family::Ft767:
        return decodeFt767(answer).has_value();
    case Family::Jst245:
        return answer.endsWith('\r') && decodeJst245(QString::fromLatin1(answer)).has_value();
    case Family::Kenwood:
        return answer.endsWith(';') && decodeKenwood(QString::fromLatin1(answer)).has_value();
    case Family::Icom:
    case Family::Ft900:
        return false;
    }
    return false;
}

} // namespace

bool answeredWhole(Family f, const QByteArray& command, const QByteArray& back, unsigned char icomAddress,
                   const QByteArray& writtenBefore) {
    if (f == Family::Icom) return icomAnswered(command, back, icomAddress);
    const int length = answerLength(f, command);
    if (length <= 0 || back.size() < length) return false;
    // A device that echoes what it hears (a CI-V bus put on the line) brings
    // back our own bytes, which some families' decoders would read; the echo
    // of a command written just before may come after this one, and the port
    // cleared at the write may have taken its first bytes.
    const QByteArray answer = back.left(length);
    return !(writtenBefore + command).contains(answer) && decodes(f, answer);
}

} // namespace rig
