#include "rig/RigReplies.h"

#include "platform/os/SerialComm.h"
#include "rig/CatDecoders.h"
#include "rig/RigFinish.h"
#include "rig/RigGlobals.h"
#include "rig/RigNeighbours.h"
#include "rig/RigPort.h"

namespace rig {
namespace {

int readings = 0;

unsigned char icomAddress() {
    return hexCodeByte(g.IcomAddress);
}

QByteArray readBytes() {
    g.RigReplyBytes = takeInput().toByteArray();
    return g.RigReplyBytes;
}

QString readText() {
    g.RigReplyText = takeInput().toString();
    return g.RigReplyText;
}

// The common finish: signal and shown frequency, their texts, the labels and
// the log entry window's fields. Returns whether a frequency was shown.
bool finish(Family f) {
    if (g.TransverterOn == QLatin1String("1")) g.RigDialHz += g.TransverterIfHz;
    FinishInput in;
    in.family = f;
    in.dialHz = g.RigDialHz;
    in.clarifierSteps = f == Family::Kenwood ? g.RigClarifierSteps : 0;
    in.modeText = g.RigModeText;
    in.audioOffsetHz = g.RigAudioOffsetHz;
    in.sstv = nb().sstvMode();
    in.modeCheckOn = g.RigModeCheckOn == 1;
    in.dataModeText = g.RigDataModeText;
    const Finished r = finishReading(in);
    g.RigSignalHz = r.signalHz;
    g.RigShownHz = r.shownHz;
    if (r.show) {
        g.RigFreqText = r.freqText;
        if (nb().hamlogLink() == 1) nb().showLogFrequency(g.RigFreqText);
        nb().showFrequencyLabel(r.labelText);
    }
    if (traits(f).finishSetsMode && !nb().sstvMode()) nb().showModeLabel(g.RigModeText);
    return r.show;
}

// Takes what the reply said; a reply that could not be read leaves everything as it was.
bool takeReading(Family f, const std::optional<CatReading>& r) {
    if (!r || !r->dialHz) return false;
    ++readings;
    if (r->clarifierSteps) g.RigClarifierSteps = *r->clarifierSteps;
    if (r->modeText) g.RigModeText = *r->modeText;
    g.RigDialHz = *r->dialHz;
    return finish(f);
}

} // namespace

void Ft1000mpParseStatus() {
    const QByteArray reply = readBytes();
    if (!nb().statusMessage().isEmpty()) return;
    takeReading(Family::Ft1000mp, decodeFt1000mp(reply, g.RigDataModeText));
}

void Ft920ParseStatus() {
    takeReading(Family::Ft920, decodeFt920(readBytes()));
}

void Ft847ParseStatus() {
    takeReading(Family::Ft847, decodeFt847(readBytes()));
}

void Ft817ParseStatus() {
    takeReading(Family::Ft817, decodeFt817(readBytes()));
}

void Ft767ParseStatus() {
    const std::optional<CatReading> r = decodeFt767(readBytes());
    if (!r) {
        sendSequence(ft767FollowUp());
        return;
    }
    if (takeReading(Family::Ft767, r)) return;
    // Shown on the message line rather than in a box at every poll.
    const SerialComm& p = port();
    nb().statusMessage() = p.lastErrorCode() != 0
                               ? QStringLiteral("%1 %2").arg(p.lastErrorCode()).arg(p.lastErrorText())
                               : QStringLiteral("FT767 の周波数が読めません");
}

void Jst245ParseStatus() {
    const QString reply = readText();
    g.RigOutBuffer = textCommand(QStringLiteral("I0"));
    RigSend();
    g.RigOutBuffer = textCommand(QStringLiteral("H0"));
    RigSend();
    takeReading(Family::Jst245, decodeJst245(reply));
}

void KenwoodParseStatus() {
    takeReading(Family::Kenwood, decodeKenwood(readText()));
}

void IcomParseMode() {
    const QByteArray reply = readBytes();
    if (!nb().statusMessage().isEmpty()) return;
    const std::optional<CatReading> r = decodeIcomMode(reply, icomAddress());
    if (!r || !r->modeText) return;
    ++readings;
    g.RigModeText = *r->modeText;
    if (!nb().sstvMode()) nb().showModeLabel(g.RigModeText);
}

void IcomParseFreq() {
    const QByteArray reply = readBytes();
    if (!nb().statusMessage().isEmpty()) return;
    takeReading(Family::Icom, decodeIcomFreq(reply, icomAddress()));
}

int readingsTaken() {
    return readings;
}

} // namespace rig
