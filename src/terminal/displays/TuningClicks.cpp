// Clicks on the waterfall (Picture3) and the narrow spectrum (Picture4): the
// left button tunes channel 1 (or, in RTTY and CW, the program's mark and
// space, or sets the scan threshold), the right button places the extra
// receive channels of the three-channel display.
#include "core/Globals.h"
#include "core/engines/MmttyCommand.h"
#include "core/engines/MmttyState.h"
#include "core/engines/MmvariState.h"
#include "core/ini/IniValues.h"
#include "platform/forms/colour/ControlColour.h"
#include "platform/forms/controls/PictureBox.h"
#include "platform/forms/dialogs/Dialogs.h"
#include "platform/forms/waits/Waits.h"
#include "platform/mmtty/MmttyProtocol.h"
#include "platform/pskcore/PskCore.h"
#include "terminal/displays/TuningMath.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/PskEngine.h"
#include "terminal/mainwindow/PSK31MAIN.h"
#include "terminal/panels/MmvariPanel.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

namespace {

constexpr std::uint32_t kActiveChannel = 0x02DB17;   // red 23, green 219, blue 2 as 0x00BBGGRR
constexpr std::uint32_t kInactiveChannel = 0xC0FFC0; // red 192, green 255, blue 192
constexpr double kThresholdLineWidth = 768;
constexpr double kMarkerHeight = 100;

bool rttyOrCw() {
    return core::g.OpMode == core::ModeRtty || core::g.OpMode == core::ModeCw;
}

// No tuning while an engine transmits (satellite mode lets the PSK and
// multi-mode engines be tuned), and never while the RTTY program transmits.
bool clickRefused() {
    const core::Globals& g = core::g;
    const bool sending = g.Transmitting == 1 || g.MmvariTxOn == 1;
    return (g.SatelliteMode == 0 && sending) || g.MmttyTxOn == 1;
}

void postToMmtty(std::int32_t code, std::int32_t value) {
    core::PostMmttyCommand(code, value);
}

} // namespace

void PSK31MAIN::tuneChannel1(int hz, int bin) {
    core::Globals& g = core::g;
    g.RxFreqHz = terminal::displays::clampHz(hz);
    g.RxFreqBin = bin;
    VScroll1->setValue(g.RxFreqHz);
    Text4->setText(QString::number(g.RxFreqHz));
    g.ImdChannel = 0;
    Label8->setText(QStringLiteral(" Ch1"));
    colour::setBackColor(Command15, kActiveChannel);
    colour::setBackColor(Command16, kInactiveChannel);
    colour::setBackColor(Command17, kInactiveChannel);
    terminal::engines::SetSpectrumRange(g.RxFreqHz);
    if (g.NetOn == 1) {
        VScroll2->setValue(VScroll1->value());
        g.TxFreqHz = g.RxFreqHz;
        Text8->setText(QString::number(g.TxFreqHz));
    }
}

void PSK31MAIN::Picture3_MouseDown(int Button, double X, double Y) {
    if (clickRefused()) return;
    if (Button == 1) {
        Picture3_LeftDown(X, Y);
    } else if (Button == 2) {
        Picture3_RightDown(X);
    }
}

void PSK31MAIN::Picture3_LeftDown(double X, double Y) {
    core::Globals& g = core::g;
    if (rttyOrCw()) {
        const terminal::displays::MarkSpace ms =
            terminal::displays::rttyMarkSpace(X, g.MarkFreq, core::mm.SpaceFreq);
        if (core::PostMmttyCommand(mmtty::CmdSetMark, ms.mark)) postToMmtty(mmtty::CmdSetSpace, ms.space);
        return;
    }
    if (ScanLevelSetMode != 0) {
        ScanThreshold = terminal::displays::scanThreshold(Y);
        Line15->setPoints(0, Y, kThresholdLineWidth, Y);
        Line15->setVisible(true);
        core::PutIniNumber(QStringLiteral("PSKCFG"), "ScanLevel", ScanThreshold);
        return;
    }
    const int hz = terminal::displays::clickHz(X, g.FftFirstBin);
    tuneChannel1(hz, terminal::displays::nearest(X + g.FftFirstBin));
    Timer5->stop();
    ScanStopRequest = 1;
    Line15->setVisible(false);
}

void PSK31MAIN::Picture3_RightDown(double X) {
    core::Globals& g = core::g;
    if (rttyOrCw()) {
        postToMmtty(mmtty::CmdRightClickFreq, terminal::displays::rttyClickHz(X));
        return;
    }
    if (g.RecPlayState == 1) {
        ui::msgBox(QStringLiteral("録音モード中は変更できません"), ui::OkOnly);
        return;
    }
    if (ScanLevelSetMode != 0) return;
    if (g.ChannelDisplay == 1) {
        ::multi_ch& m = forms::multi_ch();
        if (g.Transmitting == 1) {
            ui::msgBox(QStringLiteral("送信中は変更できません"), ui::OkOnly);
            return;
        }
        g.ChannelDisplay = 3;
        m.VScroll1->setValue(g.Ch2RxFreq);
        m.VScroll2->setValue(g.Ch3RxFreq);
        for (QPushButton* b : {Command15, Command16, Command17})
            b->setEnabled(true);
        Label43->show();
        Label44->show();
        terminal::panels::StartMultiChannel();
    }
    if (g.ChannelDisplay == 3) {
        Line8->setPoints(X, 0, X, kMarkerHeight);
        Line8->setVisible(true);
        const int n = chooseSubChannel();
        if (n == 1 || n == 2) placeSubChannel(n, terminal::displays::clickHz(X, g.FftFirstBin));
        g.ImdChannel = 0;
        mmvstate::g.SubChannelSel = 0;
    }
    colour::setBackColor(Command16, kInactiveChannel);
    colour::setBackColor(Command17, kInactiveChannel);
    Line8->setVisible(false);
}

void PSK31MAIN::Picture4_MouseDown(int Button, double X, double /*Y*/) {
    core::Globals& g = core::g;
    if (clickRefused()) return;
    if (Button == 1) {
        const int hz = terminal::displays::clickHz(X, g.SpectrumLowBin);
        tuneChannel1(hz, terminal::displays::hzToBin(hz));
    } else if (Button == 2 && g.ChannelDisplay == 3) {
        const int n = chooseSubChannel();
        if (n == 1 || n == 2) placeSubChannel(n, terminal::displays::clickHz(X, g.SpectrumLowBin));
        g.ImdChannel = 0;
        mmvstate::g.SubChannelSel = 0;
    }
}

int PSK31MAIN::chooseSubChannel() {
    mmvstate::g.SubChannelSel = 0;
    forms::execMenu(*MLTSET, QCursor::pos());
    return mmvstate::g.SubChannelSel;
}

void PSK31MAIN::placeSubChannel(int n, int hz) {
    hz = terminal::displays::clampHz(hz);
    ::multi_ch& m = forms::multi_ch();
    {
        // The handler runs once below, also when the bar already stood there.
        const QSignalBlocker quiet(n == 1 ? m.VScroll1 : m.VScroll2);
        (n == 1 ? m.VScroll1 : m.VScroll2)->setValue(hz);
    }
    if (n == 1)
        m.SetCh2FreqFromScroll();
    else
        m.SetCh3FreqFromScroll();
    Text5->setFocus();
}

void PSK31MAIN::Picture3_MouseMove(double X) {
    const core::Globals& g = core::g;
    if (g.SpectrumDisplayMode == 1) {
        Picture3->setToolTip({});
        return;
    }
    const int hz =
        rttyOrCw() ? terminal::displays::rttyClickHz(X) : terminal::displays::clickHz(X, g.FftFirstBin);
    Picture3->setToolTip(QStringLiteral("%1Hz").arg(hz));
}

void PSK31MAIN::connectTuningClicks() {
    // The read-out follows the mouse without a button held.
    Picture3->setMouseTracking(true);
    connect(Picture3, &PictureBox::mouseMove, this, [this](int, double x, double) { Picture3_MouseMove(x); });
    connect(Picture3, &PictureBox::mouseDown, this, &PSK31MAIN::Picture3_MouseDown);
    connect(Picture4, &PictureBox::mouseDown, this, &PSK31MAIN::Picture4_MouseDown);
}
