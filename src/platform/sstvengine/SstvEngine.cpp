#include "platform/sstvengine/SstvEngine.h"

#include "platform/engines/Engines.h"
#include "platform/forms/colour/Colour.h"
#include "platform/os/Cp932.h"
#include "platform/sstvengine/SstvModes.h"
#include "platform/sstvengine/SstvOptionDialog.h"
#include "platform/sstvengine/SstvSimulation.h"

#include <QStringList>

#include <stdexcept>

namespace sstveng {
namespace {

constexpr char Version[] = "1.13A";

// Address slots of the texts the engine hands out.
enum TextSlot : std::int32_t { VersionText = 1, ModeNameText, FskIdText, OwnFskIdText, CwIdText };
constexpr std::int32_t TextBase = 0x10000000;

// Band-pass "01", slant mode "01", automatic sync, stop and restart.
constexpr std::int32_t DefaultRxWord = (1 << 28) | (1 << 20) | RxSync | RxStop | RxRestart;
// Persistence 1, response 2, FFT, sensitivity 5.
constexpr std::int32_t DefaultTuneWord = (1 << 12) | (2 << 8) | (1 << 4) | 5;

} // namespace

SstvEngine::SstvEngine()
    : rxWord_(DefaultRxWord), tuneWord_(DefaultTuneWord), sim_(std::make_unique<Simulation>(*this)) {}

SstvEngine::~SstvEngine() = default;

SstvEngine& lib() {
    return engines::current().sstv;
}

bool SstvEngine::subclass(std::int32_t hwnd, QObject* window, Handler handler) {
    return notices_.connect(hwnd, window, std::move(handler));
}

void SstvEngine::unsubclass() {
    notices_.disconnect();
}

bool SstvEngine::isSubclassed() const {
    return notices_.isConnected();
}

void SstvEngine::post(std::int32_t wParam, std::int32_t lParam) {
    notices_.post(this, targetHwnd_, SstvMsgEngine, wParam, lParam);
}

void SstvEngine::record(const char* name, QVariantList args) {
    calls_.add(name, std::move(args));
}

bool SstvEngine::isRunning() const {
    return sim_->running();
}

bool SstvEngine::isTransmitting() const {
    return sim_->transmitting();
}

bool SstvEngine::isReceiving() const {
    return sim_->receiving();
}

void SstvEngine::startStationPicture(int mode) {
    sim_->startPicture(mode);
}

std::int32_t SstvEngine::textAddress(int slot, const QByteArray& text) {
    const std::int32_t address = TextBase + slot;
    texts_[address] = text;
    return address;
}

// ---- Life ----

void SstvEngine::mmsCreate(std::int32_t hwnd, std::int32_t msg) {
    record("mmsCreate", {hwnd, msg});
    targetHwnd_ = msg == SstvMsgEngine ? hwnd : 0;
}

void SstvEngine::mmsStart() {
    record("mmsStart", {});
    if (targetHwnd_ != 0) sim_->start();
}

void SstvEngine::mmsStop() {
    record("mmsStop", {});
    if (hooks_.failNextStop) {
        hooks_.failNextStop = false;
        throw std::runtime_error("SSTV engine: stop failed");
    }
    sim_->stop();
    notices_.dropPending();
}

void SstvEngine::mmsDelete() {
    record("mmsDelete", {});
    sim_->stop();
    targetHwnd_ = 0;
    notices_.dropPending();
}

std::int32_t SstvEngine::mmsGetVersion() {
    record("mmsGetVersion", {});
    return textAddress(VersionText, QByteArray(Version));
}

std::int32_t SstvEngine::mmsDisableOption(std::int32_t mask) {
    record("mmsDisableOption", {mask});
    if (mask != -1) disabledOptions_ = mask;
    return disabledOptions_;
}

std::int32_t SstvEngine::mmsOption() {
    record("mmsOption", {});
    if (hooks_.optionResult != -1) return hooks_.optionResult;
    OptionValues v{rxWord_, fskId_, cwId_};
    if (!runOptionDialog(v)) return 0;
    rxWord_ = v.rxWord;
    fskId_ = v.fskId;
    cwId_ = v.cwId;
    return 1;
}

void SstvEngine::mmsDoJob(std::int32_t flag) {
    record("mmsDoJob", {flag});
    sim_->doJob();
}

std::int32_t SstvEngine::mmsStrCopy(QByteArray* buffer, std::int32_t size, std::int32_t address) {
    const QByteArray text = texts_.value(address).left(std::max(0, size - 1));
    if (buffer) *buffer = text;
    return std::int32_t(text.size());
}

// ---- Tuning ----

void SstvEngine::mmsSetSpecRange(std::int32_t baseHz, std::int32_t spanHz) {
    record("mmsSetSpecRange", {baseHz, spanHz});
    if (spanHz <= 0) return;
    sim_->specBaseHz = baseHz;
    sim_->specSpanHz = spanHz;
}

void SstvEngine::mmsSetSpecColor(std::int32_t back, std::int32_t line, std::int32_t marker, std::int32_t sync,
                                 std::int32_t text) {
    record("mmsSetSpecColor", {back, line, marker, sync, text});
    sim_->specBack = colour::fromRef(std::uint32_t(back));
    sim_->specLine = colour::fromRef(std::uint32_t(line));
}

void SstvEngine::mmsSetWaterColor(std::int32_t low, std::int32_t high) {
    record("mmsSetWaterColor", {low, high});
    sim_->waterLow = colour::fromRef(std::uint32_t(low));
    sim_->waterHigh = colour::fromRef(std::uint32_t(high));
}

std::int32_t SstvEngine::mmsSetNotch(std::int32_t hz) {
    record("mmsSetNotch", {hz});
    notchHz_ = std::max(0, hz);
    return 1;
}

std::int32_t SstvEngine::mmsAdjustPhase(std::int32_t offset, std::int32_t width) {
    record("mmsAdjustPhase", {offset, width});
    return width > 0 ? 1 : 0;
}

// ---- Words ----

std::int32_t SstvEngine::mmsSetRxControl(std::int32_t word) {
    record("mmsSetRxControl", {word});
    if (word != -1) rxWord_ = word & 0x3FFFFFFF;
    return rxWord_;
}

std::int32_t SstvEngine::mmsSetTuneControl(std::int32_t word) {
    record("mmsSetTuneControl", {word});
    if (word != -1) tuneWord_ = word & 0x3FFFFFFF;
    return tuneWord_;
}

std::int32_t SstvEngine::mmsSetTxControl(std::int32_t word) {
    record("mmsSetTxControl", {word});
    if (word != -1) txWord_ = word;
    return txWord_;
}

std::int32_t SstvEngine::mmsSetLMS(std::int32_t mode) {
    record("mmsSetLMS", {mode});
    if (mode >= 0 && mode <= 2) lms_ = mode;
    return lms_;
}

// ---- Receiving and sending ----

std::int32_t SstvEngine::mmsGetMode(std::int32_t flag) {
    record("mmsGetMode", {flag});
    return sim_->rxMode();
}

std::int32_t SstvEngine::mmsGetModeName(std::int32_t mode) {
    record("mmsGetModeName", {mode});
    return textAddress(ModeNameText, modeName(mode).toLatin1());
}

std::int32_t SstvEngine::mmsGetImageSize(std::int32_t mode) {
    record("mmsGetImageSize", {mode});
    return imageSizeWord(mode);
}

std::int32_t SstvEngine::mmsGetFSKID() {
    record("mmsGetFSKID", {});
    return textAddress(FskIdText, decodedFskId_);
}

std::int32_t SstvEngine::mmsGetPos(std::int32_t flag) {
    record("mmsGetPos", {flag});
    return sim_->transmitting() ? sim_->txLine() : sim_->rxLine();
}

void SstvEngine::mmsStartScan(std::int32_t mode) {
    record("mmsStartScan", {mode});
    sim_->startPicture(mode);
}

void SstvEngine::mmsStopScan(std::int32_t flag) {
    record("mmsStopScan", {flag});
    if (flag == 0) sim_->dropPicture();
}

void SstvEngine::mmsReSync() {
    record("mmsReSync", {});
}

void SstvEngine::mmsCorrectSlant() {
    record("mmsCorrectSlant", {});
    rxRate_ = hooks_.measuredRate;
}

void SstvEngine::mmsSendPic(std::int32_t mode) {
    record("mmsSendPic", {mode});
    sim_->startTx(Simulation::Tx::Picture, mode);
}

void SstvEngine::mmsSendTone(std::int32_t hz) {
    record("mmsSendTone", {hz});
    sim_->startTx(Simulation::Tx::Tone, hz);
}

void SstvEngine::mmsSendCWID(const QByteArray& ansiText) {
    record("mmsSendCWID", {cp932::decode(ansiText)});
    sim_->startTx(Simulation::Tx::CwId, 0);
}

void SstvEngine::mmsSendStop() {
    record("mmsSendStop", {});
    sim_->stopTx();
}

// ---- IDs, ports, clock ----

std::int32_t SstvEngine::mmsSetFSKID(const QByteArray& ansiText) {
    record("mmsSetFSKID", {cp932::decode(ansiText)});
    if (!ansiText.isEmpty()) fskId_ = ansiText;
    return textAddress(OwnFskIdText, fskId_);
}

std::int32_t SstvEngine::mmsSetCWID(const QByteArray& ansiText) {
    record("mmsSetCWID", {cp932::decode(ansiText)});
    if (!ansiText.isEmpty()) cwId_ = ansiText;
    return textAddress(CwIdText, cwId_);
}

void SstvEngine::mmsSetPTTPort(const QString& name) {
    record("mmsSetPTTPort", {name});
    pttPort_ = name;
}

void SstvEngine::mmsSetRadioPort(const QString& name) {
    record("mmsSetRadioPort", {name});
}

std::int32_t SstvEngine::mmsGetSampleFreq(std::int32_t kind) {
    record("mmsGetSampleFreq", {kind});
    switch (kind) {
    case 1:
        return hooks_.txOffset;
    case 2:
        return rxRate_;
    case 3:
        return hooks_.baseRate;
    default:
        return 0;
    }
}

void SstvEngine::mmsSetSampleFreq(std::int32_t kind, std::int32_t rate) {
    record("mmsSetSampleFreq", {kind, rate});
    if (kind == 0 && rate > 0) rxRate_ = rate;
}

} // namespace sstveng
