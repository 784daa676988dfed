#include "rig/RigCommands.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/ini/IniStore.h"
#include "platform/forms/waits/Waits.h"
#include "rig/CatFrames.h"
#include "rig/RigGlobals.h"
#include "rig/RigLink.h"
#include "rig/RigNeighbours.h"
#include "rig/RigPort.h"

#include "platform/os/SerialComm.h"

#include <QTimer>
#include <array>
#include <optional>
#include <utility>

namespace rig {
namespace {

const QString kSection = QStringLiteral("RIG_CON_CFG");

// Each key command counts itself here before its wait for a quiet line; a
// key-on that finds a later command counted when its turn comes is not sent.
int keyCommands = 0;
// The count of the key-on that keyed the rig.
int keyedBy = 0;
// Operator's stops under way.
int stopping = 0;
// The over keyed last was ended (its end, or a stop): an engine still
// winding down after it is not an over to key again.
bool overEnded = false;
// Operator's stops taken so far.
int stopsTaken = 0;

unsigned char icomAddress() {
    return hexCodeByte(g.IcomAddress);
}

// A configured mode code replaces the family's; an empty or missing key leaves it.
void takeOverride(const char* key, QString& code, QString& ini) {
    const QString v = core::IniValueOr(kSection, QString::fromLatin1(key), QString());
    ini = v;
    if (!v.isEmpty()) code = v;
}

// The leading number of a text, as the spot window's frequencies are written ("7.05", "14.070.15").
double leadingNumber(const QString& text) {
    const QString t = text.trimmed();
    int end = 0;
    bool point = false;
    while (end < t.size() && (t[end].isDigit() || (t[end] == QLatin1Char('.') && !point))) {
        point = point || t[end] == QLatin1Char('.');
        ++end;
    }
    return t.left(end).toDouble();
}

struct BandRow {
    double from, to;
    bool cw;
};

// Segments of the band plan where a spot is taken as CW, and the lower-sideband ones.
constexpr std::array<BandRow, 13> kBandPlan{{{3.526, 3.805, false},
                                             {7.0, 7.029999, true},
                                             {7.03, 7.1, false},
                                             {10.1, 10.14, true},
                                             {14.0, 14.1, true},
                                             {18.068, 18.1, true},
                                             {21.0, 21.15, true},
                                             {24.89, 24.93, true},
                                             {28.0, 28.2, true},
                                             {50.0, 50.1, true},
                                             {144.0, 144.1, true},
                                             {430.0, 430.1, true},
                                             {1294.0, 1294.5, true}}};

} // namespace

void RigLoadModeCodes() {
    if (const std::optional<Family> f = familyOf(g.RigType)) {
        const FamilyTraits& t = traits(*f);
        g.RigLsbModeCode = QString::fromLatin1(t.lsbCode);
        g.RigUsbModeCode = QString::fromLatin1(t.usbCode);
        g.RigCwModeCode = QString::fromLatin1(t.cwCode);
        g.RigRttyModeCode = QString::fromLatin1(t.rttyCode);
        g.RigPskModeCode = QString::fromLatin1(t.pskCode);
        g.RigReplyLength = t.replyLength;
    }
    takeOverride("CWMode", g.RigCwModeCode, g.RigCwModeIni);
    takeOverride("RTTYMode", g.RigRttyModeCode, g.RigRttyModeIni);
    takeOverride("PSK31Mode", g.RigPskModeCode, g.RigPskModeIni);
}

bool RigAskStatus() {
    const std::optional<Family> f = familyOf(g.RigType);
    if (!f) return false;
    if (*f == Family::Icom) {
        IcomAskMode();
        return true;
    }
    return sendSequence(statusRequest(*f, icomAddress()));
}

// The reply state and the receive threshold belong to the answer in progress
// until it is in: a new request (or a setting, which clears the state) waits
// for it first. They change as the request goes out, with no wait between: a
// lower threshold set before it would hand an earlier command's answer (a PTT
// acknowledgement still in the buffer) to this request's decoder.
void IcomAskMode() {
    awaitQuietLine();
    g.IcomReplyState = 1;
    port().setRThreshold(14);
    g.RigOutBuffer = statusRequest(Family::Icom, icomAddress()).front().bytes;
    writeOnQuietLine(g.RigOutBuffer);
}

void IcomAskFreq() {
    awaitQuietLine();
    g.IcomReplyState = 2;
    port().setRThreshold(17);
    g.RigOutBuffer = icomFrequencyRequest(icomAddress());
    if (!writeOnQuietLine(g.RigOutBuffer)) return;
    // The reply (our echoed request and the answer) is decoded inside this wait.
    awaitQuietLine();
}

// Said once an opening of the port, where the operator looks as the TX
// button turns red: the rig itself will not go to transmit.
void sayNotKeyedByCat() {
    if (g.RigPortOpen != 1 || !familyOf(g.RigType) || g.PttNotByCatSaid == 1) return;
    g.PttNotByCatSaid = 1;
    nb().statusMessage() =
        QStringLiteral("%1 はCATで送信に切り替えられません（PTTポートを設定してください）").arg(g.RigType);
    nb().showStatusMessage();
}

namespace {

// The key watch runs from now on: started when it does not run yet, never
// put back to a full period (a poll more often than its period would keep it
// from ever ticking).
void runKeyWatch() {
    if (!keyWatch().isActive()) keyWatch().start();
}

// The rig is keyed as far as this program knows: by its count, or because
// the last PTT command that went out on the line was a key-on.
bool keyedOnTheLine() {
    return g.PttKeyedByCat == 1 || g.PttOnLastSent == 1;
}

// The one place a PTT command goes on the line. The caller has just waited
// for a quiet line and made its checks with no events run since; what the
// program believes of the key is set from what went out.
bool keyOnTheLine(const QByteArray& command, bool on) {
    if (!writeOnQuietLine(command)) return false;
    if (on) {
        keyEvent({KeyEventKind::KeyOnWritten, RigLineNamed()});
        return true;
    }
    // A release counts once the rig is heard after it; the key watch waits for that.
    KeyEvent written{KeyEventKind::KeyOffWritten, RigLineNamed()};
    written.answers = lineAnswers();
    keyEvent(written);
    if (!written.answers) return true;
    watchRelease();
    runKeyWatch();
    return true;
}

// The over ends as Esc ends it, and why is said: its rig cannot be keyed.
void endOverAndSay() {
    if (keyedOnTheLine()) runKeyWatch();
    nb().endTransmission();
    RigSayLineLost();
}

// The key-on did not reach the rig (its line lost): nothing transmits on it.
bool keyNotPut() {
    RigPerformKey(keyEvent({KeyEventKind::KeyOnRefused}));
    return false;
}

// The PTT command for the line the key went out on.
QByteArray keyedLineCommand(bool on) {
    const std::optional<Family> f = familyOf(g.KeyedLine.family);
    return f ? pttCommand(*f, on, hexCodeByte(g.KeyedLine.address)) : QByteArray();
}

// A release for a rig that answers readings but not the release itself goes
// out with a reading in the same write: the answer to that reading shows the
// release heard, for the two cross the line together or not at all.
QByteArray releaseToBeHeard(const QByteArray& release) {
    const std::optional<Family> f = familyOf(g.RigType);
    if (release.isEmpty() || !f || *f == Family::Icom || !lineAnswers()) return release;
    const CatSequence reading = statusRequest(*f, icomAddress());
    return reading.size() == 1 && reading.front().pace == Pace::Now ? release + reading.front().bytes
                                                                    : release;
}

// The over's rig came back and may not hold the key: keyed once more, unless
// a stop or a release overtook it while it waited for the line.
void keyAgain() {
    const forms::EventsRunScope wait;
    const int mine = ++keyCommands;
    awaitLineForKey();
    if (stopping > 0 || !wait.mayGoOn() || mine != keyCommands || g.PttKeyedByCat != 1) return;
    const QByteArray command = keyedLineCommand(true);
    if (g.RigPortOpen != 1 || g.RigLineLost == 1 || command.isEmpty()) return;
    keyedBy = mine;
    runKeyWatch();
    if (!keyOnTheLine(command, true)) keyNotPut();
}

} // namespace

OperatorStop::OperatorStop() {
    ++stopping;
}

OperatorStop::~OperatorStop() {
    --stopping;
}

bool OperatorStopRuns() {
    return stopping > 0;
}

bool RigPttOn() {
    if (stopping > 0) return false;
    const auto command = [] {
        const std::optional<Family> f = familyOf(g.RigType);
        return g.RigPortOpen == 1 && f ? pttCommand(*f, true, icomAddress()) : QByteArray();
    };
    if (command().isEmpty()) {
        sayNotKeyedByCat();
        return true;
    }
    const forms::EventsRunScope wait;
    // No key goes out in the place of a line owed its release.
    if (keyEvent({KeyEventKind::KeyOnAsked, RigLineNamed()}) != KeyAction::Nothing) return keyNotPut();
    // A lost line is looked for first; a release owed to it goes out before the key.
    if (!RigLineBack(false)) return keyNotPut();
    const int mine = ++keyCommands;
    awaitLineForKey();
    // Esc taken meanwhile ends the start that asks for the key.
    if (!wait.mayGoOn()) return false;
    // A later command was taken while this one waited: a later key-on has
    // keyed the rig; a release that ended the key leaves it unkeyed, and an
    // over already sending is ended with it, never left sending unkeyed.
    if (mine != keyCommands) {
        if (g.PttKeyedByCat == 1) return true;
        if (overByCat()) endOverAndSay();
        return false;
    }
    const QByteArray now = command();
    if (now.isEmpty()) return true;
    keyedBy = mine;
    overEnded = false;
    g.KeyIdleTicks = 0;
    runKeyWatch();
    return keyOnTheLine(now, true) || keyNotPut();
}

namespace {

// A release either ends the key (the over's end, a stop, the port's close),
// or is one owed to the line and written again (the key watch, a rig heard
// back, a reading's turn): a key-on waiting for the line goes after that one,
// for the over that asked for it still runs.
enum class Release { EndsTheKey, OwedAgain };

// The release waiting for the line: the latest count of the releases that
// go with it, and whether one of them ends even a later key.
struct ReleaseAsked {
    int mine;
    bool evenALaterKey;
};
std::optional<ReleaseAsked> releaseWaiting;

// A release is never given up: only a transmission started while it waited,
// which keyed the rig for itself, keeps the key. One that does not reach the
// rig (its line lost, another line open in its place) stays owed, across the
// port closed and opened again: the key watch sends it until the rig takes
// it, and the loss is said meanwhile.
void release(bool evenALaterKey, Release kind = Release::EndsTheKey) {
    // Counted first, so that a key-on still waiting for the line is given up.
    const int mine = kind == Release::EndsTheKey ? ++keyCommands : keyCommands;
    if (!keyedOnTheLine()) return;
    // A closed port holds a key only when its reopening failed during a transmission.
    if (g.RigPortOpen != 1 || !carriesKeyOf(g.RigOpenedLine, g.KeyedLine) || !RigLineBack(false))
        return RigPerformKey(keyEvent({KeyEventKind::KeyOffRefused}));
    // A release already on the line awaits its answer: it is not written
    // again behind it, the key watch judges it. One asked while another waits
    // for the line goes with that one, in no wait of its own.
    if (g.ReleaseUnheard == 1) return;
    if (releaseWaiting) {
        releaseWaiting->mine = mine;
        releaseWaiting->evenALaterKey = releaseWaiting->evenALaterKey || evenALaterKey;
        return;
    }
    releaseWaiting = ReleaseAsked{mine, evenALaterKey};
    awaitLineForKey();
    const ReleaseAsked asked = *std::exchange(releaseWaiting, std::nullopt);
    if (g.RigPortOpen != 1 || !keyedOnTheLine() || g.ReleaseUnheard == 1) return;
    if (g.PttKeyedByCat == 1 && keyedBy > asked.mine && !asked.evenALaterKey) return;
    const QByteArray command = releaseToBeHeard(keyedLineCommand(false));
    if (command.isEmpty())
        keyEvent({KeyEventKind::KeyOffWritten});
    else if (!keyOnTheLine(command, false))
        return RigPerformKey(keyEvent({KeyEventKind::KeyOffRefused}));
    if (!keyedOnTheLine()) keyWatch().stop();
}

} // namespace

void RigPerformKey(KeyAction action) {
    switch (action) {
    case KeyAction::SendRelease:
        // An owed release asked for inside a wait for the rig (the rig heard
        // back meanwhile) goes at the key watch's next tick, not in a wait of its own.
        if (releaseOwedIn(g) && exchangeInProgress()) return runKeyWatch();
        return release(true, releaseOwedIn(g) ? Release::OwedAgain : Release::EndsTheKey);
    case KeyAction::SendReleaseThenKey: {
        const int stops = stopsTaken;
        release(true, Release::OwedAgain);
        // A stop taken while the release waited for the line ended the over.
        if (stopsTaken != stops) return;
        // Keyed after its release has gone out; a release not written ends the over.
        if (releaseUnanswered(g) || !RigPttOn()) endOverAndSay();
        return;
    }
    case KeyAction::KeyAgain:
        return keyAgain();
    case KeyAction::KeyForTheOver:
        // Another rig or port during a transmission: keyed as the engine sends.
        if (!RigPttOn()) endOverAndSay();
        return;
    case KeyAction::KeepKey:
        return runKeyWatch();
    case KeyAction::ClearKeyLeft:
        return RigPttClearOnOpen();
    case KeyAction::EndOverAndSay:
        return endOverAndSay();
    case KeyAction::SayLoss:
        runKeyWatch();
        return RigSayLineLost();
    default:
        return;
    }
}

void RigPttOff() {
    overEnded = true;
    release(false);
}

void RigReleaseOwedFirst() {
    if (releaseUnanswered(g) && keyEvent({KeyEventKind::RigHeard, {}, overByCat()}) == KeyAction::SendRelease)
        release(true, Release::OwedAgain);
}

void RigPttOffBeforeClose() {
    release(true);
}

void RigPttOffForEsc() {
    overEnded = true;
    ++stopsTaken;
    if (keyEvent({KeyEventKind::Stop}) == KeyAction::SendRelease) release(true);
    RigSayLineLost();
}

void RigLineNamedForGood() {
    const bool owed = releaseOwedIn(g);
    const KeyLine keyed = g.KeyedLine;
    keyEvent({KeyEventKind::NamedForGood, RigLineNamed()});
    if (owed && !releaseOwedIn(g)) RigSayLossGivenUp(keyed);
}

QString RigKeyLeftText() {
    // An open port on the line that answers still takes it as the program ends.
    if (keyStep(g.key(), {KeyEventKind::End}).action != KeyAction::TellKeyLeft) return {};
    return QStringLiteral("RIG Control Port-%1 の接続が切れたまま終了します。\r\n"
                          "リグが送信状態のままかもしれません。リグを確認して下さい。")
        .arg(g.KeyedLine.port);
}

void RigKeyWatchTick() {
    // A release awaiting its answer is judged once the line has had its time,
    // at a tick that finds it so: the tick does not wait for the rig.
    if (g.ReleaseUnheard == 1 && !lineFree()) return;
    hearRelease(true);
    const bool sends = nb().anyEngineSends();
    if (sends) g.KeyIdleTicks = 0;
    const KeyAction action = keyEvent({KeyEventKind::Tick, RigLineNamed(), sends});
    // What writes or opens waits for a tick that finds the line free.
    const bool writes = action == KeyAction::SendRelease || action == KeyAction::OpenAgain ||
                        action == KeyAction::TryLineBack ||
                        (action == KeyAction::CountIdle && g.KeyIdleTicks >= 2);
    if (writes && !lineFree()) {
        if (action == KeyAction::CountIdle) ++g.KeyIdleTicks;
        return RigSayLineLost();
    }
    switch (action) {
    case KeyAction::StopWatch:
        return keyWatch().stop();
    case KeyAction::SendRelease:
        // An over by CAT still runs on the line owed the release (a release
        // of its key could not be written): keyed again once the release is
        // taken, never left sending while the release unkeys its rig. One
        // ended or stopped, its engine still to say so, is not keyed again.
        if (overByCat() && !overEnded) return RigPerformKey(KeyAction::SendReleaseThenKey);
        return release(true, Release::OwedAgain);
    case KeyAction::OpenAgain:
        RigSayLineLost();
        return RigOpenPortAgain();
    case KeyAction::SayLoss:
        return RigSayLineLost();
    case KeyAction::TryLineBack:
        if (!RigLineBack()) RigSayLineLost();
        return;
    case KeyAction::CountIdle:
        // Two ticks keyed with nothing sending: a stop that dropped the engine's
        // end notice. The transmission ends as Esc ends it, and the key with it.
        RigSayLineLost();
        if (++g.KeyIdleTicks <= 2) return;
        nb().endTransmission();
        return RigPttOff();
    default:
        return;
    }
}

void RigPttClearOnOpen() {
    const std::optional<Family> f = familyOf(g.RigType);
    if (g.RigPortOpen != 1 || !f || !nb().pttByCat() || nb().anyEngineTransmits()) return;
    const QByteArray command = releaseToBeHeard(pttCommand(*f, false, icomAddress()));
    if (command.isEmpty()) return;
    awaitLineForKey();
    if (g.RigPortOpen != 1 || keyedOnTheLine() || keyOnTheLine(command, false)) return;
    // Not taken: owed as any release is, with this rig's family and address.
    RigPerformKey(keyEvent({KeyEventKind::KeyOffRefused, RigLineNamed()}));
}

QString RigModeCodeFor(int OpMode) {
    switch (OpMode) {
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

void RigSetMode(const QString& ModeCode) {
    const std::optional<Family> f = familyOf(g.RigType);
    if (g.RigPortOpen != 1 || !f) return;
    awaitQuietLine();
    if (*f == Family::Icom) g.IcomReplyState = 0;
    sendSequence(modeCommand(*f, ModeCode, icomAddress()));
}

void RigSetFrequency(const QString& FreqDigits) {
    const std::optional<Family> f = familyOf(g.RigType);
    if (g.RigPortOpen != 1 || !f) return;
    const std::optional<CatSequence> commands = frequencyCommands(*f, FreqDigits, icomAddress());
    if (!commands) return;
    awaitQuietLine();
    if (*f == Family::Icom) g.IcomReplyState = 0;
    sendSequence(*commands);
}

void SpotModeForFrequency(const QString& FreqMHz) {
    if (g.SpotModeSetting == 1) {
        g.SpotModeName = nb().logModeTextPsk();
        g.SpotRigModeCode = g.RigPskModeCode;
        return;
    }
    if (g.SpotModeSetting == 2) {
        g.SpotModeName = nb().logModeTextRtty();
        g.SpotRigModeCode = g.RigRttyModeCode;
        return;
    }
    const double f = leadingNumber(FreqMHz);
    bool cw = f < 3.526;
    bool lower = false;
    if (!cw) {
        for (const BandRow& row : kBandPlan) {
            if (f >= row.from && f <= row.to) {
                cw = row.cw;
                lower = !row.cw;
                break;
            }
        }
    }
    g.SpotModeName = cw ? QStringLiteral("CW") : QStringLiteral("SSB");
    g.SpotRigModeCode = cw ? g.RigCwModeCode : lower ? g.RigLsbModeCode : g.RigUsbModeCode;
}

} // namespace rig
