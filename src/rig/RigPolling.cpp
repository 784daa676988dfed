#include "rig/RigPolling.h"

#include "core/Globals.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigNeighbours.h"
#include "rig/RigPort.h"

#include <QTimer>

namespace rig {
namespace {

constexpr int kRttyDefaultOffsetHz = 2125;
constexpr int kDefaultPollMs = 1000;

// Sets RigAudioOffsetHz for the operating mode and returns the shift of the
// received tone from it, in Hz.
int takeAudioOffset() {
    if (nb().opMode() == core::ModeRtty || nb().opMode() == core::ModeCw) {
        g.RigAudioOffsetHz = nb().mmttyNetOn() ? nb().markFreq() : kRttyDefaultOffsetHz;
        return nb().markFreq() - g.RigAudioOffsetHz;
    }
    g.RigAudioOffsetHz = nb().txFreqHz();
    return nb().rxFreqHz() - g.RigAudioOffsetHz;
}

void failed() {
    g.RigQsyRequest = 0;
    nb().statusMessage() =
        QStringLiteral("RIG Control Port-") + g.RigPortName + QStringLiteral(" 異常ですrc");
}

// The new dial for a QSY, or none when the rig's mode has no sideband to retune by.
std::optional<qint64> qsyDial(Family f, int shift) {
    qint64 dial = g.RigDialHz;
    if (g.TransverterOn == QLatin1String("1")) dial -= g.TransverterIfHz;
    const bool lower = g.RigModeText == QLatin1String("LSB") ||
                       (traits(f).rttyIsLowerSide && g.RigModeText == QLatin1String("RTTY"));
    if (lower) return dial - shift;
    if (g.RigModeText == QLatin1String("USB")) return dial + shift;
    return std::nullopt;
}

// Retunes the rig so that the received signal lands on the transmit tone.
// False when it could not (the request is dropped either way).
bool runQsy(Family f, int shift) {
    // From the reading that the request just sent brings, not the one before it.
    awaitQuietLine();
    const std::optional<qint64> dial = qsyDial(f, shift);
    if (!dial) {
        g.RigQsyRequest = 0;
        return false;
    }
    g.RigQsyDigits = QString::number(*dial).rightJustified(traits(f).qsyDigits, QLatin1Char('0'));
    if (nb().pskMode()) {
        const bool three = nb().channelDisplay() == 3;
        if (!nb().moveReceiveTones(g.RigAudioOffsetHz,
                                   three ? std::optional(nb().ch2RxFreq() - shift) : std::nullopt,
                                   three ? std::optional(nb().ch3RxFreq() - shift) : std::nullopt)) {
            failed();
            return false;
        }
    }
    RigSetFrequency(g.RigQsyDigits);
    RigAskStatus();
    g.RigQsyRequest = 0;
    return true;
}

QString spotFrequencyText() {
    const auto khz = [](qint64 hz) { return QString::number(hz / 1000.0, 'f', 1).rightJustified(4, '0'); };
    if (nb().opMode() == core::ModeRtty && !nb().mmttyCwOn()) {
        const QString& m = g.RigModeText;
        if (m == g.RigDataModeText || m == QLatin1String("PKT") || m == QLatin1String("LSB"))
            return khz(g.RigDialHz - nb().markFreq());
        if (m == QLatin1String("USB")) return khz(g.RigDialHz + nb().markFreq());
        return {};
    }
    if (nb().pskMode() && nb().clusterModeCompSendPsk() == QLatin1String("YES")) return khz(g.RigSignalHz);
    return khz(g.RigDialHz);
}

void fillSpotBoxes() {
    const QString freq = spotFrequencyText();
    std::optional<QString> remarks;
    if (nb().opMode() != core::ModeMmvari) {
        remarks = nb().lastModeText();
        if (nb().clusterModeCompSend() == QLatin1String("NO") &&
            nb().lastModeText() == QLatin1String("PSK31"))
            remarks = nb().lastModeText() + QLatin1Char(' ') + QString::number(nb().rxFreqHz()) +
                      QStringLiteral("HZ");
    }
    nb().fillSpotBoxes(freq.isEmpty() ? std::nullopt : std::optional(freq), remarks, nb().hisCall());
}

} // namespace

void RigStartPolling() {
    if (g.RigPollMode == 2) {
        pollTimer().setInterval(g.RigPollInterval > 0 ? g.RigPollInterval : kDefaultPollMs);
        pollTimer().start();
    } else if (g.RigPollMode == 1) {
        RigReadStatus();
    }
}

void RigStopPolling() {
    pollTimer().stop();
    pollTimer().setInterval(0);
}

void RigPollTick() {
    // A QSY runs through its own reading; a tick inside a paced exchange
    // would interleave its commands with the running ones. A tick that finds
    // the line busy (an answer due, commands queued) reads at the next: it
    // never waits for the rig.
    if (g.RigQsyRequest == 1 || exchangeInProgress()) return;
    if (lineFree()) RigReadStatus();
    if (nb().spotBoxesWanted()) fillSpotBoxes();
    if (!nb().statusMessage().isEmpty()) nb().showStatusMessage();
}

void RigReadStatus() {
    const int shift = takeAudioOffset();
    const std::optional<Family> f = familyOf(g.RigType);
    // A rig whose line hung up is looked for at every reading, at the poll's period.
    if (!f || !RigLineBack()) {
        g.RigQsyRequest = 0;
        return;
    }
    // A release the rig has not answered goes before the reading, whose
    // answer then shows it heard; one still awaiting its answer is judged first.
    if (g.ReleaseUnheard == 1) awaitQuietLine();
    hearRelease(true);
    RigReleaseOwedFirst();
    // A release gone out again carries its reading, or its answer shows it
    // heard: the reading waits for the next tick rather than queue behind it.
    if (g.ReleaseUnheard != 1) RigAskStatus();
    if (g.RigQsyRequest == 1 && !nb().sstvMode() && !runQsy(*f, shift)) return;
    if (*f == Family::Ft767 && !sendSequence(ft767FollowUp())) failed();
}

} // namespace rig
