#include "rig/RigCommands.h"

#include "core/Globals.h"
#include "core/IniStore.h"
#include "core/MessageLine.h"
#include "platform/forms/waits/Waits.h"
#include "rig/CatFrames.h"
#include "rig/RigGlobals.h"
#include "rig/RigLink.h"
#include "rig/RigNeighbours.h"
#include "rig/RigPort.h"

#include "platform/os/SerialComm.h"

#include <QTimer>
#include <array>

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

// The rig is keyed as far as this program knows: by its count, or because
// the last PTT command that went out on the line was a key-on.
bool keyedOnTheLine() {
    return g.PttKeyedByCat == 1 || g.PttOnLastSent == 1;
}

// A release went out and did not reach the rig: it is owed until it does.
bool releaseOwed() {
    return g.PttKeyedByCat == 0 && g.PttOnLastSent == 1;
}

// The one place a PTT command goes on the line. The caller has just waited
// for a quiet line and made its checks with no events run since; what the
// program believes of the key is set from what went out.
bool keyOnTheLine(const QByteArray& command, bool on) {
    if (!writeOnQuietLine(command)) return false;
    g.PttOnLastSent = on ? 1 : 0;
    return true;
}

// The key-on did not reach the rig (its line lost): nothing transmits on it,
// as if Esc had been pressed, and the loss is said.
bool keyNotPut() {
    g.PttKeyedByCat = 0;
    if (keyedOnTheLine()) keyWatch().start();
    nb().endTransmission();
    RigSayLineLost();
    return false;
}

} // namespace

OperatorStop::OperatorStop() {
    ++stopping;
}

OperatorStop::~OperatorStop() {
    --stopping;
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
    // A lost line is looked for first; a release owed to it goes out before the key.
    if (!RigLineBack()) return keyNotPut();
    const int mine = ++keyCommands;
    awaitQuietLine();
    // Esc taken meanwhile ends the start that asks for the key.
    if (!wait.mayGoOn()) return false;
    // A later command was taken while this one waited: a release leaves the
    // rig unkeyed and the transmission unstarted; a later key-on has keyed it.
    if (mine != keyCommands) return g.PttKeyedByCat == 1;
    const QByteArray now = command();
    if (now.isEmpty()) return true;
    g.PttKeyedByCat = 1;
    keyedBy = mine;
    g.KeyedRigType = g.RigType;
    g.KeyedIcomAddress = g.IcomAddress;
    g.KeyIdleTicks = 0;
    keyWatch().start();
    return keyOnTheLine(now, true) || keyNotPut();
}

namespace {

// A release is never given up: only a transmission started while it waited,
// which keyed the rig for itself, keeps the key. One that does not reach the
// rig (its line lost) stays owed, across the port closed and opened again:
// the key watch sends it until the rig takes it, and the loss is said meanwhile.
void release(bool evenALaterKey) {
    // Counted first, so that a key-on still waiting for the line is given up.
    const int mine = ++keyCommands;
    if (!keyedOnTheLine()) return;
    // A closed port holds a key only when its reopening failed during a transmission.
    if (g.RigPortOpen != 1 || !RigLineBack()) {
        g.PttKeyedByCat = 0;
        keyWatch().start();
        return RigSayLineLost();
    }
    awaitQuietLine();
    if (g.RigPortOpen != 1 || !keyedOnTheLine()) return;
    if (g.PttKeyedByCat == 1 && keyedBy > mine && !evenALaterKey) return;
    const std::optional<Family> f = familyOf(g.KeyedRigType);
    g.PttKeyedByCat = 0;
    const QByteArray command = f ? pttCommand(*f, false, hexCodeByte(g.KeyedIcomAddress)) : QByteArray();
    if (command.isEmpty()) {
        g.PttOnLastSent = 0;
    } else if (!keyOnTheLine(command, false)) {
        keyWatch().start();
        return RigSayLineLost();
    }
    keyWatch().stop();
}

// Sent again at each tick of the key watch: on the port still open (its line
// brought back first), or by opening the port again, which sends it first.
// While the settings name another rig or port (a settings sheet open, a
// change made for good), the release stays owed and the loss said: the
// opening of the line the settings name decides.
void sendOwedRelease() {
    if (g.RigPortOpen == 1) return release(true);
    RigSayLineLost();
    if (RigOnOpenedLine()) RigOpenPortAgain();
}

} // namespace

void RigPttOff() {
    release(false);
}

void RigPttOffBeforeClose() {
    release(true);
}

void RigPttOffForEsc() {
    release(true);
    RigSayLineLost();
}

void RigPttOwedOnReturn() {
    if (releaseOwed()) release(true);
}

void RigPttOwedForgotten() {
    if (releaseOwed()) g.PttOnLastSent = 0;
}

QString RigKeyLeftText() {
    // An open port on a line that answers still takes it as the program ends.
    if (g.PttOnLastSent != 1 || (g.RigPortOpen == 1 && g.RigLineLost != 1)) return {};
    return QStringLiteral("RIG Control Port-%1 の接続が切れたまま終了します。\r\n"
                          "リグが送信状態のままかもしれません。リグを確認して下さい。")
        .arg(g.RigOpenedLine.section(QLatin1Char('|'), 1));
}

void RigKeyWatchTick() {
    if (!keyedOnTheLine()) return keyWatch().stop();
    if (releaseOwed()) return sendOwedRelease();
    // A key held behind a port whose reopening failed: the loss is said while the over runs.
    if (g.RigPortOpen != 1) RigSayLineLost();
    if (nb().anyEngineSends()) {
        g.KeyIdleTicks = 0;
        return;
    }
    // Two ticks keyed with nothing sending: a stop that dropped the engine's
    // end notice. The transmission ends as Esc ends it, and the key with it.
    if (++g.KeyIdleTicks <= 2) return;
    nb().endTransmission();
    RigPttOff();
}

void RigPttClearOnOpen() {
    const std::optional<Family> f = familyOf(g.RigType);
    if (g.RigPortOpen != 1 || !f || !nb().pttByCat() || nb().anyEngineTransmits()) return;
    const QByteArray command = pttCommand(*f, false, icomAddress());
    if (command.isEmpty()) return;
    awaitQuietLine();
    if (g.RigPortOpen != 1 || keyedOnTheLine() || keyOnTheLine(command, false)) return;
    // Not taken: owed as any release is, with this rig's family and address.
    g.PttOnLastSent = 1;
    g.KeyedRigType = g.RigType;
    g.KeyedIcomAddress = g.IcomAddress;
    keyWatch().start();
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
