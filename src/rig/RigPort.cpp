#include "rig/RigPort.h"

#include "core/Globals.h"
#include "platform/SerialComm.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigNeighbours.h"
#include "rig/RigPolling.h"
#include "rig/RigReplies.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace rig {
namespace {

// A reply decoded inside a wait may take this much longer than its bytes need on the wire.
constexpr int kReplyMarginMs = 100;

int exchangeDepth = 0;
int replyCount = 0;

int intervalMs() {
    bool ok = false;
    const int ms = g.RigInterval.trimmed().toInt(&ok);
    return ok && ms > 0 ? ms : 0;
}

// Runs pending events until more than minMs have passed on a monotonic clock,
// or sooner than maxMs once done() holds.
void waitWithEvents(int minMs, int maxMs, const std::function<bool()>& done) {
    ++exchangeDepth;
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::processEvents();
    for (;;) {
        const qint64 elapsed = clock.elapsed();
        if (elapsed > maxMs) break;
        if (done ? elapsed >= minMs && done() : elapsed > minMs) break;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    --exchangeDepth;
}

// Said once on the message line, naming the port as the settings name it; the
// frequency label alone would only stay blank.
void openFailed() {
    RigLoadModeCodes();
    RigStopPolling();
    g.RigPortOpen = 0;
    nb().statusMessage() = QStringLiteral("RIG Control Port-%1 が開けません（%2 %3）")
                               .arg(g.RigPortName)
                               .arg(port().lastErrorCode())
                               .arg(port().lastErrorText());
    nb().showStatusMessage();
}

bool configureAndOpen(const FamilyTraits* t) {
    SerialComm& p = port();
    p.close();
    p.setCommPort(g.RigPortName);
    if (!p.setSettings(g.RigBaudRate + QStringLiteral(",N,8,") + g.RigStopBits)) return false;
    p.setRThreshold(g.RigReplyLength);
    p.setRtsEnable(true);
    p.setDtrEnable(true);
    p.setInputMode(t && t->textInput ? SerialComm::Text : SerialComm::Binary);
    return p.open();
}

QString modeCodeForOperatingMode() {
    switch (nb().opMode()) {
    case core::ModeBpsk:
        return g.RigPskModeCode;
    case core::ModeQpskUsb:
        return g.RigUsbModeCode;
    case core::ModeQpskLsb:
        return g.RigLsbModeCode;
    case core::ModeRtty:
        return g.RigRttyModeCode;
    case core::ModeCw:
        return g.RigCwModeCode;
    case core::ModeSstv:
        // Above 14 MHz SSTV is on the upper sideband; 14.000 itself counts as below.
        return g.RigFreqText.toDouble() > 14.0 ? g.RigUsbModeCode : g.RigLsbModeCode;
    default:
        return {};
    }
}

} // namespace

void RigOpenPort() {
    // Callers test the name first; "NONE" means there is no rig to open.
    if (g.RigPortName == QLatin1String("NONE")) return;
    RigLoadModeCodes();
    if (g.RigPortOpen == 1) RigClosePort();
    const std::optional<Family> f = familyOf(g.RigType);
    if (!configureAndOpen(f ? &traits(*f) : nullptr)) return openFailed();
    g.RigPortOpen = 1;
    if (f == Family::Ft847) {
        g.RigOutBuffer = ft847CatOn();
        RigSendWait();
    }
    if (g.RigPollMode == 2)
        RigStartPolling();
    else if (g.RigPollMode == 1)
        RigReadStatus();
    else
        return;
    if (nb().opMode() != core::ModeMmvari) RigSetMode(modeCodeForOperatingMode());
}

void RigClosePort() {
    nb().statusMessage().clear();
    RigStopPolling();
    // Never leave the transmitter keyed behind a closed port.
    if (g.RigPortOpen == 1 && nb().pttByCat()) RigPttOff();
    if (g.RigType == QLatin1String("FT847")) {
        g.RigOutBuffer = ft847CatOff();
        RigSendWait();
    }
    port().close();
    g.RigPortOpen = 0;
}

void RigDelay() {
    waitWithEvents(intervalMs(), intervalMs(), nullptr);
}

bool RigSend() {
    port().clearBuffers();
    return port().write(g.RigOutBuffer);
}

bool RigSendWait() {
    RigDelay();
    const bool written = RigSend();
    RigDelay();
    return written;
}

bool sendSequence(const CatSequence& commands) {
    for (const CatSend& c : commands) {
        g.RigOutBuffer = c.bytes;
        if (!(c.pace == Pace::Paced ? RigSendWait() : RigSend())) return false;
    }
    return true;
}

void awaitReply(int bytesOnWire, const std::function<bool()>& done) {
    const SerialComm& p = port();
    const int wireMs = p.baudRate() > 0 ? bytesOnWire * p.bitsPerCharacter() * 1000 / p.baudRate() : 0;
    const int interval = intervalMs();
    waitWithEvents(0, std::max(interval, wireMs + kReplyMarginMs), done);
}

bool exchangeInProgress() {
    return exchangeDepth > 0;
}

int repliesHandled() {
    return replyCount;
}

void OnRigComm(int eventCode) {
    if (eventCode != SerialComm::kEvReceive) return;
    const std::optional<Family> f = familyOf(g.RigType);
    if (!f || *f == Family::Ft900) return; // the FT900's replies are not read
    ++replyCount;
    switch (*f) {
    case Family::Ft1000mp:
        return Ft1000mpParseStatus();
    case Family::Ft920:
        return Ft920ParseStatus();
    case Family::Ft847:
        return Ft847ParseStatus();
    case Family::Ft817:
        return Ft817ParseStatus();
    case Family::Ft767:
        return Ft767ParseStatus();
    case Family::Jst245:
        return Jst245ParseStatus();
    case Family::Kenwood:
        return KenwoodParseStatus();
    case Family::Icom:
        if (g.IcomReplyState == 1) {
            IcomParseMode();
            IcomAskFreq();
            g.IcomReplyState = 0;
        } else if (g.IcomReplyState == 2) {
            IcomParseFreq();
            g.IcomReplyState = 0;
        }
        return;
    case Family::Ft900:
        return;
    }
}

} // namespace rig
