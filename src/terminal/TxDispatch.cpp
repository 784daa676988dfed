#include "terminal/TxDispatch.h"

#include "core/Globals.h"
#include "core/IniValues.h"
#include "core/MmttyCommand.h"
#include "platform/ControlColour.h"
#include "platform/Cp932.h"
#include "platform/MmvariControl.h"
#include "platform/MmvariIds.h"
#include "platform/PskCore.h"
#include "platform/RichTextPane.h"
#include "rig/RigCommands.h"
#include "terminal/PSK31MAIN.h"

#include <QPushButton>

namespace core {
namespace {

constexpr std::uint32_t kTransmitColour = 0x0000FF;

int num(const QString& text) {
    return WholeNumber(text).value_or(0);
}

void receiveIn(int pskMode) {
    pskcore::PskCore& lib = pskcore::lib();
    lib.fnStopTX();
    lib.fnSetRXPSKMode(pskMode, 0);
    g.OpMode = pskMode;
}

void startPskTransmission(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    if (g.SatelliteMode == 0) {
        if (g.ClockAdjRxPpm != g.ClockAdjTxPpm) lib.fnSetClockErrorAdjustment(num(g.ClockAdjTxPpm));
        lib.fnStartTX(g.OpMode);
        w.RichTextBox4->hide();
    } else {
        lib.fnStartTX(g.OpMode + pskcore::SatelliteFlag);
        w.RichTextBox4->setText(QString());
        w.RichTextBox4->show();
    }
}

void sendPsk(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    if (g.MacroTxOn == 1) startPskTransmission(w);
    lib.fnSendTXString(cp932::encode(g.MacroText));
    if (g.MacroCwId == 1) {
        receiveIn(g.MacroRxPskMode);
        lib.fnSetCWIDSpeed(num(g.CwIdSpeed));
        const QString trailing = g.PttPortControl == QLatin1String("0") ? QStringLiteral(" ") : QString();
        lib.fnSetCWIDString(cp932::encode(QLatin1Char(' ') + g.CwIdText + trailing));
        lib.fnSendTXCharacter(2, 1);
    }
    if (g.MacroTxOff == 1) receiveIn(g.MacroRxPskMode);
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

void sendRtty() {
    substituteForRtty(g.MacroText);
    const QString text = g.MacroText;
    // A program that is gone ends the sending; the rest is not sent.
    if (g.MacroTxOn == 1 && !PostMmttyCommand(mmtty::CmdTx, mmtty::TxOn)) return;
    for (const QChar c : text)
        if (!PostMmttyCommand(mmtty::CmdChar, ansiCode(c))) return;
    if (g.MacroTxOff == 1) PostMmttyCommand(mmtty::CmdTx, mmtty::TxOffAfterQueue);
}

void sendMmvari(PSK31MAIN& w) {
    if (g.MacroTxOn == 1 && g.MmvariTxOn == 0) {
        if (g.PttPortControl == QLatin1String("0")) rig::RigPttOn();
        w.MMVARI->set(mmvari::IdTransmit, true);
        g.MmvariTxOn = 1;
        colour::setBackColor(w.Command1, kTransmitColour);
        w.Text1->setFocus();
    }
    w.MMVARI->invoke(mmvari::MethodSend, {g.MacroText});
}

} // namespace

void TxSend() {
    PSK31MAIN& w = forms::PSK31MAIN();
    switch (g.OpMode) {
    case ModeBpsk:
    case ModeQpskUsb:
    case ModeQpskLsb:
        sendPsk(w);
        break;
    case ModeRtty:
    case ModeCw:
        sendRtty();
        break;
    case ModeMmvari:
        sendMmvari(w);
        break;
    default:
        break;
    }
    w.Text1->setFocus();
}

} // namespace core
