#pragma once
// What passes between the system and the RTTY/CW program (MMTTY.EXE): pairs of
// (code, value), both 32-bit, in both directions. Commands go from the system
// to the program (codes below 0x8000), notices come back (codes from 0x8000).
// On the local socket that carries them each pair is 8 bytes: the code, then
// the value, each a little-endian 32-bit integer.
//
// This header is the one truth for the layout of the switch word and the view
// word, for the system and for the program alike.
#include <QByteArray>
#include <QtEndian>
#include <cstdint>
#include <optional>

namespace mmtty {

enum Command : std::int32_t {
    CmdSetWindow = 0,
    CmdClose = 2,
    CmdTx = 3,
    CmdChar = 4,
    CmdAfterHandle = 7,
    CmdSetMark = 9,
    CmdSetSpace = 10,
    CmdSetSwitches = 11,
    CmdHamPreset = 12,
    CmdShowSetup = 13,
    CmdSetView = 14,
    CmdSetSquelch = 15,
    CmdSetFig = 17,
    CmdSetTxDelay = 20,
    CmdPortUpdate = 21,
    CmdSuspend = 22,
    CmdRightClickFreq = 23,
    CmdProfile = 24,
};

// Not a command of the real program: our stand-in takes it from tests and runs
// the given number of ticks of its simulation at once, answering with their
// notices, so that a test need not wait for the ticks to come.
constexpr std::int32_t CmdStepSimulation = 0x7F00;
constexpr std::int32_t MaxStepTicks = 1000;
// Not a command of the real program either: 1 makes our stand-in keep its
// transmit-state notices back (a program slow to report a start while it
// goes on speaking), 0 sends what it kept.
constexpr std::int32_t CmdHoldTxReports = 0x7F01;

// Not part of the real program either: with this environment variable set to
// "1" our stand-in connects but never sends its window notice, so that tests
// can see the system give up on a program that does not announce itself.
constexpr const char* WithholdWindowEnvironment = "ZV_MMTTY_WITHHOLD_WINDOW";

// Values of CmdTx.
enum TxRequest : std::int32_t { TxOffNow = 0, TxOffAfterQueue = 1, TxOn = 2, TxClear = 4 };

enum Notice : std::int32_t {
    NtfWindow = 0x8000,
    NtfRxChar = 0x8003,
    NtfTxState = 0x8004,
    NtfBaud = 0x8006,
    NtfMark = 0x8007,
    NtfSpace = 0x8008,
    NtfSwitches = 0x8009,
    NtfView = 0x800A,
    NtfScope = 0x800B,
    NtfFig = 0x800C,
};

// The amateur-radio preset that CmdHamPreset restores.
constexpr std::int32_t HamMarkHz = 2125;
constexpr std::int32_t HamShiftHz = 170;

// ---- The switch word: 19 positions, position 1 the most significant. ----
// Position i (1..19) carries the value 2^(19 - i).
//   1-5   reserved (the system sends 1-4 as "0")
//   6     notch kind of the "NOT" switch: 1 notch ("NOT"), 0 LMS ("LMS")
//   7     reserved
//   8-9   AFC shift mode: 00 Free, 01 Fix, 10 HAM, 11 FSK
//   10-17 the eight switch indicators, in this order:
//         UOS, Rev, Squelh, NOT, BPF, ATC, NET, AFC
//         (indicator element e = position - 10, so element 0 is UOS and
//         element 6 is NET)
//   18-19 demodulator: 00 IIR, 01 FIR, 10 PLL
constexpr int SwitchPositions = 19;
constexpr int ViewPositions = 14;

constexpr std::uint32_t positionBit(int position, int positions = SwitchPositions) {
    return 1u << (positions - position);
}

enum Indicator { Uos, Rev, Squelch, Notch, Bpf, Atc, Net, Afc, IndicatorCount };
constexpr int FirstIndicatorPosition = 10;
constexpr int NotchKindPosition = 6;

enum Demodulator { Iir = 0, Fir = 1, Pll = 2 };
enum ShiftMode { ShiftFree = 0, ShiftFix = 1, ShiftHam = 2, ShiftFsk = 3 };

constexpr bool indicatorOn(std::uint32_t word, int element) {
    return word & positionBit(FirstIndicatorPosition + element);
}
constexpr std::uint32_t withIndicator(std::uint32_t word, int element, bool on) {
    const std::uint32_t bit = positionBit(FirstIndicatorPosition + element);
    return on ? (word | bit) : (word & ~bit);
}
constexpr int demodulator(std::uint32_t word) {
    return word & 3u;
}
constexpr std::uint32_t withDemodulator(std::uint32_t word, int kind) {
    return (word & ~3u) | (std::uint32_t(kind) & 3u);
}
constexpr int shiftMode(std::uint32_t word) {
    return (word >> 10) & 3u;
}
constexpr std::uint32_t withShiftMode(std::uint32_t word, int mode) {
    return (word & ~(3u << 10)) | ((std::uint32_t(mode) & 3u) << 10);
}
constexpr bool fitsSwitchWord(std::int64_t word) {
    return word >= 0 && word < (1 << SwitchPositions);
}

// ---- The view word: 14 positions, position 1 the most significant. ----
//   1-4   XY scope: 0100 size 0, 0101 size 1, 0110 size 2, 0111 size 3, 0000 off
//   5-6   reserved
//   7-8   FFT response: 10 slow, 01 medium, 00 fast
//   9-10  FFT gain: 00 .. 11
//   11-14 reserved
constexpr bool xyScopeOn(std::uint32_t view) {
    return view & positionBit(2, ViewPositions);
}
constexpr bool fitsViewWord(std::int64_t word) {
    return word >= 0 && word < (1 << ViewPositions);
}

// ---- Framing on the local socket ----
constexpr int FrameBytes = 8;

struct Pair {
    std::int32_t code = 0;
    std::int32_t value = 0;
    bool operator==(const Pair&) const = default;
};

inline QByteArray encode(Pair p) {
    QByteArray bytes(FrameBytes, '\0');
    qToLittleEndian<std::int32_t>(p.code, bytes.data());
    qToLittleEndian<std::int32_t>(p.value, bytes.data() + 4);
    return bytes;
}

// Takes one pair off the front of the buffer when a whole one is there.
inline std::optional<Pair> takePair(QByteArray& buffer) {
    if (buffer.size() < FrameBytes) return std::nullopt;
    Pair p{qFromLittleEndian<std::int32_t>(buffer.constData()),
           qFromLittleEndian<std::int32_t>(buffer.constData() + 4)};
    buffer.remove(0, FrameBytes);
    return p;
}

// The program learns the local server to connect to from this environment
// variable; without it, the name is made from the window handle given by "-h".
constexpr const char* ServerEnvironment = "ZV_MMTTY_SERVER";
inline QByteArray defaultServerName(std::uint32_t window) {
    return "zorvatek-mmtty-" + QByteArray::number(window, 16).toUpper();
}

// The file name under which the program lies in its folder.
constexpr const char* ProgramFileName = "MMTTY.EXE";

} // namespace mmtty
