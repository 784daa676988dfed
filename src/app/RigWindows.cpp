#include "app/WindowInterfaces.h"
#include "core/Globals.h"
#include "core/MessageLine.h"
#include "core/engines/MmttyCommand.h"
#include "log/LogGlobals.h"
#include "logwindows/entry/TEMP_LOG.h"
#include "platform/mmtty/MmttyLink.h"
#include "platform/mmvari/MmvariControl.h"
#include "platform/pskcore/PskCore.h"
#include "platform/sstvengine/SstvEngine.h"
#include "spots/ClusterData.h"
#include "spots/SpotGlobals.h"
#include "sstv/window/SSTVForm.h"
#include "sstv/window/SstvGlobals.h"
#include "terminal/displays/multi_ch.h"
#include "terminal/engines/EngineStop.h"
#include "terminal/mainwindow/PSK31MAIN.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

namespace app {
namespace {

constexpr int kNetIndicator = 6;
constexpr int kRigMessageMs = 2000;
// The RTTY program tells its level ten times a second; this long without a
// word, it is stopped or hung, and sends nothing that should hold the rig keyed.
constexpr qint64 kEngineSilentMs = 4000;

bool rttyEngine() {
    return core::g.OpMode == core::ModeRtty || core::g.OpMode == core::ModeCw;
}

// The RTTY program keyed and running, but silent.
bool rttySilentWhileKeyed() {
    const mmtty::MmttyLink& link = core::MmttyProgram();
    return rttyEngine() && core::g.MmttyTxOn == 1 && link.isRunning() && !link.heardWithin(kEngineSilentMs);
}

bool fits(const QScrollBar* s, int value) {
    return value >= s->minimum() && value <= s->maximum();
}

} // namespace

int RigWindows::opMode() {
    return core::g.OpMode;
}
bool RigWindows::sstvMode() {
    return core::g.OpMode == core::ModeSstv;
}
bool RigWindows::pskMode() {
    return core::g.OpMode >= core::ModeBpsk && core::g.OpMode <= core::ModeQpskLsb;
}
int RigWindows::markFreq() {
    return core::g.MarkFreq;
}
bool RigWindows::mmttyNetOn() {
    return core::g.MmttyIndicators[kNetIndicator] == 1;
}
bool RigWindows::mmttyCwOn() {
    return core::g.MmttyCwOn == 1;
}
int RigWindows::rxFreqHz() {
    return core::g.RxFreqHz;
}
int RigWindows::txFreqHz() {
    return core::g.TxFreqHz;
}
int RigWindows::ch2RxFreq() {
    return core::g.Ch2RxFreq;
}
int RigWindows::ch3RxFreq() {
    return core::g.Ch3RxFreq;
}
int RigWindows::channelDisplay() {
    return core::g.ChannelDisplay;
}
QString RigWindows::hisCall() {
    return core::g.HisCall;
}
QString RigWindows::lastModeText() {
    return core::g.LastModeText;
}
QString RigWindows::logModeTextPsk() {
    return core::g.LogModeTextPsk;
}
QString RigWindows::logModeTextRtty() {
    return core::g.LogModeTextRtty;
}
int RigWindows::hamlogLink() {
    return logbook::g.HamlogLink;
}
bool RigWindows::pttByCat() {
    return core::g.PttPortControl == QLatin1String("0");
}
bool RigWindows::anyEngineTransmits() {
    return core::g.MmvariTxOn == 1 || core::g.Transmitting == 1 || core::g.MmttyTxOn == 1 ||
           sstv::g.SstvTxActive == 1;
}
bool RigWindows::anyEngineSends() {
    if (pskcore::lib().isTransmitting() || sstveng::lib().isTransmitting()) return true;
    // The RTTY program says so in its notices, for as long as it runs as the
    // engine and is heard.
    if (rttyEngine() && core::g.MmttyTxOn == 1 && core::MmttyProgram().isRunning() && !rttySilentWhileKeyed())
        return true;
    return forms::isLoaded<PSK31MAIN>() && forms::PSK31MAIN().MMVARI &&
           forms::PSK31MAIN().MMVARI->transmitting();
}
void RigWindows::endTransmission() {
    const bool silent = rttySilentWhileKeyed();
    terminal::engines::EndTransmissionForTheRig();
    if (!silent) return;
    core::g.StatusMessage = QStringLiteral("MMTTYから応答がないため、送信を止めました");
    core::ShowTimedMessage(core::g.StatusMessage, 5000);
}
QString& RigWindows::statusMessage() {
    return core::g.StatusMessage;
}

void RigWindows::showFrequencyLabel(const QString& text) {
    if (sstvMode())
        forms::SSTVForm().Label40->setText(text);
    else
        forms::PSK31MAIN().Label40->setText(text);
}

void RigWindows::showModeLabel(const QString& text) {
    forms::PSK31MAIN().Label23->setText(text);
}

void RigWindows::showLogFrequency(const QString& text) {
    forms::TEMP_LOG().showRigFrequency(text);
}

void RigWindows::showStatusMessage() {
    core::ShowPendingMessage(core::g.StatusMessage, kRigMessageMs);
}

bool RigWindows::moveReceiveTones(int mainHz, std::optional<int> ch2Hz, std::optional<int> ch3Hz) {
    QScrollBar* main = forms::PSK31MAIN().VScroll1;
    if (!fits(main, mainHz)) return false;
    if (ch2Hz || ch3Hz) {
        multi_ch& m = forms::multi_ch();
        if ((ch2Hz && !fits(m.VScroll1, *ch2Hz)) || (ch3Hz && !fits(m.VScroll2, *ch3Hz))) return false;
        main->setValue(mainHz);
        if (ch2Hz) m.VScroll1->setValue(*ch2Hz);
        if (ch3Hz) m.VScroll2->setValue(*ch3Hz);
        return true;
    }
    main->setValue(mainHz);
    return true;
}

bool RigWindows::spotBoxesWanted() {
    return spots::g.ClusterAutoCall == QLatin1String("0") && spots::g.ClusterPolled == 1 &&
           forms::isLoaded<ClusterData>();
}

void RigWindows::fillSpotBoxes(const std::optional<QString>& freqKhz, const std::optional<QString>& remarks,
                               const QString& call) {
    ClusterData& w = forms::ClusterData();
    if (freqKhz) w.Text6->setText(*freqKhz);
    if (remarks) w.Text7->setText(*remarks);
    w.Text5->setText(call);
}

QString RigWindows::clusterModeCompSend() {
    return spots::g.ClusterModeCompSend;
}
QString RigWindows::clusterModeCompSendPsk() {
    return spots::g.ClusterModeCompSendPsk;
}

} // namespace app
