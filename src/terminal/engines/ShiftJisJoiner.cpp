#include "terminal/engines/ShiftJisJoiner.h"

#include "platform/os/Cp932.h"

#include <QByteArray>

namespace terminal::engines {
namespace {

constexpr int kBackspace = 8;
constexpr int kCarriageReturn = 13;

bool printable(int c) {
    return (c >= 0x20 && c <= 0x7F) || (c >= 0xA1 && c <= 0xDF);
}

bool leadByte(int c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xEF);
}

bool trailByte(int c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

} // namespace

ReceivedStep ShiftJisJoiner::feed(int c) {
    if (c == kBackspace) return {ReceivedStep::Backspace, {}};
    if (c == kCarriageReturn) {
        pending_ = false;
        return {ReceivedStep::NewLine, {}};
    }
    if (pending_) {
        pending_ = false;
        if (!trailByte(c)) return {ReceivedStep::BrokenPair, {}};
        QByteArray pair(1, lead_);
        pair.append(char(c));
        return {ReceivedStep::Text, cp932::decode(pair)};
    }
    if (printable(c)) return {ReceivedStep::Text, cp932::decode(QByteArray(1, char(c)))};
    if (leadByte(c)) {
        lead_ = char(c);
        pending_ = true;
    }
    return {};
}

} // namespace terminal::engines
