// The multi-mode control's notices on the main window: the periodic update,
// received text, the transmit state with PTT by CAT and the repeat cycle, the
// transmit buffer and the errors.
#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/engines/MmvariState.h"
#include "platform/forms/controls/RichTextPane.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/mmvari/MmvariIds.h"
#include "platform/mmvari/MmvariViews.h"
#include "rig/RigCommands.h"
#include "rig/RigGlobals.h"
#include "settings/dialogs/CFG_MMVARI.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/macros/RepeatMain.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/MmvariPanel.h"
#include "terminal/receive/PaneMarks.h"
#include "terminal/transmit/TxInsert.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace terminal::panels {
namespace {

constexpr int kCwIdStartFlag = 3;
const QString kBackspace = QString(QChar(8));
const QString kLineFeed = QStringLiteral("\n");

int readInt(int id) {
    QVariant v;
    return forms::PSK31MAIN().MMVARI->get(id, v) ? v.toInt() : 0;
}

int readInt(int id, int channel) {
    QVariant v;
    return forms::PSK31MAIN().MMVARI->get(id, channel, v) ? v.toInt() : 0;
}

void append(RichTextPane* pane, QString& text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\r\n"));
    pane->appendText(text);
}

// A line break is one character of the pane: CR LF goes whole.
void deleteLast(RichTextPane* pane) {
    if (pane->length() == 0) return;
    pane->chopEnd(1);
}

void showFrequencies(PSK31MAIN& w) {
    core::Globals& g = core::g;
    if (mmvstate::g.MmvariNetOn == 1) w.MMVARI->set(mmvari::IdTxFreq, readInt(mmvari::PRxFreq, 0));
    g.RxFreqHz = readInt(mmvari::PRxFreq, 0);
    g.TxFreqHz = readInt(mmvari::IdTxFreq);
    rig::g.RigAudioOffsetHz = g.TxFreqHz;
    w.Text2->setText(QString::number(g.RxFreqHz));
    w.Text9->setText(QString::number(g.TxFreqHz));
}

void showSubChannels() {
    if (mmvstate::g.SubChannelSel <= 0) return;
    ::multi_ch& m = forms::multi_ch();
    const int ch2 = readInt(mmvari::PRxFreq, 1);
    const int ch3 = readInt(mmvari::PRxFreq, 2);
    m.VScroll1->setValue(ch2);
    m.VScroll2->setValue(ch3);
    m.Label5->setText(QString::number(ch2));
    m.Label6->setText(QString::number(ch3));
}

// The second view follows the watched channel with a span that fits its mode.
void followWatchedChannel(PSK31MAIN& w) {
    const int c = core::g.ImdChannel;
    QVariant value;
    if (w.MMVARI->get(mmvari::PValue, c, value))
        w.XMMVView2->set(mmvari::ViewText, 3, QString::number(value.toDouble(), 'f', 1));
    const int mode = readInt(mmvari::PModeNumber, c);
    const int freq = readInt(mmvari::PRxFreq, c);
    int span = 200;
    int colour = 0xFFFFFF;
    if (mode == 7 || mode == 8) {
        span = 600;
        colour = 0;
    } else if (mode == 5 || mode == 6) {
        span = 300;
    }
    w.XMMVView2->set(mmvari::ViewSpan, span);
    w.XMMVView2->set(mmvari::ViewLeftFreq, freq - span / 2);
    w.XMMVView2->set(mmvari::ViewColour, 2, colour);
}

void endWithCwId(mmvari::MmvariControl* m) {
    core::g.MacroCwId = 0;
    mmvstate::g.MmvariCwIdSending = 1;
    m->invoke(mmvari::MethodCwId, {mmvstate::CwIdForControl(core::g.CwIdText)});
    m->set(mmvari::IdReqRx, true);
    QVariant transmitting;
    if (m->get(mmvari::IdTransmit, transmitting) && !transmitting.toBool())
        m->invoke(mmvari::MethodCwIdEnd, {kCwIdStartFlag});
}

void transmissionEnded(PSK31MAIN& w) {
    core::Globals& g = core::g;
    if (g.TrxTimeStampOn == QLatin1String("YES")) receive::MarkRxStart();
    // Only a key this program put on is taken off.
    rig::RigPttOff();
    g.MmvariTxOn = 0;
    g.Transmitting = 0;
    mmvstate::g.MmvariCwIdSending = 0;
    w.MMVARI->set(mmvari::IdTuneReset, 0);
    macros::repeatOnTxEnd(macros::TxEngine::Mmvari);
    if (g.RepeatTxOn != 1) {
        transmit::EmptyTxBoxAtOverEnd(w);
        w.Text1->setFocus();
    }
}

} // namespace

void MMVARI_Update() {
    PSK31MAIN& w = forms::PSK31MAIN();
    const int data = core::g.MmvariLevelData;
    w.XMMVView1->invoke(mmvari::ViewDraw, {data});
    w.XMMVLv1->invoke(mmvari::MeterDraw, {data, 0});
    showFrequencies(w);
    showSubChannels();
    w.Label15->setText(QString::number(readInt(mmvari::PLevelDb, 0)) + QStringLiteral("dB"));
    w.XMMVView1->set(mmvari::ViewText, 3, w.Label40->text());
    followWatchedChannel(w);
    w.XMMVView2->invoke(mmvari::ViewDraw, {data});
    QVariant modeText;
    if (w.MMVARI->get(mmvari::PChannelText, 0, modeText)) w.Label41->setText(modeText.toString());
    if (forms::isLoaded<CFG_MMVARI>())
        forms::CFG_MMVARI().showMeasurement(readInt(mmvari::IdTxOffsetMeasure));
}

void MMVARI_RxText(int Channel, QString Text) {
    if (mmvstate::g.MmvariCwIdSending == 1) return;
    const bool drop = Text == kLineFeed;
    const bool back = Text == kBackspace;
    switch (Channel) {
    case 0:
        if (back)
            DeleteRxChar1();
        else if (!drop)
            AppendRxChar1(Text);
        core::g.RxMarkPos = forms::PSK31MAIN().RichTextBox1->length();
        break;
    case 1:
        if (back)
            DeleteRxChar2();
        else if (!drop)
            AppendRxChar2(Text);
        break;
    case 2:
        if (back)
            DeleteRxChar3();
        else if (!drop)
            AppendRxChar3(Text);
        break;
    default:
        break;
    }
}

void MMVARI_TxState(int State) {
    PSK31MAIN& w = forms::PSK31MAIN();
    core::Globals& g = core::g;
    if (State == 1) {
        macros::repeatOnTxStart(macros::TxEngine::Mmvari);
        g.Transmitting = 1;
        if (g.TrxTimeStampOn == QLatin1String("YES")) receive::MarkTxStart();
        return;
    }
    if (State != 0 || g.MmvariTxOn != 1) return;
    if (g.MacroCwId == 1) {
        endWithCwId(w.MMVARI);
        return;
    }
    transmissionEnded(w);
}

void MMVARI_TxBuffer() {
    mmvari::MmvariControl* m = forms::PSK31MAIN().MMVARI;
    auto emptied = [m] {
        QVariant waiting;
        return m->invoke(mmvari::MethodSend, {QString()}, &waiting) && waiting.toInt() == 0;
    };
    if (mmvstate::g.MmvariCwIdSending == 1 && emptied()) m->set(mmvari::IdReqRx, true);
    // The macro's end of the over, and its CW ID, which the transmission's end sends.
    if ((core::g.MacroTxOff == 1 || core::g.MacroCwId == 1) && emptied()) m->set(mmvari::IdReqRx, true);
}

void MMVARI_Error(int Code) {
    const QString text = mmvstate::ErrorText(Code);
    if (text.isEmpty()) return;
    core::g.StatusMessage = text;
    core::ShowTimedMessage(core::g.StatusMessage, 3000);
}

void AppendRxChar1(QString& Text) {
    append(forms::PSK31MAIN().RichTextBox1, Text);
}

void DeleteRxChar1() {
    deleteLast(forms::PSK31MAIN().RichTextBox1);
}

void AppendRxChar2(QString& Text) {
    if (RichTextPane* pane = forms::openMultiChannelPane(1)) append(pane, Text);
}

void DeleteRxChar2() {
    if (RichTextPane* pane = forms::openMultiChannelPane(1)) deleteLast(pane);
}

void AppendRxChar3(QString& Text) {
    if (RichTextPane* pane = forms::openMultiChannelPane(2)) append(pane, Text);
}

void DeleteRxChar3() {
    if (RichTextPane* pane = forms::openMultiChannelPane(2)) deleteLast(pane);
}

} // namespace terminal::panels
