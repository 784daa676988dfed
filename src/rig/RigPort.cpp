#include "rig/RigPort.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/ini/SettingRanges.h"
#include "platform/forms/waits/Waits.h"
#include "platform/os/SerialComm.h"
#include "platform/os/WaitClock.h"
#include "rig/CatAnswers.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "rig/RigLink.h"
#include "rig/RigNeighbours.h"
#include "rig/RigPolling.h"
#include "rig/RigReplies.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <limits>

namespace rig {
namespace {

int exchangeDepth = 0;
int replyCount = 0;
int receiveEvents = 0;

// The line as our last command left it: when its last character is out (by
// the wire time of what was written before it), what the rig sends back for
// it, how much of that the decoders have taken, the receive events so far,
// and when we stop waiting.
struct LineState {
    qint64 outAtMs = 0;
    int answer = 0;
    int taken = 0;
    int eventsAtSend = 0;
    qint64 giveUpAtMs = 0;
};
LineState line;

// The last command written, its echo on an ICOM bus, and what the decoders
// took of what came back since: the rig's answer to it is judged on these and
// on what still waits in the port.
QByteArray lastWrite;
qsizetype echoOfWrite = 0;
QByteArray takenSinceWrite;
// The writes before the last one whose echo may still be on its way (an
// echoing line brings it back within the answer's margin after the bytes
// went out): an answer made of those bytes is no answer.
struct EarlierWrite {
    QByteArray bytes;
    qint64 echoDueUntilMs;
};
QList<EarlierWrite> earlierWrites;
constexpr qsizetype kEarlierWritesKept = 8;
struct ReleaseWatch {
    bool on = false;
    // The rig's answer to the last write is due until then; 0 while none was asked for.
    qint64 dueUntilMs = 0;
};
ReleaseWatch releaseWatch;
// An owed release queued to go out again on a rig heard back.
bool releaseQueued = false;

qint64 nowMs() {
    return waitclock::nowMs();
}

// Wire time of so many characters at the port's speed and framing, rounded up.
qint64 wireMs(qsizetype characters) {
    const SerialComm& p = port();
    if (p.baudRate() <= 0) return 0;
    const qint64 bits = qint64(characters) * p.bitsPerCharacter() * 1000;
    return (bits + p.baudRate() - 1) / p.baudRate();
}

// The answer is due until a decoder has taken it, or it is all in and no
// receive event is still to hand it over (a decoder must not find it swept
// away by our next command).
bool answerDue() {
    if (line.taken >= line.answer || nowMs() >= line.giveUpAtMs) return false;
    const SerialComm& p = port();
    const int in = p.inBufferCount();
    const bool eventToCome = p.rThreshold() > 0 && in >= p.rThreshold() && receiveEvents == line.eventsAtSend;
    return line.taken + in < line.answer || eventToCome;
}

void noteSent(const QByteArray& command) {
    const qint64 now = nowMs();
    line.outAtMs = std::max(now, line.outAtMs) + wireMs(command.size());
    const std::optional<Family> f = familyOf(g.RigType);
    line.answer = f ? answerLength(*f, command) : 0;
    line.taken = 0;
    line.eventsAtSend = receiveEvents;
    line.giveUpAtMs = line.outAtMs + wireMs(line.answer) + g.RigReplyMarginMs;
}

// The command is taken out of RigOutBuffer before any wait (so by value): a
// reply decoded inside the wait may send a request of its own through it.
bool writeCommand(QByteArray command) {
    awaitQuietLine();
    return writeOnQuietLine(command);
}

// The commands of a sequence still to go out: each once the answer before it
// is in or has had its time, a paced one after the pause. They go out from
// the line's own timer, so that whoever asked (a tick, an engine's notice, a
// decoder) returns at once rather than wait for the rig.
struct Queued {
    QByteArray bytes;
    bool paced;
};
QList<Queued> queued;
// The pause a paced command keeps before and after it: nothing paced goes out
// before the first, nothing at all before the second.
qint64 pausedFromMs = std::numeric_limits<qint64>::min() / 2;
qint64 pacedFromMs = std::numeric_limits<qint64>::min() / 2;
// Key commands waiting for the line: they go before what is queued.
int keyWaits = 0;

// The pause before and after a paced command, never longer than the stored
// range allows: a pause of minutes would hold every exchange with the rig.
int intervalMs() {
    return RigIntervalMsOf(
        g.RigInterval,
        core::StoredRangeOf(QStringLiteral("RIG_CON_CFG"), QStringLiteral("Interval"))->highest);
}

// What is left of a pause begun then; none once the clock is behind its
// start (a test puts its own clock in place of the monotonic one).
qint64 pauseLeftMs(qint64 fromMs) {
    const qint64 left = fromMs + intervalMs() - nowMs();
    return left > intervalMs() ? 0 : std::max<qint64>(0, left);
}

// When the first queued command may go out, 0 when it may now.
qint64 queuedWaitMs() {
    const qint64 now = nowMs();
    if (answerDue()) return std::max<qint64>(1, line.giveUpAtMs - now);
    const qint64 paced = pauseLeftMs(pacedFromMs);
    return queued.front().paced ? std::max(pauseLeftMs(pausedFromMs), paced) : paced;
}

void armPump(qint64 ms);

// Writes the queued commands whose turn has come; the rest wait for the
// line's timer, which lets a key command waiting for the line go first. A
// failed write drops what was queued behind it.
void pumpLine(bool byTimer = false) {
    while (!queued.isEmpty()) {
        if (g.RigPortOpen != 1 || !port().isOpen()) return queued.clear();
        const qint64 wait = byTimer && keyWaits > 0 ? 5 : queuedWaitMs();
        // An answer may come before its time is up: looked at again soon.
        if (wait > 0) return armPump(answerDue() ? std::min<qint64>(wait, 5) : wait);
        const Queued next = queued.takeFirst();
        if (!writeOnQuietLine(next.bytes)) return queued.clear();
        if (next.paced) pacedFromMs = nowMs();
    }
}

void armPump(qint64 ms) {
    if (!linePump().isActive()) linePump().start(int(ms));
}

// Runs pending events until more than minMs have passed on a monotonic clock,
// or sooner than maxMs once done() holds.
void waitWithEvents(int minMs, int maxMs, const std::function<bool()>& done) {
    const forms::EventsRunScope eventsRun;
    ++exchangeDepth;
    QElapsedTimer clock;
    clock.start();
    // Asleep until an event comes (a byte in, a reply handled) or the wait's
    // own time is up: looking every half millisecond woke the program some
    // thirty times in each poll of the rig. Under a test's clock, which may
    // be held back between two readings, it looks at least every 10 ms; on
    // the monotonic one an answer's time is the wait's own, and a look in
    // between would only add a timer event to each poll.
    const qint64 lookEveryMs = waitclock::monotonic() ? std::numeric_limits<int>::max() : 10;
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    forms::letEventsRun();
    for (;;) {
        const qint64 elapsed = clock.elapsed();
        if (elapsed > maxMs) break;
        if (done ? elapsed >= minMs && done() : elapsed > minMs) break;
        wake.start(
            int(std::min<qint64>(lookEveryMs, (done && elapsed >= minMs ? maxMs : minMs) - elapsed + 1)));
        forms::waitForMoreEvents();
    }
    --exchangeDepth;
}

// The port is lent to another program until a caller opens it again.
bool portLent = false;

// What the last failed opening said, kept on the message line while the port stays shut.
QString failureSaid;
// The loss of a line whose owed release was given up: no opening ends it.
QString lossGivenUp;

// A key this program cannot reach, or a release its rig did not answer: the
// rig may still send.
bool keyLossToSay() {
    return releaseUnanswered(g) || (g.PttKeyedByCat == 1 && (g.RigPortOpen != 1 || g.RigLineLost == 1));
}

// The rig on the open line did not answer its release: the line is there,
// the rig is not heard.
QString unheardText(const KeyLine& l) {
    return QStringLiteral(
               "RIG Control Port-%1 のリグが送信停止に応答しません。リグが送信状態のままかもしれません")
        .arg(l.port);
}

bool onTheKeyedLine() {
    return g.RigPortOpen == 1 && g.RigLineLost != 1 && carriesKeyOf(g.RigOpenedLine, g.KeyedLine);
}

// Said on the message line, naming the port as the settings name it; the
// frequency label alone would only stay blank. The port is tried again (a rig
// switched on later, its adapter plugged in again); a failure of such a try
// is not said anew, but the first stays on the line while the port is shut.
void openFailed(bool again) {
    RigLoadModeCodes();
    RigStopPolling();
    const bool said = again && g.RigOpenRetry == 1;
    keyEvent({KeyEventKind::OpenFailed, RigLineNamed(), overByCat()});
    portRetry().start();
    // A rig that may still send is named before the port.
    if (said && keyLossToSay()) return RigSayLineLost();
    if (said) return core::ShowStandingMessage(lossGivenUp.isEmpty() ? failureSaid : lossGivenUp);
    failureSaid = QStringLiteral("RIG Control Port-%1 が開けません（%2 %3）")
                      .arg(g.RigPortName)
                      .arg(port().lastErrorCode())
                      .arg(port().lastErrorText());
    nb().statusMessage() = failureSaid;
    nb().showStatusMessage();
}

// The line state outlives the port: a rig goes on answering what it was
// asked before the port closed, and the first command on the port opened
// again waits for that answer's time as any command does.
bool configureAndOpen(const FamilyTraits* t) {
    SerialComm& p = port();
    // What the link was asked to send (a setting of the sheet's close) goes
    // out on the line it was asked for before that line closes.
    if (p.isOpen() && !queued.isEmpty() && g.PttOnLastSent == 0) awaitQuietLine();
    p.close();
    queued.clear();
    p.setCommPort(g.RigPortName);
    if (!p.setSettings(g.RigBaudRate + QStringLiteral(",N,8,") + g.RigStopBits)) return false;
    p.setRThreshold(g.RigReplyLength);
    p.setRtsEnable(true);
    p.setDtrEnable(true);
    p.setInputMode(t && t->textInput ? SerialComm::Text : SerialComm::Binary);
    return p.open();
}

// The loss is of a line the port was opened on, whatever the settings name meanwhile.
QString lineLostText(const KeyLine& l) {
    return QStringLiteral("RIG Control Port-%1 の接続が切れました").arg(l.port);
}

// The failure is no longer said, nor left pending for the poll to show.
void stopRetrying() {
    portRetry().stop();
    core::EndStandingMessage(failureSaid);
    if (nb().statusMessage() == failureSaid) nb().statusMessage().clear();
}

// FT847 only: the rig takes CAT commands once told so.
void catOn(std::optional<Family> f) {
    if (f != Family::Ft847) return;
    g.RigOutBuffer = ft847CatOn();
    RigSendWait();
}

// The port is on a line again (opened, or its lost line back): the loss of
// that line is no longer said, a loss of another line owed its release still
// is, and what the key's state asks is done.
void lineCameBack(KeyEventKind kind, std::optional<Family> f, bool over) {
    const KeyAction action = keyEvent({kind, RigLineNamed(), over});
    if (lineLostText(RigLineNamed()) != lossGivenUp) core::EndStandingMessage(lineLostText(RigLineNamed()));
    catOn(f);
    RigPerformKey(action);
}

// releaseKey false only for a reopening on the same rig during a transmission.
void closePort(bool releaseKey) {
    nb().statusMessage().clear();
    RigStopPolling();
    stopRetrying();
    // Never leave the transmitter keyed behind a closed port. Kept on for a
    // reopening, the key stays known: on the port opened again, or, when that
    // fails, as a key on a lost line whose release is owed.
    if (releaseKey) RigPttOffBeforeClose();
    settleRelease();
    if (g.RigLineLost == 1) core::EndStandingMessage(lineLostText(g.RigOpenedLine));
    if (g.RigType == QLatin1String("FT847")) {
        g.RigOutBuffer = ft847CatOff();
        RigSendWait();
    }
    // A setting asked for just before goes out before the port closes.
    if (port().isOpen() && !queued.isEmpty() && g.PttOnLastSent == 0) awaitQuietLine();
    port().close();
    queued.clear();
    // A release the rig did not take stays owed until its line opens again.
    keyEvent({KeyEventKind::Closed, {}, false, !releaseKey});
}

// A release owed while the port is lent: out on the port opened for it
// alone, heard or not, and the port closed again at once; nothing polls.
void releaseOnALentPort() {
    const std::optional<Family> f = familyOf(g.RigType);
    if (!configureAndOpen(f ? &traits(*f) : nullptr)) {
        port().close();
        return RigSayLineLost();
    }
    const KeyAction action = keyEvent({KeyEventKind::Opened, RigLineNamed()});
    catOn(f);
    RigPerformKey(action);
    closePort(false);
}

void openPort(bool again) {
    // Callers test the name first; "NONE" means there is no rig to open.
    if (g.RigPortName == QLatin1String("NONE")) return;
    if (again && portLent) return releaseOnALentPort();
    portLent = false;
    RigLoadModeCodes();
    // Opened again on the same rig during a transmission (the settings sheet
    // closes): the rig goes on sending with the engine, unkeyed at no moment.
    const bool keepKey =
        g.RigPortOpen == 1 && g.PttKeyedByCat == 1 && g.KeyedLine == RigLineNamed() && overByCat();
    if (g.RigPortOpen == 1) closePort(!keepKey);
    const std::optional<Family> f = familyOf(g.RigType);
    if (!configureAndOpen(f ? &traits(*f) : nullptr)) return openFailed(again);
    g.PttNotByCatSaid = 0;
    stopRetrying();
    lineCameBack(KeyEventKind::Opened, f, overByCat());
    if (g.RigPollMode == 2)
        RigStartPolling();
    else if (g.RigPollMode == 1)
        RigReadStatus();
    else
        return;
    if (nb().opMode() != core::ModeMmvari) RigSetMode(RigModeCodeFor(nb().opMode()));
}

} // namespace

void RigOpenPort() {
    openPort(false);
}

void RigOpenPortAgain() {
    if (g.RigPortName == QLatin1String("NONE") || !core::MessageLineLoaded()) return stopRetrying();
    openPort(true);
}

KeyLine RigLineNamed() {
    const bool icom = familyOf(g.RigType) == Family::Icom;
    return {g.RigType, icom ? g.IcomAddress : QString(), g.RigPortName};
}

KeyAction keyEvent(const KeyEvent& e) {
    const KeyStep step = keyStep(g.key(), e);
    g.take(step.next);
    return step.action;
}

bool overByCat() {
    return nb().pttByCat() && nb().anyEngineTransmits();
}

void RigClosePort() {
    closePort(true);
}

void RigLendPort() {
    if (g.RigPortOpen == 1)
        closePort(true);
    else
        stopRetrying();
    portLent = true;
}

void RigLineLost() {
    if (keyEvent({KeyEventKind::LineLost}) != KeyAction::SayLoss) return;
    lossGivenUp.clear();
    line = {};
    queued.clear();
    nb().showFrequencyLabel(QString());
    if (!nb().sstvMode()) nb().showModeLabel(QString());
    RigSayLineLost();
}

bool RigLineBack(bool forTheOver) {
    if (g.RigLineLost != 1) return true;
    // Only the line that was lost comes back: the settings may name another by now.
    if (!carriesKeyOf(RigLineNamed(), g.RigOpenedLine)) return false;
    const std::optional<Family> f = familyOf(g.RigType);
    if (!configureAndOpen(f ? &traits(*f) : nullptr)) {
        // Said again if another message took the line meanwhile.
        RigSayLineLost();
        return false;
    }
    lineCameBack(KeyEventKind::LineBack, f, forTheOver && overByCat());
    // The rig may have been switched off, or another program may have set it:
    // it is set to the mode the program is in, as at the opening.
    if (nb().opMode() != core::ModeMmvari) RigSetMode(RigModeCodeFor(nb().opMode()));
    return true;
}

void RigSayLossGivenUp(const KeyLine& keyed) {
    lossGivenUp = lineLostText(keyed);
    core::ShowStandingMessage(lossGivenUp);
}

void RigSayLineLost() {
    // A key this program cannot reach is named first: its rig may still send.
    if (keyLossToSay())
        core::ShowStandingMessage(onTheKeyedLine() ? unheardText(g.KeyedLine) : lineLostText(g.KeyedLine));
    else if (g.RigLineLost == 1)
        core::ShowStandingMessage(lineLostText(g.RigOpenedLine));
}

namespace {

// The keyed rig's own answer to the last write has come back whole: no echo,
// no other device on the line, no half of it.
bool keyedRigAnswered() {
    const std::optional<Family> f = familyOf(g.KeyedLine.family);
    QByteArray before;
    for (const EarlierWrite& w : earlierWrites)
        before += w.bytes;
    return f && answeredWhole(*f, lastWrite, takenSinceWrite + port().peekInput(),
                              hexCodeByte(g.KeyedLine.address), before);
}

// The rig answered the first command after the release that asks for an
// answer, or that answer had its time: windowClosed when the caller has just
// waited for the line to go quiet.
void judgeRelease(bool windowClosed) {
    if (releaseWatch.on && g.ReleaseUnheard != 1) releaseWatch.on = false;
    if (!releaseWatch.on) return;
    if (releaseWatch.dueUntilMs > 0 && keyedRigAnswered()) {
        releaseWatch.on = false;
        keyEvent({KeyEventKind::ReleaseHeard});
        core::EndStandingMessage(unheardText(g.KeyedLine));
    } else if (releaseWatch.dueUntilMs > 0 && (windowClosed || nowMs() >= releaseWatch.dueUntilMs)) {
        releaseWatch.on = false;
        RigPerformKey(keyEvent({KeyEventKind::RigSilent}));
    }
}

} // namespace

bool writeOnQuietLine(const QByteArray& command) {
    // Only the first answer after a release tells whether the rig heard it:
    // one to a later command could come from a rig plugged back meanwhile.
    judgeRelease(true);
    port().clearBuffers();
    const qint64 now = nowMs();
    if (!lastWrite.isEmpty()) earlierWrites.append({lastWrite, line.outAtMs + g.RigReplyMarginMs});
    earlierWrites.removeIf([now](const EarlierWrite& w) { return w.echoDueUntilMs < now; });
    while (earlierWrites.size() > kEarlierWritesKept)
        earlierWrites.removeFirst();
    lastWrite.clear();
    takenSinceWrite.clear();
    if (!port().write(command)) return false;
    noteSent(command);
    lastWrite = command;
    echoOfWrite = familyOf(g.RigType) == Family::Icom ? command.size() : 0;
    if (releaseWatch.on && releaseWatch.dueUntilMs == 0 && line.answer > echoOfWrite)
        releaseWatch.dueUntilMs = line.giveUpAtMs;
    return true;
}

bool lineAnswers() {
    const std::optional<Family> f = familyOf(g.RigType);
    // Read on a polled line, and at each change between receive and
    // transmit: the FT900's replies are never read.
    return f == Family::Icom || (f && g.RigPollMode >= 1 && *f != Family::Ft900);
}

void watchRelease() {
    releaseWatch = {true, line.answer > echoOfWrite ? line.giveUpAtMs : 0};
    if (releaseWatch.dueUntilMs > 0) return;
    // A rig that does not acknowledge the release is asked for a reading at
    // once: its answer shows it there as the release crossed.
    QTimer::singleShot(0, &link(), [] {
        if (releaseWatch.on && releaseWatch.dueUntilMs == 0 && g.RigPortOpen == 1 && !exchangeInProgress())
            RigAskStatus();
    });
}

void hearRelease(bool windowClosed) {
    judgeRelease(windowClosed);
    if (releaseWatch.on || releaseQueued || !releaseUnanswered(g) || !keyedRigAnswered()) return;
    if (keyEvent({KeyEventKind::RigHeard, {}, overByCat()}) != KeyAction::SendRelease) return;
    // Out as soon as the handler that heard it has returned, before the next
    // command of whatever is under way.
    releaseQueued = true;
    QTimer::singleShot(0, &link(), [] {
        releaseQueued = false;
        if (releaseUnanswered(g) && onTheKeyedLine()) RigPerformKey(KeyAction::SendRelease);
    });
}

void settleRelease() {
    if (g.ReleaseUnheard != 1 || g.RigPortOpen != 1) return;
    awaitQuietLine();
    // A polled rig that does not acknowledge the release answers a reading.
    if (releaseWatch.on && releaseWatch.dueUntilMs == 0 && RigAskStatus()) awaitQuietLine();
    judgeRelease(true);
    if (g.ReleaseUnheard == 1) RigPerformKey(keyEvent({KeyEventKind::RigSilent}));
}

int RigIntervalMsOf(const QString& stored, int longest) {
    bool ok = false;
    const int ms = stored.trimmed().toInt(&ok);
    return ok && ms > 0 ? std::min(ms, longest) : 0;
}

void RigDelay() {
    waitWithEvents(intervalMs(), intervalMs(), nullptr);
}

bool RigSend() {
    return writeCommand(g.RigOutBuffer);
}

bool RigSendWait() {
    const QByteArray command = g.RigOutBuffer;
    RigDelay();
    const bool written = writeCommand(command);
    RigDelay();
    return written;
}

bool sendSequence(const CatSequence& commands) {
    if (g.RigPortOpen != 1 || !port().isOpen()) return false;
    const qint64 now = nowMs();
    for (const CatSend& c : commands) {
        g.RigOutBuffer = c.bytes;
        const bool paced = c.pace == Pace::Paced;
        if (paced && queued.isEmpty()) pausedFromMs = now;
        queued.append({c.bytes, paced});
    }
    pumpLine();
    return g.RigPortOpen == 1;
}

void RigPumpLine() {
    pumpLine(true);
}

bool lineFree() {
    return exchangeDepth == 0 && queued.isEmpty() && !answerDue() && pauseLeftMs(pacedFromMs) == 0;
}

void awaitQuietLine() {
    // Each wait is limited by the answer, or the pause, it began with; a
    // command given inside it (a click taken meanwhile, a queued one) leaves a
    // later answer due, waited for in turn. A wait for an answer ends as it
    // comes in, one for a pause when the pause is over: either end is an
    // event or the wait's own time, so the wait need not look in between.
    for (pumpLine(); !queued.isEmpty() || answerDue(); pumpLine()) {
        if (answerDue()) {
            waitWithEvents(0, int(line.giveUpAtMs - nowMs()) + 1, [] { return !answerDue(); });
            continue;
        }
        waitWithEvents(0, int(queuedWaitMs()) + 1, [] { return queued.isEmpty() || queuedWaitMs() == 0; });
    }
}

void awaitLineForKey() {
    ++keyWaits;
    while (answerDue())
        waitWithEvents(0, int(line.giveUpAtMs - nowMs()) + 1, [] { return !answerDue(); });
    --keyWaits;
}

QVariant takeInput() {
    const QVariant in = port().input();
    const QByteArray bytes = in.typeId() == QMetaType::QString ? in.toString().toLatin1() : in.toByteArray();
    line.taken += int(bytes.size());
    takenSinceWrite += bytes;
    return in;
}

bool exchangeInProgress() {
    return exchangeDepth > 0;
}

int repliesHandled() {
    return replyCount;
}

void OnRigComm(int eventCode) {
    if (eventCode != SerialComm::kEvReceive) return;
    ++receiveEvents;
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
            // A command given inside the wait for the frequency may have asked anew.
            if (g.IcomReplyState == 2) g.IcomReplyState = 0;
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
