#pragma once
// The RTTY/CW program's state as the system keeps it: its settings from
// [Mmtty] and the words and values it last reported. One instance, core::mm;
// a test resets it with core::mm = {}. The mark frequency, the indicators and
// the transmit state live in core::g, where the other subsystems read them.
#include <QString>
#include <cstdint>
#include <optional>

namespace core {

struct MmttyGlobals {
    // [Mmtty] NOT_LMS: "0" for the notch shown as "NOT", else the LMS filter.
    QString MmttyNotLms = QStringLiteral("1");

    // The switch word as last built to send and as last received, as texts of
    // "0"/"1", most significant first (layout in platform/MmttyProtocol.h).
    QString MmttySwitchStates;
    QString MmttyStatusBits2 = QString(19, QLatin1Char('0'));

    // As last reported: demodulator 0 IIR, 1 FIR, 2 PLL; AFC shift mode
    // 0 Free, 1 Fix, 2 HAM, 3 FSK; FIG shift.
    int MmttyModemType = 0;
    int MmttyStatusPair = 0;
    int MmttyFigOn = 0;
};

extern MmttyGlobals mm;

// The word as a text of exactly `positions` "0"/"1" characters, most
// significant first; nothing when it needs more (or is negative).
std::optional<QString> BitText(std::int64_t word, int positions);
// The text read as a base-2 number: character i of N has the value 2^(N - i).
std::int32_t BitWord(const QString& bits);

} // namespace core
