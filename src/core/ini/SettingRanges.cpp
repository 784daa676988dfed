#include "core/ini/SettingRanges.h"

#include <algorithm>
#include <array>

namespace core {
namespace {

constexpr int kBauds[] = {1200, 4800, 9600, 19200, 38400};
// No PTT port, or a port of its own.
constexpr int kPttControls[] = {0, 3};
// No shortcut, or the key code of a letter A to Z.
constexpr std::array<int, 27> kShortcutKeys = [] {
    std::array<int, 27> keys{};
    for (int i = 1; i < 27; ++i)
        keys[std::size_t(i)] = 'A' + i - 1;
    return keys;
}();

// Where a range comes from: the control the value sets (main window, multi-
// channel window, settings sheet and its dialogs), or the variable's own.
// The window place and the column layout are checked against the screen by
// their readers, the band of the log entry window against its list, colours
// by their parser; the transverter's offset has no range to bring it into.
constexpr StoredRange kRanges[] = {
    {"PSKCFG", "SPCDSP", 0, 1, 0},                    // waterfall or spectrum
    {"PSKCFG", "Audio_Center_Freq", 200, 2600, 1500}, // the sheet's centre slider
    {"PSKCFG", "RX1Freq", 200, 3000, 1500, "Audio_Center_Freq"},
    {"PSKCFG", "TX1Freq", 200, 3000, 1500, "Audio_Center_Freq"},
    {"PSKCFG", "RX2Freq", 100, 3500, 1400}, // the extra channels' bars
    {"PSKCFG", "RX3Freq", 100, 3500, 1600},
    {"PSKCFG", "San", 0, 1, 0}, // check boxes
    {"PSKCFG", "TIME_STAMP", 0, 1, 0},
    {"PSKCFG", "Data_Get", 0, 1, 0},
    {"PSKCFG", "NENNOTAME", 0, 1, 0},
    {"PSKCFG", "SOUNDCARDnum", -1, 1, -1}, // system, first, second
    {"PSKCFG", "COMCONT", 0, 3, 0, nullptr, kPttControls},
    {"PSKCFG", "COMPORT", 0, 8, 0},
    {"PSKCFG", "CWID_SPEED", 1, 4, 2},
    {"PSKCFG", "AFC_LIMIT", 0, 1000, 100},
    {"PSKCFG", "SC_CLKADJRX", -10000, 10000, 0},
    {"PSKCFG", "SC_CLKADJTX", -10000, 10000, 0},
    {"PSKCFG", "SQ_SPEED", 10, 200, 10},
    {"PSKCFG", "SQ_LEVEL", 0, 100, 0},  // ten times the squelch slider's 0 to 10
    {"PSKCFG", "WF_LEVEL", 0, 250, 90}, // the waterfall level slider
    {"PSKCFG", "WFRT_LEVEL", 0, 250, 90},
    {"PSKCFG", "F_Range", 1, 25, 1}, // the span bar
    {"PSKCFG", "AFC_SW", 0, 1, 0},
    {"PSKCFG", "NET_SW", 0, 1, 0},
    {"PSKCFG", "FFT_SMOOTHING", 0, 10, 2},
    {"PSKCFG", "FFT_Mode", 0, 90, 40},
    {"PSKCFG", "FFTRoot", 0, 1, 0},
    {"PSKCFG", "RX_SearchRange", 0, 50, 10},
    // Messages are added one by one at the keyboard; a count far beyond that
    // would have the load read keys for minutes.
    {"PSKCFG", "MSG_CNT", 0, 1000, 0},
    {"PSKCFG", "RCVFSIZE", 1, 512, 12}, // the font dialog's sizes
    {"PSKCFG", "TXFSIZE", 1, 512, 12},
    {"PSKCFG", "MLTRCVFSIZE", 1, 512, 12},
    {"PSKCFG", "FFT_COMEBACK", 1, 99, 50},
    {"PSKCFG", "ScanLevel", -3, 97, 15}, // a click on the picture's 100 rows
    {"MACRO_SCKEY", "MACRO%1", 0, 'Z', 0, nullptr, kShortcutKeys, 36},
    {"RIG_CON_CFG", "BAUD_RATE", 1200, 38400, 4800, nullptr, kBauds},
    {"RIG_CON_CFG", "STOP_BIT", 1, 2, 1},
    {"RIG_CON_CFG", "Poll_Time", 600, 5000, 1000, nullptr, {}, 0, true},
    // The command pause the sheet shows for one that is no number of 0 or more.
    // Each paced command waits it twice, events running: a pause of minutes
    // (digits typed on after the default) is a wish for the longest, a second.
    {"RIG_CON_CFG", "Interval", 0, 1000, 300, nullptr, {}, 0, true},
    {"MMVCFG", "AFC_SW", 0, 1, 0},
    {"MMVCFG", "NET_SW", 0, 1, 0},
    {"MMVCFG", "AFC_W", 10, 200, 50},
    {"MMVCFG", "CWIDsp", 10, 60, 20},
    {"Mmtty", "XY_Scope", 0, 4, 4},
    {"Mmtty", "FFTGain", 0, 3, 2},
    {"Mmtty", "FFTResp", 0, 2, 1},
    // The RTTY program keys the rig and waits this long before it sends: a
    // delay of days (digits typed on) is a wish for the longest, a second.
    {"Mmtty", "TXDelay", 0, 1000, 0, nullptr, {}, 0, true},
};

} // namespace

QString StoredRangeKey(const StoredRange& row, int n) {
    const QString key = QString::fromLatin1(row.key);
    return row.count > 0 ? key.arg(n) : key;
}

std::span<const StoredRange> StoredRanges() {
    return kRanges;
}

const StoredRange* StoredRangeOf(const QString& section, const QString& key) {
    for (const StoredRange& row : kRanges) {
        if (section.compare(QLatin1String(row.section), Qt::CaseInsensitive) != 0) continue;
        for (int n = 0; n < std::max(row.count, 1); ++n)
            if (key.compare(StoredRangeKey(row, n), Qt::CaseInsensitive) == 0) return &row;
    }
    return nullptr;
}

bool InStoredRange(const StoredRange& row, int value) {
    if (value < row.lowest || value > row.highest) return false;
    return row.choices.empty() || std::ranges::find(row.choices, value) != row.choices.end();
}

} // namespace core
