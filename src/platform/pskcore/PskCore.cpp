#include "platform/pskcore/PskCore.h"

#include "platform/engines/Engines.h"

#include "platform/os/Cp932.h"
#include "platform/os/WavFile.h"
#include "platform/pskcore/PskCoreSim.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace pskcore {
namespace {

bool validChannel(std::int32_t ch) {
    return ch >= 0 && ch < Channels;
}

QVariant arg(const QByteArray& ansi) {
    return cp932::decode(ansi);
}

} // namespace

QByteArray PskCore::stationText(int station) {
    switch (station) {
    case 1:
        return cp932::encode(QStringLiteral("QQ9ABC de QQ1XYZ/P QQ1XYZ/P\r\n"
                                            "こんばんは、移動運用中の QQ1XYZ です。山の上からです。"
                                            "RST 599 です。よろしくお願いします。 QQ9ABC de QQ1XYZ/P k\r\n"));
    case 2:
        return cp932::encode(QStringLiteral("QQ5DEF de QQ7GHI TNX FER CALL UR RST 579 579\r\n"
                                            "NAME IS TOM TOM QTH IS SPRINGFIELD SPRINGFIELD\r\n"
                                            "HW? QQ5DEF de QQ7GHI kn\r\n"));
    default:
        return cp932::encode(QStringLiteral("CQ CQ CQ de QQ9ABC QQ9ABC QQ9ABC pse k\r\n"
                                            "こんにちは、こちらは QQ9ABC です。ＱＳＯお願いします。\r\n"));
    }
}

PskCore::PskCore() : sim_(std::make_unique<Simulation>(*this)) {}

PskCore::~PskCore() = default;

PskCore& lib() {
    return engines::current().psk;
}

bool PskCore::subclass(std::int32_t hwnd, QObject* window, Handler handler) {
    return notices_.connect(hwnd, window, std::move(handler));
}

void PskCore::unsubclass() {
    notices_.disconnect();
}

bool PskCore::isSubclassed() const {
    return notices_.isConnected();
}

void PskCore::post(std::int32_t msg, std::int32_t wParam, std::int32_t lParam) {
    notices_.post(this, targetHwnd_, msg, wParam, lParam);
}

void PskCore::record(const char* name, QVariantList args) {
    calls_.add(name, std::move(args));
}

bool PskCore::isRunning() const {
    return sim_->running();
}

bool PskCore::isTransmitting() const {
    return sim_->transmitting();
}

void PskCore::outputFailed() {
    if (!sim_->transmitting()) return;
    sim_->loseOutput();
    post(PskMsgStatus, 16, 0);
}

void PskCore::stepForTest() {
    sim_->step();
}

// ---- Starting and stopping ----

std::int32_t PskCore::start(std::int32_t hwnd, std::int32_t card, std::int32_t channels, std::int32_t mode) {
    if (hooks_.startResult != StartOk) return hooks_.startResult;
    if (card < -1 || card > 1) return BadDeviceId;
    if (mode == SoundFromWaveFile && sim_->input.isEmpty()) return wavfile::CantOpen;
    const bool recording = mode == RecordReceive || mode == RecordReceiveAndTransmit;
    if (recording && !wavfile::canWrite(sim_->outputPath)) return wavfile::CantOpenOutput;
    if (sim_->running()) fnStopSoundCard();
    targetHwnd_ = hwnd;
    sim_->start(channels, mode);
    return StartOk;
}

std::int32_t PskCore::fnSetComPort(std::int32_t port, std::int32_t controlMode) {
    record("fnSetComPort", {port, controlMode});
    return hooks_.comPortResult;
}

std::int32_t PskCore::fnStartSoundCard(std::int32_t hwnd, std::int32_t card, std::int32_t channels) {
    record("fnStartSoundCard", {hwnd, card, channels});
    return start(hwnd, card, channels, 0);
}

std::int32_t PskCore::fnStartSoundCardEx(std::int32_t hwnd, std::int32_t card, std::int32_t channels,
                                         std::int32_t mode) {
    record("fnStartSoundCardEx", {hwnd, card, channels, mode});
    return start(hwnd, card, channels, mode);
}

void PskCore::fnStopSoundCard() {
    record("fnStopSoundCard", {});
    sim_->stop();
    notices_.dropPending();
}

// ---- Wave files ----

std::int32_t PskCore::fnSetInputWavePath(const QString& path, std::int32_t* result, std::int32_t reserved) {
    record("fnSetInputWavePath", {path, reserved});
    wavfile::Info info;
    const wavfile::Result r = wavfile::check(path, &info);
    if (r != wavfile::Playable) return r;
    sim_->input = wavfile::readSamples(path);
    if (result) *result = std::int32_t(sim_->input.size());
    return r;
}

std::int32_t PskCore::fnSetOutputWavePath(const QString& path, std::int32_t seconds, std::int32_t append) {
    record("fnSetOutputWavePath", {path, seconds, append});
    if (!wavfile::canWrite(path)) return wavfile::CantOpenOutput;
    // Appending continues a file of the recording's own format only: any other
    // wave file, or a damaged one, is refused and kept as it is.
    if (append != 0 && QFileInfo(path).size() > 0) {
        const wavfile::Result existing = wavfile::check(path);
        if (existing != wavfile::Playable) return existing;
    }
    sim_->outputPath = path;
    sim_->outputSeconds = std::max(1, seconds);
    sim_->outputAppend = append != 0;
    return 0;
}

// ---- Receiving ----

void PskCore::fnSetRXFrequency(std::int32_t hz, std::int32_t captureHz, std::int32_t channel) {
    record("fnSetRXFrequency", {hz, captureHz, channel});
    if (!validChannel(channel)) return;
    sim_->channel(channel).hz = qBound(LowestHz, hz, HighestHz);
    sim_->channel(channel).captureHz = std::max(0, captureHz);
}

std::int32_t PskCore::fnGetRXFrequency(std::int32_t channel) {
    record("fnGetRXFrequency", {channel});
    return validChannel(channel) ? sim_->trackedHz(channel) : LowestHz;
}

void PskCore::fnSetRXPSKMode(std::int32_t mode, std::int32_t channel) {
    record("fnSetRXPSKMode", {mode, channel});
    if (validChannel(channel)) sim_->channel(channel).mode = mode;
}

void PskCore::fnSetSquelchThreshold(std::int32_t threshold, std::int32_t response, std::int32_t channel) {
    record("fnSetSquelchThreshold", {threshold, response, channel});
    if (validChannel(channel)) sim_->channel(channel).squelch = threshold;
}

void PskCore::fnSetFFTMode(std::int32_t averaging, std::int32_t maximum, std::int32_t type) {
    record("fnSetFFTMode", {averaging, maximum, type});
}

void PskCore::fnSetAFCLimit(std::int32_t hz, std::int32_t channel) {
    record("fnSetAFCLimit", {hz, channel});
    if (validChannel(channel)) sim_->channel(channel).afcLimitHz = std::max(0, hz);
}

void PskCore::fnSetClockErrorAdjustment(std::int32_t ppm) {
    record("fnSetClockErrorAdjustment", {ppm});
    sim_->clockAdjustPpm = ppm;
}

std::int32_t PskCore::fnGetFFTData(std::int32_t* bins, std::int32_t first, std::int32_t last) {
    record("fnGetFFTData", {first, last});
    if (bins) sim_->fillSpectrum(bins, std::max(0, first), std::min(FftBinCount - 1, last));
    return hooks_.overload ? 1 : 0;
}

std::int32_t PskCore::fnGetRawData(std::int32_t* samples, std::int32_t first, std::int32_t last) {
    record("fnGetRawData", {first, last});
    if (samples) sim_->fillRaw(samples, std::max(0, first), std::min(RawSamples - 1, last));
    return hooks_.overload ? 1 : 0;
}

void PskCore::fnGetSyncData(std::int32_t* sync16, std::int32_t channel) {
    record("fnGetSyncData", {channel});
    if (sync16 && validChannel(channel)) sim_->fillSync(sync16, channel);
}

void PskCore::fnGetVectorData(std::int32_t* vector16, std::int32_t channel) {
    record("fnGetVectorData", {channel});
    if (vector16 && validChannel(channel)) sim_->fillVector(vector16, channel);
}

std::int32_t PskCore::fnGetSignalLevel(std::int32_t channel) {
    record("fnGetSignalLevel", {channel});
    if (!validChannel(channel) || !sim_->running()) return 0;
    return sim_->signalLevel(sim_->channel(channel).hz);
}

void PskCore::fnRewindInput(std::int32_t value) {
    record("fnRewindInput", {value});
    sim_->rewind(value);
}

std::int32_t PskCore::fnGetDLLVersion() {
    record("fnGetDLLVersion", {});
    return hooks_.version;
}

// ---- Transmitting ----

void PskCore::fnSetTXFrequency(std::int32_t hz) {
    record("fnSetTXFrequency", {hz});
    sim_->txHz = qBound(LowestHz, hz, HighestHz);
}

void PskCore::fnStartTX(std::int32_t mode) {
    record("fnStartTX", {mode});
    sim_->startTx(mode);
}

void PskCore::fnStopTX() {
    record("fnStopTX", {});
    if (sim_->transmitting()) sim_->stopTx();
}

void PskCore::fnAbortTX() {
    record("fnAbortTX", {});
    sim_->abortTx();
}

void PskCore::fnSendTXString(const QByteArray& ansiText) {
    record("fnSendTXString", {arg(ansiText)});
    sim_->queueText(ansiText);
}

void PskCore::fnSendTXCharacter(std::int32_t code, std::int32_t controlFlag) {
    record("fnSendTXCharacter", {code, controlFlag});
    if (controlFlag != 0) {
        if (code == 2) sim_->askCwId();
        return;
    }
    sim_->queueText(QByteArray(1, char(code)));
}

void PskCore::fnSetCWIDString(const QByteArray& ansiText) {
    record("fnSetCWIDString", {arg(ansiText)});
    sim_->cwId = ansiText;
}

void PskCore::fnSetCWIDSpeed(std::int32_t step) {
    record("fnSetCWIDSpeed", {step});
    sim_->cwSpeed = step;
}

void PskCore::fnClearTXBuffer() {
    record("fnClearTXBuffer", {});
    sim_->clearQueue();
}

std::int32_t PskCore::fnGetTXCharsRemaining() {
    record("fnGetTXCharsRemaining", {});
    return sim_->queued();
}

} // namespace pskcore
