#include "terminal/transmit/TypedText.h"

#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "platform/forms/colour/Colour.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/os/Cp932.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/transmit/TxControl.h"
#include "terminal/transmit/TxState.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace terminal::transmit {
namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kEnter = 13;
constexpr std::int16_t kEscape = 27;
const QByteArray kCrLf("\r\n");

// Characters the RTTY program does not get from the keyboard.
// Characters the program cannot send: each goes out in its place as the
// start of a transmission would send it from the box ("[" as "(").
const QString kNotForRtty = QStringLiteral("#%*+<=>[\\]_`{|}~");

// Full-width digits, letters and space to their single-byte forms.
std::int16_t zenToHan(std::int16_t code) {
    const auto u = static_cast<std::uint16_t>(code);
    std::uint16_t add = 0;
    if (u >= 0x824F && u <= 0x8279)
        add = 0x7DE1;
    else if (u >= 0x8281 && u <= 0x829A)
        add = 0x7DE0;
    else if (u == 0x8140)
        add = 0x7EE0;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(u + add));
}

void stopLikeEscape(PSK31MAIN& w) {
    w.Timer1->stop();
    core::g.RepeatTxOn = 0;
    core::g.MacroCwId = 0;
}

void restoreButton(PSK31MAIN& w) {
    colour::setBackColor(w.Command1, colour::kButtonFace);
    w.Text3->hide();
}

// The second half of a double-byte character may still be in the library's
// buffer; it goes out on its own while transmitting. The wait lets pending
// events run and gives up after a while.
void waitForEmptyBuffer() {
    QElapsedTimer waited;
    waited.start();
    while (core::g.Transmitting == 1 && pskcore::lib().fnGetTXCharsRemaining() > 0 &&
           waited.elapsed() < kBufferWaitMsecs)
        forms::letEventsRun(10);
}

void backspacePsk(PSK31MAIN& w) {
    pskcore::PskCore& lib = pskcore::lib();
    if (w.Text1->length() == 0) return;
    if (lib.fnGetTXCharsRemaining() >= 2) {
        lib.fnSendTXString(newestKind() == kDoubleByte ? "\b\b" : "\b");
    } else {
        if (newestKind() == kDoubleByte && lib.fnGetTXCharsRemaining() == 1) waitForEmptyBuffer();
        lib.fnSendTXString("\b");
    }
    dropNewestKind();
}

// A new line begun while receiving starts with CR LF, so that the text does
// not run on after what the other station's receiver shows.
void beginLineIfNew(PSK31MAIN& w) {
    if (w.Text1->length() != 0 || core::g.Transmitting != 0) return;
    pskcore::lib().fnSendTXString(kCrLf);
    recordKind(kSingleByte);
}

void sendKeyRtty(std::int16_t KeyAscii) {
    QString& handed = g.RttyTypedAhead;
    // Esc has stopped the transmission already (the main window's keys): as a
    // character it would wait in the program's buffer for the next one.
    if (KeyAscii == kEscape) return;
    if (KeyAscii == kBackspace) {
        core::PostMmttyCommand(mmtty::CmdChar, 'x');
        handed.chop(1);
    } else if (KeyAscii == kEnter) {
        if (core::PostMmttyCommand(mmtty::CmdChar, '\r') && core::PostMmttyCommand(mmtty::CmdChar, '\n'))
            handed += QLatin1Char('\n');
    } else if (KeyAscii > 0 && KeyAscii < 0x80 && kNotForRtty.contains(QChar(KeyAscii))) {
        if (core::PostMmttyCommand(mmtty::CmdChar, rttyText(QString(QChar(KeyAscii)))[0].unicode()))
            handed += QChar(KeyAscii);
    } else if (core::PostMmttyCommand(mmtty::CmdChar, std::int32_t(KeyAscii))) {
        handed += charOfKeyAscii(KeyAscii);
    }
}

bool mmvariKey(PSK31MAIN& w, std::int16_t& KeyAscii) {
    mmvari::MmvariControl* m = w.MMVARI;
    if (!m) return false;
    if (KeyAscii == kEscape) {
        // A repeat ended here leaves no 'TXOFF' for the operator's next transmission.
        if (core::g.RepeatTxOn == 1 || core::g.RepeatArmed == 1) core::g.MacroTxOff = 0;
        stopLikeEscape(w);
        const bool off = m->set(mmvari::IdTransmit, false);
        w.Text1->setSelText(QString());
        const bool zero = m->set(mmvari::IdTuneReset, 0);
        restoreButton(w);
        return off && zero;
    }
    if (core::g.RepeatTxOn == 1) {
        KeyAscii = 0;
        return true;
    }
    if (KeyAscii == kBackspace) {
        QVariant held;
        if (!m->invoke(mmvari::MethodSend, {QStringLiteral("\b")}) || !m->get(mmvari::IdTuneReset, held))
            return false;
        const auto count = static_cast<std::int16_t>(held.toInt());
        return count <= 0 || m->set(mmvari::IdTuneReset, count - 1);
    }
    return m->invoke(mmvari::MethodSend, {charOfKeyAscii(KeyAscii)});
}

} // namespace

std::int16_t keyAsciiOf(QChar c) {
    if (c.unicode() < 0x80) return static_cast<std::int16_t>(c.unicode());
    const QByteArray b = cp932::encode(QString(c));
    if (b.size() >= 2) return static_cast<std::int16_t>((std::uint8_t(b[0]) << 8) | std::uint8_t(b[1]));
    return static_cast<std::int16_t>(std::uint8_t(b.isEmpty() ? '?' : b[0]));
}

QByteArray bytesOfKeyAscii(std::int16_t code) {
    const auto u = static_cast<std::uint16_t>(code);
    QByteArray bytes;
    if (code < 0) bytes.append(char(u >> 8));
    bytes.append(char(u & 0xFF));
    return bytes;
}

QString charOfKeyAscii(std::int16_t code) {
    if (code >= 0 && code < 0x80) return QString(QChar(code));
    return cp932::decode(bytesOfKeyAscii(code));
}

QList<std::int16_t> keyAsciisOf(const QKeyEvent& e) {
    if (e.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return {};
    switch (e.key()) {
    case Qt::Key_Backspace:
        return {kBackspace};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {kEnter};
    case Qt::Key_Escape:
        return {kEscape};
    default:
        break;
    }
    QList<std::int16_t> codes;
    for (QChar c : e.text()) {
        if (!c.isPrint()) return {};
        codes.append(keyAsciiOf(c));
    }
    return codes;
}

void SendKey(std::int16_t& KeyAscii) {
    if (core::g.OpMode == core::ModeMmvari)
        SendKeyMmvari(KeyAscii);
    else
        SendKeyPsk(KeyAscii);
}

void SendKeyPsk(std::int16_t& KeyAscii) {
    if (rttyMode()) {
        sendKeyRtty(KeyAscii);
        return;
    }
    if (!pskMode()) return;
    PSK31MAIN& w = forms::PSK31MAIN();
    pskcore::PskCore& lib = pskcore::lib();
    if (lib.fnGetTXCharsRemaining() == 0) clearKinds();
    if (KeyAscii == kEscape) {
        stopLikeEscape(w);
        lib.fnStopTX();
        clearKinds();
        w.Text1->setSelText(QString());
        lib.fnClearTXBuffer();
        restoreButton(w);
        return;
    }
    if (core::g.RepeatTxOn == 1) {
        KeyAscii = 0;
        return;
    }
    if (KeyAscii == kBackspace) {
        backspacePsk(w);
        return;
    }
    beginLineIfNew(w);
    if (core::g.ZenHanConv == QLatin1String("YES")) KeyAscii = zenToHan(KeyAscii);
    recordKind(KeyAscii < 0 ? kDoubleByte : kSingleByte);
    lib.fnSendTXString(bytesOfKeyAscii(KeyAscii));
}

void SendKeyMmvari(std::int16_t& KeyAscii) {
    if (!mmvariKey(forms::PSK31MAIN(), KeyAscii)) ui::msgBox(QStringLiteral("????"));
}

void SendInsertedText(const QString& text, bool boxWasEmpty) {
    if (text.isEmpty()) return;
    if (core::g.OpMode == core::ModeMmvari) {
        mmvari::MmvariControl* m = forms::PSK31MAIN().MMVARI;
        if (!m || !m->invoke(mmvari::MethodSend, {text})) ui::msgBox(QStringLiteral("????"));
        return;
    }
    if (rttyMode()) {
        QString t = text;
        t.replace(QLatin1String("\r\n"), QLatin1String("\r"));
        t.replace(QLatin1Char('\n'), QLatin1Char('\r'));
        for (QChar c : t)
            sendKeyRtty(keyAsciiOf(c));
        return;
    }
    if (!pskMode()) return;
    pskcore::PskCore& lib = pskcore::lib();
    if (lib.fnGetTXCharsRemaining() == 0) clearKinds();
    if (boxWasEmpty && core::g.Transmitting == 0) {
        lib.fnSendTXString(kCrLf);
        recordKind(kSingleByte);
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool lineBreak = text.mid(i, 2) == QLatin1String("\r\n");
        if (lineBreak) ++i;
        recordKind(lineBreak || keyAsciiOf(text[i]) < 0 ? kDoubleByte : kSingleByte);
    }
    lib.fnSendTXString(cp932::encode(text));
}

} // namespace terminal::transmit
