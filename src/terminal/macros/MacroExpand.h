#pragma once
// Macro keywords: the send flags read from a macro's raw text and the
// expansion of every keyword into its value, in the fixed order in which the
// values go in (an earlier value is expanded by the later steps, never by the
// earlier ones). A pure function of the macro text and the QSO state; the
// sender (SendMacro) carries out what the result asks for.
#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

namespace terminal::macros {

// What the expansion reads of the station and the QSO in progress.
struct QsoState {
    QString UserCall;
    QString RoundQsoText;    // 'CP'
    QString HisCall;         // call-sign box
    QString HisName;         // name box
    bool SanChecked = false; // add an honorific to the name
    int ImeState = 0;        // 2 while Japanese input is on in the transmit box
    QString QthText;
    QString HisRst;   // RST-sent box
    QString SerialNo; // contest serial-number box
    int ContestMode = 0;
    int OpMode = 0;
    QString DefaultCwId; // "DE " + own call
    std::array<QString, 5> CwIdList;
    QString TimeStampText; // already refreshed when the macro holds 'TIME'
    int TimeZoneOffsetH = 0;
    QString GreetingText;
    QDateTime pcClock; // the PC's clock, JST
    QString VariType;  // the multi-mode modem's character-code type (its mode only)
};

// The repeat keyword "'RPT" nn "'": only the first one counts.
struct RepeatRequest {
    bool present = false; // the raw text holds "'RPT"
    bool closed = false;  // an apostrophe closes the keyword
    bool valid = false;   // a whole count from 1 up, closed by an apostrophe
    QString countText;    // what stands between "'RPT" and the apostrophe, as typed
    int seconds = 0;      // the pause, at most 65
};

struct Expansion {
    QString MacroText;
    int MacroTxOn = 0;
    int MacroTxOff = 0;
    int MacroTxOffPending = 0;
    int MacroCwId = 0;
    std::optional<QString> CwIdText;
    QString cwIdRefused; // why a 'CWID' naming no station is not sent (said); the over ends
    QString HisNameText;
    RepeatRequest repeat;
    bool logTime = false; // 'LOGTIME': the QSO time is taken now
    QTime qsoTime;        // the PC's time of day then
    QString logTimeBox;   // "HH:MMU", the QSO time in UTC
    QString logDateBox;   // "YYYY-MM-DD", the UTC date of the QSO time
    bool rigCall = false; // 'RIGCALL': read the transceiver now
    // PSK modes only: the transmit mode chosen, kept for the repeat, the receive
    // mode after the macro, and the mode the status bar and mode menu show.
    std::optional<int> OpMode;
    std::optional<int> RepeatPskMode;
    std::optional<int> MacroRxPskMode;
    std::optional<int> shownPskMode;
};

RepeatRequest parseRepeat(const QString& raw);
bool needsTimeStamp(const QString& raw);
bool needsLocalTime(const QString& raw);
Expansion expandMacro(const QString& raw, const QsoState& s);

} // namespace terminal::macros
