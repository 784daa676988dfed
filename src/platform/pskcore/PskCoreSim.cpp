#include "platform/pskcore/PskCoreSim.h"

#include <QtMath>
#include <algorithm>
#include <cmath>

namespace pskcore {
namespace {

constexpr std::int32_t SoundCardClockErrorPpm = 12;
// The spectrum's scale is about one unit a decibel. The noise of a bin is the
// level of random power around NoiseMean: mostly 0..12, never above
// NoiseCeiling, so that the signal scan at its default threshold (15) stops on
// stations only; a waterfall level below the default shows it as speckle.
constexpr double NoiseMean = 8.0;
constexpr int NoiseCeiling = 14;
constexpr int NoiseTableBits = 8;
constexpr int NoiseLevel = 12;
constexpr int DisplayTicksPerReading = 10;
constexpr double CarrierWidthHz = 30.0;
// A display that ticks at least this often carries the bytes due by its tick:
// one wake-up a tick instead of one a byte. The received text reaches the
// screen at the display's rate anyway.
constexpr int BatchedDisplayMs = 100;

// The noise levels at evenly spaced quantiles of random power, so that a bin's
// noise is one table look-up rather than two logarithms.
const std::array<std::uint8_t, 1 << NoiseTableBits>& noiseLevels() {
    static const auto table = [] {
        std::array<std::uint8_t, 1 << NoiseTableBits> t{};
        for (std::size_t k = 0; k < t.size(); ++k) {
            const double power = -std::log(1.0 - (double(k) + 0.5) / double(t.size()));
            const long level = std::lround(NoiseMean + 10.0 * std::log10(power));
            t[k] = std::uint8_t(std::clamp(level, 0L, long(NoiseCeiling)));
        }
        return t;
    }();
    return table;
}

// One period of a sine at 1 Hz, a sample a step: a carrier of a whole number
// of Hz is a running phase through it.
const std::array<double, wavfile::SampleRate>& sineTable() {
    static const auto table = [] {
        std::array<double, wavfile::SampleRate> t{};
        for (std::size_t k = 0; k < t.size(); ++k)
            t[k] = std::sin(2 * M_PI * double(k) / wavfile::SampleRate);
        return t;
    }();
    return table;
}

} // namespace

Simulation::Simulation(PskCore& core) : core_(core) {
    QObject::connect(&charTimer_, &QTimer::timeout, [this] {
        if (!batched_) {
            charTick();
            return;
        }
        // The bytes due in one display interval (the remainder carried on),
        // then the display.
        for (byteDueMs_ += batchDisplayMs_; byteDueMs_ >= batchByteMs_; byteDueMs_ -= batchByteMs_)
            charTick();
        displayTick();
    });
    QObject::connect(&displayTimer_, &QTimer::timeout, [this] { displayTick(); });
    playEnd_.setSingleShot(true);
    recordEnd_.setSingleShot(true);
    recordEnd_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&playEnd_, &QTimer::timeout,
                     [this] { core_.post(PskMsgStatus, StatusPlaybackEnded, 0); });
    QObject::connect(&recordEnd_, &QTimer::timeout, [this] {
        writeRecording(qint64(outputSeconds) * wavfile::SampleRate);
        finishRecording();
        core_.post(PskMsgStatus, StatusRecordingEnded, 0);
    });
}

void Simulation::start(std::int32_t channels, std::int32_t mode) {
    channelCount_ = qBound(1, int(channels), int(Channels));
    soundMode_ = mode;
    running_ = true;
    stationBytes_ = 0; // the station begins its call as we start listening
    clock_.start();
    const TestHooks& h = core_.hooks();
    batched_ = h.charIntervalMs > 0 && h.charIntervalMs <= h.displayIntervalMs &&
               h.displayIntervalMs <= BatchedDisplayMs;
    byteDueMs_ = 0;
    batchByteMs_ = h.charIntervalMs;
    batchDisplayMs_ = h.displayIntervalMs;
    if (batched_) {
        charTimer_.start(h.displayIntervalMs);
    } else {
        charTimer_.start(h.charIntervalMs);
        displayTimer_.start(h.displayIntervalMs);
    }
    if (mode == SoundFromWaveFile) {
        playStartSample_ = 0;
        playEnd_.start(int(input.size() * core_.hooks().waveSecondMs / wavfile::SampleRate));
    } else if (mode == RecordReceive || mode == RecordReceiveAndTransmit) {
        recordedSamples_ = 0;
        recording_.open(outputPath, outputAppend);
        recordEnd_.start(outputSeconds * core_.hooks().waveSecondMs);
    }
}

void Simulation::stop() {
    charTimer_.stop();
    displayTimer_.stop();
    playEnd_.stop();
    finishRecording();
    running_ = false;
    transmitting_ = false;
    txStopAsked_ = cwIdAsked_ = false;
    cwTicksLeft_ = 0;
    soundMode_ = 0;
}

void Simulation::step() {
    if (charTimer_.isActive()) charTick();
    if (displayTimer_.isActive() || (batched_ && charTimer_.isActive())) displayTick();
}

// ---- Receiving ----

// The station nearest the frequency, or -1 when none is within the range.
static int nearestStation(std::int32_t hz, std::int32_t range) {
    int best = -1;
    for (int s = 0; s < int(PskCore::StationsHz.size()); ++s) {
        const std::int32_t d = std::abs(hz - PskCore::StationsHz[s]);
        if (d <= range && (best < 0 || d < std::abs(hz - PskCore::StationsHz[best]))) best = s;
    }
    return best;
}

int Simulation::heardStation(int ch) const {
    const RxChannel& c = rx_[ch];
    const bool listening = !transmitting_ || (txMode_ & SatelliteFlag);
    if (!running_ || !listening || ch >= channelCount_) return -1;
    const int s = nearestStation(c.hz, c.captureHz);
    return s >= 0 && c.squelch <= PskCore::StationLevels[s] ? s : -1;
}

std::int32_t Simulation::trackedHz(int ch) const {
    const RxChannel& c = rx_[ch];
    const int s = nearestStation(c.hz, std::min(c.captureHz, c.afcLimitHz));
    return qBound(LowestHz, s >= 0 ? PskCore::StationsHz[s] : c.hz, HighestHz);
}

std::array<Carrier, 4> Simulation::carriers() const {
    const bool keyed = transmitting_;
    const auto& hz = PskCore::StationsHz;
    const auto& level = PskCore::StationLevels;
    return {Carrier{double(hz[0]), 60, level[0]}, Carrier{double(hz[1]), 45, level[1]},
            Carrier{double(hz[2]), 35, level[2]}, Carrier{double(txHz), keyed ? 80 : 0, keyed ? 99 : 0}};
}

double Simulation::strength(std::int32_t hz, double* offsetHz) const {
    double best = 0;
    for (const Carrier& c : carriers()) {
        const double d = hz - c.hz;
        const double s = c.level / 100.0 * std::max(0.0, 1.0 - std::abs(d) / CarrierWidthHz);
        if (s > best) {
            best = s;
            if (offsetHz) *offsetHz = d;
        }
    }
    return best;
}

std::int32_t Simulation::signalLevel(std::int32_t hz) {
    // The rig's receiver is muted while it sends (the satellite's downlink is
    // not): silence, not our own signal.
    if (transmitting_ && !(txMode_ & SatelliteFlag)) return 0;
    const int noise = NoiseLevel + int(rng_.bounded(10));
    return std::max(noise, int(strength(hz) * 100));
}

int Simulation::noiseBin() {
    // xorshift32: plenty for noise, and cheap.
    noiseState_ ^= noiseState_ << 13;
    noiseState_ ^= noiseState_ >> 17;
    noiseState_ ^= noiseState_ << 5;
    return noiseLevels()[noiseState_ >> (32 - NoiseTableBits)];
}

// A PSK31 signal fills about its baud rate's width on each side of its
// frequency, several bins wide, so that every drawing step meets it.
void Simulation::refreshCarrierBins() {
    if (carrierBinsTxHz_ == txHz && carrierBinsKeyed_ == transmitting_) return;
    carrierBinsTxHz_ = txHz;
    carrierBinsKeyed_ = transmitting_;
    carrierBins_.fill(0);
    for (const Carrier& c : carriers()) {
        const int from = std::max(0, int(std::ceil((c.hz - CarrierWidthHz) / HzPerBin)));
        const int to = std::min(FftBinCount - 1, int(std::floor((c.hz + CarrierWidthHz) / HzPerBin)));
        for (int b = from; b <= to; ++b) {
            const double d = std::abs(b * HzPerBin - c.hz);
            if (d >= CarrierWidthHz) continue;
            const double shape = std::cos(M_PI_2 * d / CarrierWidthHz);
            const auto level = std::int32_t(std::lround(std::min(98.0, c.peak * shape * shape)));
            carrierBins_[b] = std::max(carrierBins_[b], level);
        }
    }
}

void Simulation::fillSpectrum(std::int32_t* bins, int first, int last) {
    refreshCarrierBins();
    for (int b = first; b <= last; ++b)
        bins[b] = std::max(noiseBin(), carrierBins_[b]);
}

void Simulation::synthesize(qint64 from, std::int16_t* out, int count) const {
    if (soundMode_ == SoundFromWaveFile && !input.isEmpty()) {
        for (int i = 0; i < count; ++i)
            out[i] = input[int(qBound<qint64>(0, from + i - playStartSample_, input.size() - 1))];
        return;
    }
    if (transmitting_ && soundMode_ == RecordReceive) {
        std::fill(out, out + count, std::int16_t(0));
        return;
    }
    struct Tone {
        double amplitude;
        qint64 step;  // Hz: the phase's step through the one-Hz table
        qint64 phase; // where sample `from` stands in it
    };
    std::array<Tone, 4> tones{};
    int used = 0;
    for (const Carrier& c : carriers()) {
        if (c.level == 0) continue;
        const auto hz = qint64(c.hz);
        tones[std::size_t(used++)] = {c.level * 60.0, hz, (hz * from) % wavfile::SampleRate};
    }
    const auto& sine = sineTable();
    for (int i = 0; i < count; ++i) {
        const qint64 n = from + i;
        double v = double((std::uint32_t(n) * 2654435761u) >> 20) - 2048.0;
        for (int t = 0; t < used; ++t) {
            Tone& tone = tones[std::size_t(t)];
            v += tone.amplitude * sine[std::size_t(tone.phase)];
            tone.phase += tone.step; // a carrier stays below the sampling rate
            if (tone.phase >= wavfile::SampleRate) tone.phase -= wavfile::SampleRate;
        }
        out[i] = std::int16_t(qBound(-32768.0, v, 32767.0));
    }
}

void Simulation::fillRaw(std::int32_t* samples, int first, int last) {
    const qint64 now = clock_.isValid() ? clock_.elapsed() * wavfile::SampleRate / 1000 : 0;
    std::array<std::int16_t, RawSamples> block{};
    const int count = std::clamp(last - first + 1, 0, RawSamples);
    synthesize(now + first, block.data(), count);
    std::copy(block.begin(), block.begin() + count, samples + first);
}

void Simulation::fillSync(std::int32_t* sync16, int ch) {
    double offset = 0;
    const double s = strength(rx_[ch].hz, &offset);
    for (int i = 0; i < ScopePoints; ++i) {
        const double d = i - 7.5 - offset / 4.0;
        sync16[i] = std::int32_t(s * 900 * std::exp(-d * d / 4.0)) + std::int32_t(rng_.bounded(60));
    }
}

void Simulation::fillVector(std::int32_t* vector16, int ch) {
    double offset = 0;
    const double s = strength(rx_[ch].hz, &offset);
    // Each spoke is the phase of one symbol: the offset's angle, or half a turn on.
    const double x = s * 900 * std::cos(offset * 0.1);
    const double y = s * 900 * std::sin(offset * 0.1);
    const double noise = 150.0 * (1.0 - s);
    for (int k = 0; k < ScopePoints; k += 2) {
        const double turn = rng_.bounded(2) ? -1.0 : 1.0;
        vector16[k] = std::int32_t(turn * x + rng_.bounded(2 * noise + 1) - noise);
        vector16[k + 1] = std::int32_t(turn * y + rng_.bounded(2 * noise + 1) - noise);
    }
}

void Simulation::rewind(std::int32_t value) {
    // One step is 0.254 s of input, about eight characters at 31 a second.
    const qint64 back = qint64(std::max(0, value)) * 254 * 31 / 1000;
    stationBytes_ = std::max<qint64>(0, stationBytes_ - back);
}

void Simulation::receiveTick() {
    static const std::array<QByteArray, 3> texts{PskCore::stationText(0), PskCore::stationText(1),
                                                 PskCore::stationText(2)};
    const qint64 at = stationBytes_++;
    for (int ch = 0; ch < Channels; ++ch) {
        const int s = heardStation(ch);
        if (s < 0) continue;
        const QByteArray& text = texts[s];
        core_.post(PskMsgRxChar, std::int32_t(std::uint8_t(text[int(at % text.size())])), ch);
    }
}

void Simulation::charTick() {
    if (transmitting_) transmitTick();
    receiveTick();
}

void Simulation::displayTick() {
    core_.post(PskMsgDisplay, 0, 0);
    writeRecording();
    if (++displayTicks_ % DisplayTicksPerReading) return;
    for (int ch = 0; ch < Channels; ++ch) {
        if (heardStation(ch) < 0) continue;
        core_.post(PskMsgImd, 25 + std::int32_t(rng_.bounded(4)), ch);
        core_.post(PskMsgClockError, SoundCardClockErrorPpm - clockAdjustPpm, ch);
    }
}

// ---- Transmitting ----

void Simulation::startTx(std::int32_t mode) {
    txMode_ = mode;
    txStopAsked_ = false;
    if ((mode & ~SatelliteFlag) == TxCwIdOnly) cwIdAsked_ = true;
    if (transmitting_ || !running_) return;
    transmitting_ = true;
    core_.post(PskMsgStatus, StatusTxStarted, 0);
}

void Simulation::queueText(const QByteArray& bytes) {
    for (char b : bytes) {
        if (b == '\b' && !txQueue_.isEmpty() && txQueue_.back() != '\b')
            txQueue_.chop(1);
        else
            txQueue_ += b;
    }
}

void Simulation::transmitTick() {
    if (!txQueue_.isEmpty()) {
        const auto byte = std::int32_t(std::uint8_t(txQueue_.front()));
        txQueue_.remove(0, 1);
        core_.post(PskMsgRxChar, byte, EchoChannel);
        return;
    }
    if (cwIdAsked_) {
        // Morse at speed step 1..4 takes a few character times per letter.
        cwTicksLeft_ = int(cwId.size()) * 8 / qBound(1, int(cwSpeed), 4) + 1;
        cwIdAsked_ = false;
    }
    if (cwTicksLeft_ > 0 && --cwTicksLeft_ > 0) return;
    if (txStopAsked_) endTx();
}

void Simulation::endTx() {
    transmitting_ = false;
    txStopAsked_ = cwIdAsked_ = false;
    cwTicksLeft_ = 0;
    core_.post(PskMsgStatus, StatusTxEnded, 0);
}

void Simulation::loseOutput() {
    txQueue_.clear();
    transmitting_ = txStopAsked_ = cwIdAsked_ = false;
    cwTicksLeft_ = 0;
}

void Simulation::abortTx() {
    txQueue_.clear();
    if (transmitting_) endTx();
}

// ---- Recording ----

void Simulation::writeRecording(qint64 upTo) {
    if (!recording_.isOpen()) return;
    if (upTo < 0) upTo = clock_.elapsed() * wavfile::SampleRate / std::max(1, core_.hooks().waveSecondMs);
    const qint64 due = std::min(upTo, qint64(outputSeconds) * wavfile::SampleRate);
    QVector<std::int16_t> block(int(std::max<qint64>(0, due - recordedSamples_)));
    synthesize(recordedSamples_, block.data(), int(block.size()));
    recording_.write(block.constData(), int(block.size()));
    recordedSamples_ = std::max(recordedSamples_, due);
}

void Simulation::finishRecording() {
    recordEnd_.stop();
    if (!recording_.isOpen()) return;
    writeRecording();
    recording_.close();
}

} // namespace pskcore
