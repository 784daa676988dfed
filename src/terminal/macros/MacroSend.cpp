#include "terminal/macros/MacroSend.h"

#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/SharedRoutines.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "logwindows/lookups/EarlierQsoLookup.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/os/Clock.h"
#include "rig/RigGlobals.h"
#include "rig/RigPolling.h"
#include "rig/RigPort.h"
#include "terminal/macros/MACRO_FORM.h"
#include "terminal/macros/MacroExpand.h"
#include "terminal/macros/RepeatMain.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/receive/PaneMarks.h"
#include "terminal/transmit/TxDispatch.h"

#include <QScopeGuard>

namespace terminal::macros {
namespace {

const char* const kPskModeNames[] = {"BPSK", "QPSK(USB)", "QPSK(LSB)"};

// The multi-mode modem's character-code type, asked only when the macro needs it.
QString variType(const PSK31MAIN& w, const QString& raw) {
    QVariant type;
    if (core::g.OpMode != core::ModeMmvari || !raw.contains(QLatin1String("'VARITYPE'"))) return {};
    return w.MMVARI->get(mmvari::PChannelText, 0, type) ? type.toString() : QString();
}

QsoState qsoState(const PSK31MAIN& w, const QString& raw) {
    QsoState s;
    s.UserCall = core::g.UserCall;
    s.RoundQsoText = g.RoundQsoCalls;
    s.HisCall = w.Text5->text();
    s.HisName = w.Text6->text();
    s.SanChecked = w.Check1->isChecked();
    s.ImeState = core::g.ImeState;
    s.QthText = w.Text14->text();
    s.HisRst = w.Text7->text();
    s.SerialNo = w.Text11->text();
    s.ContestMode = core::g.ContestMode;
    s.OpMode = core::g.OpMode;
    s.DefaultCwId = core::g.DefaultCwId;
    std::copy(core::g.CwIdList.begin() + 1, core::g.CwIdList.end(), s.CwIdList.begin());
    s.TimeStampText = core::g.TimeStampText;
    s.TimeZoneOffsetH = core::g.TimeZoneOffsetH;
    s.pcClock = sysclock::jstNow();
    s.VariType = variType(w, raw);
    s.GreetingText = logbook::g.GreetingText;
    return s;
}

void showPskMode(PSK31MAIN& w, int mode) {
    w.StatusBar1->setText(2, QLatin1String(kPskModeNames[mode]));
    for (int k = 0; k < 3; ++k)
        w.PSKMODE[static_cast<std::size_t>(k)]->setChecked(k == mode);
}

void applyExpansion(PSK31MAIN& w, const Expansion& e) {
    core::g.MacroText = e.MacroText;
    core::g.MacroTxOn = e.MacroTxOn;
    core::g.MacroTxOff = e.MacroTxOff;
    core::g.MacroTxOffPending = e.MacroTxOffPending;
    core::g.MacroCwId = e.MacroCwId;
    if (e.CwIdText) core::g.CwIdText = *e.CwIdText;
    if (!e.cwIdRefused.isEmpty()) {
        core::g.StatusMessage = e.cwIdRefused;
        core::ShowTimedMessage(core::g.StatusMessage, 3000);
    }
    if (e.OpMode) core::g.OpMode = *e.OpMode;
    if (e.RepeatPskMode) g.RepeatPskMode = *e.RepeatPskMode;
    if (e.MacroRxPskMode) core::g.MacroRxPskMode = *e.MacroRxPskMode;
    if (e.shownPskMode) showPskMode(w, *e.shownPskMode);
}

// 'LOGTIME': the QSO time is taken now; with the library link the log entry
// window shows it at once, in UTC, and keeps it.
void takeLogTime(const Expansion& e) {
    core::g.LogTimeMacroUsed = 1;
    logbook::g.QsoTime = e.qsoTime;
    if (logbook::g.HamlogLink != 1) return;
    TEMP_LOG& log = forms::TEMP_LOG();
    log.Text4->setText(e.logTimeBox);
    log.Text3->setText(e.logDateBox);
    log.Label4->setText(QStringLiteral("Time(UTC)"));
}

// 'RIGCALL': the frequency and mode the log takes are read afresh, unless the
// rig is polled all the time anyway.
void readRig() {
    if (rig::g.RigPortName == QLatin1String("NONE")) return;
    rig::RigDelay();
    if (rig::g.RigPollMode != 2) rig::RigReadStatus();
}

void intoTransmitBox(PSK31MAIN& w, const QString& text) {
    w.Text1->setSelText(text);
    w.Text1->setSelStart(w.Text1->length());
}

} // namespace

void SendMacro(int index) {
    // Handing text to an engine can let events run; a macro pressed meanwhile
    // is ignored so that the text already being handed over stays intact.
    static bool sending = false;
    if (sending) return;
    // A macro pressed while something waits goes out once the wait is over;
    // during a mode change it is refused.
    if (!forms::mayActNow(forms::Request::Start, [index] {
            if (forms::isLoaded<PSK31MAIN>()) SendMacro(index);
        }))
        return;
    PSK31MAIN& w = forms::PSK31MAIN();
    if (w.TxInhibited == 1) {
        w.Text1->setFocus();
        return;
    }
    sending = true;
    const QScopeGuard done([] { sending = false; });
    // The time stamp, the log's local time and the rig's reading let events
    // run: a mode change meanwhile is refused, as the transmission goes on,
    // and an Esc ends the macro before anything goes out.
    forms::EventsRunScope expanding(forms::EventsRunScope::Start);
    Cycle cycle = mainCycle();
    if (core::g.RepeatTxOn == 1) {
        cycle.cancelForNewMacro();
        w.Text1->setSelText(QString());
    }
    core::g.MacroTxOn = core::g.MacroTxOff = core::g.MacroTxOffPending = core::g.MacroCwId = 0;
    core::g.RepeatTxOn = 0;

    const QString raw = forms::MACRO_FORM().macroText(index);
    if (needsTimeStamp(raw)) receive::MakeTimeStamp();
    if (needsLocalTime(raw) && logbook::g.HamlogLink == 1) logwindows::ShowLocalTime();
    const Expansion e = expandMacro(raw, qsoState(w, raw));
    cycle.setUp(e.repeat);
    applyExpansion(w, e);
    if (e.logTime) takeLogTime(e);
    if (e.rigCall) readRig();
    if (!expanding.finish()) return;
    intoTransmitBox(w, core::g.MacroText);
    transmit::TxSend();
}

} // namespace terminal::macros
