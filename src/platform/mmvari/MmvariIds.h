#pragma once
// Dispatch ids of the multi-mode control, its two views and its level meter,
// and the events they raise. Pn(ch) members are indexed by the receive channel
// 0, 1 or 2.
#include <QStringList>

namespace mmvari {

enum Id : int {
    IdTxFreq = 2,          // transmit audio frequency, Hz
    IdTxOffsetMeasure = 3, // read: transmit-offset measurement value
    IdRun = 4,             // run switch
    IdAtc = 5,
    IdStartCr = 6,
    IdStopCr = 7,
    IdNet = 8,           // transmit follows receive
    IdTransmit = 11,     // True transmits; False ends at once (also a tune carrier)
    IdRxSampleFreq = 12, // receive sample frequency, 11025 + offset
    IdTxOffset = 15,
    IdReqRx = 17,     // True: back to receive once the buffered text is sent
    IdSoundCard = 19, // "-1", "0", "1" ...
    IdLevelData = 24, // read: the display-data handle for the views and the meter
    IdVersion = 25,   // read: the control's version, as text
    IdAfcWidth = 26,
    IdExtLoop = 31,
    IdTuneReset = 32,
    IdPttPort = 33, // "COMn" or "NONE"
    IdAtcReset = 36,
    IdCwIdSpeed = 38,
    IdTcMfsk = 39,
    IdSqMfsk = 40,
    IdDiddle = 42,
    IdPlayBack = 43,
    IdHpf = 51,
    MethodTune = 56,       // (): start a tune carrier
    MethodRewind = 57,     // (Integer): rewind play-back
    MethodCwIdEnd = 58,    // (Integer): 3 after a transmission's end sends the buffered CW ID
    MethodSend = 59,       // (Text) -> characters still waiting
    MethodCwId = 60,       // (Text): send as CW identification
    MethodLines = 62,      // (points): spectrum-line events on; 0 stops them
    MethodClockRef = 63,   // (carrier Hz, sample frequency): restart the clock measurement
    MethodLineLevels = 65, // (buffer, line, points) -> the line's levels as a list
    PChannelText = 64,     // read, indexed: the channel's mode text
    PModeName = 78,        // indexed: modem mode by name
    PSpeed = 79,           // indexed: PSK speed, baud
    PRxFreq = 80,          // indexed: receive audio frequency, Hz
    PRxOn = 81,            // indexed: receive on (channels 1 and 2)
    PSquelch = 82,         // indexed
    PLevelDb = 84,         // read, indexed: signal level in dB
    PCharSet = 85,         // indexed: character set / modem mode of the channel
    PAfc = 86,             // indexed
    PValue = 88,           // read, indexed: the channel's quality figure
    PUos = 91,             // indexed: unshift on space
    PModeNumber = 93,      // indexed: modem mode number 0..8
    PNotch = 97,           // indexed: notch frequency, 0 = off
};

// Events of the control, of the views and of the meter.
enum Event : int {
    EvUpdate = 10,
    EvTxBuffer = 11,
    EvTxState = 13,
    EvSpectrumLine = 16,
    EvRxText = 22,
    EvError = 23,
    EvViewLeftClick = 10,
    EvViewDrag = 11,
    EvViewRightClick = 12,
    EvMeterClick = 10,
};

// The views' members.
enum ViewId : int {
    ViewLeftFreq = 3,
    ViewSpan = 4,
    ViewType = 8, // 1 waterfall, 0 spectrum
    ViewDraw = 22,
    ViewColour = 27, // indexed
    ViewText = 32,   // indexed
};
// The meter's draw method (display-data handle, 0).
constexpr int MeterDraw = 11;

// Modem mode names in the order of the mode numbers 0..8.
inline const QStringList& modeNames() {
    static const QStringList names{"GMSK",   "FSK",    "FSK-W",  "BPSK",  "bpsk",
                                   "rtty-L", "rtty-U", "mfsk-L", "mfsk-U"};
    return names;
}

} // namespace mmvari
