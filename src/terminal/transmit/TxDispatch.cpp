#include "terminal/transmit/TxDispatch.h"

#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/os/Cp932.h"
#include "platform/pskcore/PskCore.h"
#include "rig/RigCommands.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/transmit/TxState.h"

#include <QPushButton>

namespace terminal::transmit {
namespace {

constexpr std::uint32_t kTransmitColour = 0x0000FF;

int num(const QString& text) {
    return core::WholeNumber(text).value_or(0);
}

void receiveIn(int pskMode) {
    pskcore::PskCore& lib = pskcore::lib();
    lib.fnStopTX();
    lib.fnSetRXPSKMode(pskMode, 0);
    core::g.OpMode = pskMode;
}

void startPskTransmission(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    if (core::g.SatelliteMode == 0) {
        if (core::g.ClockAdjRxPpm != core::g.ClockAdjTxPpm)
            lib.fnSetClockErrorAdjustment(num(core::g.ClockAdjTxPpm));
        lib.fnStartTX(core::g.OpMode);
        w.RichTextBox4->hide();
    } else {
        lib.fnStartTX(core::g.OpMode + pskcore::SatelliteFlag);
        w.RichTextBox4->setText(QString());
        w.RichTextBox4->show();
    }
}

void sendPsk(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    if (core::g.MacroTxOn == 1) startPskTransmission(w);
    lib.fnSendTXString(cp932::encode(core::g.MacroText));
    if (core::g.MacroCwId == 1) {
        receiveIn(core::g.MacroRxPskMode);
        lib.fnSetCWIDSpeed(num(core::g.CwIdSpeed));
        const QString trailing =
            core::g.PttPortControl == QLatin1String("0") ? QStringLiteral(" ") : QString();
        lib.fnSetCWIDString(cp932::encode(QLatin1Char(' ') + core::g.CwIdText + trailing));
        lib.fnSendTXCharacter(2, 1);
    }
    if (core::g.MacroTxOff == 1) receiveIn(core::g.MacroRxPskMode);
}

// Characters the RTTY program cannot send become their nearest sendable ones.
void substituteForRtty(QString& text) {
    static const std::pair<char16_t, char16_t> table[] = {
        {u'#', u' '}, {u'%', u' '}, {u'*', u' '},  {u'+', u' '}, {u'[', u'('},  {u']', u')'},
        {u'{', u'('}, {u'}', u')'}, {u'\\', u' '}, {u'~', u' '}, {u'`', u'\''}, {u'=', u'-'},
        {u'|', u' '}, {u'_', u'-'}, {u'<', u'('},  {u'>', u')'},
    };
    for (const auto& [from, to] : table)
        text.replace(QChar(from), QChar(to));
}

// The character's code in the ANSI code page; a double-byte character gives its
// two bytes as one signed 16-bit value.
std::int32_t ansiCode(QChar c) {
    const QByteArray bytes = cp932::encode(QString(c));
    if (bytes.size() == 2) return std::int16_t((std::uint8_t(bytes[0]) << 8) | std::uint8_t(bytes[1]));
    return bytes.isEmpty() ? 0 : std::uint8_t(bytes[0]);
}

// What the program has been given shows in the transmit box as the macro's own
// text: it counts as handed over, so that the start of a transmission does not
// hand it over again. A line break is one character of the box.
void countHanded(const QString& shown, qsizetype i) {
    const QChar c = shown[i];
    if (c == QLatin1Char('\r')) {
        if (shown.mid(i + 1, 1) != QLatin1String("\n")) g.RttyTypedAhead += QLatin1Char('\n');
        return;
    }
    g.RttyTypedAhead += c;
}

void sendRtty() {
    const QString shown = core::g.MacroText;
    substituteForRtty(core::g.MacroText);
    const QString text = core::g.MacroText;
    // A program that is gone ends the sending; the rest is not sent. Each
    // post lets events run: after an Esc taken meanwhile nothing more goes.
    const forms::EventsRunScope sending(forms::EventsRunScope::Start);
    if (core::g.MacroTxOn == 1 && !core::PostMmttyCommand(mmtty::CmdTx, mmtty::TxOn)) return;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!sending.mayGoOn() || !core::PostMmttyCommand(mmtty::CmdChar, ansiCode(text[i]))) return;
        countHanded(shown, i);
    }
    // The program has no CW identification; the over it would end ends all the same.
    if (core::g.MacroTxOff == 1 || core::g.MacroCwId == 1)
        core::PostMmttyCommand(mmtty::CmdTx, mmtty::TxOffAfterQueue);
}

void sendMmvari(PSK31MAIN& w) {
    if (core::g.MacroTxOn == 1 && core::g.MmvariTxOn == 0) {
        if (core::g.PttPortControl == QLatin1String("0") && !engines::KeyRigForStart()) return;
        w.MMVARI->set(mmvari::IdTransmit, true);
        core::g.MmvariTxOn = 1;
        colour::setBackColor(w.Command1, kTransmitColour);
        w.Text1->setFocus();
    }
    w.MMVARI->invoke(mmvari::MethodSend, {core::g.MacroText});
}

} // namespace

void TxSend() {
    PSK31MAIN& w = forms::PSK31MAIN();
    switch (core::g.OpMode) {
    case core::ModeBpsk:
    case core::ModeQpskUsb:
    case core::ModeQpskLsb:
        sendPsk(w);
        break;
    case core::ModeRtty:
    case core::ModeCw:
        sendRtty();
        break;
    case core::ModeMmvari:
        sendMmvari(w);
        break;
    default:
        break;
    }
    w.Text1->setFocus();
}

} // namespace terminal::transmit
