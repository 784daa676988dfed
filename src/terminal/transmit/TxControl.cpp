#include "terminal/transmit/TxControl.h"

#include "core/MessageLine.h"
#include "core/engines/MmttyCommand.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/engines/MmttyWndProc.h"
#include "terminal/engines/ModeChange.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/transmit/TxState.h"
#include "terminal/transmit/TypedText.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace terminal::transmit {
namespace {

constexpr std::uint32_t kRed = 0x0000FF;

void focusTxBox(PSK31MAIN& w) {
    w.Text1->setFocus();
}

void caretToEnd(PSK31MAIN& w) {
    w.Text1->setSelStart(w.Text1->length());
}

int whole(const QString& text) {
    return text.trimmed().toInt();
}

// Posts the sequence in order; stops at the first command the program does
// not take, and, for a start, once an Esc has been taken since it began
// (each post lets events run).
bool postAll(std::initializer_list<std::pair<std::int32_t, std::int32_t>> commands,
             const forms::EventsRunScope* start = nullptr) {
    for (const auto& [code, value] : commands)
        if ((start && !start->mayGoOn()) || !core::PostMmttyCommand(code, value)) return false;
    return true;
}

bool mmvariRuns(PSK31MAIN& w) {
    QVariant on;
    return w.MMVARI && w.MMVARI->get(mmvari::IdRun, on) && on.toBool();
}

void startMmvari(PSK31MAIN& w) {
    mmvari::MmvariControl* m = w.MMVARI;
    if (core::g.MmvariTxOn == 0) {
        // Esc taken while the key waited for the rig line: nothing starts.
        if (pttByCat() && !engines::KeyRigForStart()) return;
        if (m) {
            m->set(mmvari::IdTransmit, true);
            if (core::g.MmvariSwitches[3] == 1) m->set(mmvari::IdReqRx, true);
        }
        core::g.MmvariTxOn = 1;
        colour::setBackColor(w.Command1, kRed);
    } else if (m) {
        // The control's transmit-end event releases PTT and restores the button.
        m->set(mmvari::IdTuneReset, 0);
        m->set(mmvari::IdTransmit, false);
    }
    focusTxBox(w);
}

void startRtty(PSK31MAIN& w) {
    if (core::g.MmttyTxOn == 0) {
        const forms::EventsRunScope start(forms::EventsRunScope::Start);
        // What was typed ahead waits in the program before the start's CR LF:
        // taken back, it goes out with the box, on a line of its own. Typing
        // in a receive pane went to the program too, and follows the box.
        const QString box = w.Text1->text();
        const QString paneTyped = notYetHanded(g.RttyTypedAhead, box);
        const bool takeBack = !g.RttyTypedAhead.isEmpty();
        g.RttyTypedAhead.clear();
        bool ok = !takeBack || postAll({{mmtty::CmdTx, mmtty::TxClear}}, &start);
        ok = ok &&
             postAll({{mmtty::CmdTx, mmtty::TxOn}, {mmtty::CmdChar, '\r'}, {mmtty::CmdChar, '\n'}}, &start);
        for (QChar c : rttyText(box + paneTyped)) {
            if (!ok) break;
            ok = postAll({{mmtty::CmdChar, keyAsciiOf(c)}}, &start);
        }
        if (ok && core::g.MacroTxOff == 1) core::PostMmttyCommand(mmtty::CmdTx, mmtty::TxOffAfterQueue);
    } else {
        postAll({{mmtty::CmdChar, '\r'}, {mmtty::CmdChar, '\n'}, {mmtty::CmdTx, mmtty::TxOffAfterQueue}});
        w.Text1->setText(QString());
    }
    caretToEnd(w);
    focusTxBox(w);
}

void startPsk(PSK31MAIN& w) {
    core::Globals& g = core::g;
    pskcore::PskCore& lib = pskcore::lib();
    if (g.Transmitting == 0) {
        if (g.SatelliteMode == 0) {
            if (g.ClockAdjTxPpm != g.ClockAdjRxPpm) lib.fnSetClockErrorAdjustment(whole(g.ClockAdjTxPpm));
            lib.fnStartTX(g.OpMode);
        } else {
            lib.fnStartTX(g.OpMode + pskcore::SatelliteFlag);
            w.RichTextBox4->show();
        }
        if (g.MacroTxOffPending == 1) lib.fnStopTX();
    } else {
        lib.fnSendTXString("\r\n");
        lib.fnStopTX();
        clearKinds();
    }
    focusTxBox(w);
    w.Timer5->stop();
    w.ScanStopRequest = 1;
}

void abortRtty(PSK31MAIN& w) {
    postAll({{mmtty::CmdTx, mmtty::TxOffNow}, {mmtty::CmdTx, mmtty::TxClear}});
    // The program unkeys the rig by CAT when it reports receive again; one
    // that does not answer (stopped, hung) would leave the rig keyed while
    // the screen says receive, so the system unkeys it itself.
    engines::EndMmttyTx();
    core::g.RepeatTxOn = 0;
    core::g.MacroTxOff = 0;
    colour::setBackColor(w.Command1, colour::kButtonFace);
    w.Text3->hide();
    w.Command1->setEnabled(true);
    w.Command3->setEnabled(false);
}

void abortMmvari(PSK31MAIN& w) {
    if (!w.MMVARI) return;
    // Nor does the macro's CW ID follow: its end would key the control again.
    core::g.MacroCwId = 0;
    w.MMVARI->set(mmvari::IdTransmit, false);
    w.MMVARI->set(mmvari::IdTuneReset, 0);
    // Ended before the control began to send: no end event will come to
    // release the rig keyed at the start.
    if (core::g.MmvariTxOn == 1 && core::g.Transmitting == 0) {
        rig::RigPttOff();
        core::g.MmvariTxOn = 0;
        colour::setBackColor(w.Command1, colour::kButtonFace);
    }
}

// The abort's resets of the repeat and the buttons, with the PSK library's
// abort and squelch only when that library is the engine.
void abortOthers(PSK31MAIN& w) {
    core::Globals& g = core::g;
    pskcore::PskCore& lib = pskcore::lib();
    focusTxBox(w);
    if (pskMode()) lib.fnAbortTX();
    g.MacroCwId = 0;
    g.RepeatTxOn = 0;
    clearKinds();
    w.Timer1->stop();
    colour::setBackColor(w.Command1, colour::kButtonFace);
    w.Text3->hide();
    w.Command1->setEnabled(true);
    w.Command3->setEnabled(true);
    if (!pskMode()) return;
    for (int channel = 0; channel < pskcore::Channels; ++channel)
        lib.fnSetSquelchThreshold(whole(g.SquelchLevel), whole(g.SquelchSpeed), channel);
}

} // namespace

QString rttyText(const QString& boxText) {
    QString out;
    out.reserve(boxText.size() * 2);
    for (QChar c : boxText) {
        switch (c.unicode()) {
        case '#':
        case '%':
        case '*':
        case '+':
        case '\\':
        case '~':
        case '|':
            out += QLatin1Char(' ');
            break;
        case '[':
        case '{':
        case '<':
            out += QLatin1Char('(');
            break;
        case ']':
        case '}':
        case '>':
            out += QLatin1Char(')');
            break;
        case '`':
            out += QLatin1Char('\'');
            break;
        case '=':
        case '_':
            out += QLatin1Char('-');
            break;
        case '\n':
            out += QLatin1String("\r\n");
            break;
        default:
            out += c;
        }
    }
    return out;
}

void StartTx() {
    // F12 taken while something waits starts once the wait is over, and not
    // at all during a mode change (the engine is changing); one that ends a
    // transmission is a stop, taken at once.
    const bool starts = !engines::AnyEngineTransmits() || forms::modeChangeRuns();
    // Pressed again before the start it asked for could begin (held behind a
    // wait, or posted to the RTTY program that has not reported it): the
    // operator's stop, which ends that start, and nothing else.
    if (starts && (forms::startHeld() || (rttyMode() && core::MmttyStartPending()))) {
        forms::takeStop();
        core::EndPendingMmttyStart();
        return;
    }
    if (starts && !forms::mayActNow(forms::Request::Start, [] {
            if (forms::isLoaded<PSK31MAIN>()) StartTx();
        }))
        return;
    PSK31MAIN& w = forms::PSK31MAIN();
    const bool known = core::g.MmvariActive == 1 || rttyMode() || pskMode();
    if (!known) return;
    // Refused without a word: the status bar already says "送信禁止".
    if (w.TxInhibited == 1) return focusTxBox(w);
    // A stopped multi-mode control (its sound card lent to the clock
    // calibration) would send nothing: refused as with no engine, unless its
    // transmission is to be ended.
    if (core::g.MmvariActive == 1 && core::g.MmvariTxOn == 0 && !mmvariRuns(w)) return;
    if (core::g.MmvariActive == 1)
        startMmvari(w);
    else if (rttyMode())
        startRtty(w);
    else
        startPsk(w);
}

void TXBC_Click() {
    const engines::TransmissionStop stop;
    forms::takeStop();
    PSK31MAIN& w = forms::PSK31MAIN();
    w.Text1->setText(QString());
    if (core::g.MmvariActive == 1) abortMmvari(w);
    if (rttyMode())
        abortRtty(w);
    else
        abortOthers(w);
}

void AbortKey() {
    const engines::TransmissionStop stop;
    forms::takeStop();
    if (core::g.MmvariActive == 1) {
        abortMmvari(forms::PSK31MAIN());
        return;
    }
    TXBC_Click();
}

void EscapeKey() {
    forms::takeStop();
    // The RTTY program still sending outside RTTY stops as its engine would.
    if (!rttyMode() && core::g.MmttyTxOn == 1) {
        core::MmttyProgram().postCommand(mmtty::CmdTx, mmtty::TxOffNow);
        engines::EndMmttyTx();
        if (!forms::isLoaded<PSK31MAIN>()) return;
    }
    PSK31MAIN& w = forms::PSK31MAIN();
    if (core::g.MmvariActive == 1) {
        abortMmvari(w);
        core::g.RepeatTxOn = 0;
        colour::setBackColor(w.Command1, colour::kButtonFace);
        w.Text3->hide();
        w.Command1->setEnabled(true);
        w.Command3->setEnabled(true);
        w.Text1->setText(QString());
        w.Timer1->stop();
        return;
    }
    w.Text1->setText(QString());
    if (rttyMode()) {
        abortRtty(w);
        g.RttyTypedAhead.clear();
        return;
    }
    abortOthers(w);
    if (!pskMode()) return;
    w.RichTextBox2->hide();
    w.Timer5->stop();
    w.ScanStopRequest = 1;
}

QString notYetHanded(const QString& box, const QString& typedAhead) {
    QString rest;
    qsizetype next = 0;
    for (QChar c : box) {
        if (next < typedAhead.size() && c == typedAhead[next])
            ++next;
        else
            rest += c;
    }
    return rest;
}

} // namespace terminal::transmit
