#pragma once
// Our PSK core library: the PSK31 modem engine the system drives in BPSK and
// QPSK. The functions carry the library's names, arguments and results; the
// engine behind them is a simulated modem (PskCoreSim.cpp), good enough to show
// the system working and to test it.
//
// What callers rely on:
// - Notices. After fnStartSoundCard(Ex) the engine posts five notices to the
//   window handle it was given: a display tick, every received byte with its
//   channel (0..2; -1 is the echo of each transmitted byte), a status code, the
//   IMD reading and the clock error. They reach the one handler connected with
//   subclass() for that handle, as queued calls on the user-interface thread, in
//   the order posted. A second subclass() is refused until unsubclass(). After
//   fnStopSoundCard (or unsubclass) nothing more arrives, not even notices that
//   were already under way.
// - Status codes: 1 when transmitting starts, 0 when it ends (fnStopTX once the
//   queue and any CW identification are sent, fnAbortTX at once); 4 when a
//   play-back reaches the end of its file; 5 when a timed recording ends.
// - Wave files: fnSetInputWavePath answers 34..38 for a file that cannot be
//   played (WaveFile.h); fnSetOutputWavePath answers 41 when the file cannot be
//   written, and 35..38 when appending to a file that is not a playable wave
//   file of the recording's format. Recording writes 16-bit mono 8000 Hz PCM.
// - fnGetFFTData fills bins 51..768 on a scale of 100; fnGetRXFrequency always
//   answers 100..3500 Hz.
// - fnStartSoundCard answers 0 when it runs; sound cards -1, 0 and 1 exist,
//   any other gives 21. fnStartSoundCardEx mode 1 needs a playable input file
//   (else 34), modes 2 and 6 a writable output file (else 41).
//
// The simulation: noise and three carriers in the spectrum (about one unit a
// decibel: noise mostly 0..12 and never above 14, below the signal scan's
// default threshold; the carriers 35..60 and some 60 Hz wide), each a station (StationsHz): at StationHz one
// repeats a CQ call in English and in Japanese (Shift-JIS, a double-byte character in two notices), at 1500
// Hz a portable station answers in Japanese, at 2210 Hz an English QSO gives name and QTH; each sends about
// 31 characters a second. A channel tuned within its capture range of a station, with its squelch threshold
// not above that station's level, receives it; its AFC then follows the station; the stations start their
// texts at every start of the engine. Transmitted text goes out at the same speed; while transmitting
// (outside satellite mode) nothing is received and the signal level reads 0, a muted receiver's. During
// play-back the input samples come from the file; the rest of the simulation goes on as before.
//
// Tests can force results (TestHooks) and read the calls made (calls(), the
// last 5000).
#include "platform/engines/EngineNotices.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

namespace pskcore {

// The five notices, by their message numbers.
enum Notice : std::int32_t {
    PskMsgDisplay = 0x7E8,
    PskMsgRxChar = 0x7E9,
    PskMsgStatus = 0x7EA,
    PskMsgImd = 0x7EB,
    PskMsgClockError = 0x7EC,
};

enum Status : std::int32_t {
    StatusTxEnded = 0,
    StatusTxStarted = 1,
    StatusCpuTooSlow = 2,
    StatusPlaybackEnded = 4,
    StatusRecordingEnded = 5,
};

enum StartResult : std::int32_t {
    StartOk = 0,
    MemoryAllocationError = 10,
    BadDeviceId = 21,
};

// fnStartTX modes; SatelliteFlag is added in satellite mode.
enum TxMode : std::int32_t { TxBpsk = 0, TxQpskUsb = 1, TxQpskLsb = 2, TxTune = 3, TxCwIdOnly = 4 };
constexpr std::int32_t SatelliteFlag = 128;

// fnStartSoundCardEx input/recording modes.
enum SoundMode : std::int32_t { SoundFromWaveFile = 1, RecordReceive = 2, RecordReceiveAndTransmit = 6 };

constexpr int FirstBin = 51;
constexpr int LastBin = 768;
constexpr double HzPerBin = 3.90625;
constexpr int RawSamples = 2048;
constexpr int ScopePoints = 16;
constexpr std::int32_t LowestHz = 100;
constexpr std::int32_t HighestHz = 3500;
constexpr int Channels = 3;
constexpr std::int32_t EchoChannel = -1;

using LibCall = standin::LibCall;

struct TestHooks {
    std::int32_t startResult = StartOk; // forced result of fnStartSoundCard (10, 21)
    std::int32_t comPortResult = 1;     // fnSetComPort; 0 = the port cannot be opened
    bool overload = false;              // fnGetFFTData / fnGetRawData report input overload
    std::int32_t version = 116;         // fnGetDLLVersion
    int charIntervalMs = 32;            // one received or transmitted byte per interval
    int displayIntervalMs = 100;        // display ticks
    int waveSecondMs = 1000;            // how long a second of a wave file records or plays
};

class Simulation;

class PskCore : public QObject {
    Q_OBJECT
  public:
    using Handler = std::function<void(std::int32_t msg, std::int32_t wParam, std::int32_t lParam)>;

    static constexpr std::int32_t StationHz = 1000;
    // The stations on the air, the first at StationHz; each has its own text
    // and level (the first is the strongest).
    static constexpr std::array<std::int32_t, 3> StationsHz{StationHz, 1500, 2210};
    static constexpr std::array<std::int32_t, 3> StationLevels{85, 60, 50};
    // What a station sends, over and over, as Shift-JIS bytes.
    static QByteArray stationText(int station = 0);

    PskCore();
    ~PskCore() override;

    // "Subclassing": the handler of the window with this handle receives the
    // notices posted to it. Refused (false) while a handler is connected.
    bool subclass(std::int32_t hwnd, QObject* window, Handler handler);
    void unsubclass();
    bool isSubclassed() const;

    // ---- The library's functions ----
    std::int32_t fnSetComPort(std::int32_t port, std::int32_t controlMode);
    std::int32_t fnStartSoundCard(std::int32_t hwnd, std::int32_t card, std::int32_t channels);
    std::int32_t fnStartSoundCardEx(std::int32_t hwnd, std::int32_t card, std::int32_t channels,
                                    std::int32_t mode);
    void fnStopSoundCard();
    // result: receives the file's length in samples.
    std::int32_t fnSetInputWavePath(const QString& path, std::int32_t* result, std::int32_t reserved);
    std::int32_t fnSetOutputWavePath(const QString& path, std::int32_t seconds, std::int32_t append);
    void fnSetRXFrequency(std::int32_t hz, std::int32_t captureHz, std::int32_t channel);
    std::int32_t fnGetRXFrequency(std::int32_t channel);
    void fnSetTXFrequency(std::int32_t hz);
    void fnSetRXPSKMode(std::int32_t mode, std::int32_t channel);
    void fnSetSquelchThreshold(std::int32_t threshold, std::int32_t response, std::int32_t channel);
    void fnSetFFTMode(std::int32_t averaging, std::int32_t maximum, std::int32_t type);
    void fnSetAFCLimit(std::int32_t hz, std::int32_t channel);
    void fnSetClockErrorAdjustment(std::int32_t ppm);
    void fnStartTX(std::int32_t mode);
    void fnStopTX();
    void fnAbortTX();
    void fnSendTXString(const QByteArray& ansiText);
    // code 2 with a non-zero flag: send the CW identification after the queued text.
    void fnSendTXCharacter(std::int32_t code, std::int32_t controlFlag);
    void fnSetCWIDString(const QByteArray& ansiText);
    void fnSetCWIDSpeed(std::int32_t step);
    void fnClearTXBuffer();
    std::int32_t fnGetTXCharsRemaining();
    // The arrays must be indexable from `first` to `last`.
    std::int32_t fnGetFFTData(std::int32_t* bins, std::int32_t first, std::int32_t last);
    std::int32_t fnGetRawData(std::int32_t* samples, std::int32_t first, std::int32_t last);
    void fnGetSyncData(std::int32_t* sync16, std::int32_t channel);
    void fnGetVectorData(std::int32_t* vector16, std::int32_t channel);
    std::int32_t fnGetSignalLevel(std::int32_t channel);
    // Replays the last value x 0.254 seconds of received text.
    void fnRewindInput(std::int32_t value);
    std::int32_t fnGetDLLVersion();

    // What the engine itself says: the key watch asks it whether it sends.
    bool isRunning() const;
    bool isTransmitting() const;

    // ---- For tests ----
    TestHooks& hooks() { return hooks_; }
    const std::deque<LibCall>& calls() const { return calls_.calls(); }
    QStringList callTexts() const { return calls_.texts(); }
    void clearCalls() { calls_.clear(); }
    // The sound card's output fails during a transmission: sending stops at
    // once and status 16 says so; no end of transmission follows.
    void outputFailed();
    // Runs the simulation's character and display ticks once, now, as far as
    // their timers run, so that a test need not wait for them.
    void stepForTest();

  private:
    friend class Simulation;
    void record(const char* name, QVariantList args);
    // Queues a notice for the handler of the window the engine posts to.
    void post(std::int32_t msg, std::int32_t wParam, std::int32_t lParam);
    std::int32_t start(std::int32_t hwnd, std::int32_t card, std::int32_t channels, std::int32_t mode);

    TestHooks hooks_;
    standin::CallRecord calls_;
    standin::NoticeTarget notices_;
    std::int32_t targetHwnd_ = 0;
    std::unique_ptr<Simulation> sim_;
};

// The library of the run, as the engine-control code calls it.
PskCore& lib();

} // namespace pskcore
