#pragma once
// The RTTY/CW program's state as the system keeps it: its settings from
// [Mmtty], the option words sent at its start and the words and values it last
// reported. One instance, core::mm; a test resets it with core::mm = {}.
// The mark frequency, the indicators and the transmit state live in core::g,
// where the other subsystems read them.
#include <QString>
#include <cstdint>
#include <optional>

namespace core {

struct MmttyGlobals {
    // 1 while the RTTY settings dialog may send its changes: its opener clears
    // it while it presets the controls, the contest end clears it too.
    int MmttyCfgFlag = 0;
    // The program's window (from its start-up notice) and process; 0 = none.
    std::int32_t MmttyHwnd = 0;
    qint64 MmttyPid = 0;
    int MmttyExitCode = 0;

    // [Mmtty] as read at the start. NOT_LMS: "0" for the notch shown as
    // "NOT", else the LMS filter.
    QString MmttyXyScope = QStringLiteral("4");
    int MmttyFftGain = 2;
    int MmttyFftResp = 1;
    int MmttyTxDelay = 0;
    QString MmttyNotLms = QStringLiteral("1");

    // The XY scope's sample set (4 = off) and the highest sample index drawn.
    int XyScopeQuality = 4;
    int XyScopeMask = 0x1FF;

    // The view and switch words as last built to send and as last received,
    // as texts of "0"/"1", most significant first (layout in
    // platform/mmtty/MmttyProtocol.h).
    QString MmttyViewBits;
    QString MmttySwitchStates;
    // The view word is empty until the program has reported one.
    QString MmttyStatusBits;
    QString MmttyStatusBits2 = QString(19, QLatin1Char('0'));

    // As last reported: the space and the marker places in hertz, the XY
    // scope's offset; demodulator 0 IIR, 1 FIR, 2 PLL; AFC shift mode 0 Free,
    // 1 Fix, 2 HAM, 3 FSK; FIG shift.
    int SpaceFreq = 2295;
    int MarkLineX = 1925;
    int SpaceLineX = 2095;
    int XyScopeOffset = 25200;
    int MmttyModemType = 0;
    int MmttyStatusPair = 0;
    int MmttyFigOn = 0;

    // Transmissions asked of the program that it has not reported yet, and
    // how many of them a stop dropped since: the program's late report of a
    // dropped one is not taken.
    int MmttyStartsAsked = 0;
    int MmttyStartsDropped = 0;
};

extern MmttyGlobals mm;

// The word as a text of exactly `positions` "0"/"1" characters, most
// significant first; nothing when it needs more (or is negative).
std::optional<QString> BitText(std::int64_t word, int positions);
// The text read as a base-2 number: character i of N has the value 2^(N - i).
std::int32_t BitWord(const QString& bits);

} // namespace core
