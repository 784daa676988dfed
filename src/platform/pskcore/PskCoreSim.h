#pragma once
// The simulated modem behind our PSK core library (private to PskCore.cpp and
// PskCoreSim.cpp). It runs on Qt timers in the user-interface thread and posts
// its notices through PskCore::post.
#include "platform/os/WavFile.h"
#include "platform/pskcore/PskCore.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTimer>
#include <QVector>
#include <array>

namespace pskcore {

struct Carrier {
    double hz;
    int peak;  // height in the spectrum, scale of 100
    int level; // signal level on a channel tuned to it
};

// The spectrum's bins, as many as the library fills at most.
constexpr int FftBinCount = 1024;

struct RxChannel {
    std::int32_t hz = PskCore::StationHz;
    std::int32_t captureHz = 50;
    std::int32_t mode = TxBpsk;
    std::int32_t squelch = 0;
    std::int32_t afcLimitHz = 50;
};

class Simulation {
  public:
    explicit Simulation(PskCore& core);

    void start(std::int32_t channels, std::int32_t mode);
    void stop();
    bool running() const { return running_; }
    // The next tick of each running timer, now.
    void step();

    RxChannel& channel(int ch) { return rx_[ch]; }
    // The station the channel receives, or -1 for none.
    int heardStation(int ch) const;
    std::int32_t trackedHz(int ch) const;
    std::int32_t signalLevel(std::int32_t hz);
    void fillSpectrum(std::int32_t* bins, int first, int last);
    void fillRaw(std::int32_t* samples, int first, int last);
    void fillSync(std::int32_t* sync16, int ch);
    void fillVector(std::int32_t* vector16, int ch);
    void rewind(std::int32_t value);

    // Transmitting.
    std::int32_t txHz = 1000;
    std::int32_t clockAdjustPpm = 0;
    QByteArray cwId;
    std::int32_t cwSpeed = 2;
    void startTx(std::int32_t mode);
    void stopTx() { txStopAsked_ = true; }
    void abortTx();
    // A backspace takes back the last byte still queued; with nothing queued it
    // goes out, and the other station's screen erases a character.
    void queueText(const QByteArray& bytes);
    void askCwId() { cwIdAsked_ = true; }
    void clearQueue() { txQueue_.clear(); }
    int queued() const { return int(txQueue_.size()); }
    bool transmitting() const { return transmitting_; }
    // The output went away: sending stops at once, with no end notice.
    void loseOutput();

    // Wave files.
    QVector<std::int16_t> input;
    QString outputPath;
    std::int32_t outputSeconds = 0;
    bool outputAppend = false;

  private:
    void charTick();
    void transmitTick();
    void receiveTick();
    void displayTick();
    void endTx();
    // Writes the samples due by now, or up to the given sample.
    void writeRecording(qint64 upTo = -1);
    void finishRecording();
    // The input samples from sample `from` on, the carriers' list made once.
    void synthesize(qint64 from, std::int16_t* out, int count) const;
    std::array<Carrier, 4> carriers() const;
    // The level of one spectrum bin of noise alone.
    int noiseBin();
    // The carriers' part of the spectrum, worked out again only when the
    // transmit carrier moves or is keyed.
    void refreshCarrierBins();
    // Strength 0..1 of the nearest carrier and the channel's offset from it.
    double strength(std::int32_t hz, double* offsetHz = nullptr) const;

    PskCore& core_;
    // The byte timer; when batched it also ticks the display, and
    // displayTimer_ rests.
    QTimer charTimer_, displayTimer_, playEnd_, recordEnd_;
    bool batched_ = false;
    int byteDueMs_ = 0;                        // time owed to bytes not yet sent, when batched
    int batchByteMs_ = 1, batchDisplayMs_ = 1; // the intervals when started
    QRandomGenerator rng_{20261206};
    std::uint32_t noiseState_ = 20261206u;
    std::array<std::int32_t, FftBinCount> carrierBins_{};
    // The transmit carrier the bins were worked out for; -1: not yet.
    std::int32_t carrierBinsTxHz_ = -1;
    bool carrierBinsKeyed_ = false;
    std::array<RxChannel, Channels> rx_;
    int channelCount_ = Channels;
    bool running_ = false;
    qint64 stationBytes_ = 0;
    int displayTicks_ = 0;

    bool transmitting_ = false;
    std::int32_t txMode_ = TxBpsk;
    QByteArray txQueue_;
    bool txStopAsked_ = false;
    bool cwIdAsked_ = false;
    int cwTicksLeft_ = 0;

    std::int32_t soundMode_ = 0;
    QElapsedTimer clock_;
    qint64 playStartSample_ = 0;
    wavfile::Writer recording_;
    qint64 recordedSamples_ = 0;
};

} // namespace pskcore
